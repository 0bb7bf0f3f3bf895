#include "zovreg/reg_file_importer.h"

#include "platform/format.h"
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

LSTATUS CreateKey(HKEY parent, const std::string& path, ScopedKey* key) {
    return RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, key->Receive(), nullptr);
}

}  // namespace

bool RegFileImporter::Start(std::string* what) {
    if (transaction_.Status() != ERROR_SUCCESS) {
        *what =
            "cannot start a registry transaction: " + DescribeRegistryStatus(transaction_.Status());
        return false;
    }
    return true;
}

// Files list sibling keys one after the other, so the parent of the last section is kept open:
// the next sibling is then one lookup away instead of a walk from the root.
LSTATUS RegFileImporter::OpenSection(const std::string& key_path) {
    const std::size_t slash = key_path.rfind('\\');
    const std::string parent_path =
        slash == std::string::npos ? std::string() : key_path.substr(0, slash);
    const std::string name = slash == std::string::npos ? key_path : key_path.substr(slash + 1);
    if (parent_.Get() == nullptr || parent_path != parent_path_) {
        parent_.Close();
        parent_path_.clear();
        if (parent_path.empty()) {
            return CreateKey(HKEY_LOCAL_MACHINE, key_path, &current_);
        }
        const LSTATUS status = CreateKey(HKEY_LOCAL_MACHINE, parent_path, &parent_);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        parent_path_ = parent_path;
    }
    return CreateKey(parent_.Get(), name, &current_);
}

LSTATUS RegFileImporter::ApplyOne(const RegOperation& operation, std::string* action) {
    switch (operation.kind) {
        case RegOperation::Kind::kCreateKey:
            *action = "cannot create " + FullKeyName(operation.key_path);
            return OpenSection(operation.key_path);
        case RegOperation::Kind::kDeleteKey: {
            current_.Close();
            parent_.Close();  // it may be inside the deleted tree
            *action = "cannot delete " + FullKeyName(operation.key_path);
            return NotFoundIsDone(RegDeleteTreeA(HKEY_LOCAL_MACHINE, operation.key_path.c_str()));
        }
        case RegOperation::Kind::kSetValue:
            *action = FormatText("cannot set the value \"%s\" of %s", operation.value_name.c_str(),
                                 FullKeyName(operation.key_path).c_str());
            return RegSetValueExA(current_.Get(), operation.value_name.c_str(), 0, operation.type,
                                  operation.data.empty() ? nullptr : operation.data.data(),
                                  static_cast<DWORD>(operation.data.size()));
        case RegOperation::Kind::kDeleteValue: {
            *action =
                FormatText("cannot delete the value \"%s\" of %s", operation.value_name.c_str(),
                           FullKeyName(operation.key_path).c_str());
            return NotFoundIsDone(RegDeleteValueA(current_.Get(), operation.value_name.c_str()));
        }
    }
    return ERROR_INVALID_PARAMETER;
}

bool RegFileImporter::Apply(const RegOperation& operation, std::string* what) {
    std::string action;
    const LSTATUS status = ApplyOne(operation, &action);
    if (status != ERROR_SUCCESS) {
        *what = action + ": " + DescribeRegistryStatus(status);
        return false;
    }
    return true;
}

bool RegFileImporter::Commit(std::string* what) {
    current_.Close();
    parent_.Close();
    const LSTATUS status = transaction_.Commit();
    if (status != ERROR_SUCCESS) {
        *what = "the registry did not take the changes: " + DescribeRegistryStatus(status);
        return false;
    }
    return true;
}

}  // namespace zov::reg
