// The generate page of the facility wizard.
#pragma once

#include "generate_ui/GeneratePage.h"

namespace vorlane {

class FacGenerate;

class frmFacGenerate : public GeneratePage {
  Q_OBJECT

 public:
  explicit frmFacGenerate(HQ& hq, QWidget* parent = nullptr);

  // The facility generation module of the program run, with its evaluator.
  static FacGenerate& Module();

 protected:
  GenerationResult Generate(MessageSink& sink, const ProgressCallback& progress) override;
  HostedPage* CreatePreviousPage() override;
};

}  // namespace vorlane
