#include "platform/registry/write_gate.h"

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct FaultPlan {
    std::uint64_t at_write = 0;  // 0: no fault
    bool kill = false;
};

#ifdef ZOV_FAULT_INJECTION
FaultPlan ReadFaultPlan() {
    FaultPlan plan;
    const char* at = std::getenv("ZOVCFG_FAULT_AT_WRITE");
    if (at == nullptr || *at == '\0') {
        return plan;
    }
    char* end = nullptr;
    const unsigned long long value = std::strtoull(at, &end, 10);
    if (end == nullptr || *end != '\0') {
        return plan;
    }
    plan.at_write = value;
    const char* mode = std::getenv("ZOVCFG_FAULT_MODE");
    plan.kill = mode != nullptr && std::strcmp(mode, "kill") == 0;
    return plan;
}
#else
// The programs as installed: nothing in the environment can make the registry fail or die.
FaultPlan ReadFaultPlan() {
    return FaultPlan{};
}
#endif

FaultPlan plan;
std::uint64_t writes = 0;

// True when this write is the one the fault plan picks; kills the process in kill mode.
bool FaultHere() {
    if (plan.at_write == 0) {
        return false;
    }
    ++writes;
    if (writes != plan.at_write) {
        return false;
    }
    if (plan.kill) {
        if (std::raise(SIGKILL) != 0) {
            std::abort();
        }
    }
    return true;
}

}  // namespace

namespace zov {

void ReloadWriteFaultPlan() {
    plan = ReadFaultPlan();
    writes = 0;
}

int ExecuteWrite(sqlite3_stmt* statement) {
    if (FaultHere()) {
        sqlite3_reset(statement);
        return SQLITE_IOERR;
    }
    int rc = sqlite3_step(statement);
    while (rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
    }
    return rc;
}

int ExecuteWriteSql(sqlite3* db, const char* sql) {
    if (FaultHere()) {
        return SQLITE_IOERR;
    }
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

}  // namespace zov
