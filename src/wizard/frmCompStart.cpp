#include "wizard/frmCompStart.h"

namespace vorlane {

namespace {

StartPage::Words ComponentWords() {
  return {"frmCompStart", kComponentDesignTitle, QStringLiteral("component"),
          "txtCompName", "txtCompDesc", "txtCompLevels", "chkGridComp",
          "lblCompName", "lblCompDesc", "lblCompLevels",
          QStringLiteral("Component Name"), QStringLiteral("Component Description"),
          QString(), false, false};
}

}  // namespace

frmCompStart::frmCompStart(Session& session, QWidget* parent)
    : StartPageOf(session, ComponentWords(),
                  {&vrlComponent::CompName, &vrlComponent::SetCompName,
                   &vrlComponent::CompDesc, &vrlComponent::SetCompDesc},
                  parent) {
  LoadFields();
}

}  // namespace vorlane
