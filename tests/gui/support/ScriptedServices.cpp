#include "support/ScriptedServices.h"

namespace vorlane::test {

namespace {

// The queue's next item, or `otherwise` (counted in `*missing` if given) when it is empty.
template <class T>
T Take(std::deque<T>& queue, T otherwise, int* missing = nullptr) {
  if (!queue.empty()) {
    otherwise = queue.front();
    queue.pop_front();
  } else if (missing) {
    ++*missing;
  }
  return otherwise;
}

}  // namespace

QStringList ScriptedServices::MessageTexts() const {
  QStringList texts;
  for (const RecordedMessage& m : messages_) texts << m.text;
  return texts;
}

void ScriptedServices::ClearRecords() {
  messages_.clear(), fileRequests_.clear(), dirRequests_.clear(), sounds_.clear();
  unexpected_ = 0;
}

MessageAnswer ScriptedServices::ShowMessage(QWidget*, const QString& text, MessageButtons buttons,
                                            const QString& title) {
  const MessageAnswer answer =
      buttons == MessageButtons::YesNo ? Take(answers_, MessageAnswer::No, &unexpected_) : MessageAnswer::Ok;
  messages_.push_back({title, text, buttons, answer, std::nullopt, {}, -1});
  if (onMessage) onMessage(messages_.back());
  return answer;
}

SaveAnswer ScriptedServices::AskToSave(QWidget*, const QString& text, const QString& title) {
  const SaveAnswer answer = Take(saveAnswers_, SaveAnswer::Cancel, &unexpected_);
  messages_.push_back({title, text, MessageButtons::YesNo, MessageAnswer::No, answer, {}, -1});
  if (onMessage) onMessage(messages_.back());
  return answer;
}

int ScriptedServices::Choose(QWidget*, const QString& text, const QStringList& buttons, const QString& title) {
  const int answer = Take(choices_, -1, &unexpected_);
  messages_.push_back({title, text, MessageButtons::Ok, MessageAnswer::Ok, std::nullopt, buttons, answer});
  if (onMessage) onMessage(messages_.back());
  return answer;
}

QString ScriptedServices::OpenFileName(QWidget*, const QString& title, const QString& filter,
                                       const QString& startDir) {
  fileRequests_.push_back({title, filter, startDir, QString()});
  return Take(files_, QString());
}

QString ScriptedServices::SaveFileName(QWidget*, const QString& title, const QString& filter,
                                       const QString& startDir, QString* selectedFilter) {
  fileRequests_.push_back({title, filter, startDir, selectedFilter ? *selectedFilter : QString()});
  if (selectedFilter) *selectedFilter = Take(saveFilters_, *selectedFilter);
  return Take(files_, QString());
}

std::optional<QString> ScriptedServices::ChooseDirectory(QWidget*, const QString& startDir) {
  dirRequests_ << startDir;
  const auto [chosen, dir] = Take(dirs_, {false, QString()});
  return chosen ? std::optional<QString>(dir) : std::nullopt;
}

bool ScriptedServices::PlaySound(QWidget*, const QString& path) {
  sounds_ << path;
  if (onSound) onSound(path);
  return soundResult_;
}

std::optional<int> ScriptedServices::ChooseFromList(QWidget*, const QString&, const QString&,
                                                   const QStringList& items, const QStringList& hidden) {
  lists_.push_back(items);
  const QString search = Take(listChoices_, QString());
  if (search.isEmpty()) return std::nullopt;
  for (int i = 0; i < items.size(); ++i) {
    if (items[i].contains(search, Qt::CaseInsensitive) || hidden.value(i).contains(search, Qt::CaseInsensitive)) {
      return i;
    }
  }
  return std::nullopt;
}

}  // namespace vorlane::test
