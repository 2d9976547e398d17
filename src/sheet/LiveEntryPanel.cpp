#include "sheet/LiveEntryPanel.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextCursor>
#include <algorithm>
#include <QVBoxLayout>

#include "gui/PageParts.h"

namespace vorlane {

namespace {

// The generated text with LF line ends, for the text views.
QString Shown(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.remove(QLatin1Char('\r'));
  return shown;
}

QPlainTextEdit* MakeTextView(QWidget* parent, const char* name) {
  auto* view = new QPlainTextEdit(parent);
  view->setObjectName(QString::fromLatin1(name));
  view->setReadOnly(true);
  view->setUndoRedoEnabled(false);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  return view;
}

// Shows `text` in `view`, which shows `shown`, by replacing only the part
// between what they have in common at the start and at the end: a changed
// line in an entry of 200,000 lines costs about one line.
void ShowText(QPlainTextEdit* view, QString& shown, const QString& text) {
  if (shown.isEmpty() || view->document()->characterCount() != shown.size() + 1) {
    view->setPlainText(text);
    shown = text;
    return;
  }
  const qsizetype common = std::min(shown.size(), text.size());
  const qsizetype start = std::mismatch(shown.begin(), shown.begin() + common, text.begin()).first - shown.begin();
  const qsizetype end =
      std::mismatch(shown.rbegin(), shown.rbegin() + (common - start), text.rbegin()).first - shown.rbegin();
  if (start == shown.size() && start == text.size()) return;
  QTextCursor cursor(view->document());
  cursor.setPosition(static_cast<int>(start));
  cursor.setPosition(static_cast<int>(shown.size() - end), QTextCursor::KeepAnchor);
  cursor.insertText(text.mid(start, text.size() - end - start));
  shown = text;
}

}  // namespace

LiveEntryPanel::LiveEntryPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("LiveEntryPanel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tabsLive"));
  layout->addWidget(tabs_);

  auto* entryTab = new QWidget(tabs_);
  entryTab->setObjectName(QStringLiteral("tabEntry"));
  auto* entryLayout = new QVBoxLayout(entryTab);
  selectors_ = new QWidget(entryTab);
  selectorGrid_ = new QGridLayout(selectors_);
  selectorGrid_->setContentsMargins(0, 0, 0, 0);
  selectorGrid_->setColumnStretch(6, 1);
  entryLayout->addWidget(selectors_);
  txtEntry_ = MakeTextView(entryTab, "txtEntry");
  entryLayout->addWidget(txtEntry_, 3);
  lblStatus_ = new QLabel(entryTab);
  lblStatus_->setObjectName(QStringLiteral("lblEntryStatus"));
  lblStatus_->setWordWrap(true);
  lblStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  entryLayout->addWidget(lblStatus_);

  cmdChanges_ = new QPushButton(QStringLiteral("What Changed"), entryTab);
  cmdChanges_->setObjectName(QStringLiteral("cmdChanges"));
  cmdChanges_->setToolTip(QStringLiteral("Compares the entries with those of the design as last saved."));
  cmdChanges_->setCheckable(true);
  cmdChanges_->setAutoDefault(false);
  entryLayout->addWidget(cmdChanges_, 0, Qt::AlignLeft);
  txtChanges_ = MakeTextView(entryTab, "txtChanges");
  txtChanges_->hide();
  entryLayout->addWidget(txtChanges_, 2);
  connect(cmdChanges_, &QPushButton::toggled, this, [this](bool shown) {
    txtChanges_->setVisible(shown);
    if (shown) txtChanges_->setPlainText(QStringLiteral("Comparing…"));
    emit RequestChanged();
  });
  // A place for further views of the design (curves) as further tabs.
  tabs_->addTab(entryTab, QStringLiteral("Entry"));
}

