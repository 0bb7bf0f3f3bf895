#include "platform/terminal/role_palette.h"

namespace zov {

namespace {

constexpr RoleLook Look(AnsiColour fg, AnsiColour bg, bool bright, uint8_t mono) {
    return RoleLook{fg, bg, bright, mono};
}

}  // namespace

RoleLook LookOfRole(CellRole role) {
    using C = AnsiColour;
    switch (role) {
        case CellRole::Desktop:
            return Look(C::White, C::Blue, false, kMonoNormal);
        case CellRole::Window:
        case CellRole::Frame:
        case CellRole::GroupBox:
            return Look(C::Black, C::White, false, kMonoNormal);
        case CellRole::Title:
            return Look(C::White, C::Blue, true, kMonoReverse | kMonoBold);
        case CellRole::TitleInactive:
            // A grey bar: the window behind a modal dialog recedes.
            return Look(C::Black, C::White, true, kMonoDim);
        case CellRole::CloseBox:
            return Look(C::Green, C::Blue, true, kMonoReverse | kMonoBold);
        case CellRole::Shadow:
            return Look(C::White, C::Black, false, kMonoDim);
        case CellRole::Button:
            return Look(C::Black, C::Green, false, kMonoNormal);
        case CellRole::ButtonDefault:
            return Look(C::White, C::Green, true, kMonoBold);
        case CellRole::ButtonFocused:
            return Look(C::White, C::Blue, true, kMonoReverse | kMonoBold);
        case CellRole::Field:
            return Look(C::Black, C::Cyan, false, kMonoNormal);
        case CellRole::FieldFocused:
            return Look(C::White, C::Cyan, true, kMonoBold);
        case CellRole::Selection:
            return Look(C::Black, C::White, false, kMonoReverse);
        case CellRole::SelectionFocused:
            return Look(C::White, C::Blue, true, kMonoReverse | kMonoBold);
        case CellRole::ScrollBar:
            return Look(C::Blue, C::Cyan, false, kMonoDim);
        case CellRole::Disabled:
            // Bright black is the dark grey of the sixteen-colour palette.
            return Look(C::Black, C::White, true, kMonoDim);
        case CellRole::Notice:
            return Look(C::Red, C::White, false, kMonoBold);
    }
    return Look(C::Black, C::White, false, kMonoNormal);
}

RoleLook MnemonicLook(const RoleLook& look) {
    using C = AnsiColour;
    const bool light = look.background == C::White || look.background == C::Cyan;
    RoleLook mnemonic = look;
    mnemonic.foreground = light ? C::Red : C::Yellow;
    mnemonic.bright = !light;
    if (mnemonic.foreground == look.foreground) {
        mnemonic.foreground = C::Magenta;
    }
    return mnemonic;
}

}  // namespace zov
