#include "wizard/frmVehStart.h"

namespace vorlane {

frmVehStart::frmVehStart(Session& session, QWidget* parent) : WizardPage(session, parent) {
  setObjectName(QStringLiteral("frmVehStart"));
  setWindowTitle(kVehicleDesignTitle);
  Body()->setMinimumSize(360, 160);
}

}  // namespace vorlane
