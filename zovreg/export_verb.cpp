#include <optional>

#include "platform/registry/key_tree_walk.h"
#include "platform/win32/registry.h"
#include "zovreg/file_io.h"
#include "zovreg/key_path.h"
#include "zovreg/reg_file_writer.h"
#include "zovreg/status_text.h"
#include "zovreg/stored_key_path.h"
#include "zovreg/verbs.h"

namespace zov::reg {
namespace {

// Writes each key and value of the walk to the file as it comes. A failure of the writer stops
// the walk; its words are kept for the message.
class ExportVisitor : public KeyTreeVisitor {
  public:
    ExportVisitor(RegFileWriter& writer, std::string base)
        : writer_(writer), base_(std::move(base)) {}

    LSTATUS OnKey(std::string_view path, std::size_t) override {
        return Check(writer_.Key(JoinKeyPath(base_, std::string(path)), &error_));
    }
    LSTATUS OnValue(std::string_view name, DWORD type, const BYTE* data,
                    std::size_t size) override {
        return Check(writer_.Value(name, type, data, size, &error_));
    }
    const std::string& Error() const { return error_; }

  private:
    LSTATUS Check(bool written) { return written ? ERROR_SUCCESS : ERROR_WRITE_FAULT; }

    RegFileWriter& writer_;
    std::string base_;
    std::string error_;
};

}  // namespace

int RunExport(const CommandLine& command, ToolStreams& streams) {
    CodePage code_page;
    std::string error;
    if (!code_page.Open(command.code_page, &error)) {
        ReportError(streams, error);
        return 2;
    }
    std::optional<FileReplacement> file;
    if (command.file != "-") {
        file.emplace(command.file);
        if (!file->Open(&error)) {
            ReportError(streams, error);
            return 1;
        }
    }
    RegFileWriter writer(command.format, code_page, [&](std::string_view bytes, std::string* why) {
        if (file) {
            return file->Write(bytes, why);
        }
        streams.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!streams.out) {
            *why = "cannot write to standard output";
        }
        return static_cast<bool>(streams.out);
    });
    LSTATUS status = ERROR_SUCCESS;
    std::string write_error;
    {
        RegistryReadScope snapshot_scope;  // one consistent view of the subtree
        std::string stored;
        ScopedKey key;
        status = OpenStoredKey(command.key_path, &stored, &key);
        // Nothing is written before the key is known to exist.
        if (status == ERROR_SUCCESS && !writer.Begin(&write_error)) {
            status = ERROR_WRITE_FAULT;
        }
        if (status == ERROR_SUCCESS) {
            ExportVisitor visitor(writer, stored);
            status = WalkKeyTree(key.Get(), true, visitor);
            write_error = visitor.Error();
        }
    }
    if (!write_error.empty()) {
        ReportError(streams, write_error);
        return 1;
    }
    if (status != ERROR_SUCCESS) {
        ReportError(streams, FullKeyName(command.key_path) + ": " + DescribeRegistryStatus(status));
        return 1;
    }
    if (!writer.Finish(&error) || (file && !file->Commit(&error))) {
        ReportError(streams, error);
        return 1;
    }
    streams.out.flush();
    return 0;
}

}  // namespace zov::reg
