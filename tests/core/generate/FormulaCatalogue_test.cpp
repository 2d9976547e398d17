#include "generate/FormulaCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>

#include "GenerateTestSupport.h"
#include "evaluator/ExprFunctions.h"
#include "generate/DesignLayout.h"
#include "generate/IndexedVariables.h"
#include "generate/LiveEntry.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;

// The names of the evaluator's function table that take arguments.
std::set<std::string> FunctionTableNames() {
  std::set<std::string> names;
  for (const expr::FunInfo& f : expr::NamedFunctions()) names.emplace(f.name);
  return names;
}

TEST(FormulaCatalogue, EveryFunctionOfTheEvaluatorHasOneHelpRowAndNoOther) {
  const std::set<std::string> table = FunctionTableNames();
  ASSERT_GT(table.size(), 100u);
  std::set<std::string> help;
  for (const FunctionHelp& row : FunctionHelpTable()) {
    EXPECT_TRUE(help.insert(std::string(row.name)).second) << "two rows for " << row.name;
    const expr::FunInfo* info = expr::FindFunction(row.name);
    ASSERT_NE(info, nullptr) << row.name << " is no function of the evaluator";
    // The argument list names as many arguments as the evaluator takes.
    const auto commas = std::count(row.arguments.begin(), row.arguments.end(), ',');
    EXPECT_EQ(commas + 1, info->args) << row.name << "(" << row.arguments << ")";
    EXPECT_FALSE(row.description.empty()) << row.name;
  }
  std::vector<std::string> missing, extra;
  std::set_difference(table.begin(), table.end(), help.begin(), help.end(), std::back_inserter(missing));
  std::set_difference(help.begin(), help.end(), table.begin(), table.end(), std::back_inserter(extra));
  EXPECT_EQ(missing, std::vector<std::string>{}) << "functions without a help row";
  EXPECT_EQ(extra, std::vector<std::string>{}) << "help rows of no function";
  const auto functions = FormulaFunctions();
  ASSERT_EQ(functions.size(), table.size());
  EXPECT_TRUE(std::is_sorted(functions.begin(), functions.end(),
                             [](const auto& a, const auto& b) { return a.name < b.name; }));
  const auto logn = std::find_if(functions.begin(), functions.end(), [](const auto& f) { return f.name == "logn"; });
  ASSERT_NE(logn, functions.end());
  EXPECT_EQ(logn->signature, "logn(x, base)");
  EXPECT_EQ(logn->arguments, 2);
}

std::vector<std::string> Names(const FormulaCatalogue& catalogue) {
  std::vector<std::string> names;
  for (const auto& v : catalogue.variables) names.push_back(v.name);
  return names;
}

