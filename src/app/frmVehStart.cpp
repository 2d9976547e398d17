#include "app/frmVehStart.h"

namespace vorlane {

frmVehStart::frmVehStart(HQ& hq, QWidget* parent) : WizardPage(hq, parent) {
  setObjectName(QStringLiteral("frmVehStart"));
  setWindowTitle(kVehicleDesignTitle);
  Body()->setMinimumSize(360, 160);
}

}  // namespace vorlane
