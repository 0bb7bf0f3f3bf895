#include "platform/dialog/string_list.h"

#include <algorithm>
#include <cctype>

namespace zov {
namespace {

int Upper(char c) {
    return std::toupper(static_cast<unsigned char>(c));
}

}  // namespace

int CompareWithoutCase(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int d = Upper(a[i]) - Upper(b[i]);
        if (d != 0) {
            return d;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool StartsWithoutCase(const std::string& text, const std::string& prefix) {
    if (prefix.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Upper(text[i]) != Upper(prefix[i])) {
            return false;
        }
    }
    return true;
}

int StringList::Add(const std::string& text) {
    if (!sorted_) {
        return Insert(-1, text);
    }
    int index = 0;
    while (index < Count() && CompareWithoutCase(At(index), text) <= 0) {
        ++index;
    }
    return Insert(index, text);
}

int StringList::Insert(int index, const std::string& text) {
    if (Count() >= kMaxItems) {
        return kErrorSpace;
    }
    if (index == -1) {
        index = Count();
    }
    if (index < 0 || index > Count()) {
        return kError;
    }
    items_.insert(items_.begin() + index, text);
    if (selection_ >= index) {
        ++selection_;
    }
    return index;
}

int StringList::Remove(int index) {
    if (!Valid(index)) {
        return kError;
    }
    items_.erase(items_.begin() + index);
    if (selection_ == index) {
        selection_ = -1;
    } else if (selection_ > index) {
        --selection_;
    }
    top_ = std::min(top_, std::max(0, Count() - 1));
    return Count();
}

void StringList::Clear() {
    items_.clear();
    selection_ = -1;
    top_ = 0;
}

int StringList::Find(int start, const std::string& text, bool exact) const {
    const int count = Count();
    if (count == 0) {
        return kError;
    }
    if (start < -1 || start >= count) {
        start = -1;
    }
    for (int step = 1; step <= count; ++step) {
        const int index = (start + step) % count;
        const bool match =
            exact ? CompareWithoutCase(At(index), text) == 0 : StartsWithoutCase(At(index), text);
        if (match) {
            return index;
        }
    }
    return kError;
}

int StringList::FindLetter(char letter) const {
    return Find(selection_, std::string(1, letter), false);
}

bool StringList::Select(int index) {
    if (index == -1) {
        selection_ = -1;
        return true;
    }
    if (!Valid(index)) {
        return false;
    }
    selection_ = index;
    return true;
}

void StringList::SetTop(int top, int rows) {
    const int highest = std::max(0, Count() - std::max(rows, 1));
    top_ = std::clamp(top, 0, highest);
}

void StringList::ShowSelection(int rows) {
    rows = std::max(rows, 1);
    if (selection_ < 0) {
        SetTop(top_, rows);
        return;
    }
    if (selection_ < top_) {
        top_ = selection_;
    } else if (selection_ >= top_ + rows) {
        top_ = selection_ - rows + 1;
    }
    SetTop(top_, rows);
}

int StringList::NavigationTarget(const KeyEvent& key, int rows) const {
    const int last = Count() - 1;
    if (last < 0) {
        return -2;
    }
    const int page = std::max(rows - 1, 1);
    const int current = selection_;
    switch (key.key) {
        case Key::Up:
            return current < 0 ? 0 : std::max(current - 1, 0);
        case Key::Down:
            return current < 0 ? 0 : std::min(current + 1, last);
        case Key::Home:
            return 0;
        case Key::End:
            return last;
        case Key::PageUp:
            return current < 0 ? 0 : std::max(current - page, 0);
        case Key::PageDown:
            return current < 0 ? std::min(page, last) : std::min(current + page, last);
        case Key::Character:
            if (!key.alt && !key.ctrl && key.ch > U' ' && key.ch < 0x100) {
                const int found = FindLetter(static_cast<char>(key.ch));
                return found >= 0 ? found : current;
            }
            return -2;
        default:
            return -2;
    }
}

}  // namespace zov
