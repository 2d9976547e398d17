// Component generation: turns a component design into one entry per level or
// grid cell in the layout of the game's component data file. One object
// lives for the program run; it owns its evaluator and its field table.
#pragma once

#include <string>

#include "generate/RecordGenerate.h"
#include "records/vrlComponent.h"

namespace vorlane {

class CompGenerate : public RecordGenerate<vrlComponent> {
 public:
  // Slots of the component field table (vrlComponent.h); slot 0 holds the
  // level text.
  enum Slot { kLevel, VORLANE_COMPONENT_TEXTS(VORLANE_TEXT_SLOT) };

  CompGenerate();

 protected:
  void AppendEntry(std::string& out, bool grid) const override;
};

}  // namespace vorlane
