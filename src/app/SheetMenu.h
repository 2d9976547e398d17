// The host window's View menu: the design on screen as the design sheet or in
// the wizard. Design Sheet shows the sheet of the design the File commands
// act on (a wizard page first writes its fields, as Back would); Wizard shows
// the sheet's design on the wizard's start page.
#pragma once

#include <QObject>
#include <QPointer>

class QAction;

namespace vorlane {

class HQ;
class HostWindow;

class SheetMenu : public QObject {
  Q_OBJECT

 public:
  SheetMenu(HQ& hq, HostWindow& host);

  QAction* SheetAction() const { return actSheet_; }
  QAction* WizardAction() const { return actWizard_; }

  void ShowSheet();
  void ShowWizard();

 private:
  // What the commands can do on the page shown.
  void Refresh();

  HQ& hq_;
  HostWindow& host_;
  QPointer<QAction> actSheet_;
  QPointer<QAction> actWizard_;
};

}  // namespace vorlane
