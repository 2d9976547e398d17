// vorlane-calc: evaluates expressions with the program's evaluator.
//
//   vorlane-calc [--angle RAD|DEG|GRAD] [--precise] [--var NAME=VALUE]... [--] [EXPRESSION]
//
//   vorlane-calc --help | --version
//
// With an expression: prints its value and exits 0, or prints "error: " and
// the reason and exits 1. Without one: evaluates each line of standard input
// and prints one line for each, exiting 0. Wrong options exit 2; memory that
// runs out exits 3.
#include <cctype>
#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "evaluator/clsExprEvaluator.h"
#include "util/Numbers.h"
#include "util/Platform.h"

namespace {

constexpr std::string_view kUsage =
    "usage: vorlane-calc [--angle RAD|DEG|GRAD] [--precise] [--var NAME=VALUE]... [--] "
    "[EXPRESSION]\n"
    "       vorlane-calc --help | --version\n";

int UsageError(std::string_view message) {
  std::cerr << "vorlane-calc: " << message << '\n' << kUsage;
  return 2;
}

struct Options {
  std::string angle = "RAD";
  int digits = 15;
  std::vector<std::pair<std::string, double>> vars;
  bool haveExpression = false;
  std::string expression;
};

// The value of --var: a number, or an expression without variables (2*pi).
bool ParseValue(std::string_view text, double& value) {
  vorlane::clsExprEvaluator reader;
  if (text.empty() || !reader.StoreExpression(text) || reader.VarTop() != 0) return false;
  value = reader.Eval();
  return reader.ErrorNumber() == 0;
}

std::string Evaluate(vorlane::clsExprEvaluator& ev, const Options& options,
                     std::string_view expression, bool& ok) {
  ok = false;
  if (ev.StoreExpression(expression)) {
    for (const auto& [name, value] : options.vars) ev.SetVarSymb(name, value);
    double value = ev.Eval();
    if (ev.ErrorNumber() == 0) {
      ok = true;
      return vorlane::FormatNumber(value, options.digits);
    }
  }
  return "error: " + ev.ErrorDescription();
}

}  // namespace

int main(int argc, char** argv) try {
  vorlane::PrepareStandardStreams();
  const std::vector<std::string> args = vorlane::Utf8Arguments(argc, argv);
  Options options;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (!optionsEnded && arg.starts_with("-") && arg != "-") {
      std::string_view name = arg;
      std::string_view inlineValue;
      bool hasInline = false;
      if (auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
        name = arg.substr(0, eq);
        inlineValue = arg.substr(eq + 1);
        hasInline = true;
      }
      auto takeValue = [&](std::string_view& out) {
        if (hasInline) {
          out = inlineValue;
          return true;
        }
        if (i + 1 >= args.size()) return false;
        out = args[++i];
        return true;
      };
      if (name == "--") {
        if (hasInline) return UsageError("unknown option " + std::string(arg));
        optionsEnded = true;
      } else if ((name == "-h" || name == "--help") && !hasInline) {
        std::cout << kUsage;
        return 0;
      } else if (name == "--version" && !hasInline) {
        std::cout << "vorlane-calc " VORLANE_VERSION "\n";
        return 0;
      } else if (name == "--precise" && !hasInline) {
        options.digits = 17;
      } else if (name == "--angle") {
        std::string_view unit;
        if (!takeValue(unit)) return UsageError("--angle needs RAD, DEG or GRAD");
        std::string upper(unit);
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper != "RAD" && upper != "DEG" && upper != "GRAD") {
          return UsageError("--angle needs RAD, DEG or GRAD");
        }
        options.angle = upper;
      } else if (name == "--var") {
        std::string_view assignment;
        if (!takeValue(assignment)) return UsageError("--var needs NAME=VALUE");
        auto eq = assignment.find('=');
        double value = 0.0;
        if (eq == std::string_view::npos || eq == 0 || !ParseValue(assignment.substr(eq + 1), value)) {
          return UsageError("--var needs NAME=VALUE with a number: " + std::string(assignment));
        }
        options.vars.emplace_back(std::string(assignment.substr(0, eq)), value);
      } else {
        return UsageError("unknown option " + std::string(arg));
      }
      continue;
    }
    // Words after the options form one expression, joined by blanks.
    if (options.haveExpression) options.expression += ' ';
    options.expression += arg;
    options.haveExpression = true;
  }

  vorlane::clsExprEvaluator ev;
  ev.SetAngleUnit(options.angle);
  bool ok = false;
  if (options.haveExpression) {
    std::cout << Evaluate(ev, options, options.expression, ok) << '\n';
    return ok ? 0 : 1;
  }
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::cout << Evaluate(ev, options, line, ok) << '\n';
  }
  return 0;
}
// Memory that runs out (an input too large for this machine) ends the
// program with a message and status 3 instead of an abort.
catch (const std::bad_alloc&) {
  std::cerr << "vorlane-calc: out of memory\n";
  return 3;
}
