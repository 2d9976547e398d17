// A scratch folder of a test below the system's temporary folder, removed
// again with the object.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

namespace vorlane::testing {

class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> serial{0};
    root_ = std::filesystem::temp_directory_path() /
            ("vorlane-test-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Path() const { return root_; }
  // The folder `relative` below the root, created with its parents.
  std::string Dir(const std::string& relative) const {
    std::filesystem::create_directories(root_ / relative);
    return (root_ / relative).string();
  }
  // Writes `text` to the file `relative` below the root, folders included.
  std::filesystem::path Write(const std::string& relative, const std::string& text = "x") const {
    const std::filesystem::path file = root_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

 private:
  std::filesystem::path root_;
};

}  // namespace vorlane::testing
