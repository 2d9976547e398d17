#include "wizard/EntryWalkPage.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "gui/MaskEdit.h"
#include "gui/PageParts.h"
#include "gui/Services.h"

namespace vorlane {

EntryWalkPage::EntryWalkPage(Session& session, const Words& words, QWidget* parent) : WizardPage(session, parent), words_(words) {}

void EntryWalkPage::SetControls(QLabel* caption, const std::array<QLineEdit*, 4>& fields, QPushButton* add) {
  caption_ = caption;
  fields_ = fields;
  connect(add, &QPushButton::clicked, this, [this] { OnAdd(); });
}

void EntryWalkPage::LoadFields() {
  current_ = 1;
  caption_->setText(words_.captionPrefix + QString::number(current_));
  if (Count() > 0) ShowEntry(ReadEntry(1));
}

void EntryWalkPage::SetCurrent(std::int16_t n) {
  const int last = std::min<int>(Count() + 1, std::numeric_limits<std::int16_t>::max());
  current_ = static_cast<std::int16_t>(std::clamp<int>(n, 1, last));
}

void EntryWalkPage::RefreshForm() {
  caption_->setText(words_.captionPrefix + QString::number(current_));
  ShowEntry(current_ > Count() ? Entry{} : ReadEntry(current_));
}

void EntryWalkPage::ShowEntry(const Entry& entry) {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (auto* mask = qobject_cast<MaskEdit*>(fields_[i])) {
      mask->SetMaskedText(Q(entry[i]));
    } else {
      fields_[i]->setText(Q(entry[i]));
    }
  }
}

EntryWalkPage::Entry EntryWalkPage::FieldValues() const {
  Entry entry;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    auto* mask = qobject_cast<MaskEdit*>(fields_[i]);
    entry[i] = S(mask ? mask->Digits() : fields_[i]->text());
  }
  return entry;
}

// Writing an entry past the end makes it the last one.
void EntryWalkPage::ArriveAtLastEntry() {
  if (Count() <= 0) return;
  SetCurrent(Count());
  RefreshForm();
}

void EntryWalkPage::WriteCurrent() {
  if (current_ > Count()) SetCount(current_);
  WriteEntry(current_, FieldValues());
}

void EntryWalkPage::SaveFields() {
  if (current_ > Count() && FieldValues() == Entry{}) return;
  WriteCurrent();
}

void EntryWalkPage::OnAdd() {
  if (fields_[0]->text().isEmpty()) {
    session().services().Inform(this, words_.addMessage);
    return;
  }
  WriteCurrent();
  if (current_ == std::numeric_limits<std::int16_t>::max()) return;  // no entry number left
  ++current_;
  RefreshForm();
  fields_[0]->setFocus(Qt::OtherFocusReason);
}

void EntryWalkPage::OnNext() {
  if (fields_[0]->text().isEmpty()) {
    if (!session().services().Ask(this, words_.removeQuestion, words_.removeTitle)) return;
    SetCount(static_cast<std::int16_t>(current_ - 1));
    Leave(CreateNextPage());
    return;
  }
  if (!CheckEntry()) return;
  WriteCurrent();
  if (current_ != Count()) {
    ++current_;
    RefreshForm();
    return;
  }
  Leave(CreateNextPage());
}

void EntryWalkPage::OnBack() {
  WriteCurrent();
  if (current_ != 1) {
    --current_;
    RefreshForm();
    return;
  }
  Leave(CreatePreviousPage());
}

// Until the neighbouring page exists there is nowhere to go: the page stays.
void EntryWalkPage::Leave(HostedPage* page) {
  if (page) NavigateTo(page);
}

}  // namespace vorlane
