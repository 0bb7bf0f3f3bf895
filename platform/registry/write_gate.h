// The one way a statement that changes the registry database is run. Keeping every write on one
// path lets tests interrupt the registry at an exact write: with ZOVCFG_FAULT_AT_WRITE=k set,
// the k-th write of the process either fails as an I/O error (ZOVCFG_FAULT_MODE=fail, the
// default) or kills the process on the spot (ZOVCFG_FAULT_MODE=kill). Unset, nothing changes.
// The variables are read, and writes counted from zero, each time the database is opened.
// Only test programs read them: they link the build of this file with ZOV_FAULT_INJECTION (the
// target zovfaultinjection), which takes the place of the one in zovplatform.
#pragma once

#include <sqlite3.h>

namespace zov {

// Reads the fault variables again and restarts the count of writes.
void ReloadWriteFaultPlan();

// Steps a prepared write statement to completion: SQLITE_DONE or an error code.
int ExecuteWrite(sqlite3_stmt* statement);

// Runs one SQL text that writes (COMMIT, schema statements): SQLITE_OK or an error code.
int ExecuteWriteSql(sqlite3* db, const char* sql);

}  // namespace zov
