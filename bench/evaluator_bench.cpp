// The evaluator side by side with muparser on the same expressions and
// variable values: repeated evaluation of a compiled expression, and the
// compile itself (muparser: SetExpr plus the first Eval, which parses).
// The expressions are the nine of the evaluator race (ExprTk and tinyexpr
// are raced by hand with ../shared/peers/race.sh); the "heap_bytes" counter
// of the compile benchmarks is the heap one compiled expression holds.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <muParser.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "evaluator/clsExprEvaluator.h"

namespace {

// Heap in use by what is allocated while g_counting is on (usable sizes).
std::atomic<long> g_heapInUse{0};
std::atomic<bool> g_counting{false};

}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (!p) throw std::bad_alloc();
  if (g_counting) g_heapInUse += static_cast<long>(malloc_usable_size(p));
  return p;
}
void operator delete(void* p) noexcept {
  if (p && g_counting) g_heapInUse -= static_cast<long>(malloc_usable_size(p));
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

struct Case {
  const char* name;
  const char* vorlane;   // in the evaluator's syntax
  const char* muparser;  // the same in muparser's syntax
};

#define VORLANE_SUM30                                                                    \
  "a*1.5+b*2.5-c*0.5+d/3+e*e-a*b+c*d/2+e*0.25-a/4+b*b*0.1+c*1.25-d*0.75+e/5+a*c-b*d*0.5" \
  "+e*a*0.3+c/7-d*d*0.2+b*3.5-e*c+a*a*0.05+d*1.1-b/9+c*c*0.15-e*2.2+a*d*0.4-b*e+c*0.35"  \
  "+d/6-a*e*0.6"

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"1_2+3*4", "2+3*4", "2+3*4"},
      {"2_x*y+sin(x)", "x*y+sin(x)", "x*y+sin(x)"},
      {"3_(x>0)*log(x)", "(x>0)*log(x)", "(x>0)*ln(x)"},
      {"4_poly8", "1+2*x+3*x^2+4*x^3+5*x^4+6*x^5+7*x^6+8*x^7+9*x^8",
       "1+2*x+3*x^2+4*x^3+5*x^4+6*x^5+7*x^6+8*x^7+9*x^8"},
      {"5_poly8_horner", "1+x*(2+x*(3+x*(4+x*(5+x*(6+x*(7+x*(8+x*9)))))))",
       "1+x*(2+x*(3+x*(4+x*(5+x*(6+x*(7+x*(8+x*9)))))))"},
      {"6_max(x,y)*clip(z,0,1)", "max(x,y)*clip(z,0,1)", "max(x,y)*clip(z,0,1)"},
      {"7_sum30", VORLANE_SUM30, VORLANE_SUM30},
      {"8_level_formula", "round(10*1.15^(x-1)+y/2,0)", "rint(10*1.15^(x-1)+y/2)"},
      {"9_sqrt/exp", "sqr(x^2+y^2)/(1+exp(-z))", "sqrt(x^2+y^2)/(1+exp(-z))"},
  };
  return cases;
}

constexpr int kVarCount = 8;
const char* const kVarNames[kVarCount] = {"x", "y", "z", "a", "b", "c", "d", "e"};
constexpr double kValues[kVarCount] = {0.75, 1.5, 0.25, 0.75, 1.5, 0.25, 1.25, 2.5};

