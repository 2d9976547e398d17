// The generate page of the component wizard.
#pragma once

#include "generate_ui/GeneratePage.h"

namespace vorlane {

class CompGenerate;

class frmCompGenerate : public GeneratePage {
  Q_OBJECT

 public:
  explicit frmCompGenerate(HQ& hq, QWidget* parent = nullptr);

  // The component generation module of the program run, with its evaluator.
  static CompGenerate& Module();

 protected:
  GenerationResult Generate(MessageSink& sink, const ProgressCallback& progress) override;
  HostedPage* CreatePreviousPage() override;
};

}  // namespace vorlane
