// The results window's Check: runs the game check on the shown entries, with
// the game's data files of the set directories, and reports in a message.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "generate/GenerationModule.h"

class QWidget;

namespace vorlane {

class LineTextView;
class Services;

// Lines of findings shown in the message at most; the rest are counted.
inline constexpr std::size_t kMaxCheckFindingsShown = 40;

// Checks the view's text and shows the report, titled "Game Check", the
// generation's `warnings` (of `warningCount` in all) listed as warnings among
// its findings. True when nothing was found.
bool CheckResults(QWidget* parent, Services& services, const LineTextView& view, const std::string& modDir,
                  const std::string& seivDir, std::span<const GenerationWarning> warnings = {},
                  std::size_t warningCount = 0);

}  // namespace vorlane
