#include "zovreg/terminal_confirmation.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/posix_file.h"

namespace zov::reg {

std::optional<bool> ConfirmOnTerminal(const std::string& question) {
    // The terminal itself rather than stdin/stderr, which a script may have redirected.
    const UniqueFd tty(open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY));
    if (!tty.Valid()) {
        return std::nullopt;
    }
    const std::string prompt = question + " ";
    if (!WriteAll(tty.Get(), prompt.data(), prompt.size())) {
        return std::nullopt;
    }
    std::string answer;
    char c = 0;
    while (RetryOnInterrupt([&] { return read(tty.Get(), &c, 1); }) > 0 && c != '\n') {
        answer.push_back(c);
    }
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
