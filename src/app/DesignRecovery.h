// Recovery copies of unsaved designs (generate/RecoveryFolder.h): while a
// design has unsaved changes, a copy of it as the page shown would save it is
// written to the state folder a few seconds after the last change; once it
// has none (saved, undone, discarded), the copy goes. A normal end, after the
// question about unsaved changes, removes every copy of this instance; a
// crash or a kill leaves them, and the next start offers them:
// "Vorlane was closed without saving your design …" Restore or Discard. A box
// closed without either keeps the copies for the start after.
#pragma once

#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "generate/RecoveryFolder.h"

namespace vorlane {

class HQ;

class DesignRecovery : public QObject {
  Q_OBJECT

 public:
  // The pause after the last change before the copies are written.
  static constexpr int kDelayMs = 3000;

  DesignRecovery(HQ& hq, const std::filesystem::path& folder);
  // Keeps the copies unless the program was allowed to end (a crash keeps
  // them too).
  ~DesignRecovery() override;

  bool IsOpen() const { return folder_.IsOpen(); }
  const std::filesystem::path& Folder() const { return folder_.Folder(); }

  // Offers the copies that instances gone left behind, the last written
  // first; a restored design ends the offers (the rest wait for the next
  // start).
  void OfferOrphans();

  // A design may have changed: the copies are written after the pause.
  void Changed();
  // Whether a write waits for the pause to end.
  bool Pending() const { return timer_.isActive(); }
  // Writes (or removes) the copy of each design now, off the GUI thread (a
  // large design takes a while to write); Wait() waits until that is done.
  void Flush();
  void Wait();
  // The program ends normally: every copy of this instance goes.
  void Close();

 private:
  HQ& hq_;
  // Used by one worker at a time, in the order the work was given.
  RecoveryFolder folder_;
  QThreadPool worker_;
  QTimer timer_;
  bool closed_ = false;
};

}  // namespace vorlane
