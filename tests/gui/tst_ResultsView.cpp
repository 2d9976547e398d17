// The results text view: line ends, UTF-8, selection by keyboard and mouse,
// copying, a grid-sized text; and the results window's font.
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QtTest>

#include "generate_ui/ResultsTextView.h"
#include "generate_ui/frmDisplayResults.h"
#include "support/TestApp.h"

using namespace vorlane;

class ResultsViewTest : public QObject {
  Q_OBJECT

 private slots:
  void linesSelectionAndCopy() {
    ResultsTextView view;
    view.setText(QString("a\r\nbb\nLäser µ\rd\r\n\r\n").toUtf8());
    QCOMPARE(view.lineCount(), 6);
    QCOMPARE(view.text(), QString("a\nbb\nLäser µ\nd\n\n"));
    view.setSelection({2, 1}, {1, 1});  // backwards, across a line end
    QCOMPARE(view.selectedText(), QString("b\nL"));
    view.setSelection({2, 5}, {3, 1});
    view.copy();
    QCOMPARE(QApplication::clipboard()->text(), QString(" µ\nd"));
    view.setSelection({-5, -5}, {99, 99});  // pulled back inside the text
    QCOMPARE(view.selectedText(), view.text());
    view.setText("");
    QCOMPARE(view.lineCount(), 1);
    QVERIFY(!view.hasSelection());
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
    QCOMPARE(view.lineCount(), 40 * 32767 + 1);
    view.scrollToLine(view.lineCount());
    QVERIFY(view.firstVisibleLine() > 40 * 32767 - 50);
    view.setSelection({40 * 32766 + 37, 0}, {40 * 32766 + 38, 0});
    QCOMPARE(view.selectedText(), QString("Key 37").leftJustified(42) + ":= v\n");
  }

  void windowUsesAFixedPitchFont() {
    test::TestApp app;
    auto* window = new frmDisplayResults(app.hq());
    QFontMetricsF metrics(window->rtfResults()->font());
    QCOMPARE(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('M'));
    QCOMPARE(window->rtfResults()->font().pointSizeF(), 9.75);
    window->ShowResults("Component", "Component Generation Results - [Laser]", "Name := Laser 1\r\n");
    app.host()->ShowPage(window);
    app.Settle();
    QCOMPARE(app.host()->windowTitle(), QString("Component Generation Results - [Laser]"));
    // The text has the focus, so the keyboard selects and copies at once.
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->rtfResults()));
  }
};

QTEST_MAIN(ResultsViewTest)
#include "tst_ResultsView.moc"
