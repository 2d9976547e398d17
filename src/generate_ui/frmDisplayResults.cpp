#include "generate_ui/frmDisplayResults.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "generate_ui/ResultsApply.h"
#include "generate_ui/ResultsCheck.h"
#include "generate_ui/ResultsExport.h"
#include "gui/LineTextView.h"
#include "gui/Session.h"
#include "gui/WizardPage.h"

namespace vorlane {

namespace {

// Courier New 9.75 pt keeps the ":=" columns aligned; where it is missing any
// fixed-pitch face of the same size does.
QFont ResultsFont() {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSizeF(9.75);
  font.setWeight(QFont::Normal);
  return LineTextView::IsFixedPitch(font) ? font : LineTextView::FixedPitchFont(9.75);
}

}  // namespace

frmDisplayResults::frmDisplayResults(Session& session, QWidget* parent) : HostedPage(session, parent) {
  setObjectName(QStringLiteral("frmDisplayResults"));
  rtfResults_ = new LineTextView(this);
  rtfResults_->setObjectName(QStringLiteral("rtfResults"));
  rtfResults_->setFont(ResultsFont());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(rtfResults_);
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(8, 4, 8, 8);
  auto button = [&](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  cmdCheck_ = button("cmdCheck", QStringLiteral("Chec&k"));
  cmdCheck_->setToolTip(QStringLiteral("Lists what the game would refuse or misread in these entries."));
  cmdApply_ = button("cmdApply", QStringLiteral("Apply to &Mod…"));
  cmdApply_->setToolTip(QStringLiteral("Writes these entries into the mod's data file, in place of the ones this design wrote."));
  buttons->addStretch(1);
  cmdCopyAll_ = button("cmdCopyAll", QStringLiteral("Copy &All"));
  cmdSaveAs_ = button("cmdSaveAs", QStringLiteral("&Save As…"));
  cmdClose_ = button("cmdClose", QStringLiteral("&Close"));
  SetCancelButton(cmdClose_);
  layout->addLayout(buttons);
  connect(cmdCheck_, &QPushButton::clicked, this,
          [this] { CheckResults(this, this->session().services(), *rtfResults_, this->session().ModDir(),
                                    this->session().SEIVDir(), warnings_, warningCount_); });
  connect(cmdApply_, &QPushButton::clicked, this,
          [this] { ApplyResultsToMod(this, this->session(), ResultKind, rtfResults_->text()); });
  connect(cmdCopyAll_, &QPushButton::clicked, this, [this] { CopyAllResults(*rtfResults_); });
  connect(cmdSaveAs_, &QPushButton::clicked, this,
          [this] { SaveResultsAs(this, this->session(), *rtfResults_, DesignNameOfTitle(windowTitle())); });
  connect(cmdClose_, &QPushButton::clicked, this, [this] { OnCloseBox(); });
}

void frmDisplayResults::ShowResults(const QString& resultKind, const QString& title, QByteArray text) {
  ResultKind = resultKind;
  setWindowTitle(title);
  rtfResults_->setText(std::move(text));
}

bool frmDisplayResults::OnCloseBox() {
  if (returnTo_) {
    session().ShowPage(session().CreatePage(*returnTo_));
  } else {
    session().ShowMainMenu();
  }
  return false;
}

}  // namespace vorlane
