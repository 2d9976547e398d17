// Facility generation: the twin of CompGenerate for the facility record, with
// its own words and the facility entry layout. One object lives for the
// program run; it owns its evaluator and field table.
#pragma once

#include <string>

#include "generate/RecordGenerate.h"
#include "records/vrlFacility.h"

namespace vorlane {

class FacGenerate : public RecordGenerate<vrlFacility> {
 public:
  // Slots of the facility field table (vrlFacility.h); slot 0 holds the
  // level text.
  enum Slot { kLevel, VORLANE_FACILITY_TEXTS(VORLANE_TEXT_SLOT) };

  FacGenerate();

 protected:
  void AppendEntry(std::string& out, bool grid) const override;
};

}  // namespace vorlane
