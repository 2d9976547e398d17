#include "gui/WizardPage.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "gui/FormulaHelp.h"
#include "gui/Services.h"

namespace vorlane {

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QString& tooltip) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(tooltip);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

WizardPage::WizardPage(Session& session, QWidget* parent) : HostedPage(session, parent) {
  auto* layout = new QVBoxLayout(this);
  body_ = new QWidget(this);
  body_->setObjectName(QStringLiteral("body"));
  layout->addWidget(body_);
  layout->addStretch(1);

  // Created in tab order (Next, Back, Cancel), shown as Back, Cancel, Next.
  buttonBar_ = new QWidget(this);
  auto* buttons = new QHBoxLayout(buttonBar_);
  buttons->setContentsMargins(0, 0, 0, 0);
  cmdNext_ = MakeButton(buttonBar_, "cmdNext", QStringLiteral("&Next >>>"), QStringLiteral("Advances to the next screen."));
  cmdBack_ = MakeButton(buttonBar_, "cmdBack", QStringLiteral("<<< &Back"), QStringLiteral("Returns to the previous screen."));
  cmdCancel_ = MakeButton(buttonBar_, "cmdCancel", QStringLiteral("Cancel"), QStringLiteral("Returns to the main menu."));
  buttons->addStretch(1);
  buttons->addWidget(cmdBack_);
  buttons->addWidget(cmdCancel_);
  buttons->addWidget(cmdNext_);
  layout->addWidget(buttonBar_);

  SetDefaultButton(cmdNext_);
  HostedPage::SetCancelButton(cmdCancel_);

  connect(cmdNext_, &QPushButton::clicked, this, [this] { OnNext(); });
  connect(cmdBack_, &QPushButton::clicked, this, [this] { OnBack(); });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { OnCancel(); });
}

void WizardPage::ClearButtonTooltips() {
  for (QPushButton* button : {cmdBack_, cmdCancel_, cmdNext_}) button->setToolTip(QString());
}

bool WizardPage::OnCloseBox() {
  ReturnToMenu();
  return false;
}

void WizardPage::OnNext() {
  if (!CheckFields()) return;
  SaveFields();
  if (HostedPage* next = CreateNextPage()) NavigateTo(next);
}

void WizardPage::OnBack() {
  SaveFields();
  if (HostedPage* previous = CreatePreviousPage()) NavigateTo(previous);
}

void WizardPage::OnCancel() {
  if (session().services().Ask(this, QStringLiteral("Do you want to return to the main menu?"))) ReturnToMenu();
}

void WizardPage::NavigateTo(HostedPage* page) {
  navigating_ = true;
  session().ShowPage(page);
}

void WizardPage::ReturnToMenu() { session().ShowMainMenu(); }

std::optional<DesignKind> WizardPage::Kind() const {
  if (const std::optional<PageId> step = Step()) return KindOf(*step);
  return std::nullopt;
}

vrlComponent& WizardPage::Component() const { return componentCopy_ ? *componentCopy_ : session().Component(); }

vrlFacility& WizardPage::Facility() const { return facilityCopy_ ? *facilityCopy_ : session().Facility(); }

vrlComponent WizardPage::ComponentSnapshot() {
  vrlComponent copy = session().Component();
  componentCopy_ = &copy;
  SaveFields();
  componentCopy_ = nullptr;
  return copy;
}

vrlFacility WizardPage::FacilitySnapshot() {
  vrlFacility copy = session().Facility();
  facilityCopy_ = &copy;
  SaveFields();
  facilityCopy_ = nullptr;
  return copy;
}

HostedPage* WizardPage::CreateNextPage() {
  const std::optional<PageId> step = Step();
  return step ? session().NextPage(*step) : nullptr;
}

HostedPage* WizardPage::CreatePreviousPage() {
  const std::optional<PageId> step = Step();
  return step ? session().PreviousPage(*step) : nullptr;
}

// The page's own controls come first in tab order, then the buttons: the
// button bar moves to the end of the focus chain by being parented anew.
void WizardPage::AboutToBeShown() {
  auto* pageLayout = static_cast<QVBoxLayout*>(layout());
  pageLayout->removeWidget(buttonBar_);
  buttonBar_->setParent(nullptr);
  buttonBar_->setParent(this);
  pageLayout->addWidget(buttonBar_);
  buttonBar_->show();
  AttachFormulaHelpToPage();
  HostedPage::AboutToBeShown();
}

void WizardPage::showEvent(QShowEvent* event) {
  AttachFormulaHelpToPage();
  HostedPage::showEvent(event);
}

// Every formula box of the page gets F1 and completion, over the design as
// the page would save it.
void WizardPage::AttachFormulaHelpToPage() {
  if (!Kind()) return;
  AttachFormulaHelpToBoxes(body_, [this] { return PageFormulaCatalogue(this); });
}

}  // namespace vorlane
