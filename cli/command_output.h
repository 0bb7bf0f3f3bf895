// What a card command prints: its data as text or as one JSON object on standard output, and
// its messages for people on standard error.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

namespace zov::cli {

// The version of the JSON schema; it only grows, and grows this number when it does.
inline constexpr int kJsonSchemaVersion = 1;

// Text from the registry made safe for a terminal: control characters and bytes that are not
// printable ASCII are shown as \xNN, a backslash as two.
std::string EscapeForTerminal(const std::string& text);

class CommandOutput {
  public:
    CommandOutput(std::string command, bool json, std::ostream& out, std::ostream& err)
        : command_(std::move(command)), json_(json), out_(out), err_(err) {}

    bool Json() const { return json_; }
    std::ostream& Text() { return out_; }

    // A new JSON object with the schema version and the command's name (null when the command
    // line named none).
    nlohmann::json Object() const;
    // Prints a JSON object on standard output (nothing in text mode).
    void PrintJson(const nlohmann::json& object);
    // A message for people on standard error, each line as "zovcfg: <command>: <line>".
    void Message(const std::string& message);

    // A failure: its message to standard error and, with --json, an object with its kind,
    // message and the caption of the dialogs' message box that shows the same text (null when
    // there is none) to standard output. Returns exitCode.
    int Fail(int exitCode, const char* kind, const std::string& message,
             const std::string& caption = "",
             const nlohmann::json& extra = nlohmann::json::object());

  private:
    std::string command_;
    bool json_;
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace zov::cli
