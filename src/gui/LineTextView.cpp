#include "gui/LineTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>
#include <cstring>
#include <utility>

namespace vorlane {

bool LineTextView::IsFixedPitch(const QFont& font) {
  const QFontMetricsF metrics(font);
  return metrics.horizontalAdvance(u'i') == metrics.horizontalAdvance(u'M');
}

QFont LineTextView::FixedPitchFont(qreal pointSize) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (pointSize > 0) font.setPointSizeF(pointSize);
  font.setWeight(QFont::Normal);
  for (const QString& family : QFontDatabase::families()) {
    if (IsFixedPitch(font)) break;
    if (QFontDatabase::isFixedPitch(family)) font.setFamily(family);
  }
  return font;
}

namespace {

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// Lines longer than this are laid out only around the part in view; the
// room either side of it, in columns.
constexpr qsizetype kLongLine = 4096;
constexpr qsizetype kSliceRoom = 256;

// What ScanLines found: the longest of the lines it ended, and where the
// line it stopped in starts.
struct LineScan {
  qsizetype longest = 0;
  qsizetype lastStart = 0;
  bool pastUntil = false;  // stopped at a line start past `until`, not at the end
};

// Indexes `text` from `from`, a line start: appends each following line
// start to `starts` until one lies past `until` or the text ends. memchr
// finds the line ends at memory speed; a CR right before an LF belongs to
// it, any other CR ends a line of its own.
LineScan ScanLines(const QByteArray& text, qsizetype from, qsizetype until, std::vector<qsizetype>& starts) {
  const char* data = text.constData();
  const char* end = data + text.size();
  LineScan scan{0, from, false};
  auto endLine = [&](const char* contentEnd, const char* next) {
    scan.longest = std::max(scan.longest, contentEnd - data - scan.lastStart);
    scan.lastStart = next - data;
    starts.push_back(scan.lastStart);
    scan.pastUntil = scan.lastStart > until;
    return scan.pastUntil;
  };
  for (const char* p = data + from;;) {
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* stop = lf ? lf : end;
    auto nextCr = [stop](const char* at) {
      return static_cast<const char*>(std::memchr(at, '\r', static_cast<std::size_t>(stop - at)));
    };
    const char* cr = p;
    while ((cr = nextCr(cr)) && cr + 1 != lf) {
      if (endLine(cr, cr + 1)) return scan;
      ++cr;
    }
    if (!lf || endLine(lf > data + scan.lastStart && lf[-1] == '\r' ? lf - 1 : lf, lf + 1)) return scan;
    p = lf + 1;
  }
}

// The bytes of line `i` without its terminator; the last line's end is the
// sentinel past the text's end.
qsizetype LineBytes(const QByteArray& text, const std::vector<qsizetype>& starts, std::size_t i) {
  const qsizetype start = starts[i];
  const qsizetype next = starts[i + 1];
  if (next > text.size()) return text.size() - start;
  const bool crLf = next - start >= 2 && text[next - 1] == '\n' && text[next - 2] == '\r';
  return next - start - (crLf ? 2 : 1);
}

// The longest line from the starts alone: a line is the bytes to the next
// start less a terminator of one or two, so only the lines with the most
// bytes to the next start can be the longest, and only theirs are read.
qsizetype LongestLine(const QByteArray& text, const std::vector<qsizetype>& starts) {
  const std::size_t last = starts.size() - 2;  // the last line has no terminator
  qsizetype widest = 0;
  for (std::size_t i = 0; i < last; ++i) widest = std::max(widest, starts[i + 1] - starts[i]);
  qsizetype longest = std::max(text.size() - starts[last], widest - 2);
  for (std::size_t i = 0; i < last && longest < widest - 1; ++i) {
    if (starts[i + 1] - starts[i] == widest) longest = std::max(longest, LineBytes(text, starts, i));
  }
  return longest;
}

// The common start of a and b, `n` bytes at most: whole blocks by memcmp,
// the block that differs byte by byte.
constexpr qsizetype kCompareBlock = 4096;

qsizetype CommonPrefix(const char* a, const char* b, qsizetype n) {
  qsizetype i = 0;
  while (i + kCompareBlock <= n && std::memcmp(a + i, b + i, kCompareBlock) == 0) i += kCompareBlock;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// The common end of the texts ending at aEnd and bEnd, `n` bytes at most.
qsizetype CommonSuffix(const char* aEnd, const char* bEnd, qsizetype n) {
  qsizetype i = 0;
  while (i + kCompareBlock <= n &&
         std::memcmp(aEnd - i - kCompareBlock, bEnd - i - kCompareBlock, kCompareBlock) == 0) {
    i += kCompareBlock;
  }
  while (i < n && aEnd[-1 - i] == bEnd[-1 - i]) ++i;
  return i;
}

}  // namespace

LineTextView::LineTextView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  autoScrollTimer_.setInterval(50);
  connect(&autoScrollTimer_, &QTimer::timeout, this, &LineTextView::autoScroll);
  clear();
}

