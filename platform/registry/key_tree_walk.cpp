#include "platform/registry/key_tree_walk.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry/key_name.h"
#include "platform/registry/opened_key.h"
#include "platform/registry/registry_call.h"
#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_queries.h"
#include "platform/registry/sqlite_statement.h"

namespace zov {
namespace {

// One open list of subkeys per level of the walk: the memory of a walk grows with the depth of
// the tree (at most kMaxKeyDepth), never with its size.
class TreeWalk {
  public:
    TreeWalk(sqlite3* db, KeyTreeVisitor& visitor) : db_(db), visitor_(visitor) {}

    LSTATUS Run(std::int64_t root, bool recursive) {
        LSTATUS status = VisitKey(root, 0);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        status = OpenSubkeys(root);
        while (status == ERROR_SUCCESS && !levels_.empty()) {
            Level& level = levels_.back();
            const int rc = level.subkeys->Step();
            if (rc == SQLITE_DONE) {
                path_.resize(level.path_length);
                levels_.pop_back();
                continue;
            }
            if (rc != SQLITE_ROW) {
                return Fail(rc);
            }
            const std::int64_t key = level.subkeys->ColumnInt(0);
            path_.resize(level.path_length);
            if (!path_.empty()) {
                path_ += '\\';
            }
            path_ += level.subkeys->ColumnText(1);
            if (!recursive) {
                status = visitor_.OnKey(path_, 1);
                continue;
            }
            if (levels_.size() > kMaxKeyDepth) {
                return ERROR_REGISTRY_CORRUPT;  // a loop of keys: the tables are damaged
            }
            status = VisitKey(key, levels_.size());
            if (status == ERROR_SUCCESS) {
                status = OpenSubkeys(key);
            }
        }
        return status;
    }

  private:
    struct Level {
        std::unique_ptr<SqliteStatement> subkeys;
        std::size_t path_length;  // of the parent's path, to cut back to when the level ends
    };

    LSTATUS Fail(int rc) { return RegistryConnection::Instance().StatusFromSqlite(rc); }

    LSTATUS VisitKey(std::int64_t key, std::size_t depth) {
        LSTATUS status = visitor_.OnKey(path_, depth);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        SqliteStatement values(db_, queries::kValuesOfKey);
        if (!values.Prepared()) {
            return Fail(values.ResultCode());
        }
        values.BindInt(1, key);
        int rc = SQLITE_ROW;
        while (status == ERROR_SUCCESS && (rc = values.Step()) == SQLITE_ROW) {
            sqlite3_stmt* row = values.Get();
            const auto* name = static_cast<const char*>(sqlite3_column_blob(row, 0));
            const auto name_size = static_cast<std::size_t>(sqlite3_column_bytes(row, 0));
            const auto type = static_cast<DWORD>(sqlite3_column_int64(row, 1));
            const auto* data = static_cast<const BYTE*>(sqlite3_column_blob(row, 2));
            const auto data_size = static_cast<std::size_t>(sqlite3_column_bytes(row, 2));
            status = visitor_.OnValue(std::string_view(name == nullptr ? "" : name, name_size),
                                      type, data, data_size);
        }
        if (status == ERROR_SUCCESS && rc != SQLITE_DONE) {
            return Fail(rc);
        }
        return status;
    }

    LSTATUS OpenSubkeys(std::int64_t key) {
        auto subkeys = std::make_unique<SqliteStatement>(db_, queries::kSubkeysOfKey);
        if (!subkeys->Prepared()) {
            return Fail(subkeys->ResultCode());
        }
        subkeys->BindInt(1, key);
        levels_.push_back(Level{std::move(subkeys), path_.size()});
        return ERROR_SUCCESS;
    }

    sqlite3* db_;
    KeyTreeVisitor& visitor_;
    std::vector<Level> levels_;
    std::string path_;
};

}  // namespace

LSTATUS WalkKeyTree(HKEY hKey, bool recursive, KeyTreeVisitor& visitor) {
    std::lock_guard lock(RegistryConnection::Instance().Mutex());
    OpenedKey key;
    LSTATUS status = ResolveAuthorizedKey(hKey, KEY_READ, &key);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryCall call(RegistryCall::Kind::kRead);
    status = call.StatusOn(key);
    if (status == ERROR_SUCCESS) {
        // A registry that does not exist yet is its root alone.
        status = call.Db() == nullptr ? visitor.OnKey("", 0)
                                      : TreeWalk(call.Db(), visitor).Run(key.id, recursive);
    }
    return call.Finish(status);
}

}  // namespace zov
