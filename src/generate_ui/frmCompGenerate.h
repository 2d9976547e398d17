// The generate page of the component wizard.
#pragma once

#include "generate_ui/GeneratePage.h"

namespace vorlane {

class CompGenerate;

class frmCompGenerate : public GeneratePage {
  Q_OBJECT

 public:
  explicit frmCompGenerate(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::CompGenerate; }

  // The component generation module of the program run, with its evaluator.
  static CompGenerate& Module();

 protected:
  GenerationResult Generate(MessageSink& sink, const ProgressCallback& progress) override;
};

}  // namespace vorlane
