// The facility design record, the component record's twin with fewer fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "records/DesignRecord.h"

namespace vorlane {

// The facility's text fields, one row each, in design-file order, as for the
// component (vrlComponent.h):
//   X(property and design-file key, generation slot, variable, default, needed,
//     caption as the pages show it)
#define VORLANE_FACILITY_TEXTS(X)                                      \
  X(FacName,      1, "&facname",  "", Always, "Facility Name")         \
  X(FacDesc,      3, "&facdesc",  "", Always, "Facility Description")  \
  X(NumberStyle,  2, "",          "", Always, "Numbering Style")       \
  X(RomanStyle,  10, "&roman",    "", Always, "Roman Numeral Style")   \
  X(FacGroup,     8, "&facgroup", "", Always, "Facility Group")        \
  X(FacFamily,    9, "&family",   "", Always, "Facility Family")       \
  X(PicNum,       4, "&picnum",   "", Always, "Picture Number")        \
  X(MinCost,      5, "&mincost",  "", Always, "Minerals Cost")         \
  X(OrgCost,      6, "&orgcost",  "", Always, "Organics Cost")         \
  X(RadCost,      7, "&radcost",  "", Always, "Radioactives Cost")

class vrlFacility : public DesignRecord {
 public:
  VORLANE_FACILITY_TEXTS(VORLANE_TEXT_ACCESSORS)
  VORLANE_RECORD_NAMES(NumFacLevels, GridFac, TechReqNumStyle);
  static constexpr const char* kKind = "facility";

  bool operator==(const vrlFacility&) const = default;

 private:
  VORLANE_FACILITY_TEXTS(VORLANE_TEXT_MEMBER)
};

}  // namespace vorlane