bool Has(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

vrlComponent Weapon(bool grid) {
  return FromDesign<vrlComponent>(R"("NumCompLevels": 2, "WeaponType": "Direct Fire", "Abilities": [{}],
      "TechReqs": [{"TechReqGridSize": "2"}, {"TechReqGridSize": "2"}], "GridComp": )" + std::string(grid ? "true" : "false"));
}

// The variables follow the design's counts, and every one of them is a
// variable generation knows: put into a field, it makes an entry.
TEST(FormulaCatalogue, VariablesFollowTheDesignAndGenerationKnowsEachOfThem) {
  struct Case {
    const char* name;
    std::size_t count;  // level and its Roman form + named + 2 or 3 per requirement + 4 per ability + 21 damage ranges
    std::vector<std::string> present, absent;
  };
  const vrlComponent plain = Weapon(false), grid = Weapon(true);
  vrlComponent unarmed = plain;
  unarmed.SetWeaponType("none");
  vrlFacility facility = Bare<vrlFacility>("Mine", "2");
  facility.SetNumAbils(2);
  const std::vector<std::pair<FormulaCatalogue, Case>> cases = {
      {MakeFormulaCatalogue(plain),
       {"plain weapon", 2 + 26 + 4 + 4 + 21,
        {"&complevel", "&complevelroman", "&techlevel2", "&abil1val2", "&weapdmg21"},
        {"&techgridlevel1", "&techlevel3", "&abil2type"}}},
      {MakeFormulaCatalogue(grid), {"grid weapon", 2 + 26 + 6 + 4 + 21, {"&techgridlevel2", "&weapseekerhp"},
                                    {"&techgridlevel3"}}},
      {MakeFormulaCatalogue(unarmed), {"no weapon", 2 + 26 + 4 + 4, {"&weaptype"}, {"&weapdmg1"}}},
      {MakeFormulaCatalogue(facility), {"facility", 2 + 9 + 8,
                                        {"&faclevel", "&faclevelroman", "&facgroup", "&abil2descr"},
                                        {"&complevel", "&techarea1", "&weapdmg1"}}},
  };
  for (const auto& [catalogue, c] : cases) {
    SCOPED_TRACE(c.name);
    const auto names = Names(catalogue);
    EXPECT_EQ(names.size(), c.count);
    for (const auto& name : c.present) EXPECT_TRUE(Has(names, name)) << name;
    for (const auto& name : c.absent) EXPECT_FALSE(Has(names, name)) << name;
  }

  // Each variable in a field makes an entry (an unknown name would fail it).
  auto generates = [](auto record, const FormulaVariable& v, EntryPoint point) {
    if constexpr (std::is_same_v<decltype(record), vrlComponent>) {
      (v.name == "&compdesc" ? record.SetCompName(v.name) : record.SetCompDesc(v.name));
    } else {
      (v.name == "&facdesc" ? record.SetFacName(v.name) : record.SetFacDesc(v.name));
    }
    return MakeEntry(record, point).status == GenerationStatus::Generated;
  };
  for (const auto& v : cases[0].first.variables) EXPECT_TRUE(generates(plain, v, {1, {}})) << v.name;
  for (const auto& v : cases[1].first.variables) EXPECT_TRUE(generates(grid, v, {0, {1, 2}})) << v.name;
  for (const auto& v : cases[3].first.variables) EXPECT_TRUE(generates(facility, v, {1, {}})) << v.name;

  // A variable of a field names its place and the page's label for it.
  const auto& level2 = *std::find_if(cases[0].first.variables.begin(), cases[0].first.variables.end(),
                                     [](const auto& v) { return v.name == "&techlevel2"; });
  ASSERT_TRUE(level2.field);
  EXPECT_EQ(*level2.field, (FieldPlace{"TechReqs", 2, "TechReqLevel"}));
  EXPECT_EQ(level2.label, FieldLabel(plain, *level2.field));
  EXPECT_FALSE(cases[0].first.variables.front().field);  // the level stands for no field
}

// Every family of indexed variables, from its one row: the catalogue offers
// it, the substitution reads the field the catalogue names (or the cell's
// position), and a misspelt name is pointed to it.
TEST(FormulaCatalogue, EachIndexedFamilyIsOfferedSubstitutedAndSuggested) {
  using Fields = Layout<vrlComponent>;
  vrlComponent design = Weapon(true);
  design.SetNumAbils(2);
  // Each field holds its own number, kept under its column and entry.
  std::map<std::string, std::string> stored;
  auto store = [&](const std::string& column, std::int16_t n, auto set) {
    const std::string value = std::to_string(100 + stored.size());
    stored[column + "-" + std::to_string(n)] = value;
    set(value);
  };
  for (std::int16_t n = 1; n <= 2; ++n) {
    for (const auto& c : Fields::kTech) store(c.name, n, [&](const std::string& v) { (design.*c.set)(n, v); });
    for (const auto& c : Fields::kAbilities) store(c.name, n, [&](const std::string& v) { (design.*c.set)(n, v); });
  }
  for (std::int16_t r = 1; r <= vrlComponent::kNumRanges; ++r) {
    store(Fields::kDamageList, r, [&](const std::string& v) { design.SetWeaponDamageAtRange(r, v); });
  }
  design.SetTechReqGridSize(1, "2");
  design.SetTechReqGridSize(2, "3");
  const FormulaCatalogue catalogue = MakeFormulaCatalogue(design);
  for (const IndexedFamily& family : kIndexedFamilies) {
    const std::string name = std::string(family.prefix) + "2" + std::string(family.suffix);
    SCOPED_TRACE(name);
    const auto offered = std::find_if(catalogue.variables.begin(), catalogue.variables.end(),
                                      [&](const FormulaVariable& v) { return v.name == name; });
    ASSERT_NE(offered, catalogue.variables.end());
    EXPECT_EQ(offered->description, std::string(family.help) + "2");
    // The cell (2, 3): the second requirement's position is 3.
    vrlComponent probe = design;
    probe.SetCompDesc("<" + name + ">");
    const LiveEntry entry = MakeEntry(probe, {0, {2, 3}});
    ASSERT_EQ(entry.status, GenerationStatus::Generated) << entry.messages.size();
    const auto& place = offered->field;
    const std::string expected = place ? stored[place->key + "-" + std::to_string(place->entry)] : "3";
    EXPECT_EQ(Values(entry.text, "Description"), std::vector<std::string>{"<" + expected + ">"});
    EXPECT_EQ(offered->field.has_value(), !family.column.empty());
    // One letter of the prefix wrong: the fault suggests the family's name.
    std::string misspelt = name;
    misspelt[2] = misspelt[2] == 'x' ? 'y' : 'x';
    probe.SetCompDesc(misspelt);
    const LiveEntry failed = MakeEntry(probe, {0, {2, 3}});
    ASSERT_TRUE(failed.fault);
    EXPECT_EQ(failed.fault->reason, "Unknown variable " + misspelt + "; did you mean " + name + "?");
  }
}

}  // namespace
}  // namespace vorlane
