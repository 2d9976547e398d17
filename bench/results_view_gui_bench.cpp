// Time to show generation results: the results window's own view against a
// QPlainTextEdit, both fed the same text of weapon-component entries. The
// biggest case is the largest technology grid, 32767 entries. And the design
// sheet's live entry renewed after a keystroke, against the same text set
// afresh: "vs_setText" is the renewal's time over setText's, measured in the
// same run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <chrono>

#include "gui/LineTextView.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "results_view_gui_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

QByteArray Entries(int count) {
  QByteArray entry;
  for (int i = 0; i < 38; ++i) {
    entry += QByteArray("Weapon Attribute ").append(QByteArray::number(i)).leftJustified(42);
    entry += ":= Laser value 12345 {formula result}\r\n";
  }
  entry += "\r\n\r\n";
  QByteArray all;
  all.reserve(entry.size() * count);
  for (int i = 0; i < count; ++i) all += entry;
  return all;
}

void BM_ResultsView_Show(benchmark::State& state) {
  App();
  QByteArray text = Entries(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    vorlane::LineTextView view;
    view.resize(760, 560);
    view.setText(text);
    view.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(view.lineCount());
  }
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}

void BM_PlainTextEdit_Show(benchmark::State& state) {
  App();
  QByteArray text = Entries(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    QPlainTextEdit view;
    view.setReadOnly(true);
    view.setUndoRedoEnabled(false);
    view.setLineWrapMode(QPlainTextEdit::NoWrap);
    view.resize(760, 560);
    view.setPlainText(QString::fromUtf8(text));
    view.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(view.blockCount());
  }
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}

// A live entry of 32,767 requirements and as many abilities: 196,000 lines,
// about 10 MB, one of them (line 1,000) longer than the rest.
QByteArray LiveEntry() {
  QByteArray all;
  all.reserve(196'000 * 52 + 256);
  for (int i = 0; i < 196'000; ++i) {
    if (i == 1000) all += "Description := " + QByteArray(200, 'd') + "\r\n";
    all += QByteArray("Ability ").append(QByteArray::number(i)).leftJustified(30) + ":= Armor value 12345\r\n";
  }
  return all;
}

// The entry after a keystroke: a value in the middle one digit longer, or
// (`longest`) the longest line one letter shorter.
QByteArray Keystroke(QByteArray entry, bool longest) {
  if (longest) return entry.remove(entry.indexOf("ddd"), 1);
  return entry.insert(entry.indexOf("12345", entry.size() / 2), '7');
}

double& SetTextSeconds() {
  static double seconds = 0;
  return seconds;
}

// How the view is given each new version of the entry.
enum class Feed { kSetText, kCompareThenSetText, kRenew };

// The entry and its keystroke version in turn: the view given the whole
// text, the whole text when it differs (what the renewal did before it
// indexed only the changed lines), or the newer version of what it shows.
void LiveEntryCase(benchmark::State& state, Feed feed) {
  App();
  const bool longest = state.range(0) != 0;
  const QByteArray texts[2] = {LiveEntry(), Keystroke(LiveEntry(), longest)};
  vorlane::LineTextView view;
  view.resize(760, 560);
  view.setText(texts[0]);
  int turn = 1;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    switch (feed) {
      case Feed::kSetText: view.setText(texts[turn]); break;
      case Feed::kCompareThenSetText:
        if (texts[turn] != texts[1 - turn]) view.setText(texts[turn]);
        break;
      case Feed::kRenew: view.renewText(texts[turn]); break;
    }
    turn = 1 - turn;
    benchmark::DoNotOptimize(view.lineCount());
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  const double mean = elapsed.count() / static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
  if (feed == Feed::kSetText && !longest) SetTextSeconds() = mean;
  if (SetTextSeconds() > 0) state.counters["vs_setText"] = mean / SetTextSeconds();
  state.counters["lines"] = static_cast<double>(view.lineCount());
}

void BM_LiveEntry_SetText(benchmark::State& state) { LiveEntryCase(state, Feed::kSetText); }
void BM_LiveEntry_CompareThenSetText(benchmark::State& state) { LiveEntryCase(state, Feed::kCompareThenSetText); }
void BM_LiveEntry_Renew(benchmark::State& state) { LiveEntryCase(state, Feed::kRenew); }

}  // namespace

// Arg 0: a value in the middle changes; 1: the longest line does.
BENCHMARK(BM_LiveEntry_SetText)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveEntry_CompareThenSetText)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveEntry_Renew)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResultsView_Show)->Arg(1000)->Arg(4096)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainTextEdit_Show)->Arg(1000)->Arg(4096)->Unit(benchmark::kMillisecond)->Iterations(3);
