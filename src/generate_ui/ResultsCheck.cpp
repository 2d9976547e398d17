#include "generate_ui/ResultsCheck.h"

#include "gui/Services.h"
#include "generate/GameCheck.h"
#include "generate_ui/ResultsTextView.h"
#include "settings/GameData.h"

namespace vorlane {

bool CheckResults(QWidget* parent, Services& services, const ResultsTextView& view, const std::string& modDir,
                  const std::string& seivDir) {
  const CheckReport report = CheckEntries(view.text().toStdString(), ReadGameData(modDir, seivDir));
  services.Inform(parent, QString::fromStdString(report.Text(kMaxCheckFindingsShown)), QStringLiteral("Game Check"));
  return report.Clean();
}

}  // namespace vorlane
