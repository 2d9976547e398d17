// The generation's warnings (brace groups written as 0) in a game check
// report, beside what the game would refuse or misread: one warning finding
// per group, in the entry it was met in.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "generate/GameCheck.h"
#include "generate/GenerationModule.h"

namespace vorlane {

// Adds `warnings` to `report` as findings of level Warning, the entry named
// as `text` (the generated entries) names it; `count` beyond the warnings
// given is noted as not listed.
void AddGenerationWarnings(CheckReport& report, std::span<const GenerationWarning> warnings, std::size_t count,
                           std::string_view text);

}  // namespace vorlane
