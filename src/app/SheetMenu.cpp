#include "app/SheetMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/DesignFiles.h"
#include "app/HQ.h"
#include "app/HostWindow.h"
#include "app/frmSetup.h"
#include "generate_ui/GeneratePage.h"
#include "sheet/DesignSheet.h"
#include "wizard/frmVehStart.h"

namespace vorlane {

SheetMenu::SheetMenu(HQ& hq, HostWindow& host) : hq_(hq), host_(host) {
  // File, View, Help: the View menu goes before the host's Help menu.
  QMenu* view = new QMenu(QStringLiteral("&View"), host_.menuBar());
  QAction* help = nullptr;
  for (QAction* action : host_.menuBar()->actions()) {
    if (action->menu() && action->menu()->title() == QStringLiteral("&Help")) help = action;
  }
  host_.menuBar()->insertMenu(help, view);
  view->setObjectName(QStringLiteral("mnuView"));
  actSheet_ = view->addAction(QStringLiteral("Design Sheet"));
  actSheet_->setObjectName(QStringLiteral("actDesignSheet"));
  // Not Ctrl+E: a line edit takes it (end of line).
  actSheet_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
  actWizard_ = view->addAction(QStringLiteral("Wizard"));
  actWizard_->setObjectName(QStringLiteral("actWizard"));
  actWizard_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
  connect(actSheet_, &QAction::triggered, this, [this] { ShowSheet(); });
  connect(actWizard_, &QAction::triggered, this, [this] { ShowWizard(); });
  connect(&host_, &HostWindow::PageChanged, this, [this] { Refresh(); });
  connect(view, &QMenu::aboutToShow, this, [this] { Refresh(); });
  Refresh();
}

void SheetMenu::Refresh() {
  HostedPage* page = host_.CurrentPage();
  auto* generate = qobject_cast<GeneratePage*>(page);
  // No design on the setup and vehicle pages; nothing may replace a
  // generate page while it generates.
  const bool design = !qobject_cast<frmSetup*>(page) && !qobject_cast<frmVehStart*>(page) &&
                      !(generate && generate->Generating());
  const bool sheet = hq_.SheetShown();
  actSheet_->setEnabled(design && !sheet);
  actWizard_->setEnabled(sheet);
}

void SheetMenu::ShowSheet() {
  Refresh();
  if (!actSheet_->isEnabled()) return;
  hq_.ShowDesignSheet(hq_.Designs().CurrentKind());
}

void SheetMenu::ShowWizard() {
  auto* sheet = qobject_cast<DesignSheet*>(host_.CurrentPage());
  if (!sheet || !sheet->Kind()) return;
  hq_.ShowWizard(*sheet->Kind());
}

}  // namespace vorlane
