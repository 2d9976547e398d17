#include "wizard/MaskEdit.h"

#include <QRegularExpressionValidator>

namespace vorlane {

MaskEdit::MaskEdit(const QString& mask, QWidget* parent) : QLineEdit(parent), mask_(mask) {
  const auto places = static_cast<int>(mask.size());
  setMaxLength(places);
  setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(places)), this));
  // Wide enough for the mask's digits and a little room.
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
  QString digits;
  for (QChar c : text) {
    if (digits.size() == mask_.size()) break;
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
  }
  setText(digits);
}

}  // namespace vorlane
