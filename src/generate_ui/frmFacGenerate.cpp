#include "generate_ui/frmFacGenerate.h"

#include "app/HQ.h"
#include "generate/FacGenerate.h"
#include "wizard/frmFacAbility.h"

namespace vorlane {

frmFacGenerate::frmFacGenerate(HQ& hq, QWidget* parent)
    : GeneratePage(hq, {"frmFacGenerate", kFacilityDesignTitle + QStringLiteral(" - Generate Facility"),
                        "lblFacGenerate", QStringLiteral("facility")},
                   parent) {}

FacGenerate& frmFacGenerate::Module() {
  static FacGenerate module;
  return module;
}

GenerationResult frmFacGenerate::Generate(MessageSink& sink, const ProgressCallback& progress) {
  return Module().Generate(hq().Facility(), sink, progress);
}

// The abilities page opens at its first entry.
HostedPage* frmFacGenerate::CreatePreviousPage() { return new frmFacAbility(hq()); }

}  // namespace vorlane
