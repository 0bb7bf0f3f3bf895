// Files of zovreg: .reg files read a piece at a time, and an export that replaces its file whole.
#pragma once

#include <functional>
#include <istream>
#include <string>
#include <string_view>

namespace zov::reg {

// Gives the next piece of a file in *piece: false at the end of the file, and false with *error
// set when it could not be read.
using ByteSource = std::function<bool(std::string* piece, std::string* error)>;

// A source over a file (closed when the last copy of the source ends) or over a stream. False
// with *error when the file cannot be opened or is a directory.
bool OpenFileSource(const std::string& path, ByteSource* source, std::string* error);
ByteSource StreamSource(std::istream& in, std::string shown_name);
ByteSource StringSource(std::string_view bytes);

// Replaces the file at path: the bytes go to a new temporary file in the same directory, are
// flushed to disk and renamed over path by Commit. A reader sees the old file or the new one,
// never half of it, and a symbolic link at path is replaced rather than written through. The new
// file keeps the mode of the regular file it replaces (a 0600 backup stays 0600), else gets 0666
// less the umask. Without Commit the temporary file is removed and path stays as it was.
class FileReplacement {
  public:
    explicit FileReplacement(std::string path) : path_(std::move(path)) {}
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool Open(std::string* error);
    bool Write(std::string_view bytes, std::string* error);
    bool Commit(std::string* error);

  private:
    void Abandon();

    std::string path_;
    std::string temporary_;
    int fd_ = -1;
};

}  // namespace zov::reg
