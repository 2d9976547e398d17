#include "generate/RecoveryFolder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

#include "util/Platform.h"

namespace vorlane {

namespace {

constexpr const char* kLock = ".lock";
constexpr const char* kCopy = ".vorlane.json";
constexpr const char* kOrigin = ".origin";

const char* KindName(DesignKind kind) { return kind == DesignKind::Component ? "component" : "facility"; }

// Writes `text` to a fresh file beside `path` and puts it in its place.
bool WriteAtomically(const std::filesystem::path& path, const std::string& text, std::string& error) {
  std::filesystem::path temporary;
  std::FILE* file = CreateFileBeside(path, temporary);
  if (!file) {
    error = "cannot create a file beside " + Utf8FromPath(path.filename()) + ": " + std::strerror(errno);
    return false;
  }
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  written = std::fclose(file) == 0 && written;
  std::error_code ec;
  if (!written) {
    error = "cannot write " + Utf8FromPath(temporary.filename());
    std::filesystem::remove(temporary, ec);
    return false;
  }
  MoveFileOver(temporary, path, ec);
  if (ec) {
    error = ec.message();
    std::filesystem::remove(temporary, ec);
    return false;
  }
  return true;
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::string RecoveryFolder::NewInstanceName() {
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  return std::to_string(CurrentProcessId()) + "-" + std::to_string(now.count());
}

RecoveryFolder::RecoveryFolder(std::filesystem::path folder, std::string instance)
    : folder_(std::move(folder)), instance_(std::move(instance)) {}

bool RecoveryFolder::Open(std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  if (ec) {
    error = ec.message();
    return false;
  }
  if (lock_.TryLock(folder_ / (instance_ + kLock)) != FileLock::State::Held) {
    error = "cannot lock " + Utf8FromPath(folder_ / (instance_ + kLock));
    return false;
  }
  return true;
}

std::filesystem::path RecoveryFolder::CopyPath(const std::string& instance, DesignKind kind) const {
  return folder_ / (instance + "." + KindName(kind) + kCopy);
}

std::filesystem::path RecoveryFolder::OriginPath(const std::string& instance, DesignKind kind) const {
  return folder_ / (instance + "." + KindName(kind) + kOrigin);
}

template <class Record>
bool RecoveryFolder::WriteCopy(const Record& record, DesignKind kind, const std::string& origin, std::string& error) {
  if (!IsOpen()) {
    error = "the recovery folder is not open";
    return false;
  }
  // The origin first: a copy found always has the origin it was written with.
  return WriteAtomically(OriginPath(instance_, kind), origin, error) &&
         SaveDesignFile(CopyPath(instance_, kind), record, error);
}

bool RecoveryFolder::Write(const vrlComponent& record, const std::string& origin, std::string& error) {
  return WriteCopy(record, DesignKind::Component, origin, error);
}

bool RecoveryFolder::Write(const vrlFacility& record, const std::string& origin, std::string& error) {
  return WriteCopy(record, DesignKind::Facility, origin, error);
}

void RecoveryFolder::Remove(DesignKind kind) {
  std::error_code ec;
  std::filesystem::remove(CopyPath(instance_, kind), ec);
  std::filesystem::remove(OriginPath(instance_, kind), ec);
}

bool RecoveryFolder::Has(DesignKind kind) const {
  std::error_code ec;
  return std::filesystem::exists(CopyPath(instance_, kind), ec);
}

void RecoveryFolder::RemoveFilesOf(const std::string& instance) const {
  // Temporary files a write left behind when its process died go too.
  const std::string prefix = instance + ".";
  const std::string lock = instance + kLock;
  std::error_code ec;
  std::vector<std::filesystem::path> files;
  for (const auto& item : std::filesystem::directory_iterator(folder_, ec)) {
    const std::string name = Utf8FromPath(item.path().filename());
    if (name.compare(0, prefix.size(), prefix) == 0 && name != lock) files.push_back(item.path());
  }
  for (const std::filesystem::path& file : files) std::filesystem::remove(file, ec);
}

void RecoveryFolder::Close() {
  if (!IsOpen()) return;
  RemoveFilesOf(instance_);
  lock_.Release(true);
}

std::vector<Orphan> RecoveryFolder::FindOrphans() {
  std::vector<Orphan> orphans;
  // The instances with copies, and lock files left without any.
  std::map<std::string, bool> instances;  // name -> has copies
  std::error_code ec;
  for (const auto& item : std::filesystem::directory_iterator(folder_, ec)) {
    const std::string name = Utf8FromPath(item.path().filename());
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos || dot == 0) continue;
    const std::string instance = name.substr(0, dot);
    if (instance == instance_) continue;
    if (EndsWith(name, kCopy)) {
      instances[instance] = true;
    } else if (EndsWith(name, kLock)) {
      instances.emplace(instance, false);
    }
  }
  for (const auto& [instance, hasCopies] : instances) {
    auto lock = std::make_shared<FileLock>();
    const FileLock::State state = lock->TryLock(folder_ / (instance + kLock));
    if (state == FileLock::State::Busy) continue;  // it runs
    if (state == FileLock::State::Failed) {
      // Without locks, the process id decides.
      if (ProcessRuns(std::atoll(instance.c_str()))) continue;
      lock.reset();
    }
    if (!hasCopies) {
      if (lock) lock->Release(true);
      continue;
    }
    Orphan orphan{instance, std::nullopt, std::nullopt, lock};
    for (DesignKind kind : {DesignKind::Component, DesignKind::Facility}) {
      const std::filesystem::path copy = CopyPath(instance, kind);
      if (!std::filesystem::exists(copy, ec)) continue;
      std::string error;
      std::optional<Design> design = LoadDesignFile(copy, error);
      if (!design || design->kind != kind) continue;
      RecoveredCopy found{std::move(*design), ReadText(OriginPath(instance, kind)),
                          std::filesystem::last_write_time(copy, ec)};
      (kind == DesignKind::Component ? orphan.component : orphan.facility) = std::move(found);
    }
    if (orphan.component || orphan.facility) orphans.push_back(std::move(orphan));
  }
  auto latest = [](const Orphan& o) {
    std::filesystem::file_time_type time{};
    for (const auto* copy : {&o.component, &o.facility}) {
      if (*copy) time = std::max(time, (*copy)->written);
    }
    return time;
  };
  std::stable_sort(orphans.begin(), orphans.end(),
                   [&](const Orphan& a, const Orphan& b) { return latest(a) > latest(b); });
  return orphans;
}

void RecoveryFolder::Delete(Orphan& orphan) {
  RemoveFilesOf(orphan.instance);
  std::error_code ec;
  if (orphan.lock) {
    orphan.lock->Release(true);
  } else {
    std::filesystem::remove(folder_ / (orphan.instance + kLock), ec);
  }
  orphan.component.reset();
  orphan.facility.reset();
}

}  // namespace vorlane
