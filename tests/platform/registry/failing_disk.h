// A disk that fails under SQLite: a VFS over the default one whose k-th file write answers an
// error, as a full or failing disk does. Unlike the registry's own write faults, which refuse a
// statement before it runs, SQLite meets this error inside the statement and may roll the whole
// transaction back itself.
#pragma once

#include <sqlite3.h>

namespace zov::test {

// Closes the registry database, so that it is opened again on the failing disk, and counts file
// writes from zero: the k-th write from now on answers `failure` (k = 0: none fails).
void FailDiskWriteAt(int k, int failure = SQLITE_IOERR_WRITE);

// The file writes since the last FailDiskWriteAt.
int DiskWrites();

}  // namespace zov::test
