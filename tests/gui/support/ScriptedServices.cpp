#include "support/ScriptedServices.h"

namespace vorlane::test {

QStringList ScriptedServices::MessageTexts() const {
  QStringList texts;
  for (const RecordedMessage& m : messages_) texts << m.text;
  return texts;
}

void ScriptedServices::ClearRecords() {
  messages_.clear();
  fileRequests_.clear();
  dirRequests_.clear();
  sounds_.clear();
  unexpected_ = 0;
}

MessageAnswer ScriptedServices::ShowMessage(QWidget*, const QString& text, MessageButtons buttons,
                                            const QString& title) {
  MessageAnswer answer = MessageAnswer::Ok;
  if (buttons == MessageButtons::YesNo) {
    if (answers_.empty()) {
      ++unexpected_;
      answer = MessageAnswer::No;
    } else {
      answer = answers_.front();
      answers_.pop_front();
    }
  }
  messages_.push_back({title, text, buttons, answer, std::nullopt});
  if (onMessage) onMessage(messages_.back());
  return answer;
}

SaveAnswer ScriptedServices::AskToSave(QWidget*, const QString& text, const QString& title) {
  SaveAnswer answer = SaveAnswer::Cancel;
  if (saveAnswers_.empty()) {
    ++unexpected_;
  } else {
    answer = saveAnswers_.front();
    saveAnswers_.pop_front();
  }
  messages_.push_back({title, text, MessageButtons::YesNo, MessageAnswer::No, answer});
  if (onMessage) onMessage(messages_.back());
  return answer;
}

QString ScriptedServices::OpenFileName(QWidget*, const QString& title, const QString& filter,
                                       const QString& startDir) {
  fileRequests_.push_back({title, filter, startDir, QString()});
  return NextFile();
}

QString ScriptedServices::SaveFileName(QWidget*, const QString& title, const QString& filter,
                                       const QString& startDir, QString* selectedFilter) {
  fileRequests_.push_back({title, filter, startDir, selectedFilter ? *selectedFilter : QString()});
  if (selectedFilter && !saveFilters_.empty()) {
    *selectedFilter = saveFilters_.front();
    saveFilters_.pop_front();
  }
  return NextFile();
}

QString ScriptedServices::NextFile() {
  if (files_.empty()) return QString();
  QString file = files_.front();
  files_.pop_front();
  return file;
}

std::optional<QString> ScriptedServices::ChooseDirectory(QWidget*, const QString& startDir) {
  dirRequests_ << startDir;
  if (dirs_.empty()) return std::nullopt;
  auto [chosen, dir] = dirs_.front();
  dirs_.pop_front();
  if (!chosen) return std::nullopt;
  return dir;
}

bool ScriptedServices::PlaySound(QWidget*, const QString& path) {
  sounds_ << path;
  if (onSound) onSound(path);
  return soundResult_;
}

}  // namespace vorlane::test
