#include "util/InstanceLock.h"

#include <system_error>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vorlane {

#ifdef _WIN32

long long CurrentProcessId() { return static_cast<long long>(GetCurrentProcessId()); }

bool ProcessRuns(long long pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;  // it runs, as someone else
  DWORD code = 0;
  const bool runs = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  CloseHandle(process);
  return runs;
}

FileLock::State FileLock::TryLock(const std::filesystem::path& path) {
  Release();
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return State::Failed;
  OVERLAPPED at{};
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
    const DWORD error = GetLastError();
    CloseHandle(file);
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? State::Busy : State::Failed;
  }
  handle_ = file;
  path_ = path;
  return State::Held;
}

bool FileLock::Held() const { return handle_ != nullptr; }

void FileLock::Release(bool remove) {
  if (!handle_) return;
  OVERLAPPED at{};
  UnlockFileEx(handle_, 0, 1, 0, &at);
  CloseHandle(handle_);
  handle_ = nullptr;
  std::error_code ec;
  if (remove) std::filesystem::remove(path_, ec);
}

#else

long long CurrentProcessId() { return static_cast<long long>(getpid()); }

bool ProcessRuns(long long pid) {
  if (pid <= 0) return false;
  return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;  // EPERM: it runs, as someone else
}

FileLock::State FileLock::TryLock(const std::filesystem::path& path) {
  Release();
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return State::Failed;
  // flock, not fcntl: its lock belongs to this open file, so that two locks
  // in one process exclude each other and closing another descriptor of the
  // file drops nothing.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(fd);
    return error == EWOULDBLOCK || error == EAGAIN ? State::Busy : State::Failed;
  }
  fd_ = fd;
  path_ = path;
  return State::Held;
}

bool FileLock::Held() const { return fd_ >= 0; }

void FileLock::Release(bool remove) {
  if (fd_ < 0) return;
  // Removed while still held, so that no one locks the old file meanwhile.
  std::error_code ec;
  if (remove) std::filesystem::remove(path_, ec);
  close(fd_);
  fd_ = -1;
}

#endif

}  // namespace vorlane
