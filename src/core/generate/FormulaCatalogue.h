// What a user may write in a design's formulas: the variables the design
// offers (named fields, the level, and the indexed families expanded for the
// design's requirements, abilities and damage ranges) and the evaluator's
// functions with their argument lists. The formula reference and the
// completion in formula boxes show it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "generate/LiveEntry.h"
#include "records/vrlComponent.h"
#include "records/vrlFacility.h"

namespace vorlane {

struct FormulaVariable {
  std::string name;                // as written: "&techlevel2"
  std::string description;         // one line: "Level of technology requirement 2"
  std::optional<FieldPlace> field; // the field it stands for; none for the level and grid positions
  std::string label;               // that field as the page shows it (FieldLabel); empty without a field
};

struct FormulaFunction {
  std::string name;         // "logn"
  int arguments = 0;        // as the evaluator's function table has it
  std::string signature;    // "logn(x, base)"
  std::string description;  // one line
};

struct FormulaCatalogue {
  std::vector<FormulaVariable> variables;
  std::vector<FormulaFunction> functions;
};

// The help text of every evaluator function, keyed by its name (synonyms have
// rows of their own): the argument list as written and a one-line description.
struct FunctionHelp {
  std::string_view name;
  std::string_view arguments;  // "x, base"
  std::string_view description;
};
std::span<const FunctionHelp> FunctionHelpTable();

// The variables of the design as it stands, in page order, then the
// functions in alphabetical order.
FormulaCatalogue MakeFormulaCatalogue(const vrlComponent& record);
FormulaCatalogue MakeFormulaCatalogue(const vrlFacility& record);

// The functions alone (the same for every design).
std::vector<FormulaFunction> FormulaFunctions();

}  // namespace vorlane
