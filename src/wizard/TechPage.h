// The technology requirements page of both wizards, one requirement at a
// time. The grid size and numbering style apply to grid designs only and are
// disabled otherwise. frmCompTech and frmFacTech differ only in their words
// and record (TechPageOf).
#pragma once

#include "wizard/EntryWalkPage.h"

namespace vorlane {

class MaskEdit;

class TechPage : public EntryWalkPage {
  Q_OBJECT

 public:
  // The requirement shown, from 1. Another page may choose it before showing
  // this one: SetCurrentTechReq(n), then RefreshForm().
  std::int16_t CurrentTechReq() const { return Current(); }
  void SetCurrentTechReq(std::int16_t n) { SetCurrent(n); }

 protected:
  TechPage(Session& session, const char* pageName, const QString& title, const QString& noun, const QString& numberStyleTip,
           QWidget* parent);

  // Fills entry 1 and applies the grid setting; called by the twin.
  void LoadTechFields();

  virtual bool Grid() const = 0;
  bool CheckEntry() override;

 private:
  QLabel* lblTechGridSize_;
  QLabel* lblTechNumberStyle_;
  MaskEdit* txtTechGridSize_;
  QLineEdit* txtTechNumberStyle_;
};

// The two names the records give differently.
inline bool GridDesign(const vrlComponent& r) { return r.GridComp(); }
inline bool GridDesign(const vrlFacility& r) { return r.GridFac(); }
inline std::optional<std::string> TechNumberStyle(const vrlComponent& r, std::int16_t n) {
  return r.TechReqNumberStyle(n);
}
inline std::optional<std::string> TechNumberStyle(const vrlFacility& r, std::int16_t n) {
  return r.TechReqNumStyle(n);
}
inline void SetTechNumberStyle(vrlComponent& r, std::int16_t n, std::string value) {
  r.SetTechReqNumberStyle(n, std::move(value));
}
inline void SetTechNumberStyle(vrlFacility& r, std::int16_t n, std::string value) {
  r.SetTechReqNumStyle(n, std::move(value));
}

// The technology requirements page of one record.
template <class Record>
class TechPageOf : public TechPage {
 protected:
  using TechPage::TechPage;

  std::int16_t Count() const override { return Design<Record>().NumTechReqs(); }
  void SetCount(std::int16_t n) override { Design<Record>().SetNumTechReqs(n); }
  Entry ReadEntry(std::int16_t n) const override {
    const Record& r = Design<Record>();
    return {r.TechReqArea(n).value_or(""), r.TechReqLevel(n).value_or(""), r.TechReqGridSize(n).value_or(""),
            TechNumberStyle(r, n).value_or("")};
  }
  void WriteEntry(std::int16_t n, const Entry& entry) override {
    Record& r = Design<Record>();
    r.SetTechReqArea(n, entry[0]);
    r.SetTechReqLevel(n, entry[1]);
    r.SetTechReqGridSize(n, entry[2]);
    SetTechNumberStyle(r, n, entry[3]);
  }
  bool Grid() const override { return GridDesign(Design<Record>()); }
};

}  // namespace vorlane
