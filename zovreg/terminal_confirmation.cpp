#include "zovreg/terminal_confirmation.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace zov::reg {

std::optional<bool> ConfirmOnTerminal(const std::string& question) {
    // The terminal itself rather than stdin/stderr, which a script may have redirected.
    const int tty = open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (tty < 0) {
        return std::nullopt;
    }
    const std::string prompt = question + " ";
    std::size_t sent = 0;
    while (sent < prompt.size()) {
        const ssize_t written = write(tty, prompt.data() + sent, prompt.size() - sent);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            close(tty);
            return std::nullopt;
        }
        sent += static_cast<std::size_t>(written);
    }
    std::string answer;
    char c = 0;
    while (true) {
        const ssize_t got = read(tty, &c, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0 || c == '\n') {
            break;
        }
        answer.push_back(c);
    }
    close(tty);
    while (!answer.empty() && (answer.back() == '\r' || answer.back() == ' ')) {
        answer.pop_back();
    }
    for (char& letter : answer) {
        if (letter >= 'A' && letter <= 'Z') {
            letter = static_cast<char>(letter - 'A' + 'a');
        }
    }
    return answer == "y" || answer == "yes";
}

}  // namespace zov::reg
