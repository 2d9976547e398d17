// The text view given a newer version of its text: it shows what a view
// given that text afresh shows (the lines, the longest line's width, the
// selection pulled back inside the text), whatever the change was, and
// keeps its scroll position.
#include <QtTest>
#include <QtWidgets>
#include <random>

#include "gui/LineTextView.h"

using namespace vorlane;

namespace {

// Line ends made visible, for failure messages.
QByteArray Shown(QByteArray text) { return text.replace("\r", "\\r").replace("\n", "\\n"); }

// Both views alike: fixed scroll bars and a viewport no pixels wide, so
// that the horizontal range grows with every byte of the longest line.
void Prepare(LineTextView& view) {
  view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view.resize(1, 120);
  view.show();
}

// Renews `renewed` with `text`, and returns what it shows otherwise than
// `fresh` given `text` and the selection `renewed` had; empty when they agree.
QString Renew(LineTextView& renewed, LineTextView& fresh, const QByteArray& text) {
  fresh.setText(text);
  fresh.setSelection(renewed.anchorPosition(), renewed.cursorPosition());
  renewed.renewText(text);
  if (renewed.lineCount() != fresh.lineCount()) {
    return QStringLiteral("%1 lines, not %2").arg(renewed.lineCount()).arg(fresh.lineCount());
  }
  for (qsizetype i = 0; i < fresh.lineCount(); ++i) {
    if (renewed.lineText(i) != fresh.lineText(i)) {
      return QStringLiteral("line %1 is \"%2\", not \"%3\"").arg(i).arg(renewed.lineText(i), fresh.lineText(i));
    }
  }
  const int width = renewed.horizontalScrollBar()->maximum();
  if (width != fresh.horizontalScrollBar()->maximum()) {
    return QStringLiteral("horizontal range %1, not %2").arg(width).arg(fresh.horizontalScrollBar()->maximum());
  }
  if (renewed.cursorPosition() != fresh.cursorPosition() || renewed.selectedText() != fresh.selectedText()) {
    return QStringLiteral("selection \"%1\", not \"%2\"").arg(renewed.selectedText(), fresh.selectedText());
  }
  return {};
}

QByteArray Long(const QByteArray& line, int count) { return line.repeated(count); }

}  // namespace

class LineViewTest : public QObject {
  Q_OBJECT

