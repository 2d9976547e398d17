#include "generate_ui/frmCompGenerate.h"

#include "app/HQ.h"
#include "generate/CompGenerate.h"
#include "wizard/frmCompWeaponDamage.h"
#include "wizard/frmCompWeaponInfo.h"

namespace vorlane {

frmCompGenerate::frmCompGenerate(HQ& hq, QWidget* parent)
    : GeneratePage(hq, {"frmCompGenerate", kComponentDesignTitle + QStringLiteral(" - Generate Component"),
                        "lblCompGenerate", QStringLiteral("component")},
                   parent) {}

CompGenerate& frmCompGenerate::Module() {
  static CompGenerate module;
  return module;
}

GenerationResult frmCompGenerate::Generate(MessageSink& sink, const ProgressCallback& progress) {
  return Module().Generate(hq().Component(), sink, progress);
}

// A weapon goes back to its damage page; this one comparison respects case.
HostedPage* frmCompGenerate::CreatePreviousPage() {
  if (hq().Component().WeaponType() != "None") return new frmCompWeaponDamage(hq());
  return new frmCompWeaponInfo(hq());
}

}  // namespace vorlane
