// A read-only plain-text view of long texts: generation results, which for a
// big technology grid run to tens of megabytes and more than a million lines,
// and the design sheet's live entry, several lines per requirement and
// ability. A text document with per-line layout objects costs time in
// proportion to the lines; this view keeps the text as one UTF-8 buffer with
// an index of line starts and lays out only the lines on screen, and of a
// long line (a description of megabytes) only the part in view. The user can
// scroll, select with mouse or keyboard, select all and copy.
#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QString>
#include <QTimer>
#include <vector>

class QTextLayout;

namespace vorlane {

class LineTextView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // The system's fixed-pitch face, else any installed one whose glyphs are
  // all of one width; at `pointSize` when it is above 0.
  static QFont FixedPitchFont(qreal pointSize = 0);
  // Judged by the glyphs: font databases do not always flag monospaced faces.
  static bool IsFixedPitch(const QFont& font);
  // Lays `text` out in `layout` as one unwrapped line at the origin.
  static void LayOutOneLine(QTextLayout& layout, const QString& text, const QFont& font);

  struct Position {
    qsizetype line = 0;
    qsizetype column = 0;  // in UTF-16 units of the line's text
    friend bool operator==(const Position&, const Position&) = default;
    friend auto operator<=>(const Position&, const Position&) = default;
  };

  explicit LineTextView(QWidget* parent = nullptr);

  // Replaces the text. Line ends may be CR LF, LF or CR alone.
  void setText(QByteArray utf8);
  // Replaces the text with a newer version of it: the lines in view, the
  // cursor and the selection stay where the new text still has them.
  void renewText(QByteArray utf8);
  void clear();

  qsizetype lineCount() const;
  QString lineText(qsizetype line) const;
  // The whole text with LF line ends.
  QString text() const;

  bool hasSelection() const { return anchor_ != cursor_; }
  QString selectedText() const;
  Position cursorPosition() const { return cursor_; }
  // Where the selection started; the cursor when there is none.
  Position anchorPosition() const { return anchor_; }
  void setSelection(Position anchor, Position cursor);
  qsizetype firstVisibleLine() const;
  void scrollToLine(qsizetype line);

 public slots:
  void selectAll();
  void copy() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  qsizetype lineStart(qsizetype line) const { return lineStarts_[static_cast<std::size_t>(line)]; }
  void indexLines();
  // Indexes the text anew after a change from `old`, which it shares its
  // first `prefix` and last `suffix` bytes with.
  void reindexLines(const QByteArray& old, qsizetype prefix, qsizetype suffix);
  // Lays `text` (a line's) out in `layout` on one line; of a long line only
  // the columns [from, to) and some room either side. Returns the first
  // column laid out, which sits at that many character widths.
  qsizetype layOut(QTextLayout& layout, const QString& text, qsizetype from, qsizetype to) const;
  qreal charWidth() const;
  int lineHeight() const;
  int leftMargin() const { return 4; }
  void updateScrollBars();
  Position positionAt(const QPoint& viewportPoint) const;
  Position clampPosition(Position p) const;
  void moveCursor(Position p, bool keepAnchor);
  void ensureCursorVisible();
  qreal xOfColumn(qsizetype line, qsizetype column) const;
  void autoScroll();

  QByteArray text_;
  // The last line made into text: a long line is asked for several times
  // per event.
  mutable qsizetype cachedLine_ = -1;
  mutable QString cachedText_;
  std::vector<qsizetype> lineStarts_;  // start of each line; one extra entry past the end
  qsizetype longestLineBytes_ = 0;
  Position anchor_;
  Position cursor_;
  bool dragging_ = false;
  QPoint lastDragPoint_;
  QTimer autoScrollTimer_;
};

}  // namespace vorlane