void LiveEntryPanel::SetShape(bool grid, int levels, const std::vector<int>& gridSizes) {
  const EntryPoint before = Point();
  const bool sameKind = grid == grid_;
  grid_ = grid;
  const std::size_t wanted = grid ? gridSizes.size() : 1;
  while (positions_.size() > wanted) {
    QSpinBox* box = positions_.back();
    positions_.pop_back();
    if (QLayoutItem* item = selectorGrid_->itemAtPosition(static_cast<int>(positions_.size()) / 3,
                                                          2 * (static_cast<int>(positions_.size()) % 3))) {
      delete item->widget();
    }
    delete box;
  }
  while (positions_.size() < wanted) {
    const int i = static_cast<int>(positions_.size());
    auto* label = new QLabel(selectors_);
    auto* box = new QSpinBox(selectors_);
    box->setObjectName(QStringLiteral("spnPosition(%1)").arg(i + 1));
    box->setKeyboardTracking(false);
    selectorGrid_->addWidget(label, i / 3, 2 * (i % 3));
    selectorGrid_->addWidget(box, i / 3, 2 * (i % 3) + 1);
    connect(box, &QSpinBox::valueChanged, this, [this] { emit RequestChanged(); });
    positions_.push_back(box);
  }
  for (std::size_t i = 0; i < positions_.size(); ++i) {
    QSpinBox* box = positions_[i];
    const QSignalBlocker quiet(box);
    box->setRange(1, std::max(1, grid ? gridSizes[i] : levels));
    auto* label = static_cast<QLabel*>(
        selectorGrid_->itemAtPosition(static_cast<int>(i) / 3, 2 * (static_cast<int>(i) % 3))->widget());
    label->setText(grid ? QStringLiteral("Requirement %1:").arg(i + 1) : QStringLiteral("Level:"));
    if (sameKind) box->setValue(grid ? (i < before.cell.size() ? before.cell[i] : 1) : before.level);
  }
}

EntryPoint LiveEntryPanel::Point() const {
  EntryPoint point;
  if (grid_) {
    for (QSpinBox* box : positions_) point.cell.push_back(box->value());
  } else if (!positions_.empty()) {
    point.level = positions_.front()->value();
  }
  return point;
}

void LiveEntryPanel::SetPoint(const EntryPoint& point) {
  for (std::size_t i = 0; i < positions_.size(); ++i) {
    const QSignalBlocker quiet(positions_[i]);
    positions_[i]->setValue(grid_ ? (i < point.cell.size() ? point.cell[i] : 1) : point.level);
  }
}

bool LiveEntryPanel::ChangesShown() const { return cmdChanges_->isChecked(); }

void LiveEntryPanel::ShowResult(const LiveResult& result) {
  const LiveEntry& entry = result.entry;
  if (entry.status == GenerationStatus::Generated) {
    // The lines the user looks at stay in view as the entry is renewed.
    const int top = txtEntry_->verticalScrollBar()->value();
    const int left = txtEntry_->horizontalScrollBar()->value();
    ShowText(txtEntry_, shownEntry_, Shown(entry.text));
    txtEntry_->verticalScrollBar()->setValue(top);
    txtEntry_->horizontalScrollBar()->setValue(left);
    txtEntry_->setEnabled(true);
    lblStatus_->clear();
  } else {
    // The last entry made stays, greyed, until the next one succeeds; none
    // stays for a level the design does not have.
    if (result.noSuchLevel) {
      txtEntry_->clear();
      shownEntry_.clear();
    }
    txtEntry_->setEnabled(false);
    QString why;
    if (entry.fault) {
      why = Q(entry.fault->Line());
    } else if (!entry.messages.empty()) {
      why = Q(entry.messages.front().text);
    }
    lblStatus_->setText(why.remove(QLatin1Char('\r')));
  }
  if (result.changesAsked) {
    QString text;
    for (const std::string& line : result.changes) text += Q(line) + QLatin1Char('\n');
    txtChanges_->setPlainText(text.isEmpty() ? Q(result.changesNote) : text);
  }
}

}  // namespace vorlane