void LineTextView::clear() { setText({}); }

void LineTextView::setText(QByteArray utf8) {
  text_ = std::move(utf8);
  indexLines();
  anchor_ = cursor_ = {};
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  updateScrollBars();
  viewport()->update();
}

void LineTextView::renewText(QByteArray utf8) {
  // A keystroke usually changes one line of a text of megabytes: only the
  // lines between the common start and the common end are indexed anew.
  const qsizetype oldSize = text_.size();
  const qsizetype newSize = utf8.size();
  const qsizetype common = std::min(oldSize, newSize);
  const bool shared = utf8.constData() == text_.constData();
  const qsizetype prefix = shared ? common : CommonPrefix(text_.constData(), utf8.constData(), common);
  if (prefix == oldSize && prefix == newSize) return;
  const qsizetype suffix = CommonSuffix(text_.constData() + oldSize, utf8.constData() + newSize, common - prefix);
  const int top = verticalScrollBar()->value();
  const int left = horizontalScrollBar()->value();
  const QByteArray old = std::exchange(text_, std::move(utf8));
  reindexLines(old, prefix, suffix);
  anchor_ = clampPosition(anchor_);
  cursor_ = clampPosition(cursor_);
  updateScrollBars();
  verticalScrollBar()->setValue(top);
  horizontalScrollBar()->setValue(left);
  viewport()->update();
}

void LineTextView::indexLines() {
  cachedLine_ = -1;
  cachedText_.clear();
  lineStarts_.assign(1, 0);
  const LineScan scan = ScanLines(text_, 0, text_.size(), lineStarts_);
  longestLineBytes_ = std::max(scan.longest, text_.size() - scan.lastStart);
  lineStarts_.push_back(text_.size() + 1);  // sentinel: the last line has no terminator
}

void LineTextView::reindexLines(const QByteArray& old, qsizetype prefix, qsizetype suffix) {
  cachedLine_ = -1;
  cachedText_.clear();
  const qsizetype delta = text_.size() - old.size();
  // Whether a position starts a line depends on the byte before it and the
  // byte at it: the starts before the first changed byte hold, and so do
  // those after the first byte of the common end. The scan starts at the
  // last line start before the change (a CR there may have lost or gained
  // its LF) and ends at the first line start after the common end's first
  // byte; from there on the old starts hold, moved by the size difference.
  auto startIndex = [this](std::size_t from, qsizetype start) {
    return static_cast<std::size_t>(
        std::lower_bound(lineStarts_.begin() + static_cast<std::ptrdiff_t>(from), lineStarts_.end(), start) -
        lineStarts_.begin());
  };
  const std::size_t f = std::max<std::size_t>(startIndex(0, prefix), 1) - 1;
  std::vector<qsizetype> mid;
  const LineScan scan = ScanLines(text_, lineStarts_[f], text_.size() - suffix, mid);
  std::size_t g = lineStarts_.size();  // the old starts [f + 1, g) give way to `mid`
  qsizetype newLongest = scan.longest;
  if (scan.pastUntil) {
    const qsizetype oldStart = mid.back() - delta;
    g = startIndex(f + 1, oldStart);
    Q_ASSERT(g < lineStarts_.size() && lineStarts_[g] == oldStart);
    if (g == lineStarts_.size() || lineStarts_[g] != oldStart) {  // never expected: the whole index is safe
      indexLines();
      return;
    }
    ++g;
  } else {
    newLongest = std::max(newLongest, text_.size() - scan.lastStart);
    mid.push_back(text_.size() + 1);
  }
  // The old lines f to g - 2 are gone: when one of them was the longest and
  // no new line is as long, the longest is sought anew.
  qsizetype goneLongest = 0;
  for (std::size_t i = f; i + 1 < g; ++i) goneLongest = std::max(goneLongest, LineBytes(old, lineStarts_, i));
  const bool longestGone = goneLongest >= longestLineBytes_ && newLongest < longestLineBytes_;

  const std::size_t replaced = g - f - 1;
  const std::size_t overlap = std::min(replaced, mid.size());
  std::copy_n(mid.begin(), overlap, lineStarts_.begin() + static_cast<std::ptrdiff_t>(f + 1));
  const auto rest = lineStarts_.begin() + static_cast<std::ptrdiff_t>(f + 1 + overlap);
  if (mid.size() > replaced) {
    lineStarts_.insert(rest, mid.begin() + static_cast<std::ptrdiff_t>(overlap), mid.end());
  } else {
    lineStarts_.erase(rest, rest + static_cast<std::ptrdiff_t>(replaced - overlap));
  }
  for (std::size_t i = f + 1 + mid.size(); delta != 0 && i < lineStarts_.size(); ++i) lineStarts_[i] += delta;
  longestLineBytes_ = longestGone ? LongestLine(text_, lineStarts_) : std::max(longestLineBytes_, newLongest);
}

