// Preloaded into a benchmark (LD_PRELOAD) to count the disk syncs and the committed write
// transactions of the registry database: every fsync and fdatasync, and every deletion of a
// rollback journal ("...-journal"), which SQLite does once at the end of each write transaction
// in the journal mode the registry uses. The benchmark reads the counts through the two
// functions below, looked up with dlsym, and reports none when the library is not preloaded.
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace {

std::atomic<unsigned long> syncCount{0};
std::atomic<unsigned long> journalCount{0};

template <typename Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool IsJournal(const char* path) {
    static constexpr const char kSuffix[] = "-journal";
    const std::size_t length = path == nullptr ? 0 : std::strlen(path);
    return length >= sizeof kSuffix - 1 &&
           std::strcmp(path + length - (sizeof kSuffix - 1), kSuffix) == 0;
}

}  // namespace

extern "C" {

unsigned long ZovBenchSyncCount() {
    return syncCount.load();
}
unsigned long ZovBenchJournalCount() {
    return journalCount.load();
}

int fsync(int fd) {
    static const auto next = Next<int (*)(int)>("fsync");
    ++syncCount;
    return next(fd);
}

int fdatasync(int fd) {
    static const auto next = Next<int (*)(int)>("fdatasync");
    ++syncCount;
    return next(fd);
}

int unlink(const char* path) {
    static const auto next = Next<int (*)(const char*)>("unlink");
    if (IsJournal(path)) {
        ++journalCount;
    }
    return next(path);
}

}  // extern "C"
