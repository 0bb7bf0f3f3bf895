// THE LAYOUT RULE
//
// A cell is 4 horizontal by 8 vertical dialog units, but a terminal cell holds one character
// while the dialog font's characters are about 4 units wide and its blanks about 2. So some texts
// that fit their rectangle in the dialog font need more cells than the rectangle has. One rule
// keeps every text whole, keeps controls apart and keeps the template's look:
//
// 1. Rows. A one-line control (button, radio button, edit, closed combo box, one-line static)
//    sits on the row that holds the middle of its rectangle; a combo box's rectangle is its
//    12-unit field (its template height is the opened list). A group box's frame runs from the
//    row of its caption's middle to the row of its bottom edge; a list box and a static text of
//    two rows or more start on the row nearest their top and keep their height (a wrapped text
//    grows downwards when it needs more lines).
// 2. Text width. A one-line text that fits its rectangle is drawn as written. One that does not
//    has its runs of blanks set as the dialog font sets them, half a cell per blank (words keep
//    at least one blank between them), so headings spaced with blanks keep their words about
//    where the dialog font puts them. Buttons add "[ " and " ]", radio buttons "(•) ", group
//    boxes two cells for the corners and two blanks around the caption.
// 3. Columns. Every x in dialog units maps to a column: x / 4 plus a shift that never decreases
//    from left to right. A control whose text needs more cells than its rectangle gives may run
//    on to the right up to its obstacle (the nearest control to its right on the same rows, the
//    right side of the group box around it, or the dialog's right edge), keeping one blank
//    before it. Where the obstacle is too close, the shift grows at the obstacle's left edge,
//    which moves everything from there on to the right together, so columns of controls stay
//    aligned and nothing overlaps. The dialog widens by the same shift.
//
// No control or template is treated specially; the texts decide.
#include "platform/dialog/dialog_layout.h"

#include <algorithm>
#include <map>

#include "platform/dialog/label_text.h"
#include "platform/dialog/push_button.h"
#include "platform/dialog/radio_button.h"

