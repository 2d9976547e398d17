// The results window and its text view: line splitting, selection by keyboard
// and mouse, copying, and a grid-sized text.
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QtTest>

#include "generate_ui/ResultsTextView.h"
#include "generate_ui/frmDisplayResults.h"
#include "support/TestApp.h"

using namespace vorlane;
using Pos = ResultsTextView::Position;

class ResultsViewTest : public QObject {
  Q_OBJECT

 private slots:
  void splitsEveryKindOfLineEnd() {
    ResultsTextView view;
    view.setText("a\r\nbb\nccc\rd\r\n\r\n");
    QCOMPARE(view.lineCount(), 6);
    QCOMPARE(view.lineText(0), QString("a"));
    QCOMPARE(view.lineText(1), QString("bb"));
    QCOMPARE(view.lineText(2), QString("ccc"));
    QCOMPARE(view.lineText(3), QString("d"));
    QCOMPARE(view.lineText(4), QString(""));
    QCOMPARE(view.lineText(5), QString(""));
    QCOMPARE(view.text(), QString("a\nbb\nccc\nd\n\n"));
    view.setText("");
    QCOMPARE(view.lineCount(), 1);
    QCOMPARE(view.text(), QString());
    view.setText("only");
    QCOMPARE(view.text(), QString("only"));
  }

  void keepsUtf8Text() {
    ResultsTextView view;
    view.setText(QString("Name := Läser µ\r\n°").toUtf8());
    QCOMPARE(view.lineText(0), QString("Name := Läser µ"));
    view.setSelection({0, 8}, {1, 1});
    QCOMPARE(view.selectedText(), QString("Läser µ\n°"));
  }

  void selectsAndCopiesInEitherDirection() {
    ResultsTextView view;
    view.setText("Name := Laser 1\r\nSize := 10\r\n\r\nName := Laser 2\r\n");
    QVERIFY(!view.hasSelection());
    view.setSelection({0, 8}, {1, 4});
    QCOMPARE(view.selectedText(), QString("Laser 1\nSize"));
    view.setSelection({1, 4}, {0, 8});
    QCOMPARE(view.selectedText(), QString("Laser 1\nSize"));
    view.copy();
    QCOMPARE(QApplication::clipboard()->text(), QString("Laser 1\nSize"));
    view.selectAll();
    QCOMPARE(view.selectedText(), view.text());
    // Positions beyond the text are pulled back inside it.
    view.setSelection({-5, -5}, {99, 99});
    QCOMPARE(view.selectedText(), view.text());
  }

  void keyboardMovesAndExtends() {
    ResultsTextView view;
    view.resize(400, 200);
    view.setText("abc\r\ndefgh\r\nij");
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(view.selectedText(), QString("bc\nd"));
    QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(view.selectedText(), QString("bc\ndefgh"));
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);  // over the line end
    QCOMPARE(view.selectedText(), QString("bc\ndefgh\n"));
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(view.selectedText(), QString("bc\ndefgh\nij"));
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    QVERIFY(!view.hasSelection());
    QCOMPARE(view.cursorPosition(), (Pos{0, 0}));
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("abc\ndefgh\nij"));
  }

  void mouseDragSelectsAndDoubleClickTakesAWord() {
    ResultsTextView view;
    view.resize(600, 300);
    view.setText("Cost Minerals := 20\r\nCost Organics := 30\r\n");
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const int h = view.fontMetrics().lineSpacing();
    const int w = view.fontMetrics().horizontalAdvance(QString("Cost "));
    QWidget* vp = view.viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(4, h / 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(4 + w, h + h / 2), vp->mapToGlobal(QPointF(4 + w, h + h / 2)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(4 + w, h + h / 2));
    QCOMPARE(view.selectedText(), QString("Cost Minerals := 20\nCost "));
    QTest::mouseDClick(vp, Qt::LeftButton, {}, QPoint(4 + w + 2, h / 2));
    QCOMPARE(view.selectedText(), QString("Minerals"));
  }

  void handlesAGridSizedText() {
    // 32767 entries of 40 lines each: well over a million lines.
    QByteArray entry;
    for (int i = 0; i < 38; ++i) entry += QByteArray("Key ").append(QByteArray::number(i)).leftJustified(42) + ":= value\r\n";
    entry += "\r\n\r\n";
    QByteArray all;
    all.reserve(entry.size() * 32767);
    for (int i = 0; i < 32767; ++i) all += entry;
    ResultsTextView view;
    view.resize(600, 400);
    view.setText(all);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.lineCount(), 40 * 32767 + 1);
    view.scrollToLine(view.lineCount());
    QVERIFY(view.firstVisibleLine() > 40 * 32767 - 50);
    QCOMPARE(view.lineText(40 * 32766 + 37), QString("Key 37").leftJustified(42) + ":= value");
    view.setSelection({40 * 32766, 0}, {40 * 32766 + 1, 6});
    QCOMPARE(view.selectedText(), QString("Key 0").leftJustified(42) + ":= value\nKey 1 ");
  }

  void resultsWindowFontAndTitle() {
    test::TestApp app;
    auto* window = new frmDisplayResults(app.hq());
    QFontMetricsF metrics(window->rtfResults()->font());
    QCOMPARE(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('M'));
    QCOMPARE(window->rtfResults()->font().pointSizeF(), 9.75);
    window->ShowResults("Component", "Component Generation Results - [Laser]", "Name := Laser 1\r\n");
    QCOMPARE(window->ResultKind, QString("Component"));
    QCOMPARE(window->rtfResults()->lineText(0), QString("Name := Laser 1"));
    app.host()->ShowPage(window);
    app.Settle();
    QCOMPARE(app.host()->windowTitle(), QString("Component Generation Results - [Laser]"));
    // The text view has the focus, so the keyboard selects and copies at once.
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->rtfResults()));
  }
};

QTEST_MAIN(ResultsViewTest)
#include "tst_ResultsView.moc"
