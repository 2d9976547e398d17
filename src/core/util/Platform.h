// What differs between the operating systems for file names, the command line
// and the standard streams. The core keeps every text, file names included, as
// UTF-8; on Windows a path is UTF-16 inside, and a plain std::string would be
// read in the ANSI code page, so every crossing goes through these functions.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vorlane {

// The path named by UTF-8 text, and back.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

// std::fopen for any file name. `mode` may hold 'x' (create, never reuse an
// existing file) where it follows "w".
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// Creates a new file beside `target`, named as it with ".tmp" and a random
// number, for writing bytes as they are; never an existing file. Sets
// `temporary` to its name. Null, with errno set, when none can be made.
std::FILE* CreateFileBeside(const std::filesystem::path& target, std::filesystem::path& temporary);

// Renames `from` to `to`, replacing a file already named `to` in one step
// (std::filesystem::rename refuses that on Windows with this compiler).
void MoveFileOver(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error);

// The command-line arguments, the program's name first, as UTF-8: on Windows
// from the wide command line, elsewhere argv as it is.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Sets the standard streams up for a command-line tool: on Windows the console
// shows UTF-8, and standard output and error pass bytes unchanged (no LF to
// CR LF), so that output redirected to a file is the same as on Linux.
void PrepareStandardStreams();

}  // namespace vorlane