 private slots:
  void renewedAsGivenAfresh_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QByteArray rows = Long("Key := 1\r\n", 1000);  // 10,000 bytes
    QByteArray atBlockEdge = rows;
    atBlockEdge[4095] = 'x';
    QByteArray crLfAtBlockEdge = Long("abcdefg\n", 1024);  // an LF at byte 4095
    crLfAtBlockEdge[4094] = '\r';
    QByteArray middleChanged = rows;
    middleChanged.replace(5007, 1, "2345");
    const QList<std::tuple<const char*, QByteArray, QByteArray>> table = {
        {"empty to empty", "", ""},
        {"empty to text", "", "a\r\nb"},
        {"text to empty", "a\r\nb\n", ""},
        {"line ends only to empty", "\n\r\n\r", ""},
        {"insert at start", "b\nc", "a\nb\nc"},
        {"insert line end at start", "b\nc", "\r\nb\nc"},
        {"delete at start", "xa\nb", "a\nb"},
        {"replace in middle", "a\nbbb\nc", "a\nbXb\nc"},
        {"insert at end", "a\nb", "a\nbc"},
        {"terminator added at end", "a\nb", "a\nb\n"},
        {"terminator removed at end", "a\nb\r\n", "a\nb"},
        {"CR gets its LF", "ab\rcd", "ab\r\ncd"},
        {"CR loses its LF", "ab\r\ncd", "ab\rcd"},
        {"CR gets its LF at end", "ab\r", "ab\r\n"},
        {"CR loses its LF at end", "ab\r\n", "ab\r"},
        {"LF gets a CR", "ab\ncd", "ab\r\ncd"},
        {"CR before a CR LF", "a\r\nb", "a\r\r\nb"},
        {"CR LF split by a letter", "a\r\nb", "a\rx\nb"},
        {"CR LF joined", "a\rx\nb", "a\r\nb"},
        {"lone CRs", "a\rb\rc\r", "a\rb\r\rc\r"},
        {"lone CR removed", "a\rb\rc", "a\rbc"},
        {"repeated line removed", "a\na\na\n", "a\na\n"},
        {"repeated line added", "\n\n\n", "\n\n\n\n"},
        {"prefix is the whole old text", "aaa", "aaaa"},
        {"suffix is the whole new text", "xaaa", "aaa"},
        {"many lines changed", "1\n2\n3\n4\n5\n6", "1\nX\r\nY\rZ\n6"},
        {"every line changed", "a\nb\nc", "d\re\r\nf\n"},
        {"longest line shortened", "a long line\nb\nc", "a\nb\nc"},
        {"longest line removed", "b\na long line\nc", "b\nc"},
        {"one of two longest shortened", "abcdef\nx\nabcdef", "abcde\nx\nabcdef"},
        {"longest line lengthened", "ab\nabc", "abcdefg\nabc"},
        {"longest is the last line", "a\nlong last", "a\nlong las"},
        {"only an empty CR LF line left", "ab\r\n", "\r\n"},
        {"longest gains a CR before its LF", "abc\r\nab\n", "abc\r\nabc\r\n"},
        {"multi-byte letters", "L\xC3\xA4ser\nb", "L\xC3\xA4s\xC3\xA9r\nb"},
        {"change past a compared block", rows, middleChanged},
        {"change at a block's last byte", rows, atBlockEdge},
        {"CR LF across a block edge", Long("abcdefg\n", 1024), crLfAtBlockEdge},
        {"block-long text to its double", rows.left(4096), rows.left(4096).repeated(2)},
    };
    for (const auto& [name, before, after] : table) QTest::newRow(name) << before << after;
  }

  // One change, with a selection over the whole text pulled back inside the new one.
  void renewedAsGivenAfresh() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    LineTextView renewed;
    LineTextView fresh;
    Prepare(renewed);
    Prepare(fresh);
    renewed.setText(before);
    renewed.setSelection({0, 1}, {100'000, 100'000});
    const QString difference = Renew(renewed, fresh, after);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
  }

  // Random edits one after the other to one view: insertions, deletions and
  // replacements of letters, lone CRs, LFs and CR LF pairs anywhere, now and
  // then of the whole text, with a random selection.
  void randomEdits() {
    std::mt19937 random(20261208);
    auto below = [&random](qsizetype n) {
      return std::uniform_int_distribution<qsizetype>(0, std::max<qsizetype>(0, n - 1))(random);
    };
    const QList<QByteArray> pieces = {"a", "bcd", "\r", "\n", "\r\n", "\xC3\xA9", "long piece of line"};
    auto bytes = [&](qsizetype count) {
      QByteArray out;
      for (qsizetype i = 0; i < count; ++i) out += pieces[below(pieces.size())];
      return out;
    };
    LineTextView renewed;
    LineTextView fresh;
    Prepare(renewed);
    Prepare(fresh);
    QByteArray text = bytes(30);
    renewed.setText(text);
    for (int step = 0; step < 3000; ++step) {
      const QByteArray before = text;
      // Edits at the very start and end often, since the boundaries are where faults hide.
      const qsizetype at = below(4) == 0 ? (below(2) ? 0 : text.size()) : below(text.size() + 1);
      const qsizetype length = std::min(below(6), text.size() - at);
      switch (below(8)) {
        case 0: text.insert(at, bytes(1 + below(3))); break;
        case 1: text.remove(at, length); break;
        case 2: text.replace(at, length, bytes(below(4))); break;
        case 3: text.replace(at, std::min<qsizetype>(text.size() - at, 40), bytes(below(12))); break;
        case 4: text = below(4) ? bytes(below(40)) : QByteArray(); break;
        case 5: break;  // the same text again
        default: text.replace(at, length, pieces[below(pieces.size())].repeated(length)); break;
      }
      renewed.setSelection({below(20), below(8)}, {below(20), below(8)});
      const QString difference = Renew(renewed, fresh, text);
      QVERIFY2(difference.isEmpty(),
               qPrintable(QStringLiteral("step %1, \"%2\" to \"%3\": %4")
                              .arg(step)
                              .arg(QString::fromUtf8(Shown(before)), QString::fromUtf8(Shown(text)), difference)));
    }
  }

  // The scroll position (the first line shown, the horizontal offset) stays
  // as it was when lines are added or removed above it.
  void renewKeepsScrollPosition() {
    LineTextView view;
    view.resize(200, 200);
    view.show();
    const QByteArray text = Long(QByteArray(300, 'w') + "\r\n", 400);
    view.setText(text);
    view.scrollToLine(250);
    view.horizontalScrollBar()->setValue(100);
    for (const QByteArray& renewal : {"added\r\n" + text, text.mid(302 * 3), text + "end"}) {
      view.renewText(renewal);
      QCOMPARE(view.firstVisibleLine(), 250);
      QCOMPARE(view.horizontalScrollBar()->value(), 100);
    }
  }
};

QTEST_MAIN(LineViewTest)
#include "tst_line_view.moc"
