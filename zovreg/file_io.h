// Whole-file reads and writes for .reg files.
#pragma once

#include <string>
#include <string_view>

namespace zov::reg {

// .reg files larger than this are refused rather than read into memory.
inline constexpr std::size_t kMaxRegFileSize = std::size_t{256} << 20;

// Reads a whole regular file (or pipe) of at most kMaxRegFileSize bytes. False with *error.
bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error);

// Replaces the file at path: the bytes go to a new temporary file in the same directory, are
// flushed to disk and renamed over path. A reader sees the old file or the new one, never half
// of it, and a symbolic link at path is replaced rather than written through. The new file gets
// the mode 0666 less the umask. False with *error, leaving path as it was.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string* error);

}  // namespace zov::reg
