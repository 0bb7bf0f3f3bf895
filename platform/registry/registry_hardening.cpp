#include "platform/registry/registry_hardening.h"

#include "platform/format.h"
#include "platform/registry/registry_failure.h"
#include "platform/registry/saved_key_format.h"

namespace zov {
namespace {

// The progress handler runs every kStepsPerCheck steps of the virtual machine.
constexpr int kStepsPerCheck = 10000;
// Room in one row besides its value data: the value's name and its folded form.
constexpr int kRowRoom = 1 << 20;
constexpr int kRowLengthLimit = static_cast<int>(kMaxValueDataSize) + kRowRoom;

// Steps counted since the statement running now began; one connection per process, used under
// the registry's mutex.
long long steps_of_statement = 0;

int CountStatementStart(unsigned /*type*/, void* /*context*/, void* /*statement*/, void* /*sql*/) {
    steps_of_statement = 0;
    return 0;
}

int StopRunawayStatement(void* /*context*/) {
    steps_of_statement += kStepsPerCheck;
    return steps_of_statement > kStatementStepLimit ? 1 : 0;
}

bool SetSwitch(sqlite3* db, int option, int wanted) {
    int now = -1;
    return sqlite3_db_config(db, option, wanted, &now) == SQLITE_OK && now == wanted;
}

}  // namespace

LSTATUS HardenRegistryConnection(sqlite3* db, const std::string& path) {
    struct Switch {
        int option;
        int wanted;
        const char* name;
    };
    static constexpr Switch kSwitches[] = {
        {SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, "triggers off"},
        {SQLITE_DBCONFIG_ENABLE_VIEW, 0, "views off"},
        {SQLITE_DBCONFIG_DEFENSIVE, 1, "defensive mode"},
        {SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, "untrusted schema"},
        {SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, "no extensions"},
    };
    for (const Switch& entry : kSwitches) {
        if (!SetSwitch(db, entry.option, entry.wanted)) {
            return RefuseRegistry(
                ERROR_CANTOPEN, path,
                FormatText("the connection could not be secured (%s)", entry.name));
        }
    }
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kRowLengthLimit);
    if (sqlite3_limit(db, SQLITE_LIMIT_LENGTH, -1) != kRowLengthLimit) {
        return RefuseRegistry(ERROR_CANTOPEN, path,
                              "the connection could not be secured (length limit)");
    }
    if (sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &CountStatementStart, nullptr) != SQLITE_OK) {
        return RefuseRegistry(ERROR_CANTOPEN, path,
                              "the connection could not be secured (statement bound)");
    }
    sqlite3_progress_handler(db, kStepsPerCheck, &StopRunawayStatement, nullptr);
    return ERROR_SUCCESS;
}

}  // namespace zov
