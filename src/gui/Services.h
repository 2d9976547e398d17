// Everything the GUI shows or asks outside its own windows goes through this
// interface: message boxes, file and directory choosers, sound playback. The
// program uses QtServices; GUI tests use a scripted implementation that records
// every request and answers from a queue, so they run headless.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "gui/AppTitles.h"
#include "util/MessageSink.h"

class QWidget;

namespace vorlane {

// The answers to the question about unsaved changes.
enum class SaveAnswer { Save, Discard, Cancel };

class Services {
 public:
  virtual ~Services() = default;

  // A modal message box over `parent` without an icon: a single OK button or
  // Yes and No. Returns Ok for an OK box, else Yes or No. No is the default
  // button of a question: Yes always commits to something (leaving a page,
  // dropping entries, losing changes), so a stray Enter must not.
  virtual MessageAnswer ShowMessage(QWidget* parent, const QString& text,
                                    MessageButtons buttons = MessageButtons::Ok,
                                    const QString& title = kAppTitle) = 0;

  // Asks about unsaved changes with the buttons Save, Discard and Cancel,
  // without an icon. Cancel is the default button and Escape presses it.
  virtual SaveAnswer AskToSave(QWidget* parent, const QString& text, const QString& title = kAppTitle) = 0;

  // A choice among `buttons` (their texts, with & keys), without an icon;
  // the first is the default button. Returns the index of the button
  // pressed, or -1 when the box was closed without one (Escape, close box).
  virtual int Choose(QWidget* parent, const QString& text, const QStringList& buttons,
                     const QString& title = kAppTitle) = 0;

  // Asks a question with Yes and No; true for Yes.
  bool Ask(QWidget* parent, const QString& text, const QString& title = kAppTitle) {
    return ShowMessage(parent, text, MessageButtons::YesNo, title) == MessageAnswer::Yes;
  }
  // Informs with a single OK button.
  void Inform(QWidget* parent, const QString& text, const QString& title = kAppTitle) {
    ShowMessage(parent, text, MessageButtons::Ok, title);
  }

  // A modal file-open dialog. `filter` uses Qt's form, e.g. "Wave files (*.wav)".
  // Returns the chosen file's full path, or an empty text when cancelled.
  virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& startDir) = 0;

  // A modal file-save dialog, same conventions as OpenFileName. When
  // `selectedFilter` is given, the dialog starts with that filter (one of
  // `filter`'s ";;"-separated entries) chosen and it receives the one chosen.
  virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& startDir, QString* selectedFilter = nullptr) = 0;

  // The directory picker, started at `startDir`. Returns the chosen directory,
  // or nothing when the user cancelled.
  virtual std::optional<QString> ChooseDirectory(QWidget* parent, const QString& startDir) = 0;

  // Plays a wave file to its end and returns then. The window keeps repainting
  // meanwhile but takes no input (its top-level window is disabled), so the
  // caller's page cannot be closed under it. Returns false when nothing could
  // be played (no such file, no audio device, unreadable sound).
  virtual bool PlaySound(QWidget* parent, const QString& path) = 0;

  // A modal list to choose one of `items` from, with a search field above it
  // that narrows the list to the items holding its text (letter case
  // ignored), in the item or in its entry of `hidden` (more text per item
  // that is searched but not shown). Returns the chosen item's index in
  // `items`, or nothing when cancelled. Services that show no lists cancel.
  virtual std::optional<int> ChooseFromList(QWidget* parent, const QString& title, const QString& label,
                                            const QStringList& items, const QStringList& hidden = {});
};

// Shows the core's messages through the GUI's message boxes over one window.
class ServicesMessageSink : public MessageSink {
 public:
  ServicesMessageSink(Services& services, QWidget* parent) : services_(services), parent_(parent) {}
  MessageAnswer Show(const std::string& title, const std::string& text, MessageButtons buttons) override;

 private:
  Services& services_;
  QWidget* parent_;
};

}  // namespace vorlane
