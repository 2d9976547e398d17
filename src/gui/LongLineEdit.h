// A one-line text box for texts of megabytes (a description pasted from a
// file). QLineEdit lays out its whole text on every change and every paint,
// a second and more per keystroke for 5 MB; this box lays out only the part
// in view. It edits plainly: typing, Backspace and Delete, the arrows and
// Home/End (with Shift to select), select all, cut, copy and paste (a pasted
// line break becomes a space), and the mouse. It has no undo of its own: the
// undo keys reach the window's Edit menu.
#pragma once

#include <QString>
#include <QWidget>

class QStyleOptionFrame;
class QTextLayout;

namespace vorlane {

class LongLineEdit : public QWidget {
  Q_OBJECT

 public:
  explicit LongLineEdit(QWidget* parent = nullptr);

  // Texts longer than this (in UTF-16 units) are better edited here than in
  // a QLineEdit, which lays out the whole text on every keystroke.
  static constexpr qsizetype kLongText = 20'000;

  const QString& text() const { return text_; }
  // Replaces the text, the cursor at its start; not an edit.
  void setText(const QString& text);
  qsizetype cursorPosition() const { return cursor_; }
  void setCursorPosition(qsizetype position);
  QString selectedText() const;
  // The first column in view.
  qsizetype firstShown() const { return first_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 public slots:
  void selectAll();
  void copy() const;
  void cut();
  void paste();

 signals:
  // The user changed the text.
  void textEdited(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void initFrame(QStyleOptionFrame& option) const;
  QRect contents() const;
  // Lays out the columns from `from` on, as many as the box could show.
  qsizetype layOut(QTextLayout& layout, qsizetype from) const;
  qsizetype columnAt(int x) const;
  void moveCursor(qsizetype position, bool keepAnchor);
  void replaceSelection(const QString& with);
  void keepCursorVisible();

  QString text_;
  qsizetype cursor_ = 0;
  qsizetype anchor_ = 0;
  qsizetype first_ = 0;
};

}  // namespace vorlane
