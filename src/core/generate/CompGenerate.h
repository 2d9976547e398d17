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

  GenerationResult GenerateComponents(const vrlComponent& record, MessageSink& sink,
                                      const ProgressCallback& progress = {}) {
    return GeneratePlain(record, sink, progress);
  }
  GenerationResult GenerateGridComponents(const vrlComponent& record, MessageSink& sink,
                                          const ProgressCallback& progress = {}) {
    return GenerateGrid(record, sink, progress);
  }

  // Building blocks, for callers that make single entries (see Prepare).
  bool SubstituteComponentVariable(std::string& text, std::string& name) { return SubstituteVariable(text, name); }
  void LoadComponentFields() { LoadFields(); }
  bool ResolveComponentFields() { return ResolveFields(); }
  bool ComponentFieldsResolved() const { return FieldsResolved(); }
  void ResetComponentFieldStates() { ResetFieldStates(); }
  // Makes one entry for the level text and grid positions set beforehand and
  // appends it, followed by one further line end, to `entries`.
  bool WriteComponentEntry(std::string& entries, bool grid) { return WriteEntry(entries, grid); }

 protected:
  void AppendEntry(std::string& out, bool grid) const override;
};

}  // namespace vorlane
