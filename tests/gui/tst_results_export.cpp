// The results window's Copy All and Save As: the whole text to the clipboard,
// and to a file byte for byte with CR LF line ends.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTest>

#include "generate_ui/ResultsTextView.h"
#include "generate_ui/frmDisplayResults.h"
#include "support/TestApp.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

// Shows a results window with `text` in the program's window.
frmDisplayResults* ShowResults(TestApp& app, const QByteArray& text) {
  auto* window = new frmDisplayResults(app.hq());
  window->ShowResults("Facility", "Facility Generation Results - [Mine]", text);
  app.host()->ShowPage(window);
  app.Settle();
  return window;
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ResultsExportTest : public QObject {
  Q_OBJECT

 private slots:
  void copyAllTakesTheWholeTextAndLeavesTheSelection() {
    TestApp app;
    frmDisplayResults* window = ShowResults(app, "Name := Läser 1\r\nSize := 10\r\n\r\nName := Läser 2\r\n");
    window->rtfResults()->setSelection({1, 0}, {1, 4});
    QVERIFY(app.Click("cmdCopyAll"));
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("Name := Läser 1\r\nSize := 10\r\n\r\nName := Läser 2\r\n"));
    QCOMPARE(window->rtfResults()->selectedText(), QStringLiteral("Size"));
  }

  void saveAsWritesTheTextByteForByte() {
    TestApp app;
    QByteArray big;  // more than one write's worth
    for (int i = 0; i < 20000; ++i) big += "Key " + QByteArray::number(i) + " := µ value\r\n";
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"Name := Läser 1\r\nSize := 10\r\n\r\n", "Name := Läser 1\r\nSize := 10\r\n\r\n"},
        {"a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd"},  // any line end becomes CR LF; none is added
        {"", ""},
        {big, big},
    };
    const QString path = QDir(app.Dir()).filePath("mine.txt");
    for (const auto& [shown, saved] : cases) {
      ShowResults(app, shown);
      app.services.QueueFile(path);
      QVERIFY(app.Click("cmdSaveAs"));
      QCOMPARE(ReadAll(path), saved);
      // The clipboard gets the very same text.
      QVERIFY(app.Click("cmdCopyAll"));
      QVERIFY(QApplication::clipboard()->text().toUtf8() == saved);
    }
    QVERIFY(app.services.Messages().empty());
    QCOMPARE(QFileInfo(app.services.FileRequests()[0].startDir).fileName(), QStringLiteral("Mine.txt"));

    // Cancelled: nothing written. A folder that does not exist: a message
    // naming the file.
    QFile::remove(path);
    app.Click("cmdSaveAs");
    const QString nowhere = QDir(app.Dir()).filePath("missing/mine.txt");
    app.services.QueueFile(nowhere);
    app.Click("cmdSaveAs");
    QVERIFY(!QFile::exists(path) && !QFile::exists(nowhere));
    QCOMPARE(app.services.Messages().size(), std::size_t{1});
    QVERIFY(app.services.Messages()[0].text.startsWith(QStringLiteral("The results could not be saved.\n")));
    QVERIFY(app.services.Messages()[0].text.contains(QDir::toNativeSeparators(nowhere)));
  }

  // Every command has a key; Close and Escape bring the generate page back.
  void keysReachEveryCommandAndCloseReturns() {
    TestApp app;
    for (QKeyCombination key : {QKeyCombination(Qt::ALT, Qt::Key_C), QKeyCombination(Qt::Key_Escape)}) {
      ShowResults(app, "Name := Mine\r\n");
      QApplication::clipboard()->clear();
      // A button's accelerator clicks it a moment later, as it shows the press.
      app.Key(Qt::Key_A, Qt::AltModifier);
      QTRY_COMPARE(QApplication::clipboard()->text(), QStringLiteral("Name := Mine\r\n"));
      app.services.ClearRecords();
      app.Key(Qt::Key_S, Qt::AltModifier);
      QTRY_COMPARE(app.services.FileRequests().size(), std::size_t{1});
      QCOMPARE(app.PageName(), QStringLiteral("frmDisplayResults"));
      app.Key(key.key(), key.keyboardModifiers());
      QTRY_COMPARE(app.PageName(), QStringLiteral("frmFacGenerate"));
    }
  }
};

QTEST_MAIN(ResultsExportTest)
#include "tst_results_export.moc"
