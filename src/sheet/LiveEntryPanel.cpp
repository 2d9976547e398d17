#include "sheet/LiveEntryPanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/LineTextView.h"
#include "gui/PageParts.h"

namespace vorlane {

namespace {

LineTextView* MakeTextView(QWidget* parent, const char* name) {
  auto* view = new LineTextView(parent);
  view->setObjectName(QString::fromLatin1(name));
  view->setFont(LineTextView::FixedPitchFont());
  return view;
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
    if (shown) txtChanges_->setText(QStringLiteral("Comparing…").toUtf8());
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
    // The lines the user looks at, and what is selected, stay as the entry
    // is renewed.
    txtEntry_->renewText(result.entryText);
    txtEntry_->setEnabled(true);
    lblStatus_->clear();
  } else {
    // The last entry made stays, greyed, until the next one succeeds; none
    // stays for a level the design does not have.
    if (result.noSuchLevel) txtEntry_->clear();
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
    std::string text;
    for (const std::string& line : result.changes) text += line + '\n';
    txtChanges_->renewText(QByteArray::fromStdString(text.empty() ? result.changesNote : text));
  }
}

}  // namespace vorlane
