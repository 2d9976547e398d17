// The technology requirements page of both wizards, one requirement at a
// time. The grid size and numbering style apply to grid designs only and are
// disabled otherwise. frmCompTech and frmFacTech differ in their words, record
// and neighbours.
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

}  // namespace vorlane