double Clip(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

void SetVariables(vorlane::clsExprEvaluator& ev) {
  for (int i = 0; i < kVarCount; ++i) ev.SetVarSymb(kVarNames[i], kValues[i]);
}

struct MuParser {
  mu::Parser parser;
  double values[kVarCount];
  MuParser() {
    for (int i = 0; i < kVarCount; ++i) {
      values[i] = kValues[i];
      parser.DefineVar(kVarNames[i], &values[i]);
    }
    parser.DefineFun("clip", Clip);
  }
};

void VorlaneEval(benchmark::State& state, const Case& c) {
  vorlane::clsExprEvaluator ev;
  if (!ev.StoreExpression(c.vorlane)) {
    state.SkipWithError(ev.ErrorDescription().c_str());
    return;
  }
  SetVariables(ev);
  for (auto _ : state) benchmark::DoNotOptimize(ev.Eval());
}

void MuparserEval(benchmark::State& state, const Case& c) {
  MuParser mp;
  try {
    mp.parser.SetExpr(c.muparser);
    mp.parser.Eval();
  } catch (const mu::Parser::exception_type&) {
    state.SkipWithError("muparser refused the expression");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(mp.parser.Eval());
}

// Changing a variable before every evaluation, as a level loop does.
void VorlaneSetEval(benchmark::State& state, const Case& c) {
  vorlane::clsExprEvaluator ev;
  if (!ev.StoreExpression(c.vorlane)) {
    state.SkipWithError(ev.ErrorDescription().c_str());
    return;
  }
  SetVariables(ev);
  // The first variable of the expression changes (x, or a in the sum).
  double x = ev.VarValue(1);
  const double base = x;
  for (auto _ : state) {
    x = x == base ? base + 0.125 : base;
    ev.SetVarValue(1, x);
    benchmark::DoNotOptimize(ev.Eval());
  }
}

void MuparserSetEval(benchmark::State& state, const Case& c) {
  MuParser mp;
  mp.parser.SetExpr(c.muparser);
  mp.parser.Eval();
  double& first = std::string(c.vorlane).find('x') != std::string::npos ? mp.values[0] : mp.values[3];
  const double base = first;
  for (auto _ : state) {
    first = first == base ? base + 0.125 : base;
    benchmark::DoNotOptimize(mp.parser.Eval());
  }
}

// A fresh evaluator per compile (its construction and destruction, which
// allocate nothing, are timed with it), as a generation run's cache makes them.
void VorlaneCompile(benchmark::State& state, const Case& c) {
  for (auto _ : state) {
    vorlane::clsExprEvaluator ev;
    benchmark::DoNotOptimize(ev.StoreExpression(c.vorlane));
  }
  g_heapInUse = 0;
  g_counting = true;
  auto ev = std::make_unique<vorlane::clsExprEvaluator>();
  ev->StoreExpression(c.vorlane);
  g_counting = false;
  state.counters["heap_bytes"] = static_cast<double>(g_heapInUse - static_cast<long>(sizeof(vorlane::clsExprEvaluator)));
}

void VorlaneCompileReused(benchmark::State& state, const Case& c) {
  vorlane::clsExprEvaluator ev;
  for (auto _ : state) benchmark::DoNotOptimize(ev.StoreExpression(c.vorlane));
}

void MuparserCompile(benchmark::State& state, const Case& c) {
  MuParser mp;
  const std::string expr = c.muparser;
  for (auto _ : state) {
    mp.parser.SetExpr(expr);
    benchmark::DoNotOptimize(mp.parser.Eval());
  }
}

// Both give the same value, so the comparison is of like with like.
bool SameValue(const Case& c) {
  vorlane::clsExprEvaluator ev;
  if (!ev.StoreExpression(c.vorlane)) return false;
  SetVariables(ev);
  MuParser mp;
  mp.parser.SetExpr(c.muparser);
  const double a = ev.Eval(), b = mp.parser.Eval();
  return a == b || (a - b) * (a - b) <= 1e-24 * (a * a + b * b);
}

const bool registered = [] {
  for (const Case& c : Cases()) {
    if (!SameValue(c)) {
      benchmark::RegisterBenchmark((std::string("MISMATCH/") + c.name).c_str(),
                                   [](benchmark::State& s) { s.SkipWithError("values differ"); });
      continue;
    }
    benchmark::RegisterBenchmark((std::string("Eval/vorlane/") + c.name).c_str(), VorlaneEval, c);
    benchmark::RegisterBenchmark((std::string("Eval/muparser/") + c.name).c_str(), MuparserEval, c);
    if (std::string(c.vorlane).find_first_of("xa") != std::string::npos) {
      benchmark::RegisterBenchmark((std::string("SetEval/vorlane/") + c.name).c_str(), VorlaneSetEval,
                                   c);
      benchmark::RegisterBenchmark((std::string("SetEval/muparser/") + c.name).c_str(),
                                   MuparserSetEval, c);
    }
    benchmark::RegisterBenchmark((std::string("Compile/vorlane/") + c.name).c_str(), VorlaneCompile, c);
    benchmark::RegisterBenchmark((std::string("CompileReused/vorlane/") + c.name).c_str(), VorlaneCompileReused,
                                 c);
    benchmark::RegisterBenchmark((std::string("Compile/muparser/") + c.name).c_str(), MuparserCompile,
                                 c);
  }
  return true;
}();

}  // namespace
