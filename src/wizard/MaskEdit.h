// A mask-edit box for counts: the mask is a run of '9's ("999" for level
// counts, "99" for grid sizes), one optional digit each. The box admits
// nothing but digits, at most as many as the mask has places.
#pragma once

#include <QLineEdit>

namespace vorlane {

class MaskEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit MaskEdit(const QString& mask, QWidget* parent = nullptr);

  const QString& Mask() const { return mask_; }

  // The digits typed (possibly none).
  QString Digits() const;
  // The digits read as a decimal number; no digits give 0.
  int Number() const;

  // Shows `text` as far as the mask admits it: its digits, at most as many as
  // the mask has places; anything else is left out.
  void SetMaskedText(const QString& text);

 private:
  QString mask_;
};

}  // namespace vorlane
