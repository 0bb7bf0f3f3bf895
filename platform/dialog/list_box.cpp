#include "platform/dialog/list_box.h"

#include <algorithm>
#include <cstring>

#include "platform/dialog/control_roles.h"
#include "platform/dialog/dialog.h"
#include "platform/dialog/painter.h"
#include "platform/dialog/scroll_bar.h"

namespace zov {
namespace {

constexpr int kDefaultTabStop = 32;  // dialog units, as Windows spaces tabs without stops

const char* TextArgument(LPARAM lParam) {
    return reinterpret_cast<const char*>(lParam);
}

}  // namespace

ListBox::ListBox(const ControlTemplate& control)
    : Window(WindowKind::ListBox, control.id, control.style, control.exStyle, control.text),
      list_((control.style & LBS_SORT) != 0),
      templateX_(control.x) {}

CellRect ListBox::Inner() const {
    const CellRect& r = Rect();
    if (HasBorder()) {
        return {1, 1, std::max(r.width - 2, 0), std::max(r.height - 2, 0)};
    }
    return {0, 0, r.width, r.height};
}

int ListBox::VisibleRows() const {
    return std::max(Inner().height, 1);
}

bool ListBox::ShowsScrollBar() const {
    return (Style() & WS_VSCROLL) != 0 &&
           (list_.Count() > VisibleRows() || (Style() & LBS_DISABLENOSCROLL) != 0);
}

int ListBox::TabStopColumn(int dialogUnits) const {
    // The same dialog-unit-to-cell rounding as the layout, so columns stay under headings.
    return (templateX_ + dialogUnits) / 4 - templateX_ / 4;
}

std::string ListBox::ExpandTabs(const std::string& text) const {
    if ((Style() & LBS_USETABSTOPS) == 0) {
        std::string plain = text;
        std::replace(plain.begin(), plain.end(), '\t', ' ');
        return plain;
    }
    std::string out;
    for (char c : text) {
        if (c != '\t') {
            out.push_back(c);
            continue;
        }
        const int column = static_cast<int>(out.size());
        int next = -1;
        if (tabStopsSet_ && tabStops_.size() > 1) {
            for (int stop : tabStops_) {
                if (TabStopColumn(stop) > column) {
                    next = TabStopColumn(stop);
                    break;
                }
            }
            if (next < 0) {
                next = column + 1;
            }
        } else {
            const int every = tabStops_.empty() ? kDefaultTabStop : std::max(tabStops_[0], 1);
            for (int k = 1; next < 0; ++k) {
                if (TabStopColumn(every * k) > column) {
                    next = TabStopColumn(every * k);
                }
            }
        }
        out.append(static_cast<std::size_t>(next - column), ' ');
    }
    return out;
}

void ListBox::SelectByUser(int index) {
    const int before = list_.Selection();
    if (index < 0 || !list_.Select(index)) {
        return;
    }
    list_.ShowSelection(VisibleRows());
    if (index != before && (Style() & LBS_NOTIFY) != 0 && Parent() != nullptr) {
        Parent()->Notify(this, LBN_SELCHANGE);
    }
}

void ListBox::Scroll(int rows) {
    list_.SetTop(list_.Top() + rows, VisibleRows());
}

LRESULT ListBox::Message(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(static_cast<LONG_PTR>(wParam));
    switch (msg) {
        case LB_ADDSTRING:
        case LB_INSERTSTRING: {
            if (TextArgument(lParam) == nullptr) {
                return LB_ERR;
            }
            const int result = msg == LB_ADDSTRING ? list_.Add(TextArgument(lParam))
                                                   : list_.Insert(index, TextArgument(lParam));
            if (result == StringList::kErrorSpace) {
                if (Parent() != nullptr && (Style() & LBS_NOTIFY) != 0) {
                    Parent()->Notify(this, LBN_ERRSPACE);
                }
                return LB_ERRSPACE;
            }
            return result;
        }
        case LB_DELETESTRING:
            return list_.Remove(index);
        case LB_RESETCONTENT:
            list_.Clear();
            return 0;
        case LB_GETCOUNT:
            return list_.Count();
        case LB_GETCURSEL:
            return list_.Selection() >= 0 ? list_.Selection() : LB_ERR;
        case LB_SETCURSEL:
            // -1 clears the selection and still answers LB_ERR, as Windows does.
            if (index == -1) {
                list_.Select(-1);
                return LB_ERR;
            }
            if (!list_.Select(index)) {
                return LB_ERR;
            }
            list_.ShowSelection(VisibleRows());
            return index;
        case LB_GETSEL:
            if (!list_.Valid(index)) {
                return LB_ERR;
            }
            return list_.Selection() == index ? 1 : 0;
        case LB_GETTEXT: {
            char* buffer = reinterpret_cast<char*>(lParam);
            if (!list_.Valid(index) || buffer == nullptr) {
                return LB_ERR;
            }
            const std::string& text = list_.At(index);
            std::memcpy(buffer, text.c_str(), text.size() + 1);
            return static_cast<LRESULT>(text.size());
        }
        case LB_GETTEXTLEN:
            return list_.Valid(index) ? static_cast<LRESULT>(list_.At(index).size()) : LB_ERR;
        case LB_SELECTSTRING:
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT: {
            if (TextArgument(lParam) == nullptr) {
                return LB_ERR;
            }
            const int found = list_.Find(index, TextArgument(lParam), msg == LB_FINDSTRINGEXACT);
            if (found >= 0 && msg == LB_SELECTSTRING) {
                list_.Select(found);
                list_.ShowSelection(VisibleRows());
            }
            return found >= 0 ? found : LB_ERR;
        }
        case LB_GETTOPINDEX:
            return list_.Top();
        case LB_SETTOPINDEX:
            if (!list_.Valid(index)) {
                return LB_ERR;
            }
            list_.SetTop(index, VisibleRows());
            return 0;
        case LB_SETTABSTOPS: {
            if ((Style() & LBS_USETABSTOPS) == 0) {
                return FALSE;
            }
            const int* stops = reinterpret_cast<const int*>(lParam);
            if (wParam > 0 && stops == nullptr) {
                return FALSE;
            }
            tabStops_.assign(stops, stops + (wParam > 0 ? wParam : 0));
            tabStopsSet_ = true;
            return TRUE;
        }
        default:
            return Window::Message(msg, wParam, lParam);
    }
}

void ListBox::Draw(Painter& painter, const ControlLook& look) const {
    const CellRect area = Rect().Offset(look.originX, look.originY);
    const CellRect inner = Inner().Offset(area.x, area.y);
    const CellRole face = FieldRole(*this, look);
    if (HasBorder()) {
        painter.Frame(area, Enabled() ? CellRole::Frame : CellRole::Disabled);
    }
    painter.Fill(inner, U' ', face);
    const int textWidth = inner.width - (ShowsScrollBar() && !HasBorder() ? 1 : 0);
    for (int row = 0; row < inner.height; ++row) {
        const int item = list_.Top() + row;
        if (!list_.Valid(item)) {
            break;
        }
        const CellRole role = (item == list_.Selection() && Enabled()) ? SelectionRole(look) : face;
        std::string text = ExpandTabs(list_.At(item));
        if (static_cast<int>(text.size()) > textWidth) {
            text.resize(static_cast<std::size_t>(std::max(textWidth, 0)));
        }
        painter.Fill({inner.x, inner.y + row, textWidth, 1}, U' ', role);
        painter.Text(inner.x, inner.y + row, text, role);
    }
    if (ShowsScrollBar()) {
        const int column = HasBorder() ? area.Right() - 1 : inner.Right() - 1;
        ScrollBar::Draw(painter, column, inner.y, inner.height, list_.Top(), list_.Count(),
                        VisibleRows(), Enabled());
    }
}

bool ListBox::Key(const KeyEvent& key) {
    const int target = list_.NavigationTarget(key, VisibleRows());
    if (target == -2) {
        return false;
    }
    if (target >= 0) {
        SelectByUser(target);
    }
    return true;
}

void ListBox::Mouse(const MouseEvent& mouse, int x, int y) {
    if (mouse.action == MouseAction::WheelUp || mouse.action == MouseAction::WheelDown) {
        Scroll(mouse.action == MouseAction::WheelUp ? -3 : 3);
        return;
    }
    if (mouse.action != MouseAction::Press || mouse.button != 1) {
        return;
    }
    const CellRect inner = Inner();
    const int scrollColumn = HasBorder() ? Rect().width - 1 : inner.Right() - 1;
    if (ShowsScrollBar() && x == scrollColumn && y >= inner.y && y < inner.Bottom()) {
        Scroll(ScrollBar::ClickDelta(y - inner.y, inner.height, list_.Top(), list_.Count(),
                                     VisibleRows()));
        return;
    }
    if (inner.Contains(x, y)) {
        const int item = list_.Top() + (y - inner.y);
        if (list_.Valid(item)) {
            SelectByUser(item);
        }
    }
}

CursorPosition ListBox::Cursor(const ControlLook& look) const {
    CursorPosition cursor;
    cursor.visible = true;
    const CellRect inner = Inner();
    int row = 0;
    if (list_.Selection() >= list_.Top() && list_.Selection() < list_.Top() + VisibleRows()) {
        row = list_.Selection() - list_.Top();
    }
    cursor.x = look.originX + Rect().x + inner.x;
    cursor.y = look.originY + Rect().y + inner.y + row;
    return cursor;
}

}  // namespace zov
