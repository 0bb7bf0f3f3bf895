// A drop-down list combo box (no edit field): a one-row field that shows the selected entry, and
// a list that opens below it (above it when the screen has no room below), as tall as the
// template's height allows. The opened list may extend past the dialog, as on Windows.
#pragma once

#include "platform/dialog/resource.h"
#include "platform/dialog/string_list.h"
#include "platform/dialog/window.h"

namespace zov {

class ComboBox : public Window {
  public:
    explicit ComboBox(const ControlTemplate& control);

    const StringList& Items() const { return list_; }
    bool Dropped() const { return dropped_; }
    void ShowDropDown(bool show);
    // Closes the opened list; cancel puts back the selection it had when it opened.
    void CloseUp(bool cancel);
    void SelectByUser(int index);

    // The opened list on a screen of this size, the combo's field at (fieldX, fieldY).
    CellRect DroppedRect(int fieldX, int fieldY, int screenWidth, int screenHeight) const;
    void DrawDropped(Painter& painter, const CellRect& where) const;
    // Mouse events inside the opened list, relative to it.
    void DroppedMouse(const MouseEvent& mouse, int x, int y, const CellRect& where);

    LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool CanTakeFocus() const override { return Enabled() && Visible(); }
    bool TakesLetters() const override { return true; }
    void Draw(Painter& painter, const ControlLook& look) const override;
    bool Key(const KeyEvent& key) override;
    void Mouse(const MouseEvent& mouse, int x, int y) override;
    void FocusChanged(bool focused, bool viaKeyboard) override;

  private:
    int DroppedRows() const;
    std::string Normalised(const char* text) const;

    StringList list_;
    int listRows_;  // rows of entries the opened list shows at most
    bool dropped_ = false;
    int selectionAtDrop_ = -1;
};

}  // namespace zov
