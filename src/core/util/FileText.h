// Reading a whole file into memory, as the design and game data readers do:
// only a regular file, and only up to a size, so that a named pipe, a device
// or a huge file is refused at once instead of blocking or exhausting memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace vorlane {

// The bytes of the regular file `path` into `text` when it holds at most
// `maxBytes`. Otherwise false, and `error` names the file and why:
// "cannot open "<path>": it is a directory", "…: it is not a regular file",
// "…: " + `tooLarge`, "…: " + the system's reason, or "cannot read "<path>"".
bool ReadWholeFile(const std::filesystem::path& path, std::uintmax_t maxBytes, std::string_view tooLarge,
                   std::string& text, std::string& error);

}  // namespace vorlane
