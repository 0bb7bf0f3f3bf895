#include "platform/dialog/dialog_keyboard.h"

#include "platform/dialog/combo_box.h"
#include "platform/dialog/dialog_navigation.h"
#include "platform/dialog/push_button.h"
#include "platform/dialog/radio_button.h"

namespace zov {
namespace {

bool IsArrow(Key key) {
    return key == Key::Up || key == Key::Down || key == Key::Left || key == Key::Right;
}

}  // namespace

void DialogKeyboard::Handle(Dialog& dialog, const KeyEvent& key) {
    Window* focus = dialog.Focus();
    const bool tab = key.key == Key::Tab || key.key == Key::BackTab;

    // An opened list takes every key but Tab; Escape and Enter only close it.
    if (focus != nullptr && focus->Kind() == WindowKind::ComboBox &&
        static_cast<ComboBox*>(focus)->Dropped()) {
        if (!tab) {
            focus->Key(key);
            return;
        }
        static_cast<ComboBox*>(focus)->CloseUp(false);
    }

    if (tab) {
        const bool previous = key.key == Key::BackTab || key.shift;
        Window* next = DialogNavigation::TabEntry(
            dialog, DialogNavigation::NextTabItem(dialog, focus, previous));
        if (next != nullptr) {
            dialog.SetFocusTo(next, true);
        }
        return;
    }
    if (key.key == Key::Escape && !key.alt) {
        dialog.Command(IDCANCEL);
        return;
    }
    if (key.key == Key::Enter && !key.alt) {
        Enter(dialog);
        return;
    }
    if (focus != nullptr && focus->Key(key)) {
        return;
    }
    if (IsArrow(key.key) && !key.alt && focus != nullptr) {
        const bool previous = key.key == Key::Up || key.key == Key::Left;
        Window* next = DialogNavigation::NextGroupItem(dialog, focus, previous);
        if (next != nullptr && next != focus) {
            dialog.SetFocusTo(next, true);
            // Moving onto an automatic radio button selects it.
            if (next->Kind() == WindowKind::RadioButton &&
                (next->Style() & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
                static_cast<RadioButton*>(next)->Click();
            }
        }
        return;
    }
    const bool letter = key.key == Key::Character && key.ch > U' ' && key.ch < 0x80 && !key.ctrl;
    if (letter && (key.alt || focus == nullptr || !focus->TakesLetters())) {
        Window* owner = DialogNavigation::MnemonicOwner(dialog, static_cast<char>(key.ch));
        if (owner != nullptr) {
            ActivateMnemonic(dialog, owner);
        }
    }
}

void DialogKeyboard::Enter(Dialog& dialog) {
    Window* focus = dialog.Focus();
    if (focus != nullptr && focus->Kind() == WindowKind::PushButton) {
        dialog.Notify(focus, BN_CLICKED);
        return;
    }
    const LRESULT defId = dialog.Message(DM_GETDEFID, 0, 0);
    if (HIWORD(defId) == DC_HASDEFID) {
        Window* button = dialog.Control(LOWORD(defId));
        // A disabled default button makes Enter do nothing.
        if (button == nullptr || button->Enabled()) {
            dialog.Message(
                WM_COMMAND, MAKEWPARAM(LOWORD(defId), BN_CLICKED),
                reinterpret_cast<LPARAM>(button != nullptr ? button->Handle() : nullptr));
        }
        return;
    }
    dialog.Command(IDOK);
}

void DialogKeyboard::ActivateMnemonic(Dialog& dialog, Window* owner) {
    switch (owner->Kind()) {
        case WindowKind::Static:
        case WindowKind::GroupBox: {
            Window* next = DialogNavigation::TabEntry(
                dialog, DialogNavigation::NextTabItem(dialog, owner, false));
            if (next != nullptr) {
                dialog.SetFocusTo(next, true);
            }
            return;
        }
        case WindowKind::PushButton:
            dialog.SetFocusTo(owner, true);
            static_cast<PushButton*>(owner)->Click();
            return;
        case WindowKind::RadioButton:
            dialog.SetFocusTo(owner, true);
            static_cast<RadioButton*>(owner)->Click();
            return;
        default:
            dialog.SetFocusTo(owner, true);
            return;
    }
}

}  // namespace zov
