// Recovery copies of unsaved designs, kept in the state folder
// (settings/StateFolder.h) by every running instance
// under its own name:
//
//   <instance>.lock                  held locked while the instance runs
//   <instance>.component.vorlane.json   the design as a design file
//   <instance>.component.origin      the file it was opened from (UTF-8; may be empty)
//
// and the same for "facility"; an instance is named "<pid>-<start time>", so
// that a reused process id never meets an old name. Each file is written to a
// fresh name and then put in place, so a copy is whole or absent. The copies
// of an instance whose lock can be taken belong to no running instance (it
// crashed or was killed): they are orphans, which a new instance offers to
// restore; it holds the orphan's lock meanwhile, so that two new instances
// never take the same copies.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "generate/DesignFile.h"
#include "util/InstanceLock.h"

namespace vorlane {

struct RecoveredCopy {
  Design design;
  std::string origin;  // the design file it came from, or empty
  std::filesystem::file_time_type written;
};

struct Orphan {
  std::string instance;
  std::optional<RecoveredCopy> component;
  std::optional<RecoveredCopy> facility;
  std::shared_ptr<FileLock> lock;  // the gone instance's lock, held for this one
};

class RecoveryFolder {
 public:
  // A fresh instance name for this process.
  static std::string NewInstanceName();

  explicit RecoveryFolder(std::filesystem::path folder, std::string instance = NewInstanceName());
  // Keeps the copies, as a crash would; Close() removes them.
  ~RecoveryFolder() = default;

  // Creates the folder and locks this instance's name. False (with the
  // reason) when that cannot be done: no copies are kept then.
  bool Open(std::string& error);
  bool IsOpen() const { return lock_.Held(); }
  const std::filesystem::path& Folder() const { return folder_; }

  // Writes this instance's copy of the record's kind, replacing the last.
  bool Write(const vrlComponent& record, const std::string& origin, std::string& error);
  bool Write(const vrlFacility& record, const std::string& origin, std::string& error);
  void Remove(DesignKind kind);
  bool Has(DesignKind kind) const;
  // A normal end: removes this instance's copies and lock.
  void Close();

  // The copies of instances that are gone, the last written first, each
  // locked for this instance until it is deleted or dropped. A copy that
  // cannot be read stays where it is and is not offered.
  std::vector<Orphan> FindOrphans();
  // Deletes an orphan's files (restored or discarded).
  void Delete(Orphan& orphan);

 private:
  std::filesystem::path CopyPath(const std::string& instance, DesignKind kind) const;
  std::filesystem::path OriginPath(const std::string& instance, DesignKind kind) const;
  // Every file of `instance` but its lock.
  void RemoveFilesOf(const std::string& instance) const;
  template <class Record>
  bool WriteCopy(const Record& record, DesignKind kind, const std::string& origin, std::string& error);

  std::filesystem::path folder_;
  std::string instance_;
  FileLock lock_;
};

}  // namespace vorlane
