// The results window: its text view (line ends, UTF-8, selection by keyboard
// and mouse, a grid-sized text, the fixed-pitch font) and its Copy All, Save
// As and Check: the whole text to the clipboard, to a file with CR LF line
// ends in the game's encoding or UTF-8, and the game check's report.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "generate_ui/ResultsExport.h"
#include "generate_ui/ResultsTextView.h"
#include "generate_ui/frmDisplayResults.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

// Shows a results window with `text` in the program's window.
frmDisplayResults* ShowResults(TestApp& app, const QByteArray& text) {
  auto* window = new frmDisplayResults(app.hq());
  window->ShowResults("Facility", "Facility Generation Results - [Mine]", text);
  window->ReturnTo(PageId::FacGenerate);
  app.host()->ShowPage(window);
  app.Settle();
  return window;
}

}  // namespace

class ResultsExportTest : public QObject {
  Q_OBJECT

 private slots:
  void linesSelectionAndCopy() {
    ResultsTextView view;
    view.setText(QString("a\r\nbb\nLäser µ\rd\r\n\r\n").toUtf8());
    QVERIFY(view.lineCount() == 6 && view.text() == "a\nbb\nLäser µ\nd\n\n");
    view.setSelection({2, 1}, {1, 1});  // backwards, across a line end
    QCOMPARE(view.selectedText(), QString("b\nL"));
    view.setSelection({2, 5}, {3, 1});
    view.copy();
    QCOMPARE(QApplication::clipboard()->text(), QString(" µ\nd"));
    view.setSelection({-5, -5}, {99, 99});  // pulled back inside the text
    QCOMPARE(view.selectedText(), view.text());
    view.setText("");
    QVERIFY(view.lineCount() == 1 && !view.hasSelection());
  }

