// Services for headless GUI tests: every message, file or directory request and
// played sound is recorded, and questions, file and directory choices are
// answered from queues filled by the test beforehand.
#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "gui/Services.h"

namespace vorlane::test {

struct RecordedMessage {
  QString title, text;
  MessageButtons buttons;
  MessageAnswer answer;
  // Set for the question about unsaved changes (Save, Discard, Cancel).
  std::optional<SaveAnswer> saveAnswer;
  // Set for a choice: the buttons offered and the index chosen.
  QStringList choices;
  int chosen = -1;
};

struct RecordedFileRequest {
  QString title, filter, startDir;
  QString selectedFilter;  // the filter a save dialog started with
};

class ScriptedServices : public Services {
 public:
  // Answers for the next Yes/No questions, in order. A question with an empty
  // queue is answered No and counted in UnexpectedQuestions().
  void QueueYes() { answers_.push_back(MessageAnswer::Yes); }
  void QueueNo() { answers_.push_back(MessageAnswer::No); }
  // Answers for the next questions about unsaved changes; unscripted ones
  // are answered Cancel and counted in UnexpectedQuestions().
  void QueueSaveAnswer(SaveAnswer answer) { saveAnswers_.push_back(answer); }
  // Answers for the next choices (the index of the button, -1 for none);
  // unscripted ones choose none and are counted in UnexpectedQuestions().
  void QueueChoice(int index) { choices_.push_back(index); }
  // Answers for the next file dialogs (empty: cancelled) and directory
  // pickers (nothing: cancelled); unscripted requests are cancelled.
  void QueueFile(const QString& path) { files_.push_back(path); }
  void QueueDirectory(const std::optional<QString>& dir) { dirs_.push_back({dir.has_value(), dir.value_or(QString())}); }
  // The filter the next save dialogs report as chosen, in order; without one
  // the dialog keeps the filter it started with.
  void QueueSaveFilter(const QString& filter) { saveFilters_.push_back(filter); }
  // The next list choices: the first item holding the text in itself or its
  // hidden text (as the search field would narrow the list), or cancelled
  // when empty or unscripted.
  void QueueListChoice(const QString& search) { listChoices_.push_back(search); }
  // Every list offered, in order.
  const std::vector<QStringList>& Lists() const { return lists_; }
  // What PlaySound reports (true: the sound played to its end).
  void SetSoundResult(bool played) { soundResult_ = played; }

  // Runs while a message box would be open (e.g. to inspect the page).
  std::function<void(const RecordedMessage&)> onMessage;
  // Runs while a sound would be playing.
  std::function<void(const QString&)> onSound;

  const std::vector<RecordedMessage>& Messages() const { return messages_; }
  // The texts of all messages shown, in order.
  QStringList MessageTexts() const;
  const std::vector<RecordedFileRequest>& FileRequests() const { return fileRequests_; }
  const QStringList& DirectoryRequests() const { return dirRequests_; }
  const QStringList& PlayedSounds() const { return sounds_; }
  int UnexpectedQuestions() const { return unexpected_; }
  // Answers queued but never asked for.
  std::size_t PendingAnswers() const { return answers_.size() + saveAnswers_.size() + choices_.size() + listChoices_.size(); }
  void ClearRecords();

  MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageButtons buttons,
                            const QString& title) override;
  SaveAnswer AskToSave(QWidget* parent, const QString& text, const QString& title) override;
  int Choose(QWidget* parent, const QString& text, const QStringList& buttons, const QString& title) override;
  QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                       const QString& startDir) override;
  QString SaveFileName(QWidget* parent, const QString& title, const QString& filter, const QString& startDir,
                       QString* selectedFilter = nullptr) override;
  std::optional<QString> ChooseDirectory(QWidget* parent, const QString& startDir) override;
  bool PlaySound(QWidget* parent, const QString& path) override;
  std::optional<int> ChooseFromList(QWidget* parent, const QString& title, const QString& label,
                                    const QStringList& items, const QStringList& hidden = {}) override;

 private:
  std::deque<MessageAnswer> answers_;
  std::deque<SaveAnswer> saveAnswers_;
  std::deque<int> choices_;
  std::deque<QString> files_;
  std::deque<QString> saveFilters_;
  std::deque<QString> listChoices_;
  std::vector<QStringList> lists_;
  std::deque<std::pair<bool, QString>> dirs_;  // (chosen, directory)
  bool soundResult_ = true;
  std::vector<RecordedMessage> messages_;
  std::vector<RecordedFileRequest> fileRequests_;
  QStringList dirRequests_;
  QStringList sounds_;
  int unexpected_ = 0;
};

}  // namespace vorlane::test
