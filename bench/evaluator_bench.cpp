// The evaluator side by side with muparser on the same expressions and
// variable values: repeated evaluation of a compiled expression, and the
// compile itself (muparser: SetExpr plus the first Eval, which parses).
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <string>
#include <vector>

#include "evaluator/clsExprEvaluator.h"

namespace {

struct Case {
  const char* name;
  const char* vorlane;   // in the evaluator's syntax
  const char* muparser;  // the same in muparser's syntax
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"constant_sum", "1+2+3+4+5+6+7+8", "1+2+3+4+5+6+7+8"},
      {"x*y+sin(x)", "x*y+sin(x)", "x*y+sin(x)"},
      {"(x>0)*log(x)", "(x>0)*log(x)", "(x>0)*ln(x)"},
      {"poly8", "1+2*x+3*x^2+4*x^3+5*x^4+6*x^5+7*x^6+8*x^7+9*x^8",
       "1+2*x+3*x^2+4*x^3+5*x^4+6*x^5+7*x^6+8*x^7+9*x^8"},
      {"poly8_horner", "1+x*(2+x*(3+x*(4+x*(5+x*(6+x*(7+x*(8+x*9)))))))",
       "1+x*(2+x*(3+x*(4+x*(5+x*(6+x*(7+x*(8+x*9)))))))"},
      {"max(x,y)*clip(z,0,1)", "max(x,y)*clip(z,0,1)", "max(x,y)*clip(z,0,1)"},
      {"level_formula", "round(10*1.15^(x-1)+y/2,0)", "rint(10*1.15^(x-1)+y/2)"},
  };
  return cases;
}

constexpr double kX = 0.75, kY = 1.5, kZ = 0.25;

double Clip(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

void SetVariables(vorlane::clsExprEvaluator& ev) {
  ev.SetVarSymb("x", kX);
  ev.SetVarSymb("y", kY);
  ev.SetVarSymb("z", kZ);
}

struct MuParser {
  mu::Parser parser;
  double x = kX, y = kY, z = kZ;
  MuParser() {
    parser.DefineVar("x", &x);
    parser.DefineVar("y", &y);
    parser.DefineVar("z", &z);
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
  int index = 1;
  while (ev.VarName(index) != "x") ++index;
  double x = kX;
  for (auto _ : state) {
    x = x == kX ? kX + 0.125 : kX;
    ev.SetVarValue(index, x);
    benchmark::DoNotOptimize(ev.Eval());
  }
}

void MuparserSetEval(benchmark::State& state, const Case& c) {
  MuParser mp;
  mp.parser.SetExpr(c.muparser);
  mp.parser.Eval();
  for (auto _ : state) {
    mp.x = mp.x == kX ? kX + 0.125 : kX;
    benchmark::DoNotOptimize(mp.parser.Eval());
  }
}

void VorlaneCompile(benchmark::State& state, const Case& c) {
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
    if (std::string(c.vorlane).find('x') != std::string::npos) {
      benchmark::RegisterBenchmark((std::string("SetEval/vorlane/") + c.name).c_str(), VorlaneSetEval,
                                   c);
      benchmark::RegisterBenchmark((std::string("SetEval/muparser/") + c.name).c_str(),
                                   MuparserSetEval, c);
    }
    benchmark::RegisterBenchmark((std::string("Compile/vorlane/") + c.name).c_str(), VorlaneCompile, c);
    benchmark::RegisterBenchmark((std::string("Compile/muparser/") + c.name).c_str(), MuparserCompile,
                                 c);
  }
  return true;
}();

}  // namespace
