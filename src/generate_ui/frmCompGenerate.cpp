#include "generate_ui/frmCompGenerate.h"

#include "generate/CompGenerate.h"

namespace vorlane {

frmCompGenerate::frmCompGenerate(Session& session, QWidget* parent)
    : GeneratePage(session, {"frmCompGenerate", kComponentDesignTitle + QStringLiteral(" - Generate Component"),
                        "lblCompGenerate", QStringLiteral("component")},
                   parent) {}

CompGenerate& frmCompGenerate::Module() {
  static CompGenerate module;
  return module;
}

GenerationResult frmCompGenerate::Generate(MessageSink& sink, const ProgressCallback& progress) {
  return Module().Generate(Component(), sink, progress);
}

}  // namespace vorlane
