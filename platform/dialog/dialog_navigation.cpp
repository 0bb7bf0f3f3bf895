#include "platform/dialog/dialog_navigation.h"

#include <cctype>

#include "platform/dialog/radio_button.h"

namespace zov {

Window* DialogNavigation::NextTabItem(const Dialog& dialog, Window* from, bool previous) {
    const auto& controls = dialog.Controls();
    const int count = static_cast<int>(controls.size());
    if (count == 0) {
        return nullptr;
    }
    int index = dialog.IndexOf(from);
    if (index < 0) {
        index = previous ? 0 : count - 1;
    }
    for (int step = 1; step <= count; ++step) {
        const int at = ((index + (previous ? -step : step)) % count + count) % count;
        Window* candidate = controls[static_cast<std::size_t>(at)].get();
        if ((candidate->Style() & WS_TABSTOP) != 0 && candidate->CanTakeFocus()) {
            return candidate;
        }
    }
    return from;
}

void DialogNavigation::GroupBounds(const Dialog& dialog, int index, int* first, int* end) {
    const auto& controls = dialog.Controls();
    const int count = static_cast<int>(controls.size());
    int start = index;
    while (start > 0 && (controls[static_cast<std::size_t>(start)]->Style() & WS_GROUP) == 0) {
        --start;
    }
    int stop = index + 1;
    while (stop < count && (controls[static_cast<std::size_t>(stop)]->Style() & WS_GROUP) == 0) {
        ++stop;
    }
    *first = start;
    *end = stop;
}

Window* DialogNavigation::NextGroupItem(const Dialog& dialog, Window* from, bool previous) {
    const int index = dialog.IndexOf(from);
    if (index < 0) {
        return nullptr;
    }
    int first = 0;
    int end = 0;
    GroupBounds(dialog, index, &first, &end);
    const int size = end - first;
    for (int step = 1; step < size; ++step) {
        const int offset = ((index - first + (previous ? -step : step)) % size + size) % size;
        Window* candidate =
            dialog.Controls()[static_cast<std::size_t>(first) + static_cast<std::size_t>(offset)]
                .get();
        if (candidate->CanTakeFocus()) {
            return candidate;
        }
    }
    return from;
}

Window* DialogNavigation::TabEntry(const Dialog& dialog, Window* target) {
    if (target == nullptr || target->Kind() != WindowKind::RadioButton) {
        return target;
    }
    const auto* radio = static_cast<RadioButton*>(target);
    if (!radio->IsRadio() || radio->Check() == BST_CHECKED) {
        return target;
    }
    int first = 0;
    int end = 0;
    GroupBounds(dialog, dialog.IndexOf(target), &first, &end);
    for (int i = first; i < end; ++i) {
        Window* candidate = dialog.Controls()[static_cast<std::size_t>(i)].get();
        if (candidate->Kind() == WindowKind::RadioButton && candidate->CanTakeFocus() &&
            static_cast<RadioButton*>(candidate)->Check() == BST_CHECKED) {
            return candidate;
        }
    }
    return target;
}

Window* DialogNavigation::MnemonicOwner(const Dialog& dialog, char letter) {
    const auto& controls = dialog.Controls();
    const int count = static_cast<int>(controls.size());
    const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (count == 0 || wanted == 0) {
        return nullptr;
    }
    const int start = dialog.IndexOf(dialog.Focus());  // -1: from the first control
    for (int step = 1; step <= count; ++step) {
        const int at = (start + step + count) % count;
        Window* candidate = controls[static_cast<std::size_t>(at)].get();
        if (candidate->Visible() && candidate->Enabled() && candidate->Mnemonic() == wanted) {
            return candidate;
        }
    }
    return nullptr;
}

}  // namespace zov
