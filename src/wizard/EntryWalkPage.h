// A page that shows one entry of a numbered list at a time (technology
// requirements, abilities): Add saves the entry and moves on, Next and Back
// walk through the entries before they leave the page, and Next on an entry
// whose key field is empty offers to drop it and all entries after it. The
// entries live only in the record; the page keeps the current entry number.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <string>

#include "gui/WizardPage.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vorlane {

class EntryWalkPage : public WizardPage {
  Q_OBJECT

 public:
  // Shows entry Current(): its caption and its fields, blank past the end.
  void RefreshForm();

  // Shows the last entry, when there is one (Back from the page after).
  void ArriveAtLastEntry() override;

  struct Words {
    QString captionPrefix;   // "Technology Requirement "
    QString addMessage;      // Add with an empty key field
    QString removeQuestion;  // Next with an empty key field
    QString removeTitle;
  };
  using Entry = std::array<std::string, 4>;

 protected:
  EntryWalkPage(Session& session, const Words& words, QWidget* parent);

  // The caption label, the four fields (the first is the key field; a
  // MaskEdit hands on its digits) and the Add button, made by the twin.
  void SetControls(QLabel* caption, const std::array<QLineEdit*, 4>& fields, QPushButton* add);
  // Opening: entry 1, filled from the record when it has entries.
  void LoadFields();

  std::int16_t Current() const { return current_; }
  // Chooses the entry to show (1 to one past the last); call RefreshForm next.
  void SetCurrent(std::int16_t n);

  virtual std::int16_t Count() const = 0;
  virtual void SetCount(std::int16_t n) = 0;
  virtual Entry ReadEntry(std::int16_t n) const = 0;
  virtual void WriteEntry(std::int16_t n, const Entry& entry) = 0;
  // Next's check of a filled entry before it is written; shows its own message.
  virtual bool CheckEntry() { return true; }

  // Saving the design stores what Back would, except a blank entry past the
  // last one (as Add leaves it): that is not part of the design yet.
  void SaveFields() override;
  void OnNext() override;
  void OnBack() override;

 private:
  void OnAdd();
  void WriteCurrent();
  void ShowEntry(const Entry& entry);
  Entry FieldValues() const;
  void Leave(HostedPage* page);

  Words words_;
  std::int16_t current_ = 1;
  QLabel* caption_ = nullptr;
  std::array<QLineEdit*, 4> fields_{};
};

}  // namespace vorlane
