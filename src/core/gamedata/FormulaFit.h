// The simplest formula that gives each level's value exactly: the same text
// for every level; the level number (or, in a grid, a grid position) as it
// stands; a linear or geometric rule in braces; otherwise a brace group that
// picks each level's value. Texts are fitted number by number around an
// unchanging rest ("Fires 3 shots", "Fires 4 shots"); Roman numerals that
// follow the level become the level variable with "roman" after it. Every
// candidate is checked with the evaluator the generator uses before it is
// taken.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "evaluator/clsExprEvaluator.h"

namespace vorlane {

// The variables' values for one entry of a family.
struct FitPoint {
  int level = 1;          // the level text: the level, or the running number of a grid cell
  std::vector<int> grid;  // grid positions along each requirement (grid designs only)
};

class FormulaFitter {
 public:
  // `levelVariable` is "&complevel" or "&faclevel".
  FormulaFitter(std::string levelVariable, std::vector<FitPoint> points);

  // A formula giving values[i] at points[i], or nothing when none of the
  // language can.
  std::optional<std::string> FitText(const std::vector<std::string>& values);
  // The same for a value that must be one number at every point.
  std::optional<std::string> FitNumber(const std::vector<std::string>& values);

  // A formula that gives `text` itself: "&" doubled; nothing when the text
  // holds a "{", which every formula would read as a brace group.
  static std::optional<std::string> Literal(std::string_view text);

 private:
  bool Gives(const std::string& formula, const std::vector<std::string>& values);
  std::string Substituted(const std::string& formula, const FitPoint& point) const;

  std::string level_;
  std::vector<FitPoint> points_;
  clsExprEvaluator evaluator_;
};

}  // namespace vorlane
