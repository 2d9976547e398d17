// The generate page of the facility wizard.
#pragma once

#include "generate_ui/GeneratePage.h"

namespace vorlane {

class FacGenerate;

class frmFacGenerate : public GeneratePage {
  Q_OBJECT

 public:
  explicit frmFacGenerate(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::FacGenerate; }

  // The facility generation module of the program run, with its evaluator.
  static FacGenerate& Module();

 protected:
  GenerationResult Generate(MessageSink& sink, const ProgressCallback& progress) override;
};

}  // namespace vorlane
