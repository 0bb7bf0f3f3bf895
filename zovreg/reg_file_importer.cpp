#include "zovreg/reg_file_importer.h"

#include "platform/format.h"
#include "platform/win32/registry.h"
#include "platform/win32/scoped_key.h"
#include "zovreg/key_path.h"
#include "zovreg/status_text.h"

namespace zov::reg {
namespace {

// Deleting what is not there leaves the registry as the file wants it.
LSTATUS NotFoundIsDone(LSTATUS status) {
    if (status == ERROR_FILE_NOT_FOUND) {
        return ERROR_SUCCESS;
    }
    return status;
}

LSTATUS ApplyOne(const RegOperation& operation, ScopedKey* current, std::string* action) {
    switch (operation.kind) {
        case RegOperation::Kind::kCreateKey:
            *action = "cannot create " + FullKeyName(operation.key_path);
            return RegCreateKeyExA(HKEY_LOCAL_MACHINE, operation.key_path.c_str(), 0, nullptr,
                                   REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                   current->Receive(), nullptr);
        case RegOperation::Kind::kDeleteKey: {
            current->Close();
            *action = "cannot delete " + FullKeyName(operation.key_path);
            return NotFoundIsDone(RegDeleteTreeA(HKEY_LOCAL_MACHINE, operation.key_path.c_str()));
        }
        case RegOperation::Kind::kSetValue:
            *action = FormatText("cannot set the value \"%s\" of %s", operation.value_name.c_str(),
                                 FullKeyName(operation.key_path).c_str());
            return RegSetValueExA(current->Get(), operation.value_name.c_str(), 0, operation.type,
                                  operation.data.empty() ? nullptr : operation.data.data(),
                                  static_cast<DWORD>(operation.data.size()));
        case RegOperation::Kind::kDeleteValue: {
            *action =
                FormatText("cannot delete the value \"%s\" of %s", operation.value_name.c_str(),
                           FullKeyName(operation.key_path).c_str());
            return NotFoundIsDone(RegDeleteValueA(current->Get(), operation.value_name.c_str()));
        }
    }
    return ERROR_INVALID_PARAMETER;
}

}  // namespace

bool ImportRegOperations(const std::vector<RegOperation>& operations, ImportFailure* failure) {
    RegistryTransaction transaction;
    if (transaction.Status() != ERROR_SUCCESS) {
        failure->line = 0;
        failure->what =
            "cannot start a registry transaction: " + DescribeRegistryStatus(transaction.Status());
        return false;
    }
    {
        ScopedKey current;  // the key of the section being applied
        for (const RegOperation& operation : operations) {
            std::string action;
            const LSTATUS status = ApplyOne(operation, &current, &action);
            if (status != ERROR_SUCCESS) {
                failure->line = operation.line;
                failure->what = action + ": " + DescribeRegistryStatus(status);
                return false;
            }
        }
    }
    const LSTATUS status = transaction.Commit();
    if (status != ERROR_SUCCESS) {
        failure->line = 0;
        failure->what = "the registry did not take the changes: " + DescribeRegistryStatus(status);
        return false;
    }
    return true;
}

}  // namespace zov::reg
