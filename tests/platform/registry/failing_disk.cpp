#include "failing_disk.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/registry/registry_database.h"

namespace zov::test {
namespace {

struct Plan {
    int failAt = 0;
    int writes = 0;
    int failure = SQLITE_OK;
};
Plan plan;

// The methods of one kind of file with xWrite replaced; first, so that a file's pMethods leads
// back to the real xWrite.
struct WrappedMethods {
    sqlite3_io_methods methods;
    int (*realWrite)(sqlite3_file*, const void*, int, sqlite3_int64);
};

int FailingWrite(sqlite3_file* file, const void* data, int size, sqlite3_int64 offset) {
    if (++plan.writes == plan.failAt) {
        return plan.failure;
    }
    const auto* wrapped = reinterpret_cast<const WrappedMethods*>(file->pMethods);
    return wrapped->realWrite(file, data, size, offset);
}

sqlite3_vfs* RealVfs() {
    static sqlite3_vfs* real = sqlite3_vfs_find(nullptr);
    return real;
}

int FailingOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* out) {
    static std::map<const sqlite3_io_methods*, WrappedMethods> wrappers;
    const int rc = RealVfs()->xOpen(RealVfs(), name, file, flags, out);
    if (rc == SQLITE_OK && file->pMethods != nullptr) {
        auto [at, added] = wrappers.try_emplace(file->pMethods);
        if (added) {
            at->second = {*file->pMethods, file->pMethods->xWrite};
            at->second.methods.xWrite = FailingWrite;
        }
        file->pMethods = &at->second.methods;
    }
    return rc;
}

sqlite3_vfs MakeFailingVfs() {
    sqlite3_vfs vfs = *RealVfs();
    vfs.zName = "zov-failing-disk";
    vfs.xOpen = FailingOpen;
    return vfs;
}

}  // namespace

void FailDiskWriteAt(int k, int failure) {
    // The default from the first use on: with no write to fail it only counts.
    static sqlite3_vfs failing = MakeFailingVfs();
    static const int registered = sqlite3_vfs_register(&failing, 1);
    EXPECT_EQ(registered, SQLITE_OK);
    CloseRegistryDatabase();
    plan = {k, 0, failure};
}

int DiskWrites() {
    return plan.writes;
}

}  // namespace zov::test
