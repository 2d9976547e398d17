// The abilities page of both wizards, one ability at a time: type,
// description and two values. frmCompAbility and frmFacAbility differ in
// their words, record and neighbours.
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

}  // namespace vorlane
