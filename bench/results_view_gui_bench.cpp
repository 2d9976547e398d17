// Time to show generation results: the results window's own view against a
// QPlainTextEdit, both fed the same text of weapon-component entries. The
// biggest case is the largest technology grid, 32767 entries.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>

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

}  // namespace

BENCHMARK(BM_ResultsView_Show)->Arg(1000)->Arg(4096)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainTextEdit_Show)->Arg(1000)->Arg(4096)->Unit(benchmark::kMillisecond)->Iterations(3);
