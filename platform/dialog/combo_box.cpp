#include "platform/dialog/combo_box.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/dialog/control_roles.h"
#include "platform/dialog/dialog.h"
#include "platform/dialog/painter.h"
#include "platform/dialog/scroll_bar.h"

namespace zov {
namespace {

// The height of the closed field in dialog units; the rest of the template's height is the
// opened list, one row per 8 dialog units.
constexpr int kFieldHeight = 12;

const char* TextArgument(LPARAM lParam) {
    return reinterpret_cast<const char*>(lParam);
}

}  // namespace

ComboBox::ComboBox(const ControlTemplate& control)
    : Window(WindowKind::ComboBox, control.id, control.style, control.exStyle, ""),
      list_((control.style & CBS_SORT) != 0),
      listRows_(std::max((control.cy - kFieldHeight) / 8, 1)) {}

std::string ComboBox::Normalised(const char* text) const {
    std::string value = text;
    if ((Style() & CBS_UPPERCASE) != 0) {
        for (char& c : value) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    } else if ((Style() & CBS_LOWERCASE) != 0) {
        for (char& c : value) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return value;
}

int ComboBox::DroppedRows() const {
    return std::max(std::min(listRows_, list_.Count()), 1);
}

void ComboBox::ShowDropDown(bool show) {
    if (show == dropped_) {
        return;
    }
    if (show) {
        if (Parent() != nullptr) {
            Parent()->Notify(this, CBN_DROPDOWN);
        }
        dropped_ = true;
        selectionAtDrop_ = list_.Selection();
        list_.ShowSelection(DroppedRows());
    } else {
        dropped_ = false;
        if (Parent() != nullptr) {
            Parent()->Notify(this, CBN_CLOSEUP);
        }
    }
}

void ComboBox::CloseUp(bool cancel) {
    if (!dropped_) {
        return;
    }
    if (cancel && list_.Selection() != selectionAtDrop_) {
        list_.Select(selectionAtDrop_);
        if (Parent() != nullptr) {
            Parent()->Notify(this, CBN_SELCHANGE);
        }
    }
    ShowDropDown(false);
}

void ComboBox::SelectByUser(int index) {
    const int before = list_.Selection();
    if (index < 0 || !list_.Select(index)) {
        return;
    }
    list_.ShowSelection(DroppedRows());
    if (index != before && Parent() != nullptr) {
        Parent()->Notify(this, CBN_SELCHANGE);
    }
}

LRESULT ComboBox::Message(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(static_cast<LONG_PTR>(wParam));
    switch (msg) {
        case CB_ADDSTRING:
        case CB_INSERTSTRING: {
            if (TextArgument(lParam) == nullptr) {
                return CB_ERR;
            }
            const std::string text = Normalised(TextArgument(lParam));
            const int result = msg == CB_ADDSTRING ? list_.Add(text) : list_.Insert(index, text);
            if (result == StringList::kErrorSpace) {
                if (Parent() != nullptr) {
                    Parent()->Notify(this, CBN_ERRSPACE);
                }
                return CB_ERRSPACE;
            }
            return result;
        }
        case CB_DELETESTRING:
            return list_.Remove(index);
        case CB_RESETCONTENT:
            list_.Clear();
            return CB_OKAY;
        case CB_GETCOUNT:
            return list_.Count();
        case CB_GETCURSEL:
            return list_.Selection() >= 0 ? list_.Selection() : CB_ERR;
        case CB_SETCURSEL:
            // An index out of range, or -1, clears the selection and answers CB_ERR.
            if (!list_.Valid(index)) {
                list_.Select(-1);
                return CB_ERR;
            }
            list_.Select(index);
            list_.ShowSelection(DroppedRows());
            return index;
        case CB_GETLBTEXT: {
            char* buffer = reinterpret_cast<char*>(lParam);
            if (!list_.Valid(index) || buffer == nullptr) {
                return CB_ERR;
            }
            const std::string& text = list_.At(index);
            std::memcpy(buffer, text.c_str(), text.size() + 1);
            return static_cast<LRESULT>(text.size());
        }
        case CB_GETLBTEXTLEN:
            return list_.Valid(index) ? static_cast<LRESULT>(list_.At(index).size()) : CB_ERR;
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
        case CB_SELECTSTRING: {
            if (TextArgument(lParam) == nullptr) {
                return CB_ERR;
            }
            const int found = list_.Find(index, TextArgument(lParam), msg == CB_FINDSTRINGEXACT);
            if (found >= 0 && msg == CB_SELECTSTRING) {
                list_.Select(found);
                list_.ShowSelection(DroppedRows());
            }
            return found >= 0 ? found : CB_ERR;
        }
        case CB_SHOWDROPDOWN:
            ShowDropDown(wParam != 0);
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return dropped_ ? TRUE : FALSE;
        case CB_LIMITTEXT:
            return TRUE;  // no edit field to limit
        case WM_SETTEXT: {
            // A drop-down list shows only its entries: the text selects the matching one.
            const int found = TextArgument(lParam) != nullptr
                                  ? list_.Find(-1, TextArgument(lParam), true)
                                  : StringList::kError;
            if (found < 0) {
                return CB_ERR;
            }
            list_.Select(found);
            return TRUE;
        }
        case WM_GETTEXT:
            return CopyOut(list_.Selection() >= 0 ? list_.At(list_.Selection()) : "", wParam,
                           lParam);
        case WM_GETTEXTLENGTH:
            return list_.Selection() >= 0 ? static_cast<LRESULT>(list_.At(list_.Selection()).size())
                                          : 0;
        default:
            return Window::Message(msg, wParam, lParam);
    }
}

void ComboBox::Draw(Painter& painter, const ControlLook& look) const {
    const CellRect area = Rect().Offset(look.originX, look.originY);
    const CellRole face = FieldRole(*this, look);
    painter.Fill({area.x, area.y, area.width, 1}, U' ', face);
    if (list_.Selection() >= 0) {
        std::string text = list_.At(list_.Selection());
        const int room = std::max(area.width - 3, 0);
        if (static_cast<int>(text.size()) > room) {
            text.resize(static_cast<std::size_t>(room));
        }
        // Focused, the chosen entry shows selected, as the platform draws a drop-down list.
        const CellRole textRole = look.focused && Enabled() ? SelectionRole(look) : face;
        painter.Fill({area.x, area.y, std::max(area.width - 1, 0), 1}, U' ', textRole);
        painter.Text(area.x + 1, area.y, text, textRole);
    }
    painter.Put(area.Right() - 1, area.y, U'▼', Enabled() ? CellRole::ScrollBar : face);
}

CellRect ComboBox::DroppedRect(int fieldX, int fieldY, int screenWidth, int screenHeight) const {
    CellRect where{fieldX, fieldY + 1, Rect().width, DroppedRows() + 2};
    if (where.Bottom() > screenHeight && fieldY - where.height >= 0) {
        where.y = fieldY - where.height;  // no room below: open upwards
    }
    where.y = std::max(std::min(where.y, screenHeight - where.height), 0);
    where.x = std::max(std::min(where.x, screenWidth - where.width), 0);
    return where;
}

void ComboBox::DrawDropped(Painter& painter, const CellRect& where) const {
    painter.Frame(where, CellRole::Frame);
    const int rows = where.height - 2;
    const bool scroll = list_.Count() > rows;
    const int textWidth = where.width - 2;
    for (int row = 0; row < rows; ++row) {
        const int item = list_.Top() + row;
        const CellRole role =
            item == list_.Selection() ? CellRole::SelectionFocused : CellRole::FieldFocused;
        painter.Fill({where.x + 1, where.y + 1 + row, textWidth, 1}, U' ', role);
        if (list_.Valid(item)) {
            std::string text = list_.At(item);
            if (static_cast<int>(text.size()) > textWidth) {
                text.resize(static_cast<std::size_t>(std::max(textWidth, 0)));
            }
            painter.Text(where.x + 1, where.y + 1 + row, text, role);
        }
    }
    if (scroll) {
        ScrollBar::Draw(painter, where.Right() - 1, where.y + 1, rows, list_.Top(), list_.Count(),
                        rows, true);
    }
}

void ComboBox::DroppedMouse(const MouseEvent& mouse, int x, int y, const CellRect& where) {
    const int rows = where.height - 2;
    if (mouse.action == MouseAction::WheelUp || mouse.action == MouseAction::WheelDown) {
        list_.SetTop(list_.Top() + (mouse.action == MouseAction::WheelUp ? -3 : 3), rows);
        return;
    }
    if (mouse.button != 1 || y < 1 || y > rows) {
        return;
    }
    if (list_.Count() > rows && x == where.width - 1) {
        if (mouse.action == MouseAction::Press) {
            list_.SetTop(
                list_.Top() + ScrollBar::ClickDelta(y - 1, rows, list_.Top(), list_.Count(), rows),
                rows);
        }
        return;
    }
    if (mouse.action == MouseAction::Release) {
        const int item = list_.Top() + (y - 1);
        if (list_.Valid(item)) {
            SelectByUser(item);
            ShowDropDown(false);
        }
    }
}

bool ComboBox::Key(const KeyEvent& key) {
    const bool toggle = (key.key == Key::F4 && !key.alt) ||
                        (key.alt && (key.key == Key::Down || key.key == Key::Up));
    if (toggle) {
        if (dropped_) {
            CloseUp(false);
        } else {
            ShowDropDown(true);
        }
        return true;
    }
    if (dropped_) {
        if (key.key == Key::Enter) {
            CloseUp(false);
            return true;
        }
        if (key.key == Key::Escape) {
            CloseUp(true);
            return true;
        }
    }
    if (key.alt || key.ctrl) {
        return false;
    }
    const int target = list_.NavigationTarget(key, dropped_ ? DroppedRows() : 1);
    if (target == -2) {
        return false;
    }
    if (target >= 0) {
        SelectByUser(target);
    }
    return true;
}

void ComboBox::Mouse(const MouseEvent& mouse, int x, int y) {
    if (mouse.action == MouseAction::Press && mouse.button == 1 && y == 0 && x >= 0 &&
        x < Rect().width) {
        if (dropped_) {
            CloseUp(false);
        } else {
            ShowDropDown(true);
        }
    } else if (mouse.action == MouseAction::WheelUp || mouse.action == MouseAction::WheelDown) {
        KeyEvent step;
        step.key = mouse.action == MouseAction::WheelUp ? Key::Up : Key::Down;
        Key(step);
    }
}

void ComboBox::FocusChanged(bool focused, bool /*viaKeyboard*/) {
    if (!focused) {
        CloseUp(false);
    }
}

}  // namespace zov
