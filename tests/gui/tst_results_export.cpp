// The results window's Copy All and Save As: the whole text to the clipboard,
// and to a file byte for byte with CR LF line ends.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "generate_ui/ResultsTextView.h"
#include "generate_ui/frmDisplayResults.h"
#include "support/TestApp.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Shows a results window with `text` in the program's window.
frmDisplayResults* ShowResults(TestApp& app, const char* kind, const char* name, const QByteArray& text) {
  auto* window = new frmDisplayResults(app.hq());
  window->ShowResults(kind, QStringLiteral("%1 Generation Results - [%2]").arg(kind, name), text);
  app.host()->ShowPage(window);
  app.Settle();
  return window;
}

}  // namespace

class ResultsExportTest : public QObject {
  Q_OBJECT

 private slots:
  void copyAllTakesTheWholeText() {
    TestApp app;
    frmDisplayResults* window =
        ShowResults(app, "Component", "Laser", "Name := Läser 1\r\nSize := 10\r\n\r\nName := Läser 2\r\n");
    auto* copyAll = app.Find<QPushButton>("cmdCopyAll");
    QVERIFY(copyAll);
    QCOMPARE(copyAll->text(), QStringLiteral("Copy All"));
    // A selection of the user's is neither needed nor disturbed.
    window->rtfResults()->setSelection({1, 0}, {1, 4});
    QApplication::clipboard()->setText("old");
    QTest::mouseClick(copyAll, Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Name := Läser 1\nSize := 10\n\nName := Läser 2\n"));
    QCOMPARE(window->rtfResults()->selectedText(), QStringLiteral("Size"));
  }

  void saveAsWritesTheTextByteForByte() {
    TestApp app;
    QTemporaryDir dir;
    ScriptedServices& services = app.services;
    ShowResults(app, "Facility", "Mine", "");
    auto* saveAs = app.Find<QPushButton>("cmdSaveAs");
    QVERIFY(saveAs);
    QCOMPARE(saveAs->text(), QStringLiteral("Save As…"));

    const struct {
      QByteArray shown;
      QByteArray saved;
    } cases[] = {
        {"Name := Läser 1\r\nSize := 10\r\n\r\n", "Name := Läser 1\r\nSize := 10\r\n\r\n"},
        // Line ends of any kind come out as CR LF; no line end is added.
        {"a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd"},
        {"", ""},
    };
    for (const auto& c : cases) {
      ShowResults(app, "Facility", "Mine", c.shown);
      saveAs = app.Find<QPushButton>("cmdSaveAs");
      const QString path = dir.filePath("mine.txt");
      services.ClearRecords();
      services.QueueFile(path);
      QTest::mouseClick(saveAs, Qt::LeftButton);
      QVERIFY(services.Messages().empty());
      QVERIFY(QFile::exists(path));
      QCOMPARE(ReadAll(path), c.saved);
    }
    // The dialog suggests the design's name as a text file.
    QCOMPARE(services.FileRequests().size(), std::size_t{1});
    QVERIFY(services.FileRequests()[0].save);
    QCOMPARE(QFileInfo(services.FileRequests()[0].startDir).fileName(), QStringLiteral("Mine.txt"));
    QCOMPARE(services.FileRequests()[0].filter, QStringLiteral("Text files (*.txt);;All files (*)"));

    // Larger than one write: every line arrives, in order.
    QByteArray big;
    for (int i = 0; i < 20000; ++i) big += "Key " + QByteArray::number(i) + " := µ value\r\n";
    ShowResults(app, "Component", "Grid", big);
    saveAs = app.Find<QPushButton>("cmdSaveAs");
    services.QueueFile(dir.filePath("grid.txt"));
    QTest::mouseClick(saveAs, Qt::LeftButton);
    QCOMPARE(ReadAll(dir.filePath("grid.txt")), big);
  }

  void cancelledOrFailedSavesLeaveFilesAlone() {
    TestApp app;
    QTemporaryDir dir;
    ScriptedServices& services = app.services;
    ShowResults(app, "Component", "Laser", "Name := Laser 1\r\n");
    auto* saveAs = app.Find<QPushButton>("cmdSaveAs");

    // Cancelled: nothing written, nothing said.
    QTest::mouseClick(saveAs, Qt::LeftButton);
    QCOMPARE(services.FileRequests().size(), std::size_t{1});
    QVERIFY(services.Messages().empty());
    QVERIFY(QDir(dir.path()).isEmpty());

    // A folder that does not exist: a message naming the file.
    const QString nowhere = dir.filePath("missing/laser.txt");
    services.QueueFile(nowhere);
    QTest::mouseClick(saveAs, Qt::LeftButton);
    QCOMPARE(services.Messages().size(), std::size_t{1});
    QCOMPARE(services.Messages()[0].title, QStringLiteral("Vorlane"));
    QVERIFY(services.Messages()[0].text.startsWith(QStringLiteral("The results could not be saved.\n")));
    QVERIFY(services.Messages()[0].text.contains(QDir::toNativeSeparators(nowhere)));
    QVERIFY(!QFile::exists(nowhere));
  }
};

QTEST_MAIN(ResultsExportTest)
#include "tst_results_export.moc"
