// The last page of both wizards. Its Next runs the generation: the buttons
// are disabled and a progress bar with "N% generated" shows while it runs,
// the engine's messages appear as modal boxes in their order, and a finished
// generation opens the results window in the page's place, after a message
// that lists the brace groups written as 0, if any. Closing the window
// while a generation runs cancels it and then returns to the main menu.
// frmCompGenerate and frmFacGenerate differ only in their words, record and
// previous page.
#pragma once

#include <string>

#include "generate/GenerationModule.h"
#include "gui/WizardPage.h"

class QLabel;
class QProgressBar;

namespace vorlane {

class GeneratePage : public WizardPage {
  Q_OBJECT

 public:
  bool Generating() const { return generating_; }
  bool OnCloseBox() override;

  QLabel* lblGenerating() const { return lblGenerating_; }
  QProgressBar* pbarProgress() const { return pbarProgress_; }

 signals:
  // After every progress report of a running generation (tests listen).
  void Progressed(int position, int maximum, const QString& text);

 protected:
  struct Words {
    const char* pageName;    // "frmCompGenerate"
    QString title;
    const char* labelName;   // "lblCompGenerate"
    QString noun;            // "component"
  };
  GeneratePage(Session& session, const Words& words, QWidget* parent);

  // Runs the wizard's generation on its record.
  virtual GenerationResult Generate(MessageSink& sink, const ProgressCallback& progress) = 0;

  void OnNext() override;
  void OnBack() override;
  void OnCancel() override;

 private:
  void SetGenerating(bool generating);
  void OfferSheet(const GenerationResult& result);
  void ReportWarnings(const GenerationResult& result);

  QLabel* lblInstruction_;
  QLabel* lblGenerating_;
  QProgressBar* pbarProgress_;
  QString generatingText_;
  bool generating_ = false;
  bool closeRequested_ = false;
};

}  // namespace vorlane
