// A list box: one column of strings (sorted or not), tab stops in dialog units, a frame when it
// has WS_BORDER, a vertical scroll bar when it has WS_VSCROLL and more rows than it shows.
// With LBS_NOTIFY a selection the user makes is reported as LBN_SELCHANGE.
#pragma once

#include <vector>

#include "platform/dialog/resource.h"
#include "platform/dialog/string_list.h"
#include "platform/dialog/window.h"

namespace zov {

class ListBox : public Window {
  public:
    explicit ListBox(const ControlTemplate& control);

    const StringList& Items() const { return list_; }
    int VisibleRows() const;
    // Selects as the user does: scrolls it into view and notifies a change.
    void SelectByUser(int index);
    void Scroll(int rows);
    // The column, from the start of a row, where each character of the text is drawn.
    std::string ExpandTabs(const std::string& text) const;

    LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool CanTakeFocus() const override { return Enabled() && Visible(); }
    bool TakesLetters() const override { return true; }
    void Draw(Painter& painter, const ControlLook& look) const override;
    bool Key(const KeyEvent& key) override;
    void Mouse(const MouseEvent& mouse, int x, int y) override;
    CursorPosition Cursor(const ControlLook& look) const override;

  private:
    bool HasBorder() const { return (Style() & WS_BORDER) != 0; }
    CellRect Inner() const;  // the rows, relative to the control
    bool ShowsScrollBar() const;
    int TabStopColumn(int dialogUnits) const;

    StringList list_;
    int templateX_;              // dialog units; tab stops count from here
    std::vector<int> tabStops_;  // dialog units; empty: every 32
    bool tabStopsSet_ = false;
};

}  // namespace zov
