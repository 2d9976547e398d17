#include "generate_ui/ResultsCheck.h"

#include "generate/GameCheck.h"
#include "generate/GenerationWarnings.h"
#include "gui/LineTextView.h"
#include "gui/Services.h"
#include "settings/GameData.h"

namespace vorlane {

bool CheckResults(QWidget* parent, Services& services, const LineTextView& view, const std::string& modDir,
                  const std::string& seivDir, std::span<const GenerationWarning> warnings, std::size_t warningCount) {
  const std::string text = view.text().toStdString();
  CheckReport report = CheckEntries(text, ReadGameData(modDir, seivDir));
  AddGenerationWarnings(report, warnings, warningCount, text);
  services.Inform(parent, QString::fromStdString(report.Text(kMaxCheckFindingsShown)), QStringLiteral("Game Check"));
  return report.Clean();
}

}  // namespace vorlane
