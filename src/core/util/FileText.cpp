#include "util/FileText.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "util/Platform.h"

namespace vorlane {

bool ReadWholeFile(const std::filesystem::path& path, std::uintmax_t maxBytes, std::string_view tooLarge,
                   std::string& text, std::string& error) {
  const std::string opening = "cannot open \"" + Utf8FromPath(path) + "\": ";
  // A path that does not exist falls through to the opening, which names the reason.
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  std::string refusal = std::filesystem::is_directory(status) ? "it is a directory"
                        : std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)
                            ? "it is not a regular file"
                            : "";
  std::uintmax_t size = refusal.empty() ? std::filesystem::file_size(path, ec) : 0;
  if (ec) size = 0;
  if (size > maxBytes) refusal = tooLarge;
  if (!refusal.empty()) {
    error = opening + refusal;
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = opening + std::strerror(errno);
    return false;
  }
  // Read in pieces up to one byte past the limit, in case the file grew meanwhile.
  text.clear();
  text.reserve(static_cast<std::size_t>(std::min(size, maxBytes)));
  std::array<char, 65536> piece;
  while (in && text.size() <= maxBytes) {
    in.read(piece.data(), piece.size());
    text.append(piece.data(), static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) {
    error = "cannot read \"" + Utf8FromPath(path) + "\"";
    return false;
  }
  if (text.size() > maxBytes) {
    error = opening + std::string(tooLarge);
    return false;
  }
  return true;
}

}  // namespace vorlane
