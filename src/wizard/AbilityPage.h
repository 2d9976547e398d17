// The abilities page of both wizards, one ability at a time: type,
// description and two values. frmCompAbility and frmFacAbility differ only in
// their words and record (AbilityPageOf).
#pragma once

#include "wizard/EntryWalkPage.h"

namespace vorlane {

class AbilityPage : public EntryWalkPage {
  Q_OBJECT

 public:
  // The ability shown, from 1. Another page may choose it before showing this
  // one: SetCurrentAbil(n), then RefreshForm().
  std::int16_t CurrentAbil() const { return Current(); }
  void SetCurrentAbil(std::int16_t n) { SetCurrent(n); }

 public:
  struct Words {
    const char* pageName;
    QString title;
    QString noun;           // "component"
    QString captionNoun;    // "Component"
    QString addTooltip;     // empty on the component page
  };

 protected:
  AbilityPage(Session& session, const Words& words, QWidget* parent);
};

// The abilities page of one record; both records name their ability fields
// alike.
template <class Record>
class AbilityPageOf : public AbilityPage {
 protected:
  using AbilityPage::AbilityPage;

  std::int16_t Count() const override { return Design<Record>().NumAbils(); }
  void SetCount(std::int16_t n) override { Design<Record>().SetNumAbils(n); }
  Entry ReadEntry(std::int16_t n) const override {
    const Record& r = Design<Record>();
    return {r.AbilName(n).value_or(""), r.AbilDesc(n).value_or(""), r.AbilVal1(n).value_or(""),
            r.AbilVal2(n).value_or("")};
  }
  void WriteEntry(std::int16_t n, const Entry& entry) override {
    Record& r = Design<Record>();
    r.SetAbilName(n, entry[0]);
    r.SetAbilDesc(n, entry[1]);
    r.SetAbilVal1(n, entry[2]);
    r.SetAbilVal2(n, entry[3]);
  }
};

}  // namespace vorlane
