// What running instances of the program know of each other, and the one place
// for the system calls this takes: the process's id, whether a process runs,
// and exclusive locks on files, which the system drops when their process
// ends however it ends (a crash, a kill), so that a lock that can be taken
// belongs to no running instance.
#pragma once

#include <filesystem>

namespace vorlane {

long long CurrentProcessId();

// Whether a process with this id runs. Only a fallback where files cannot be
// locked: a process id may be reused.
bool ProcessRuns(long long pid);

class FileLock {
 public:
  enum class State { Held, Busy, Failed };

  FileLock() = default;
  ~FileLock() { Release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Opens `path`, creating it, and locks it exclusively without waiting:
  // Busy when another holder has it (another process, or another FileLock of
  // this one), Failed when the file cannot be opened or locked at all.
  State TryLock(const std::filesystem::path& path);
  bool Held() const;
  // Unlocks and closes; with `remove` the file is deleted too.
  void Release(bool remove = false);

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
  std::filesystem::path path_;
};

}  // namespace vorlane
