#include "gui/LongLineEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <algorithm>

#include "gui/LineTextView.h"

namespace vorlane {

namespace {

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

}  // namespace

LongLineEdit::LongLineEdit(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::IBeamCursor);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setAttribute(Qt::WA_MacShowFocusRect);
}

void LongLineEdit::setText(const QString& text) {
  text_ = text;
  cursor_ = anchor_ = first_ = 0;
  update();
}

void LongLineEdit::setCursorPosition(qsizetype position) { moveCursor(position, false); }

QString LongLineEdit::selectedText() const {
  const qsizetype from = std::min(anchor_, cursor_);
  return text_.mid(from, std::max(anchor_, cursor_) - from);
}

void LongLineEdit::selectAll() {
  anchor_ = 0;
  cursor_ = text_.size();
  keepCursorVisible();
  update();
}

void LongLineEdit::copy() const {
  if (anchor_ != cursor_) QApplication::clipboard()->setText(selectedText());
}

void LongLineEdit::cut() {
  if (anchor_ == cursor_) return;
  copy();
  replaceSelection({});
}

void LongLineEdit::paste() {
  QString pasted = QApplication::clipboard()->text();
  pasted.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
  if (!pasted.isEmpty()) replaceSelection(pasted);
}

void LongLineEdit::initFrame(QStyleOptionFrame& option) const {
  option.initFrom(this);
  option.rect = rect();
  option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  option.midLineWidth = 0;
  option.state |= QStyle::State_Sunken;
  option.features = QStyleOptionFrame::None;
}

// As QLineEdit places its text: the style's contents less small margins.
QRect LongLineEdit::contents() const {
  QStyleOptionFrame option;
  initFrame(option);
  return style()->subElementRect(QStyle::SE_LineEditContents, &option, this).adjusted(2, 1, -2, -1);
}

QSize LongLineEdit::sizeHint() const {
  ensurePolished();
  const QFontMetrics metrics(font());
  QStyleOptionFrame option;
  initFrame(option);
  const QSize text(metrics.horizontalAdvance(u'x') * 17 + 4, std::max(metrics.height(), 14) + 2);
  return style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, this);
}

QSize LongLineEdit::minimumSizeHint() const {
  const QSize hint = sizeHint();
  return {fontMetrics().horizontalAdvance(u'x') * 4, hint.height()};
}

qsizetype LongLineEdit::layOut(QTextLayout& layout, qsizetype from) const {
  // No character is narrower than a pixel: the box's width in characters
  // fills it.
  qsizetype end = std::min(text_.size(), from + contents().width() + 2);
  if (end < text_.size() && text_[end].isLowSurrogate()) ++end;
  LineTextView::LayOutOneLine(layout, text_.mid(from, end - from), font());
  return end - from;
}

qsizetype LongLineEdit::columnAt(int x) const {
  QTextLayout layout;
  layOut(layout, first_);
  const QTextLine line = layout.lineAt(0);
  return first_ + (line.isValid() ? line.xToCursor(x - contents().left()) : 0);
}

void LongLineEdit::keepCursorVisible() {
  const int width = std::max(1, contents().width());
  first_ = std::min(first_, cursor_);
  QTextLayout shown;
  const qsizetype count = layOut(shown, first_);
  if (cursor_ - first_ <= count && shown.lineAt(0).cursorToX(static_cast<int>(cursor_ - first_)) <= width) return;
  // The cursor at the right edge: as many columns before it as fit.
  const qsizetype from = std::max<qsizetype>(0, cursor_ - width - 2);
  QTextLayout before;
  layOut(before, from);
  const QTextLine line = before.lineAt(0);
  const qreal end = line.cursorToX(static_cast<int>(cursor_ - from));
  qsizetype column = line.xToCursor(end - width);
  if (end - line.cursorToX(static_cast<int>(column)) > width) ++column;
  first_ = from + column;
  if (first_ < text_.size() && text_[first_].isLowSurrogate()) ++first_;
}

void LongLineEdit::moveCursor(qsizetype position, bool keepAnchor) {
  cursor_ = std::clamp<qsizetype>(position, 0, text_.size());
  if (!keepAnchor) anchor_ = cursor_;
  keepCursorVisible();
  update();
}