qsizetype LineTextView::lineCount() const { return static_cast<qsizetype>(lineStarts_.size()) - 1; }

QString LineTextView::lineText(qsizetype line) const {
  if (line < 0 || line >= lineCount()) return {};
  if (line == cachedLine_) return cachedText_;
  const qsizetype start = lineStart(line);
  qsizetype end = text_.size();
  if (line + 1 < lineCount()) {
    end = lineStart(line + 1) - 1;  // the terminator's last byte
    if (text_[end] == '\n' && end > start && text_[end - 1] == '\r') --end;
  }
  cachedText_ = QString::fromUtf8(text_.constData() + start, end - start);
  cachedLine_ = line;
  return cachedText_;
}

QString LineTextView::text() const {
  QString all;
  all.reserve(text_.size());
  for (qsizetype i = 0; i < lineCount(); ++i) {
    if (i > 0) all += u'\n';
    all += lineText(i);
  }
  return all;
}

QString LineTextView::selectedText() const {
  Position from = std::min(anchor_, cursor_);
  Position to = std::max(anchor_, cursor_);
  if (from == to) return {};
  if (from.line == to.line) return lineText(from.line).mid(from.column, to.column - from.column);
  QString out = lineText(from.line).mid(from.column);
  for (qsizetype i = from.line + 1; i < to.line; ++i) {
    out += u'\n';
    out += lineText(i);
  }
  out += u'\n';
  out += lineText(to.line).left(to.column);
  return out;
}

void LineTextView::setSelection(Position anchor, Position cursor) {
  anchor_ = clampPosition(anchor);
  cursor_ = clampPosition(cursor);
  viewport()->update();
}

void LineTextView::selectAll() {
  qsizetype last = lineCount() - 1;
  anchor_ = {0, 0};
  cursor_ = {last, lineText(last).size()};
  viewport()->update();
}

void LineTextView::copy() const {
  if (!hasSelection()) return;
  QApplication::clipboard()->setText(selectedText());
}

qsizetype LineTextView::firstVisibleLine() const { return verticalScrollBar()->value(); }

void LineTextView::scrollToLine(qsizetype line) {
  verticalScrollBar()->setValue(static_cast<int>(std::clamp<qsizetype>(line, 0, verticalScrollBar()->maximum())));
}

int LineTextView::lineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

void LineTextView::updateScrollBars() {
  int visibleLines = std::max(1, viewport()->height() / lineHeight());
  qsizetype maxFirst = std::max<qsizetype>(0, lineCount() - visibleLines);
  verticalScrollBar()->setRange(0, static_cast<int>(std::min<qsizetype>(maxFirst, INT_MAX)));
  verticalScrollBar()->setPageStep(visibleLines);
  verticalScrollBar()->setSingleStep(1);
  // Byte length over-estimates lines with multi-byte characters, which only
  // leaves some empty room at the right.
  const qreal charWidth = this->charWidth();
  qsizetype contentWidth = static_cast<qsizetype>(longestLineBytes_ * charWidth) + 2 * leftMargin();
  int maxX = static_cast<int>(std::min<qsizetype>(std::max<qsizetype>(0, contentWidth - viewport()->width()), INT_MAX));
  horizontalScrollBar()->setRange(0, maxX);
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setSingleStep(static_cast<int>(charWidth * 4));
}

void LineTextView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void LineTextView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    updateScrollBars();
    viewport()->update();
  }
}

