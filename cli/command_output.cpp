#include "cli/command_output.h"

#include "platform/format.h"

namespace zov::cli {

std::string EscapeForTerminal(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            escaped += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7F) {
            escaped += FormatText("\\x%02X", static_cast<unsigned>(byte));
        } else {
            escaped += c;
        }
    }
    return escaped;
}

nlohmann::json CommandOutput::Object() const {
    return {{"version", kJsonSchemaVersion},
            {"command", command_.empty() ? nlohmann::json() : nlohmann::json(command_)}};
}

void CommandOutput::PrintJson(const nlohmann::json& object) {
    if (!json_) {
        return;
    }
    // Names from the registry need not be UTF-8: such bytes become U+FFFD rather than an error.
    out_ << object.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

void CommandOutput::Message(const std::string& message) {
    // Each line of a message carries the prefix, so that a log reader sees whose it is.
    std::string line;
    for (const char c : message + "\n") {
        if (c == '\n') {
            err_ << "zovcfg: " << (command_.empty() ? "" : command_ + ": ")
                 << EscapeForTerminal(line) << '\n';
            line.clear();
        } else {
            line += c;
        }
    }
}

int CommandOutput::Fail(int exitCode, const char* kind, const std::string& message,
                        const std::string& caption, const nlohmann::json& extra) {
    Message(message);
    if (json_) {
        nlohmann::json object = Object();
        object["changed"] = false;
        object["error"] = {
            {"kind", kind},
            {"message", message},
            {"caption", caption.empty() ? nlohmann::json() : nlohmann::json(caption)}};
        object.update(extra);
        PrintJson(object);
    }
    return exitCode;
}

}  // namespace zov::cli