  void keyboardAndMouseSelect() {
    ResultsTextView view;
    view.resize(600, 300);
    view.setText("Cost Minerals := 20\r\ndefgh\r\nijklmno");
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(view.selectedText(), QString("ost Minerals := 20\nd"));
    QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);  // over the line end
    QCOMPARE(view.selectedText(), QString("ost Minerals := 20\ndefgh\n"));
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), view.text());

    const int h = view.fontMetrics().lineSpacing();
    const int w = view.fontMetrics().horizontalAdvance(QString("Cost "));
    QWidget* vp = view.viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(4, h / 2));
    const QPointF to(4 + w + 1, 2 * h + h / 2);
    QMouseEvent move(QEvent::MouseMove, to, vp->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, to.toPoint());
    QCOMPARE(view.selectedText(), QString("Cost Minerals := 20\ndefgh\nijklm"));
    QTest::mouseDClick(vp, Qt::LeftButton, {}, QPoint(4 + w + 2, h / 2));
    QCOMPARE(view.selectedText(), QString("Minerals"));
  }

  void handlesAGridSizedText() {
    // 32767 entries of 40 lines each: well over a million lines.
    QByteArray entry;
    for (int i = 0; i < 38; ++i) entry += QByteArray("Key ").append(QByteArray::number(i)).leftJustified(42) + ":= v\r\n";
    entry += "\r\n\r\n";
    QByteArray all = entry.repeated(32767);
    ResultsTextView view;
    view.resize(600, 400);
    view.setText(all);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(view.lineCount() == 40 * 32767 + 1);
    view.scrollToLine(view.lineCount());
    QVERIFY(view.firstVisibleLine() > 40 * 32767 - 50);
    view.setSelection({40 * 32766 + 37, 0}, {40 * 32766 + 38, 0});
    QCOMPARE(view.selectedText(), QString("Key 37").leftJustified(42) + ":= v\n");
  }

  void windowUsesAFixedPitchFont() {
    TestApp app;
    auto* window = new frmDisplayResults(app.hq());
    QFontMetricsF metrics(window->rtfResults()->font());
    QVERIFY(metrics.horizontalAdvance('i') == metrics.horizontalAdvance('M') &&
            window->rtfResults()->font().pointSizeF() == 9.75);
    window->ShowResults("Component", "Component Generation Results - [Laser]", "Name := Laser 1\r\n");
    app.host()->ShowPage(window);
    app.Settle();
    QCOMPARE(app.host()->windowTitle(), QString("Component Generation Results - [Laser]"));
    // The text has the focus, so the keyboard selects and copies at once.
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->rtfResults()));
  }
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
    QByteArray big1252 = big;
    big1252.replace("µ", "\xB5");
    const QString game = ResultsFileFilter(TextEncoding::Windows1252);
    const QString utf8 = ResultsFileFilter(TextEncoding::Utf8);
    struct Case {
      QByteArray shown;
      QString filter;  // chosen in the dialog
      QByteArray saved;
    };
    const Case cases[] = {
        {"Name := Läser 1\r\nSize := 10 €\r\n\r\n", game, "Name := L\xE4ser 1\r\nSize := 10 \x80\r\n\r\n"},
        {"Name := Läser 1\r\nSize := 10 €\r\n\r\n", utf8, "Name := Läser 1\r\nSize := 10 €\r\n\r\n"},
        {"a\nb\rc\r\nd", game, "a\r\nb\r\nc\r\nd"},  // any line end becomes CR LF; none is added
        {"", game, ""},
        {big, game, big1252},
        {big, utf8, big},
    };
    const QString path = QDir(app.Dir()).filePath("mine.txt");
    for (const Case& c : cases) {
      ShowResults(app, c.shown);
      app.services.QueueFile(path);
      app.services.QueueSaveFilter(c.filter);
      QVERIFY(app.Click("cmdSaveAs"));
      QCOMPARE(ReadAll(path), c.saved);
      // The clipboard gets the same lines, as Unicode text.
      QVERIFY(app.Click("cmdCopyAll"));
      if (c.filter == utf8) QCOMPARE(QApplication::clipboard()->text().toUtf8(), c.saved);
    }
    // The dialog offers both file types, the last one chosen first.
    QVERIFY(app.services.FileRequests()[0].filter == game + ";;" + utf8 &&
            app.services.FileRequests()[2].selectedFilter == utf8);

    // A character the game's encoding cannot hold: a message naming the entry
    // and the key, and the file stays as it was.
    ShowResults(app, "Name := Zap 1\r\nDescription := ☢\r\n");
    app.services.QueueFile(path);
    app.services.QueueSaveFilter(game);
    app.Click("cmdSaveAs");
    QCOMPARE(ReadAll(path), big);
    QCOMPARE(app.services.MessageTexts(),
             QStringList{"The results could not be saved.\nCannot write \"" + QDir::toNativeSeparators(path) +
                         "\": entry 1 \"Zap 1\", key \"Description\": \"☢\" (U+2622) cannot be written in "
                         "Windows-1252.\nChoose the UTF-8 file type to keep every character."});
    app.services.ClearRecords();
    QCOMPARE(QFileInfo(app.services.FileRequests()[0].startDir).fileName(), QStringLiteral("Mine.txt"));

    // Cancelled: nothing written. A folder that does not exist: a message
    // naming the file.
    QFile::remove(path);
    app.Click("cmdSaveAs");
    const QString nowhere = QDir(app.Dir()).filePath("missing/mine.txt");
    app.services.QueueFile(nowhere);
    app.Click("cmdSaveAs");
    QVERIFY(!QFile::exists(path) && !QFile::exists(nowhere));
    QCOMPARE(app.services.FileRequests()[0].selectedFilter, utf8);  // the last one written
    const QString said = app.services.MessageTexts().join('|');
    QVERIFY2(said.startsWith("The results could not be saved.\n") && said.contains(QDir::toNativeSeparators(nowhere)) &&
                 app.services.Messages().size() == 1, qPrintable(said));
  }

  void checkReportsWhatTheGameWouldRefuse() {
    TestApp app;
    QTemporaryDir game;
    QVERIFY(WriteAll(game.filePath("Data/TechArea.txt"), "Name := Lasers\r\n"));
    app.hq().SetSEIVDir(game.path().toStdString());
    ShowResults(app, "Name := Mine 1\r\nCost Minerals := 0.5\r\nTech Area Req 1 := lasers\r\n\r\n"
                     "Name := Mine 2\r\nCost Minerals := 10\r\nTech Area Req 1 := Lazers\r\n");
    QVERIFY(app.Click("cmdCheck"));
    QVERIFY(app.services.Messages().size() == 1 && app.services.Messages()[0].title == "Game Check");
    QCOMPARE(app.services.Messages()[0].text,
             "entry 1 \"Mine 1\", key \"Cost Minerals\": \"0.5\" is not a whole number in plain digits\n"
             "entry 2 \"Mine 2\", key \"Tech Area Req 1\": \"Lazers\": no such technology area in " +
                 game.filePath("Data/TechArea.txt") + "\n\nTechnology areas read from " + game.filePath("Data/TechArea.txt") +
                 " (1 name).\nAbility types not checked: no AbilityTypes.txt or AbilityType.txt in the Data folder "
                 "of the mod or the game directory.\n2 entries checked: 2 problems found.");
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
      app.services.ClearRecords();
      app.Key(Qt::Key_K, Qt::AltModifier);
      QTRY_COMPARE(app.services.Messages().size(), std::size_t{1});
      QCOMPARE(app.PageName(), QStringLiteral("frmDisplayResults"));
      app.Key(key.key(), key.keyboardModifiers());
      QTRY_COMPARE(app.PageName(), QStringLiteral("frmFacGenerate"));
    }
  }
};

QTEST_MAIN(ResultsExportTest)
#include "tst_results_export.moc"
