#include "gui/UpDownArrows.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace vorlane {

UpDownArrows::UpDownArrows(QWidget* parent) : QWidget(parent) {
  up_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  up_->setAutoRepeat(true);
  up_->setAccessibleName(tr("Up"));
  down_ = new QToolButton(this);
  down_->setArrowType(Qt::DownArrow);
  down_->setAutoRepeat(true);
  down_->setAccessibleName(tr("Down"));
  for (QToolButton* b : {up_, down_}) {
    b->setFixedSize(18, 12);
    b->setFocusPolicy(Qt::NoFocus);
  }
  setFocusPolicy(Qt::TabFocus);
  auto* layout = new QVBoxLayout(this);
  // Room for the focus frame around the arrows.
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  connect(up_, &QToolButton::clicked, this, &UpDownArrows::stepUp);
  connect(down_, &QToolButton::clicked, this, &UpDownArrows::stepDown);
  updateButtons();
}

void UpDownArrows::setRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  value_ = std::clamp(value_, minimum_, maximum_);
  updateButtons();
}

void UpDownArrows::setValue(int value) {
  value_ = std::clamp(value, minimum_, maximum_);
  updateButtons();
}

void UpDownArrows::stepUp() { step(1); }
void UpDownArrows::stepDown() { step(-1); }

void UpDownArrows::step(int delta) {
  int next = std::clamp(value_ + delta, minimum_, maximum_);
  if (next == value_) return;
  value_ = next;
  updateButtons();
  emit valueChanged(value_);
}

void UpDownArrows::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    stepUp();
  } else if (event->key() == Qt::Key_Down) {
    stepDown();
  } else {
    QWidget::keyPressEvent(event);
  }
}

void UpDownArrows::paintEvent(QPaintEvent*) {
  if (!hasFocus()) return;
  QStylePainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.backgroundColor = palette().color(QPalette::Window);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

void UpDownArrows::focusInEvent(QFocusEvent* event) {
  update();
  QWidget::focusInEvent(event);
}

void UpDownArrows::focusOutEvent(QFocusEvent* event) {
  update();
  QWidget::focusOutEvent(event);
}

void UpDownArrows::updateButtons() {
  up_->setEnabled(value_ < maximum_);
  down_->setEnabled(value_ > minimum_);
}

}  // namespace vorlane
