#include "generate_ui/frmDisplayResults.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtServices.h"
#include "generate_ui/ResultsExport.h"
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
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(8, 4, 8, 8);
  buttons->addStretch(1);
  cmdCopyAll_ = new QPushButton(QStringLiteral("Copy All"), this);
  cmdCopyAll_->setObjectName(QStringLiteral("cmdCopyAll"));
  cmdSaveAs_ = new QPushButton(QStringLiteral("Save As…"), this);
  cmdSaveAs_->setObjectName(QStringLiteral("cmdSaveAs"));
  buttons->addWidget(cmdCopyAll_);
  buttons->addWidget(cmdSaveAs_);
  layout->addLayout(buttons);
  connect(cmdCopyAll_, &QPushButton::clicked, this, [this] { vorlane::CopyAllResults(*rtfResults_); });
  connect(cmdSaveAs_, &QPushButton::clicked, this, [this] {
    static vorlane::QtServices programServices;
    vorlane::SaveResultsAs(this, services_ ? *services_ : programServices, *rtfResults_, designName_);
  });
  resize(760, 560);
}

void frmDisplayResults::ShowResults(const QString& kind, const QString& name, QByteArray text) {
  ResultKind = kind;
  designName_ = name;
  setWindowTitle(kind + QStringLiteral(" Generation Results - [") + name + QStringLiteral("]"));
  rtfResults_->setText(std::move(text));
}

void frmDisplayResults::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closed(ResultKind);
}
