#include "generate_ui/frmDisplayResults.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QVBoxLayout>

#include "generate_ui/ResultsTextView.h"

namespace {

// Courier New 9.75 pt keeps the ":=" columns aligned; where it is missing any
// fixed-pitch face of the same size does.
QFont ResultsFont() {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSizeF(9.75);
  font.setWeight(QFont::Normal);
  // Judged by the glyphs: font databases do not always flag monospaced faces.
  QFontMetricsF metrics(font);
  if (metrics.horizontalAdvance(u'i') != metrics.horizontalAdvance(u'M')) {
    QFont fallback = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fallback.setPointSizeF(9.75);
    fallback.setWeight(QFont::Normal);
    return fallback;
  }
  return font;
}

}  // namespace

frmDisplayResults::frmDisplayResults(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmDisplayResults"));
  rtfResults_ = new ResultsTextView(this);
  rtfResults_->setObjectName(QStringLiteral("rtfResults"));
  rtfResults_->setFont(ResultsFont());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(rtfResults_);
  resize(760, 560);
}

void frmDisplayResults::ShowResults(const QString& kind, const QString& name, QByteArray text) {
  ResultKind = kind;
  setWindowTitle(kind + QStringLiteral(" Generation Results - [") + name + QStringLiteral("]"));
  rtfResults_->setText(std::move(text));
}

void frmDisplayResults::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closed(ResultKind);
}
