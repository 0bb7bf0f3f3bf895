// Times zovcfg from its start until the card list is drawn, in a pseudo-terminal.
//
// Usage: startup_probe ZOVCFG REGISTRY_DB [RUNS]
//
// Each run starts the utility on the given registry in an 80x25 pty, waits until its output holds
// the first card row ("Card1"), takes that time, presses Escape to close it and collects its peak
// resident memory: ru_maxrss of the child from wait4, and VmHWM read while the list is shown.
// Prints one JSON object with the start-up times in milliseconds and the largest peaks in KiB.
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/format.h"
#include "platform/posix_file.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kMark = "Card1";
constexpr auto kDeadline = std::chrono::seconds(10);
constexpr int kPollMilliseconds = 50;

struct Run {
    std::optional<double> drawnAfterMs;
    long peakKib = 0;
    long highWaterKib = 0;
};

// VmHWM of the process in KiB: its own peak, unlike ru_maxrss, which after exec also remembers
// the peak of the forked probe the child was before it. 0 when it cannot be read.
long ResidentHighWater(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:")) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return 0;
}

// The child: the utility on the given registry, with the environment of a terminal user and
// without the sync counter that the benchmarks preload.
[[noreturn]] void StartUtility(const char* program, const char* registry) {
    setenv("TERM", "xterm-256color", 1);
    setenv("ZOVCFG_REGISTRY", registry, 1);
    unsetenv("LD_PRELOAD");
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
}

std::optional<Run> RunOnce(const char* program, const char* registry) {
    const Clock::time_point started = Clock::now();
    winsize size{};
    size.ws_row = 25;
    size.ws_col = 80;
    int terminal = -1;
    const pid_t pid = forkpty(&terminal, nullptr, nullptr, &size);
    if (pid < 0) {
        std::perror("startup_probe: forkpty");
        return std::nullopt;
    }
    if (pid == 0) {
        StartUtility(program, registry);
    }
    zov::UniqueFd owned(terminal);
    const Clock::time_point deadline = started + kDeadline;
    Run run;
    std::string output;
    std::vector<char> chunk(65536);
    rusage usage{};
    bool finished = false;
    while (!finished && Clock::now() < deadline) {
        pollfd ready{terminal, POLLIN, 0};
        if (zov::RetryOnInterrupt([&] { return poll(&ready, 1, kPollMilliseconds); }) > 0) {
            const ssize_t got =
                zov::RetryOnInterrupt([&] { return read(terminal, chunk.data(), chunk.size()); });
            if (got <= 0) {
                break;  // the child closed the terminal (EIO on Linux)
            }
            output.append(chunk.data(), static_cast<std::size_t>(got));
            if (!run.drawnAfterMs && output.find(kMark) != std::string::npos) {
                run.drawnAfterMs =
                    std::chrono::duration<double, std::milli>(Clock::now() - started).count();
                run.highWaterKib = ResidentHighWater(pid);
                // Escape closes the card list; if it cannot be sent, the deadline ends the run.
                zov::WriteAll(terminal, "\x1b", 1);
            }
        }
        finished =
            zov::RetryOnInterrupt([&] { return wait4(pid, nullptr, WNOHANG, &usage); }) == pid;
    }
    if (!finished) {
        if (Clock::now() >= deadline) {
            kill(pid, SIGKILL);
        }
        if (zov::RetryOnInterrupt([&] { return wait4(pid, nullptr, 0, &usage); }) != pid) {
            std::perror("startup_probe: wait4");
            return std::nullopt;
        }
    }
    run.peakKib = usage.ru_maxrss;
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const long runs = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 10;
    if (argc < 3 || argc > 4 || runs < 1) {
        std::fputs("usage: startup_probe ZOVCFG REGISTRY_DB [RUNS, default 10]\n", stderr);
        return 2;
    }
    std::vector<double> times;
    long peakKib = 0;
    long highWaterKib = 0;
    for (long i = 0; i < runs; ++i) {
        const std::optional<Run> run = RunOnce(argv[1], argv[2]);
        if (!run) {
            return 1;
        }
        if (!run->drawnAfterMs) {
            std::fputs(zov::FormatText("startup_probe: the card list was never drawn (is %s a "
                                       "zovcfg and %s a registry with cards?)\n",
                                       argv[1], argv[2])
                           .c_str(),
                       stderr);
            return 1;
        }
        times.push_back(*run->drawnAfterMs);
        peakKib = std::max(peakKib, run->peakKib);
        highWaterKib = std::max(highWaterKib, run->highWaterKib);
    }
    const nlohmann::ordered_json result = {
        {"startup_ms_median", Median(times)},
        {"startup_ms_min", *std::min_element(times.begin(), times.end())},
        {"startup_ms_max", *std::max_element(times.begin(), times.end())},
        {"peak_kib", peakKib},
        {"high_water_kib", highWaterKib},
        {"runs", runs},
    };
    std::puts(result.dump().c_str());
    return 0;
}
