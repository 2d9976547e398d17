#include "generate_ui/frmFacGenerate.h"

#include "generate/FacGenerate.h"

namespace vorlane {

frmFacGenerate::frmFacGenerate(Session& session, QWidget* parent)
    : GeneratePage(session, {"frmFacGenerate", kFacilityDesignTitle + QStringLiteral(" - Generate Facility"),
                        "lblFacGenerate", QStringLiteral("facility")},
                   parent) {}

FacGenerate& frmFacGenerate::Module() {
  static FacGenerate module;
  return module;
}

GenerationResult frmFacGenerate::Generate(MessageSink& sink, const ProgressCallback& progress) {
  return Module().Generate(Facility(), sink, progress);
}

}  // namespace vorlane