void LongLineEdit::replaceSelection(const QString& with) {
  const qsizetype from = std::min(anchor_, cursor_);
  text_.replace(from, std::max(anchor_, cursor_) - from, with);
  cursor_ = anchor_ = from + with.size();
  keepCursorVisible();
  update();
  emit textEdited(text_);
}

void LongLineEdit::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  QStyleOptionFrame option;
  initFrame(option);
  style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
  const QRect box = contents();
  painter.setClipRect(box);
  QTextLayout layout;
  const qsizetype count = layOut(layout, first_);
  const QTextLine line = layout.lineAt(0);
  if (!line.isValid()) return;
  const QPointF origin(box.left(), box.top() + (box.height() - line.height()) / 2);
  QList<QTextLayout::FormatRange> selections;
  const qsizetype a = std::clamp(std::min(anchor_, cursor_) - first_, qsizetype{0}, count);
  const qsizetype b = std::clamp(std::max(anchor_, cursor_) - first_, qsizetype{0}, count);
  if (b > a) {
    QTextCharFormat format;
    format.setBackground(palette().highlight());
    format.setForeground(palette().highlightedText());
    selections.append({static_cast<int>(a), static_cast<int>(b - a), format});
  }
  painter.setPen(palette().text().color());
  layout.draw(&painter, origin, selections);
  if (hasFocus() && cursor_ >= first_ && cursor_ - first_ <= count) {
    layout.drawCursor(&painter, origin, static_cast<int>(cursor_ - first_));
  }
}

void LongLineEdit::keyPressEvent(QKeyEvent* event) {
  if (event == QKeySequence::SelectAll) return selectAll();
  if (event == QKeySequence::Copy) return copy();
  if (event == QKeySequence::Cut) return cut();
  if (event == QKeySequence::Paste) return paste();
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  const bool selected = anchor_ != cursor_;
  auto step = [this](qsizetype from, int by) {
    qsizetype to = std::clamp<qsizetype>(from + by, 0, text_.size());
    if (to > 0 && to < text_.size() && text_[to].isLowSurrogate()) to += by;
    return to;
  };
  switch (event->key()) {
    case Qt::Key_Left: moveCursor(selected && !extend ? std::min(anchor_, cursor_) : step(cursor_, -1), extend); return;
    case Qt::Key_Right: moveCursor(selected && !extend ? std::max(anchor_, cursor_) : step(cursor_, 1), extend); return;
    case Qt::Key_Home: moveCursor(0, extend); return;
    case Qt::Key_End: moveCursor(text_.size(), extend); return;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
      if (!selected) anchor_ = step(cursor_, event->key() == Qt::Key_Backspace ? -1 : 1);
      if (anchor_ != cursor_) replaceSelection({});
      return;
    default: break;
  }
  const QString typed = event->text();
  const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
  if (typed.isEmpty() || command || !typed.front().isPrint()) {
    event->ignore();
    return;
  }
  replaceSelection(typed);
}

void LongLineEdit::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  moveCursor(columnAt(event->position().toPoint().x()), event->modifiers() & Qt::ShiftModifier);
}

void LongLineEdit::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) moveCursor(columnAt(event->position().toPoint().x()), true);
}

void LongLineEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  qsizetype a = columnAt(event->position().toPoint().x());
  qsizetype b = a;
  while (a > 0 && IsWordChar(text_[a - 1])) --a;
  while (b < text_.size() && IsWordChar(text_[b])) ++b;
  anchor_ = a;
  moveCursor(b, true);
}

void LongLineEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  const bool selected = anchor_ != cursor_;
  menu.addAction(tr("Cu&t"), this, &LongLineEdit::cut)->setEnabled(selected);
  menu.addAction(tr("&Copy"), this, &LongLineEdit::copy)->setEnabled(selected);
  menu.addAction(tr("&Paste"), this, &LongLineEdit::paste)->setEnabled(!QApplication::clipboard()->text().isEmpty());
  menu.addSeparator();
  menu.addAction(tr("Select All"), this, &LongLineEdit::selectAll);
  menu.exec(event->globalPos());
}

void LongLineEdit::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void LongLineEdit::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void LongLineEdit::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  keepCursorVisible();
}

}  // namespace vorlane