void LineTextView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(viewport());
  const QPalette& pal = palette();
  painter.fillRect(viewport()->rect(), pal.base());
  painter.setPen(pal.text().color());
  const int h = lineHeight();
  const qsizetype first = firstVisibleLine();
  const qsizetype last = std::min(lineCount() - 1, first + viewport()->height() / h + 1);
  const qreal x0 = leftMargin() - horizontalScrollBar()->value();
  Position from = std::min(anchor_, cursor_);
  Position to = std::max(anchor_, cursor_);
  QTextCharFormat selectionFormat;
  selectionFormat.setBackground(pal.highlight());
  selectionFormat.setForeground(pal.highlightedText());
  const qreal w = charWidth();
  const qsizetype fromColumn = static_cast<qsizetype>(horizontalScrollBar()->value() / w);
  const qsizetype toColumn = fromColumn + static_cast<qsizetype>(viewport()->width() / w) + 1;
  for (qsizetype line = first; line <= last; ++line) {
    const QString s = lineText(line);
    QTextLayout layout;
    const qsizetype shownFrom = layOut(layout, s, fromColumn, toColumn);
    const qsizetype shownTo = shownFrom + layout.text().size();
    QTextLine tl = layout.lineAt(0);
    QList<QTextLayout::FormatRange> selections;
    bool lineSelectedToEnd = false;
    if (from != to && line >= from.line && line <= to.line) {
      qsizetype a = std::max(line == from.line ? from.column : 0, shownFrom);
      qsizetype b = std::min(line == to.line ? to.column : s.size(), shownTo);
      if (b > a) selections.append({static_cast<int>(a - shownFrom), static_cast<int>(b - a), selectionFormat});
      lineSelectedToEnd = line < to.line && shownTo == s.size();
    }
    QPointF origin(x0 + static_cast<qreal>(shownFrom) * w, static_cast<qreal>((line - first) * h));
    layout.draw(&painter, origin, selections);
    if (lineSelectedToEnd) {
      // Show the selected line break as a small block after the text.
      qreal endX = origin.x() + (tl.isValid() ? tl.naturalTextWidth() : 0);
      painter.fillRect(QRectF(endX, origin.y(), fontMetrics().horizontalAdvance(u' '), h), pal.highlight());
    }
    const bool cursorShown = cursor_.column >= shownFrom && cursor_.column <= shownTo;
    if (hasFocus() && line == cursor_.line && tl.isValid() && cursorShown) {
      qreal cx = origin.x() + tl.cursorToX(static_cast<int>(cursor_.column - shownFrom));
      painter.fillRect(QRectF(cx, origin.y(), 1, h), pal.text());
    }
  }
}

qreal LineTextView::charWidth() const { return std::max<qreal>(1, QFontMetricsF(font()).horizontalAdvance(u'M')); }

qsizetype LineTextView::layOut(QTextLayout& layout, const QString& text, qsizetype from, qsizetype to) const {
  qsizetype first = 0;
  qsizetype last = text.size();
  if (text.size() > kLongLine) {
    first = std::clamp<qsizetype>(from - kSliceRoom, 0, text.size());
    last = std::clamp<qsizetype>(to + kSliceRoom, first, text.size());
    // Never between the halves of a surrogate pair.
    if (first > 0 && text[first].isLowSurrogate()) --first;
    if (last < text.size() && text[last].isLowSurrogate()) ++last;
  }
  LayOutOneLine(layout, first == 0 && last == text.size() ? text : text.mid(first, last - first), font());
  return first;
}

void LineTextView::LayOutOneLine(QTextLayout& layout, const QString& text, const QFont& font) {
  layout.setText(text);
  layout.setFont(font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) line.setPosition(QPointF(0, 0));
  layout.endLayout();
}

qreal LineTextView::xOfColumn(qsizetype line, qsizetype column) const {
  QTextLayout layout;
  const qsizetype first = layOut(layout, lineText(line), column, column);
  QTextLine tl = layout.lineAt(0);
  return static_cast<qreal>(first) * charWidth() + (tl.isValid() ? tl.cursorToX(static_cast<int>(column - first)) : 0);
}

LineTextView::Position LineTextView::positionAt(const QPoint& p) const {
  qsizetype line = firstVisibleLine() + (p.y() < 0 ? -1 - (-p.y()) / lineHeight() : p.y() / lineHeight());
  line = std::clamp<qsizetype>(line, 0, lineCount() - 1);
  const qreal x = p.x() - leftMargin() + horizontalScrollBar()->value();
  const auto near = static_cast<qsizetype>(std::max<qreal>(0, x / charWidth()));
  QTextLayout layout;
  const qsizetype first = layOut(layout, lineText(line), near, near);
  QTextLine tl = layout.lineAt(0);
  const qreal sliceX = x - static_cast<qreal>(first) * charWidth();
  const qsizetype column = first + (tl.isValid() ? tl.xToCursor(sliceX) : 0);
  return clampPosition({line, column});
}

