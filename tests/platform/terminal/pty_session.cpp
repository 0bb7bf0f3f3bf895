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
#include <system_error>

namespace zov::test {

namespace {

void AppendUtf8(std::string& out, uint32_t ch) {
    const int tail = ch < 0x80 ? 0 : ch < 0x800 ? 1 : ch < 0x10000 ? 2 : 3;
    const uint32_t lead = tail == 0 ? 0 : (0xff00U >> (tail + 1)) & 0xffU;
    out.push_back(static_cast<char>(lead | (ch >> (6 * tail))));
    for (int i = tail - 1; i >= 0; --i) {
        out.push_back(static_cast<char>(0x80U | ((ch >> (6 * i)) & 0x3fU)));
    }
}

winsize SizeOf(int width, int height) {
    winsize size{};
    size.ws_col = static_cast<unsigned short>(width);
    size.ws_row = static_cast<unsigned short>(height);
    return size;
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
    callbacks_.settermprop = OnTermProp;
    vterm_screen_set_callbacks(screen_, &callbacks_, this);
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

int PtySession::OnTermProp(VTermProp prop, VTermValue* value, void* user) {
    auto* self = static_cast<PtySession*>(user);
    if (prop == VTERM_PROP_CURSORVISIBLE) {
        self->cursor_visible_ = value->boolean != 0;
    } else if (prop == VTERM_PROP_ALTSCREEN) {
        self->alt_screen_ = value->boolean != 0;
    }
    return 1;
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

bool PtySession::MouseReporting() const {
    bool on = false;
    for (std::size_t at = transcript_.find("\x1b[?"); at != std::string::npos;
         at = transcript_.find("\x1b[?", at + 1)) {
        const std::size_t last = transcript_.find_first_not_of("0123456789;", at + 3);
        if (last == std::string::npos || (transcript_[last] != 'h' && transcript_[last] != 'l')) {
            continue;
        }
        const std::string modes = ";" + transcript_.substr(at + 3, last - at - 3) + ";";
        for (const char* mode : {";1000;", ";1002;", ";1003;"}) {
            on = modes.find(mode) != std::string::npos ? transcript_[last] == 'h' : on;
        }
    }
    return on;
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
        const VTermScreenCell cell = CellAt(x, y);
        if (cell.width != 0) {
            AppendUtf8(text, cell.chars[0] == 0 ? U' ' : cell.chars[0]);
        }
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
