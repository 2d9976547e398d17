#include "gui/MaskEdit.h"

#include <QValidator>

namespace vorlane {

namespace {

bool AllDigits(const QString& text) {
  for (QChar c : text)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

// Digits only, at most `places` of them, read as at most `largest`.
class DigitsValidator : public QValidator {
 public:
  DigitsValidator(int places, int largest, QObject* parent) : QValidator(parent), places_(places), largest_(largest) {}
  State validate(QString& input, int&) const override {
    if (input.size() > places_ || !AllDigits(input)) return Invalid;
    return input.isEmpty() || input.toLongLong() <= largest_ ? Acceptable : Invalid;
  }

 private:
  int places_;
  long long largest_;
};

}  // namespace

MaskEdit::MaskEdit(const QString& mask, int widestNumber, QWidget* parent)
    : QLineEdit(parent), mask_(mask), widestNumber_(widestNumber) {
  const auto places = static_cast<int>(mask.size());
  SetPlaces(places, QString(places, QLatin1Char('9')).toInt());
}

void MaskEdit::SetPlaces(int places, int largest) {
  places_ = places;
  setMaxLength(places);
  delete validator();
  setValidator(new DigitsValidator(places, largest, this));
  // Wide enough for the digits and a little room.
  setMaximumWidth(fontMetrics().horizontalAdvance(QString(places + 3, QLatin1Char('9'))) + 12);
}

QString MaskEdit::Digits() const {
  QString digits;
  for (QChar c : text())
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
  return digits;
}

int MaskEdit::Number() const { return Digits().isEmpty() ? 0 : Digits().toInt(); }

void MaskEdit::SetMaskedText(const QString& text) {
  if (text.size() > places_ && AllDigits(text) && text.toLongLong() <= widestNumber_)
    SetPlaces(static_cast<int>(text.size()), widestNumber_);
  QString digits;
  for (QChar c : text) {
    if (digits.size() == places_) break;
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
  }
  setText(digits);
}

}  // namespace vorlane
