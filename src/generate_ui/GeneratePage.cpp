#include "generate_ui/GeneratePage.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "generate/LiveEntry.h"
#include "generate_ui/frmDisplayResults.h"
#include "gui/Services.h"
#include "util/Numbers.h"

namespace vorlane {

namespace {

// The engine's messages break lines with CR LF; a message box wants LF.
class PageMessageSink : public MessageSink {
 public:
  PageMessageSink(Services& services, QWidget* parent) : inner_(services, parent) {}
  MessageAnswer Show(const std::string& title, const std::string& text, MessageButtons buttons) override {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
      plain += text[i];
    }
    return inner_.Show(title, plain, buttons);
  }

 private:
  ServicesMessageSink inner_;
};

}  // namespace

GeneratePage::GeneratePage(Session& session, const Words& words, QWidget* parent) : WizardPage(session, parent) {
  setObjectName(QString::fromLatin1(words.pageName));
  setWindowTitle(words.title);
  generatingText_ = QStringLiteral("Generating ") + words.noun;

  auto* layout = new QVBoxLayout(Body());
  lblInstruction_ = new QLabel(
      QStringLiteral("You're done! Now you can either go back to double-check your entries or click Next to "
                     "generate the %1.")
          .arg(words.noun),
      Body());
  lblInstruction_->setObjectName(QString::fromLatin1(words.labelName));
  lblInstruction_->setWordWrap(true);
  lblInstruction_->setMinimumWidth(420);
  layout->addWidget(lblInstruction_);
  lblGenerating_ = new QLabel(generatingText_, Body());
  lblGenerating_->setObjectName(QStringLiteral("lblGenerating"));
  layout->addWidget(lblGenerating_);
  pbarProgress_ = new QProgressBar(Body());
  pbarProgress_->setObjectName(QStringLiteral("pbarProgress"));
  pbarProgress_->setTextVisible(false);
  layout->addWidget(pbarProgress_);
  // Hidden while idle, but their room is kept so the page does not jump.
  for (QWidget* w : {static_cast<QWidget*>(lblGenerating_), static_cast<QWidget*>(pbarProgress_)}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
    w->hide();
  }
}

void GeneratePage::SetGenerating(bool generating) {
  generating_ = generating;
  for (QWidget* w : {static_cast<QWidget*>(lblInstruction_), static_cast<QWidget*>(CancelButton()),
                     static_cast<QWidget*>(BackButton()), static_cast<QWidget*>(NextButton())}) {
    w->setEnabled(!generating);
  }
  lblGenerating_->setText(generatingText_);
  lblGenerating_->setVisible(generating);
  pbarProgress_->setVisible(generating);
}

void GeneratePage::OnNext() {
  if (generating_) return;
  SetGenerating(true);
  pbarProgress_->setRange(0, 1);
  pbarProgress_->setValue(0);
  QCoreApplication::processEvents();

  PageMessageSink sink(session().services(), this);
  const GenerationResult result = Generate(sink, [this](int position, int maximum, const std::string& text) {
    pbarProgress_->setRange(0, std::max(maximum, 0));
    pbarProgress_->setValue(std::clamp(position, 0, std::max(maximum, 0)));
    const QString label = QString::fromStdString(text);
    lblGenerating_->setText(label);
    emit Progressed(position, maximum, label);
    // Repaint, and let the close box reach the page.
    QCoreApplication::processEvents();
    return !closeRequested_;
  });

  SetGenerating(false);
  if (closeRequested_) {
    ReturnToMenu();
    return;
  }
  if (result.status == GenerationStatus::Failed) {
    OfferSheet(result);
    return;
  }
  if (!result.Generated()) return;
  ReportWarnings(result);
  auto* results = new frmDisplayResults(session());
  results->ReturnTo(Step());
  results->ShowResults(QString::fromStdString(result.resultKind), QString::fromStdString(result.windowTitle),
                       QByteArray::fromStdString(result.text));
  results->SetWarnings(result.warnings, result.warningCount);
  NavigateTo(results);
}

// Back and Cancel do nothing while the generation runs: their buttons are
// disabled, but a click started before (a mnemonic's delayed click) can still
// arrive, and leaving would delete the page under the generation.
void GeneratePage::OnBack() {
  if (!generating_) WizardPage::OnBack();
}

void GeneratePage::OnCancel() {
  if (!generating_) WizardPage::OnCancel();
}

// Groups written as 0 (or with a name nobody assigns) are told before the
// results show: the entries are as they always were, but likely not as meant.
void GeneratePage::ReportWarnings(const GenerationResult& result) {
  if (result.warningCount == 0) return;
  constexpr std::size_t kShown = 10;
  QString text = result.warningCount == 1
                     ? QStringLiteral("A brace group counted something as 0 (a failed evaluation, or a name that "
                                      "nothing assigns):")
                     : QStringLiteral("%1 brace groups counted something as 0 (a failed evaluation, or a name that "
                                      "nothing assigns):")
                           .arg(result.warningCount);
  for (std::size_t i = 0; i < std::min(kShown, result.warnings.size()); ++i) {
    text += QLatin1Char('\n') + QString::fromStdString(result.warnings[i].Line());
  }
  if (result.warningCount > kShown) text += QStringLiteral("\n... and %1 more.").arg(result.warningCount - kShown);
  session().services().Inform(this, text, QStringLiteral("Warning"));
}

// After the messages of a failed generation: the design sheet at the field
// that failed, when the failing entry names one.
void GeneratePage::OfferSheet(const GenerationResult& result) {
  const std::optional<DesignKind> kind = Kind();
  if (!kind) return;
  const std::optional<GenerationFault>& fault = result.fault;
  if (!fault || fault->field.key.empty()) return;
  if (!session().services().Ask(this, QStringLiteral("Do you want to open the design sheet at the field that failed?")))
    return;
  session().ShowDesignSheet(*kind, &*fault);
}

// The page cannot go while the generation runs inside its Next: the request
// cancels the generation, and the page returns to the menu once it stopped.
bool GeneratePage::OnCloseBox() {
  if (generating_) {
    closeRequested_ = true;
    return false;
  }
  return WizardPage::OnCloseBox();
}

}  // namespace vorlane