LineTextView::Position LineTextView::clampPosition(Position p) const {
  p.line = std::clamp<qsizetype>(p.line, 0, lineCount() - 1);
  p.column = std::clamp<qsizetype>(p.column, 0, lineText(p.line).size());
  return p;
}

void LineTextView::moveCursor(Position p, bool keepAnchor) {
  cursor_ = clampPosition(p);
  if (!keepAnchor) anchor_ = cursor_;
  ensureCursorVisible();
  viewport()->update();
}

void LineTextView::ensureCursorVisible() {
  int visibleLines = std::max(1, viewport()->height() / lineHeight());
  qsizetype first = firstVisibleLine();
  if (cursor_.line < first) {
    scrollToLine(cursor_.line);
  } else if (cursor_.line >= first + visibleLines) {
    scrollToLine(cursor_.line - visibleLines + 1);
  }
  qreal x = xOfColumn(cursor_.line, cursor_.column) + leftMargin();
  int scrollX = horizontalScrollBar()->value();
  if (x < scrollX) {
    horizontalScrollBar()->setValue(static_cast<int>(x) - leftMargin());
  } else if (x > scrollX + viewport()->width() - leftMargin()) {
    horizontalScrollBar()->setValue(static_cast<int>(x) - viewport()->width() + 2 * leftMargin());
  }
}

void LineTextView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  bool extend = event->modifiers() & Qt::ShiftModifier;
  moveCursor(positionAt(event->position().toPoint()), extend);
  dragging_ = true;
  lastDragPoint_ = event->position().toPoint();
}

void LineTextView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  lastDragPoint_ = event->position().toPoint();
  moveCursor(positionAt(lastDragPoint_), true);
  bool outside = !viewport()->rect().contains(lastDragPoint_);
  if (outside && !autoScrollTimer_.isActive()) autoScrollTimer_.start();
  if (!outside) autoScrollTimer_.stop();
}

void LineTextView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = false;
  autoScrollTimer_.stop();
}

void LineTextView::autoScroll() {
  if (!dragging_) {
    autoScrollTimer_.stop();
    return;
  }
  moveCursor(positionAt(lastDragPoint_), true);
}

void LineTextView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  Position p = positionAt(event->position().toPoint());
  QString s = lineText(p.line);
  qsizetype a = p.column;
  qsizetype b = p.column;
  while (a > 0 && IsWordChar(s[a - 1])) --a;
  while (b < s.size() && IsWordChar(s[b])) ++b;
  anchor_ = {p.line, a};
  cursor_ = {p.line, b};
  viewport()->update();
}

void LineTextView::keyPressEvent(QKeyEvent* event) {
  if (event == QKeySequence::Copy) {
    copy();
    return;
  }
  if (event == QKeySequence::SelectAll) {
    selectAll();
    return;
  }
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const int page = std::max(1, viewport()->height() / lineHeight());
  Position p = cursor_;
  switch (event->key()) {
    case Qt::Key_Left:
      if (p.column > 0) {
        --p.column;
      } else if (p.line > 0) {
        --p.line;
        p.column = lineText(p.line).size();
      }
      break;
    case Qt::Key_Right:
      if (p.column < lineText(p.line).size()) {
        ++p.column;
      } else if (p.line + 1 < lineCount()) {
        ++p.line;
        p.column = 0;
      }
      break;
    case Qt::Key_Up: --p.line; break;
    case Qt::Key_Down: ++p.line; break;
    case Qt::Key_PageUp: p.line -= page; break;
    case Qt::Key_PageDown: p.line += page; break;
    case Qt::Key_Home:
      if (ctrl) p.line = 0;
      p.column = 0;
      break;
    case Qt::Key_End:
      if (ctrl) p.line = lineCount() - 1;
      p.column = lineText(std::clamp<qsizetype>(p.line, 0, lineCount() - 1)).size();
      break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  moveCursor(p, extend);
}

void LineTextView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* copyAction = menu.addAction(tr("&Copy"), this, &LineTextView::copy);
  copyAction->setEnabled(hasSelection());
  menu.addSeparator();
  menu.addAction(tr("Select &All"), this, &LineTextView::selectAll);
  menu.exec(event->globalPos());
}

void LineTextView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void LineTextView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

}  // namespace vorlane
