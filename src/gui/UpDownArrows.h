// A pair of up and down arrow buttons that step a whole number within a
// range, without a text box of its own: the page shows the value elsewhere.
// Up raises the value; neither arrow wraps around at the ends. Tab reaches
// the pair; with the focus it shows a focus frame and the Up and Down keys
// step.
#pragma once

#include <QWidget>

class QToolButton;

namespace vorlane {

class UpDownArrows : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownArrows(QWidget* parent = nullptr);

  int value() const { return value_; }
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  void setRange(int minimum, int maximum);
  void setValue(int value);  // clamped to the range; emits nothing

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 public slots:
  void stepUp();
  void stepDown();

 signals:
  // The user changed the value with an arrow.
  void valueChanged(int value);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void step(int delta);
  void updateButtons();

  QToolButton* up_;
  QToolButton* down_;
  int minimum_ = 0;
  int maximum_ = 10;
  int value_ = 0;
};

}  // namespace vorlane
