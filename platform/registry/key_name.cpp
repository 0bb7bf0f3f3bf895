#include "platform/registry/key_name.h"

namespace zov {

std::string FoldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return folded;
}

LSTATUS SplitKeyPath(std::string_view path, std::vector<std::string>* components) {
    components->clear();
    if (path.empty()) {
        return ERROR_SUCCESS;
    }
    if (path.front() == '\\') {
        return ERROR_BAD_PATHNAME;
    }
    if (path.back() == '\\') {
        path.remove_suffix(1);
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = path.find('\\', start);
        const std::size_t stop = end == std::string_view::npos ? path.size() : end;
        const std::string_view part = path.substr(start, stop - start);
        if (part.empty() || part.size() > kMaxKeyNameLength) {
            components->clear();
            return ERROR_INVALID_PARAMETER;
        }
        components->emplace_back(part);
        if (components->size() > kMaxKeyDepth) {
            components->clear();
            return ERROR_INVALID_PARAMETER;
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return ERROR_SUCCESS;
}

}  // namespace zov
