// Feeds arbitrary bytes to the evaluator: compile, evaluate three ways, dump.
// Any crash, sanitizer report or hang is a fault; so is a compile that the
// compiler's own consistency check rejects.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "evaluator/clsExprEvaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks the angle unit and explicit assignment; the rest is
  // the expression.
  if (size == 0) return 0;
  const std::uint8_t mode = data[0];
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  vorlane::clsExprEvaluator ev;
  static constexpr const char* kUnits[] = {"RAD", "DEG", "GRAD", "rad"};
  ev.SetAngleUnit(kUnits[mode & 3]);
  ev.SetOpAssignExplicit((mode & 4) != 0);
  const bool compiled = ev.StoreExpression(text);
  if (!compiled && ev.ErrorDescription().starts_with("Internal error")) std::abort();
  if (compiled && !ev.ErrorDescription().empty()) std::abort();

  for (int i = 1; i <= ev.VarTop(); ++i) ev.SetVarValue(i, 0.5 * i - 1.25);
  double v = ev.Eval();
  const bool ok = ev.ErrorNumber() == 0;
  if (ok && !ev.ErrorDescription().empty()) std::abort();
  // A second run over the same table gives the same result: no row reads a
  // value left over from the run before (rnd excepted).
  const double again = ev.Eval();
  // Blanks inside a name are skipped ("rn  d(1)" calls rnd), so look without them.
  std::string letters;
  for (char c : text) letters += c == ' ' ? "" : std::string(1, static_cast<char>(c | 0x20));
  const bool random = letters.find("rnd") != std::string::npos;
  if (ok && !random && ev.ErrorNumber() == 0 && again != v && !(again != again && v != v)) std::abort();
  v += again;
  v += ev.Eval1(2.5);
  const double values[] = {-1.0, 0.0, 3.0};
  auto results = ev.EvalMulti(values, (mode >> 3) % 3);
  if (!results.empty() && results.size() != 3) std::abort();
  vorlane::DumpTable table;
  ev.ET_Dump(table);
  (void)ev.ET_Dump();
  (void)v;
  return 0;
}
