#include "pty_session.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <system_error>

namespace zov::test {

namespace {

winsize SizeOf(int width, int height) {
    return {static_cast<unsigned short>(height), static_cast<unsigned short>(width), 0, 0};
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

PtySession::PtySession(const Options& options) {
    vterm_ = vterm_new(options.height, options.width);
    vterm_set_utf8(vterm_, 1);
    vterm_output_set_callback(vterm_, OnOutput, this);
    screen_ = vterm_obtain_screen(vterm_);
    vterm_screen_enable_altscreen(screen_, 1);
    vterm_screen_reset(screen_, 1);

    // Everything the child needs is prepared before fork: after it, only exec.
    std::vector<std::string> environment = options.environment;
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name)) {
            environment.push_back(std::string(name) + "=" + value);
        }
    }
    std::vector<std::string> arguments = {options.program};
    arguments.insert(arguments.end(), options.arguments.begin(), options.arguments.end());
    const std::vector<char*> envp = Pointers(environment);
    const std::vector<char*> argv = Pointers(arguments);
    winsize size = SizeOf(options.width, options.height);
    pid_ = forkpty(&master_, nullptr, nullptr, &size);
    if (pid_ < 0) {
        throw std::system_error(errno, std::generic_category(), "forkpty");
    }
    if (pid_ == 0) {
        // Programs killed by SIGSEGV on purpose leave no core files behind.
        const rlimit no_core{0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtySession::~PtySession() {
    if (!status_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) {
        close(master_);
    }
    vterm_free(vterm_);
}

void PtySession::OnOutput(const char* bytes, size_t length, void* user) {
    auto* self = static_cast<PtySession*>(user);
    if (self->master_ >= 0) {
        [[maybe_unused]] ssize_t ignored = write(self->master_, bytes, length);
    }
}

bool PtySession::ReadOnce(int timeout_ms) {
    pollfd ready{master_, POLLIN, 0};
    if (master_ < 0 || poll(&ready, 1, timeout_ms) <= 0) {
        return false;
    }
    std::string buffer(4096, '\0');
    const ssize_t got = read(master_, buffer.data(), buffer.size());
    if (got <= 0) {
        return false;
    }
    transcript_.append(buffer, 0, static_cast<std::size_t>(got));
    vterm_input_write(vterm_, buffer.data(), static_cast<std::size_t>(got));
    return true;
}

bool PtySession::WaitForText(const std::string& text, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Screen().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        ReadOnce(50);
    }
    // The text may arrive before the rest of the same screen update: read until quiet.
    while (std::chrono::steady_clock::now() < deadline && ReadOnce(50)) {
    }
    return true;
}

void PtySession::Send(const std::string& bytes) {
    [[maybe_unused]] ssize_t ignored = write(master_, bytes.data(), bytes.size());
}

void PtySession::Resize(int width, int height) {
    const winsize size = SizeOf(width, height);
    vterm_set_size(vterm_, height, width);
    ioctl(master_, TIOCSWINSZ, &size);
}

void PtySession::Signal(int signal_number) {
    kill(pid_, signal_number);
}

void PtySession::CloseTerminal() {
    close(master_);
    master_ = -1;
}

std::optional<int> PtySession::WaitExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (!status_) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
        } else if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        } else if (!ReadOnce(10) && master_ < 0) {
            usleep(10000);
        }
    }
    // The program's last bytes are still queued in the terminal.
    while (ReadOnce(0)) {
    }
    return status_;
}

std::map<std::string, char> PtySession::PrivateModes() const {
    static const std::regex kPrivateMode("\x1b\\[\\?([0-9;]+)([hl])");
    std::map<std::string, char> last;
    for (auto it = std::sregex_iterator(transcript_.begin(), transcript_.end(), kPrivateMode);
         it != std::sregex_iterator(); ++it) {
        std::stringstream modes((*it)[1].str());
        for (std::string mode; std::getline(modes, mode, ';');) {
            last[mode] = (*it)[2].str()[0];
        }
    }
    return last;
}

VTermScreenCell PtySession::CellAt(int x, int y) const {
    VTermScreenCell cell{};
    vterm_screen_get_cell(screen_, VTermPos{y, x}, &cell);
    return cell;
}

VTermPos PtySession::Cursor() const {
    VTermPos position{};
    vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &position);
    return position;
}

std::string PtySession::Row(int y) const {
    int cols = 0;
    vterm_get_size(vterm_, nullptr, &cols);
    std::string text;
    for (int x = 0; x < cols; ++x) {
        std::string cell(4 * VTERM_MAX_CHARS_PER_CELL, '\0');
        cell.resize(vterm_screen_get_text(screen_, cell.data(), cell.size(),
                                          VTermRect{y, y + 1, x, x + 1}));
        text += cell.empty() ? " " : cell;
    }
    return text;
}

std::string PtySession::Screen() const {
    int rows = 0;
    vterm_get_size(vterm_, &rows, nullptr);
    std::string text;
    for (int y = 0; y < rows; ++y) {
        text += Row(y) + '\n';
    }
    return text;
}

}  // namespace zov::test
