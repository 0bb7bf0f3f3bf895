#include "platform/dialog/template_lookup.h"

#include <cctype>

namespace zov {

bool TemplateLookup::ParseId(LPCSTR name, int* id) {
    if (name == nullptr) {
        return false;
    }
    if (IS_INTRESOURCE(name)) {
        *id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
        return true;
    }
    if (name[0] != '#' || name[1] == '\0') {
        return false;
    }
    long value = 0;
    for (const char* p = name + 1; *p != '\0'; ++p) {
        if (!std::isdigit(static_cast<unsigned char>(*p)) || value > 0xFFFF) {
            return false;
        }
        value = value * 10 + (*p - '0');
    }
    if (value > 0xFFFF) {
        return false;
    }
    *id = static_cast<int>(value);
    return true;
}

const DialogTemplate* TemplateLookup::Find(HINSTANCE module, LPCSTR name) {
    int id = 0;
    const DialogTemplate* found = nullptr;
    if (module != nullptr && ParseId(name, &id)) {
        found = static_cast<const ResourceModule*>(module)->FindDialog(id);
    }
    if (found == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    return found;
}

}  // namespace zov
