// The evaluator's public members: variables, explicit assignment, angle
// units, Eval1 / EvalMulti, error numbers, the diagnostic table, and the
// promise that evaluation allocates nothing.
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "EvaluatorTestSupport.h"

// Counts heap allocations while a test asks for it. The replacements pair
// malloc with free, which GCC cannot see through once they are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
namespace {
std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};
void* CountedAlloc(std::size_t size) noexcept {
  if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1);
  return std::malloc(size ? size : 1);
}
}  // namespace

// Every plain form is replaced, so that each allocation and its release
// agree (malloc with free).
void* operator new(std::size_t size) {
  if (void* p = CountedAlloc(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return CountedAlloc(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return CountedAlloc(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace vorlane {
namespace {

TEST(EvaluatorInterface, StoreTrimsAndListsVariablesInOrder) {
  clsExprEvaluator ev;
  EXPECT_TRUE(ev.StoreExpression("   2+3  "));
  EXPECT_EQ(ev.Expression(), "2+3");
  EXPECT_EQ(ev.Eval(), 5);
  EXPECT_EQ(ev.ErrorDescription(), "");
  EXPECT_EQ(ev.VarTop(), 0);

  ASSERT_TRUE(ev.StoreExpression("x*y+x"));
  EXPECT_EQ(ev.VarTop(), 2);
  EXPECT_EQ(ev.VarName(1), "x");
  EXPECT_EQ(ev.VarName(2), "y");
  for (int outside : {3, 0, -1}) EXPECT_EQ(ev.VarName(outside), "") << outside;
  EXPECT_EQ(ev.VarValue(1), 0);
  EXPECT_EQ(ev.Eval(), 0);

  ev.SetVarValue(1, 3);
  ev.SetVarSymb("y", 4);
  EXPECT_EQ(ev.Eval(), 15);
  EXPECT_EQ(ev.VarSymb("x"), 3);
  EXPECT_EQ(ev.VarSymb("Y"), 4);  // names look up without regard to case
  EXPECT_EQ(ev.VarSymb("z"), 0);
  ev.SetVarSymb("z", 9);  // unknown names and indices change nothing
  ev.SetVarValue(7, 9);
  ev.SetVarValue(-1, 9);
  EXPECT_EQ(ev.Eval(), 15);
  EXPECT_EQ(ev.Variable("x"), 3);
  EXPECT_EQ(ev.Variable(2), 4);
  EXPECT_EQ(ev.Variable(5), 0);
  ev.SetVariable("X", 5);
  ev.SetVariable(2, 1);
  EXPECT_EQ(ev.Eval(), 10);

  // A new expression forgets the old variables and their values.
  ASSERT_TRUE(ev.StoreExpression("y+1"));
  EXPECT_EQ(ev.VarTop(), 1);
  EXPECT_EQ(ev.VarValue(1), 0);
  EXPECT_EQ(ev.Eval(), 1);

  // Names differing in case are distinct variables.
  ASSERT_TRUE(ev.StoreExpression("a-A"));
  EXPECT_EQ(ev.VarTop(), 2);
  ev.SetVarSymb("A", 1);
  ev.SetVarSymb("a", 5);
  EXPECT_EQ(ev.Eval(), 4);
}

TEST(EvaluatorInterface, ExplicitAssignmentRefusesUnsetVariables) {
  clsExprEvaluator ev;
  ev.SetOpAssignExplicit(true);
  EXPECT_TRUE(ev.OpAssignExplicit());
  ASSERT_TRUE(ev.StoreExpression("x*y"));
  ev.SetVarValue(1, 2);
  ev.SetVarValue(1, 3);  // the same variable twice does not count for y
  EXPECT_EQ(ev.Eval(), 0);
  EXPECT_EQ(ev.ErrorDescription(), "Variable < y > not assigned");
  EXPECT_EQ(ev.ErrorNumber(), clsExprEvaluator::kErrEval);

  ev.SetVariable("y", 4);  // marks it assigned while the switch is on
  EXPECT_EQ(ev.Eval(), 12);
  EXPECT_EQ(ev.ErrorNumber(), 0);

  ev.SetOpAssignExplicit(false);
  ASSERT_TRUE(ev.StoreExpression("x*y"));
  ev.SetVariable("x", 1);  // with the switch off this does not mark it
  ev.SetVarSymb("y", 1);
  ev.SetOpAssignExplicit(true);
  EXPECT_EQ(ev.Eval(), 0);
  EXPECT_EQ(ev.ErrorDescription(), "Variable < x > not assigned");
  // The switch survives StoreExpression; an expression without variables runs.
  ASSERT_TRUE(ev.StoreExpression("2"));
  EXPECT_TRUE(ev.OpAssignExplicit());
  EXPECT_EQ(ev.Eval(), 2);
}

TEST(EvaluatorInterface, AngleUnitsApplyAtEvaluationTime) {
  clsExprEvaluator ev;
  EXPECT_EQ(ev.AngleUnit(), "RAD");
  for (auto [unit, kept] : {std::pair{"deg", "DEG"}, {"turns", "DEG"}, {"Grad", "GRAD"}}) {
    ev.SetAngleUnit(unit);
    EXPECT_EQ(ev.AngleUnit(), kept) << unit;
  }

  ASSERT_TRUE(ev.StoreExpression("sin(x)"));
  ev.SetVarValue(1, 100);
  EXPECT_DOUBLE_EQ(ev.Eval(), 1);
  ev.SetAngleUnit("DEG");  // no new compile needed
  ev.SetVarValue(1, 90);
  EXPECT_DOUBLE_EQ(ev.Eval(), 1);
  ASSERT_TRUE(ev.StoreExpression("cos(180)"));  // constant, yet follows the unit
  EXPECT_DOUBLE_EQ(ev.Eval(), -1);
  ev.SetAngleUnit("RAD");
  EXPECT_DOUBLE_EQ(ev.Eval(), std::cos(180.0));
  EXPECT_EQ(ev.AngleUnit(), "RAD");
}

TEST(EvaluatorInterface, EvalOneAndEvalMulti) {
  clsExprEvaluator ev;
  ASSERT_TRUE(ev.StoreExpression("x^2+1"));
  EXPECT_EQ(ev.Eval1(3), 10);
  EXPECT_EQ(ev.VarValue(1), 0);  // Eval1 does not store the value
  ASSERT_TRUE(ev.StoreExpression("-x*x"));
  EXPECT_EQ(ev.Eval1(3), -9);
  ASSERT_TRUE(ev.StoreExpression("7"));
  EXPECT_EQ(ev.Eval1(3), 7);
  ASSERT_TRUE(ev.StoreExpression("x+y"));
  EXPECT_EQ(ev.Eval1(3), 0);
  EXPECT_EQ(ev.ErrorDescription(), "too many variables");
  EXPECT_EQ(ev.ErrorNumber(), clsExprEvaluator::kErrEval1);
  ASSERT_TRUE(ev.StoreExpression("1/x"));
  EXPECT_EQ(ev.Eval1(0), 0);
  EXPECT_EQ(ev.ErrorDescription(), "Evaluation error < 1 / 0 > at pos: 2");
  EXPECT_EQ(ev.ErrorNumber(), clsExprEvaluator::kErrEval1);

  const std::vector<double> values = {1, 2, 3};
  ASSERT_TRUE(ev.StoreExpression("2*x"));
  EXPECT_EQ(ev.EvalMulti(values), (std::vector<double>{2, 4, 6}));
  ASSERT_TRUE(ev.StoreExpression("a*10+b"));
  ev.SetVarSymb("a", 5);
  EXPECT_EQ(ev.EvalMulti(values, "b"), (std::vector<double>{51, 52, 53}));
  EXPECT_EQ(ev.EvalMulti(values, 1), (std::vector<double>{13, 23, 33}));
  EXPECT_EQ(ev.VarValue(2), 3);  // the others keep their values
  EXPECT_TRUE(ev.EvalMulti(values, "c").empty());
  EXPECT_EQ(ev.ErrorDescription(), "Variable not found");
  EXPECT_EQ(ev.ErrorNumber(), clsExprEvaluator::kErrEval);
  EXPECT_TRUE(ev.EvalMulti(values, 3).empty());
  EXPECT_EQ(ev.ErrorDescription(), "Variable not found");
  ASSERT_TRUE(ev.StoreExpression("1/(x-2)"));
  EXPECT_TRUE(ev.EvalMulti(values).empty());
  EXPECT_EQ(ev.ErrorDescription(), "Evaluation error < 1 / 0 > at pos: 2");
  ASSERT_TRUE(ev.StoreExpression("4"));
  EXPECT_TRUE(ev.EvalMulti(values).empty());
  EXPECT_EQ(ev.ErrorDescription(), "No variables");
}

TEST(EvaluatorInterface, FailedCompileRefusesEveryEvaluation) {
  clsExprEvaluator ev;
  EXPECT_EQ(ev.Eval(), 0);  // nothing stored yet
  EXPECT_EQ(ev.ErrorNumber(), clsExprEvaluator::kErrEval);
  EXPECT_FALSE(ev.StoreExpression("x+"));
  EXPECT_EQ(ev.ErrorDescription(), "missing argument");
  EXPECT_EQ(ev.Eval(), 0);
  EXPECT_EQ(ev.ErrorDescription(), "missing argument");
  EXPECT_EQ(ev.Eval1(1), 0);
  EXPECT_EQ(ev.ErrorNumber(), clsExprEvaluator::kErrEval1);
  const double one = 1;
  EXPECT_TRUE(ev.EvalMulti({&one, 1}).empty());
  EXPECT_EQ(ev.ErrorDescription(), "missing argument");
  // A good compile clears the text; the failure left by an evaluation stays
  // until the next success.
  ASSERT_TRUE(ev.StoreExpression("1/x"));
  EXPECT_EQ(ev.ErrorDescription(), "");
  ev.Eval();
  EXPECT_EQ(ev.ErrorDescription(), "Evaluation error < 1 / 0 > at pos: 2");
  ev.SetVarValue(1, 4);
  EXPECT_EQ(ev.Eval(), 0.25);
  EXPECT_EQ(ev.ErrorDescription(), "");
  EXPECT_EQ(ev.ErrorNumber(), 0);
}

// A compiled expression keeps its program, variables and text in storage of
// its own: copies and moves take it along (the evaluator moved from fails),
// short and long programs alike, and storing the evaluator's own text again
// compiles it afresh.
TEST(EvaluatorInterface, CopiesMovesAndItsOwnTextKeepTheProgram) {
  std::string longSum = "x*y";
  for (int k = 1; k <= 40; ++k) longSum += "+x*" + std::to_string(k);
  for (const std::string& text : {std::string("x*y+1"), longSum}) {
    clsExprEvaluator ev;
    ASSERT_TRUE(ev.StoreExpression(text));
    ev.SetVarSymb("x", 2);
    ev.SetVarSymb("y", 3);
    const double expected = ev.Eval();
    clsExprEvaluator copy = ev;
    clsExprEvaluator assigned;
    assigned = copy;
    ASSERT_TRUE(ev.StoreExpression("y-1"));  // the copies keep theirs
    clsExprEvaluator moved = std::move(copy);
    EXPECT_EQ(copy.Eval(), 0);  // nothing left to run
    EXPECT_NE(copy.ErrorNumber(), 0);
    for (clsExprEvaluator* other : {&moved, &assigned}) {
      EXPECT_EQ(other->Eval(), expected) << text;
      EXPECT_EQ(other->Expression(), text);
      EXPECT_EQ(other->VarName(2), "y");
    }
    EXPECT_EQ(ev.VarName(1), "y");
    ASSERT_TRUE(moved.StoreExpression(moved.Expression()));
    EXPECT_EQ(moved.Expression(), text);
    EXPECT_EQ(moved.VarValue(1), 0);
    moved.SetVarValue(1, 2);
    moved.SetVarValue(2, 3);
    EXPECT_EQ(moved.Eval(), expected);
  }
  // A failed compile keeps the text and the variables read up to the fault.
  clsExprEvaluator ev;
  EXPECT_FALSE(ev.StoreExpression(" a+b*"));
  EXPECT_EQ(ev.Expression(), "a+b*");
  EXPECT_EQ(ev.VarTop(), 2);
  EXPECT_EQ(ev.VarName(2), "b");
}

TEST(EvaluatorInterface, DumpShowsTheTable) {
  clsExprEvaluator ev;
  ASSERT_TRUE(ev.StoreExpression("2*x+1"));
  ev.SetVarValue(1, 5);
  ASSERT_EQ(ev.Eval(), 11);
  DumpTable t;
  ev.ET_Dump(t);
  ASSERT_EQ(t.size(), 3u);
  ASSERT_EQ(t[0].size(), 16u);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(t[0][0]));
  EXPECT_EQ(std::get<std::string>(t[0][1]), "Fun");
  EXPECT_EQ(std::get<std::string>(t[0][15]), "Cond");
  // Row 1 is "*" (2 times x), row 2 is "+" receiving it in argument 1; the
  // cells by column: Fun, ArgTop, Arg1 Value, A2 Idx, Arg2 Name, Arg2 Value,
  // ArgOf, ArgIdx, Value, PriLvl, PosInExpr, PriIdx; row 2 is the root.
  const std::tuple<int, int, DumpCell> cells[] = {
      {1, 1, std::string("*")}, {1, 2, 2}, {1, 5, 2.0}, {1, 6, 1}, {1, 7, std::string("x")}, {1, 8, 5.0}, {1, 9, 2},
      {1, 10, 1}, {1, 11, 10.0}, {1, 12, 3}, {1, 13, 2}, {1, 14, 1}, {2, 1, std::string("+")}, {2, 11, 11.0}, {2, 9, 0}};
  for (const auto& [row, column, cell] : cells) EXPECT_TRUE(t[row][column] == cell) << row << " " << column;
  EXPECT_EQ(ev.ET_Dump().substr(0, 15), "Fun\tArgTop\tA1 I");

  ASSERT_TRUE(ev.StoreExpression("(x>0)*log(x)"));
  ev.ET_Dump(t);
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ(std::get<std::int32_t>(t[3][15]), 1);  // log depends on row 1
  EXPECT_EQ(std::get<std::int32_t>(t[1][12]), 111);

  ASSERT_TRUE(ev.StoreExpression("clip(5,0,3)"));
  ev.ET_Dump(t);
  EXPECT_EQ(std::get<std::string>(t[2][1]), "@Right");
  EXPECT_FALSE(ev.StoreExpression("1+(2"));
  ev.ET_Dump(t);  // a failed compile still dumps what it built
  EXPECT_EQ(t.size(), 2u);
}

// The heap allocations `run` makes.
template <typename Run>
long Allocations(Run run) {
  g_allocations = 0;
  g_counting = true;
  run();
  g_counting = false;
  return g_allocations.load();
}

TEST(EvaluatorInterface, EvaluationAllocatesNothing) {
  clsExprEvaluator ev;
  ASSERT_TRUE(ev.StoreExpression(
      "x*y+sin(x)+(x>0)*log(x)+max(x,y)*clip(z,0,1)+wlin(x,2,0.3)+a_long_variable_name"));
  ev.SetOpAssignExplicit(true);
  for (int i = 1; i <= ev.VarTop(); ++i) ev.SetVarValue(i, 0.5);
  double sum = 0;
  EXPECT_EQ(Allocations([&] {
              for (int i = 0; i < 100; ++i) {
                ev.SetVarSymb("x", i * 0.01);
                sum += ev.Eval() + ev.Variable("y");
              }
            }),
            0);
  EXPECT_GT(sum, 0);
  // The counter itself works: a first compile allocates.
  EXPECT_GT(Allocations([] { clsExprEvaluator().StoreExpression("x^2+1"); }), 0);
  // Compiling again reuses the storage of the program before.
  ASSERT_TRUE(ev.StoreExpression("x^2+1"));
  EXPECT_EQ(Allocations([&] { ev.StoreExpression("x^3+2"); }), 0);
  EXPECT_EQ(Allocations([&] { for (int i = 0; i < 100; ++i) sum += ev.Eval1(i); }), 0);
}

}  // namespace
}  // namespace vorlane
