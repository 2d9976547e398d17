// The design sheet at any list length: from the design file to the shown
// sheet (Open Design while the sheet shows) and from a keystroke in a list
// cell to the entry shown anew (renewed from the last entry: the field and
// those that name it stepped anew), with 10, 1,000 and 32,767 technology
// requirements and as many abilities, and with a description of 5 MB on the
// 10-row design. "vs_10_rows" is each time's ratio to the 10-row design's,
// measured in the same run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "BenchDesigns.h"
#include "app/DesignFiles.h"
#include "app/HQ.h"
#include "app/HostWindow.h"
#include "app/QtServices.h"
#include "generate/DesignFile.h"
#include "gui/LineTextView.h"
#include "sheet/DesignSheet.h"
#include "sheet/LiveEntryPanel.h"

namespace {

using namespace vorlane;
using namespace vorlane::bench;

QApplication& App() {
  static int argc = 1;
  static char name[] = "sheet_gui_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Kept to the end of the process: workers may still be running then.
  static auto* app = new QApplication(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  return *app;
}

void Settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}


// The program with a design file of `rows` rows opened in the sheet.
struct Program {
  explicit Program(int rows, std::size_t descriptionBytes = 0)
      : hq(services, QDir(dir.path()).filesystemAbsolutePath() / "Vorlane.ini") {
    path = QDir(dir.path()).filePath(QStringLiteral("stress.vorlane.json"));
    {
      QFile file(path);
      if (file.open(QIODevice::WriteOnly)) {
        file.write(QByteArray::fromStdString(DesignToJson(ListWeapon(rows, descriptionBytes))));
      }
    }
    hq.Main();
    hq.Designs().OpenFile(path);
    hq.ShowDesignSheet(DesignKind::Component);
    Settle();
  }
  DesignSheet* Sheet() { return qobject_cast<DesignSheet*>(hq.Host().CurrentPage()); }

  struct AppFirst {
    AppFirst() { App(); }
  } first;
  QTemporaryDir dir;
  QtServices services;
  HQ hq;
  QString path;
};

// Each case's mean time, for the ratios to the 10-row case.
std::map<std::string, double>& Means() {
  static std::map<std::string, double> means;
  return means;
}

void Report(benchmark::State& state, const char* name, double seconds) {
  const double mean = seconds / static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
  if (state.range(0) == 10 && state.range(1) == 0) Means()[name] = mean;
  if (Means().count(name) && Means()[name] > 0) state.counters["vs_10_rows"] = mean / Means()[name];
}

// Open Design with the sheet showing: the file read, the sheet made anew
// and shown with its boxes.
void BM_OpenToSheet(benchmark::State& state) {
  Program program(static_cast<int>(state.range(0)), static_cast<std::size_t>(state.range(1)));
  double seconds = 0;
  for (auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    if (!program.hq.Designs().OpenFile(program.path) || !program.Sheet()) {
      state.SkipWithError("the design did not open in the sheet");
      break;
    }
    Settle();
    const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    state.SetIterationTime(elapsed);
    seconds += elapsed;
  }
  Report(state, "open", seconds);
}
// Rows, and the description's length (0: the weapon's own).
void Sizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"rows", "description"});
  for (std::int64_t rows : {10, 1000, 32767}) b->Args({rows, 0});
  b->Args({10, 5'000'000});
}

BENCHMARK(BM_OpenToSheet)->Apply(Sizes)->UseManualTime()->Unit(benchmark::kMillisecond);

// A key pressed and released in `box`.
void Key(QWidget* box, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(box, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(box, &release);
}

// A keystroke in the cell `boxName` (a digit, then Backspace, in turn) until
// the entry computed from it is shown and painted; no pause after typing.
// With a long description, the keystrokes go to the description's end.
void KeystrokeToEntry(benchmark::State& state, const QString& cell, const char* name) {
  Program program(static_cast<int>(state.range(0)), static_cast<std::size_t>(state.range(1)));
  DesignSheet* sheet = program.Sheet();
  const QString boxName = state.range(1) > 0 ? QStringLiteral("CompDesc") : cell;
  auto* box = sheet ? sheet->findChild<QWidget*>(boxName) : nullptr;
  if (!box) {
    state.SkipWithError("no box to type in");
    return;
  }
  sheet->SetDebounce(0);
  int shown = 0;
  QObject::connect(sheet, &DesignSheet::EntryShown, sheet, [&shown](int request) { shown = request; });
  box->setFocus();
  Key(box, Qt::Key_End);
  while (sheet->Computer()->Running()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  double seconds = 0;
  bool digit = true;
  for (auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    if (digit) {
      Key(box, Qt::Key_7, QStringLiteral("7"));
    } else {
      Key(box, Qt::Key_Backspace);
    }
    digit = !digit;
    const int wanted = sheet->Computer()->Latest();
    while (shown != wanted && timer.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (shown != wanted) {
      state.SkipWithError("no entry within a minute");
      break;
    }
    QCoreApplication::processEvents();
    const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    state.SetIterationTime(elapsed);
    seconds += elapsed;
  }
  // The entry shown is the design's whole entry: one line per requirement and ability value.
  state.counters["entry_lines"] = sheet->Live()->EntryText()->lineCount();
  if (!sheet->Live()->EntryText()->isEnabled()) {
    static std::string why;
    why = "the entry failed: " + sheet->Live()->Status()->text().toStdString();
    state.SkipWithError(why.c_str());
  }
  Report(state, name, seconds);
}

// In a value no other field names.
void BM_KeystrokeToEntry(benchmark::State& state) { KeystrokeToEntry(state, QStringLiteral("AbilVal2(3)"), "keystroke"); }
BENCHMARK(BM_KeystrokeToEntry)->Apply(Sizes)->UseManualTime()->Unit(benchmark::kMillisecond);

// In a value another field names ("{&abil1val2+1}"), which another names in turn.
void BM_KeystrokeInNamedField(benchmark::State& state) {
  KeystrokeToEntry(state, QStringLiteral("AbilVal2(1)"), "named");
}
BENCHMARK(BM_KeystrokeInNamedField)
    ->ArgNames({"rows", "description"})
    ->Args({10, 0})
    ->Args({32767, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
