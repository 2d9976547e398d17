// A mask-edit box for counts: the mask is a run of '9's ("999" for level
// counts, "99" for grid sizes), one optional digit each. The box admits
// nothing but digits, at most as many as the mask has places.
//
// A stored number with more digits than the mask widens the box to hold it
// (up to the box's `widestNumber`), as the picture slider widens for a
// stored picture number: walking a design through the wizard never cuts it.
#pragma once

#include <QLineEdit>

namespace vorlane {

class MaskEdit : public QLineEdit {
  Q_OBJECT

 public:
  MaskEdit(const QString& mask, int widestNumber, QWidget* parent = nullptr);

  const QString& Mask() const { return mask_; }
  // Digits the box admits now: the mask's, or more once widened.
  int Places() const { return places_; }

  // The digits typed (possibly none).
  QString Digits() const;
  // The digits read as a decimal number; no digits give 0.
  int Number() const;

  // Shows `text` as far as the box admits it: its digits, at most as many as
  // the box has places; anything else is left out. Digits alone that form a
  // number up to `widestNumber` widen the box first when they are too many.
  void SetMaskedText(const QString& text);

 private:
  void SetPlaces(int places, int largest);

  QString mask_;
  int widestNumber_;
  int places_ = 0;
};

}  // namespace vorlane
