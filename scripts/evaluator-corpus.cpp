// The evaluator's observable output for a list of formulas, one per line of
// standard input: the program a compile builds (instructions, values,
// variables), the table with its steps and loads, the compile message, the
// diagnostic table, and the value or message of evaluations with two sets of
// variable values and with Eval1. Built and run by compare-evaluator.sh, so
// that two builds can be compared byte for byte.
#include <cstdio>
#include <iostream>
#include <string>

#include "evaluator/ExprProgram.h"
#include "evaluator/ExprTable.h"
#include "evaluator/clsExprEvaluator.h"
#include "util/Numbers.h"

namespace {

using namespace vorlane;

std::string Num(double v) { return FormatNumber(v, 17); }

// As StoreExpression hands the text to the compiler.
std::string Trim(const std::string& s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

void ShowProgram(const std::string& text) {
  expr::Table table;
  expr::Program program;
  std::string error;
  const bool ok = expr::CompileTable(text, table, error, expr::Use::kForProgram) &&
                  expr::BuildProgram(table, text, program, error);
  std::cout << "program: " << (ok ? "ok" : "failed") << " [" << error << "]\n";
  if (!ok) return;
  for (const expr::Ins& i : program.code) {
    std::printf("  ins %u n=%d a=%d b=%d c=%d dst=%d code=%d%s\n", i.op, i.n, i.a, i.b, i.c, i.dst, i.code,
                i.unchecked ? " unchecked" : "");
  }
  std::fflush(stdout);
  std::cout << "  values";
  for (double v : program.values) std::cout << ' ' << Num(v);
  std::cout << "\n  vars";
  for (const expr::Variable& v : program.vars) std::cout << ' ' << program.Name(v) << ':' << v.slot << '/' << v.negSlot;
  std::cout << "\n  result " << program.result << " inAcc " << program.resultInAcc << " random " << program.hasRandom
            << " runner " << (program.run != nullptr) << '\n';
}

void ShowTable(const std::string& text) {
  expr::Table table;
  std::string error;
  const bool ok = expr::CompileTable(text, table, error);
  std::cout << "table: " << (ok ? "ok" : "failed") << " [" << error << "] rows " << table.Top() << '\n';
  if (!ok) return;
  std::cout << "  steps";
  for (const expr::Step& s : table.steps) {
    std::cout << ' ' << s.code << ',' << s.args << ',' << s.dest << ',' << s.cond << ',' << s.row << ','
              << s.negate;
  }
  std::cout << "\n  loads";
  for (const expr::Load& l : table.loads) std::cout << ' ' << l.slot << ',' << l.var << ',' << l.sign;
  std::cout << '\n';
}

void Evaluate(const std::string& text) {
  clsExprEvaluator ev;
  const bool ok = ev.StoreExpression(text);
  std::cout << "store: " << ok << " [" << ev.ErrorDescription() << "] vars " << ev.VarTop() << '\n';
  std::cout << ev.ET_Dump();
  if (!ok) return;
  for (int set = 0; set < 2; ++set) {
    for (int i = 1; i <= ev.VarTop(); ++i) ev.SetVarValue(i, set == 0 ? 0.25 + 0.5 * i : 1.0 - i);
    const double v = ev.Eval();
    std::cout << "eval" << set << ": " << Num(v) << ' ' << ev.ErrorNumber() << " [" << ev.ErrorDescription()
              << "]\n";
  }
  std::cout << ev.ET_Dump();
  if (ev.VarTop() <= 1) {
    const double v = ev.Eval1(0.0);
    std::cout << "eval1: " << Num(v) << ' ' << ev.ErrorNumber() << " [" << ev.ErrorDescription() << "]\n";
  }
}

}  // namespace

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    std::cout << "== " << line << '\n';
    ShowProgram(Trim(line));
    ShowTable(Trim(line));
    Evaluate(line);
  }
  return 0;
}