namespace zov {
namespace {

constexpr int kComboFieldHeight = 12;

enum class Shape { OneRow, Group, Block };

struct Item {
    const ControlTemplate* control = nullptr;
    Shape shape = Shape::OneRow;
    bool groupBox = false;
    int top = 0;     // first row
    int bottom = 0;  // last row
    int need = 0;    // cells
    int baseWidth = 0;
    bool narrow = false;
};

int BaseColumn(int dialogUnits) {
    return dialogUnits / 4;
}

ControlClass ClassOf(const ControlTemplate& control) {
    return control.controlClass;
}

bool IsGroupBox(const ControlTemplate& control) {
    return ClassOf(control) == ControlClass::Button && (control.style & BS_TYPEMASK) == BS_GROUPBOX;
}

bool IsPushButton(const ControlTemplate& control) {
    const DWORD type = control.style & BS_TYPEMASK;
    return ClassOf(control) == ControlClass::Button &&
           (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_USERBUTTON);
}

bool RowsOverlap(const Item& a, const Item& b) {
    return a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

bool DialogLayout::IsMultiLineStatic(const ControlTemplate& control) {
    return ClassOf(control) == ControlClass::Static &&
           (control.cy >= 16 || control.text.find('\n') != std::string::npos);
}

int DialogLayout::NeededWidth(const ControlTemplate& control, int baseWidth, bool* narrowBlanks) {
    *narrowBlanks = false;
    switch (ClassOf(control)) {
        case ControlClass::Static: {
            const LabelText label =
                LabelText::Parse(control.text, (control.style & SS_NOPREFIX) == 0);
            if (IsMultiLineStatic(control)) {
                return std::max(baseWidth, label.LongestWord());
            }
            if (label.Width() <= baseWidth) {
                return std::max(label.Width(), 1);
            }
            *narrowBlanks = true;
            return label.NarrowBlanks().Width();
        }
        case ControlClass::Button: {
            const LabelText label = LabelText::Parse(control.text);
            if (IsGroupBox(control)) {
                return label.shown.empty() ? 2 : label.Width() + 4;
            }
            if (IsPushButton(control)) {
                return std::max(baseWidth, PushButton::FaceWidth(label));
            }
            return RadioButton::FaceWidth(label);
        }
        case ControlClass::ComboBox:
            return std::max(baseWidth, 4);
        case ControlClass::Edit:
        case ControlClass::ListBox:
            return std::max(baseWidth, 3);
    }
    return baseWidth;
}

DialogPlacement DialogLayout::Compute(const DialogTemplate& dialogTemplate) {
    std::vector<Item> items;
    items.reserve(dialogTemplate.controls.size());
    for (const ControlTemplate& control : dialogTemplate.controls) {
        Item item;
        item.control = &control;
        item.groupBox = IsGroupBox(control);
        const int baseWidth =
            std::max(BaseColumn(control.x + control.cx) - BaseColumn(control.x), 1);
        item.baseWidth = baseWidth;
        item.need = NeededWidth(control, baseWidth, &item.narrow);
        if (item.groupBox) {
            item.shape = Shape::Group;
            item.top = (control.y + 4) / 8;
            item.bottom = std::max((control.y + control.cy) / 8, item.top + 1);
        } else if (ClassOf(control) == ControlClass::ListBox || IsMultiLineStatic(control)) {
            item.shape = Shape::Block;
            item.top = (control.y + 4) / 8;
            int rows = std::max((control.cy + 4) / 8, 1);
            if (ClassOf(control) == ControlClass::Static) {
                const LabelText label =
                    LabelText::Parse(control.text, (control.style & SS_NOPREFIX) == 0);
                rows = std::max(rows, static_cast<int>(label.Wrap(item.need).lines.size()));
            }
            item.bottom = item.top + rows - 1;
        } else {
            const int height =
                ClassOf(control) == ControlClass::ComboBox ? kComboFieldHeight : control.cy;
            item.top = item.bottom = (control.y + height / 2) / 8;
        }
        items.push_back(item);
    }

    // Constraints: column(target) >= column(from) + cells.
    struct Constraint {
        int from;
        int target;
        int cells;
    };
    std::vector<Constraint> constraints;
    for (const Item& a : items) {
        const ControlTemplate& ca = *a.control;
        if (a.groupBox) {
            constraints.push_back({ca.x, ca.x + ca.cx, a.need});
            continue;
        }
        if (a.need <= a.baseWidth) {
            continue;  // it fits its own rectangle: the template's geometry stands
        }
        int obstacle = dialogTemplate.cx;
        int gap = 1;
        auto consider = [&](int coordinate, int cells) {
            if (coordinate < obstacle || (coordinate == obstacle && cells > gap)) {
                obstacle = coordinate;
                gap = cells;
            }
        };
        for (const Item& b : items) {
            if (&a == &b || !RowsOverlap(a, b)) {
                continue;
            }
            const ControlTemplate& cb = *b.control;
            const bool inside = b.groupBox && cb.x <= ca.x && ca.x < cb.x + cb.cx &&
                                b.top < a.top && a.bottom < b.bottom;
            if (inside) {
                consider(cb.x + cb.cx, 2);  // keep a blank before the group box's frame
            } else if (cb.x > ca.x) {
                consider(cb.x, 1);
            }
        }
        constraints.push_back({ca.x, obstacle, a.need + gap});
    }

    // Solve left to right: each coordinate's shift is the least that meets every constraint
    // ending there, and never less than the shift before it.
    std::map<int, int> shift;
    shift[0] = 0;
    shift[dialogTemplate.cx] = 0;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        shift[control.x] = 0;
        shift[control.x + control.cx] = 0;
    }
    int running = 0;
    auto column = [&](int x) { return BaseColumn(x) + shift[x]; };
    for (auto& [coordinate, value] : shift) {
        value = running;
        for (const Constraint& c : constraints) {
            if (c.target == coordinate && c.from < coordinate) {
                value = std::max(value, column(c.from) + c.cells - BaseColumn(coordinate));
            }
        }
        running = value;
    }

    DialogPlacement placement;
    placement.clientWidth = column(dialogTemplate.cx);
    int lastRow = (dialogTemplate.cy + 7) / 8 - 1;
    for (const Item& item : items) {
        const ControlTemplate& control = *item.control;
        ControlPlacement placed;
        placed.multiLine = item.shape == Shape::Block && ClassOf(control) == ControlClass::Static;
        placed.narrowBlanks = item.narrow;
        const int left = column(control.x);
        const int span = std::max(column(control.x + control.cx) - left, 1);
        // One-line texts and buttons run on past their rectangle when they need to; the
        // constraints above keep that room free.
        const bool runsOn = (ClassOf(control) == ControlClass::Static && !placed.multiLine) ||
                            (ClassOf(control) == ControlClass::Button && !item.groupBox);
        const int width = runsOn ? std::max(span, item.need) : span;
        placed.rect = {left, item.top, width, item.bottom - item.top + 1};
        // A button's shadow takes the row below it.
        const bool shadowed = IsPushButton(control);
        lastRow = std::max(lastRow, item.bottom + (shadowed ? 1 : 0));
        placement.controls.push_back(placed);
    }
    placement.clientHeight = lastRow + 1;
    return placement;
}

}  // namespace zov
