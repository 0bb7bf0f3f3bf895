// Input as the dialog manager receives it, whatever the terminal: keys, mouse, resizes, a request
// to redraw the whole screen (Ctrl+L), and the end of input (the terminal hung up, or a test's
// event queue ran dry).
#pragma once

namespace zov {

enum class Key {
    Character,  // a printable character, in KeyEvent::ch
    Enter,
    Escape,
    Tab,
    BackTab,  // Shift+Tab
    Backspace,
    Delete,
    Insert,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    PageUp,
    PageDown,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
};

struct KeyEvent {
    Key key = Key::Character;
    char32_t ch = 0;  // for Key::Character
    bool alt = false;
    bool shift = false;
    bool ctrl = false;
};

enum class MouseAction { Press, Release, WheelUp, WheelDown };

struct MouseEvent {
    MouseAction action = MouseAction::Press;
    int button = 1;  // 1 left, 2 middle, 3 right
    int x = 0;       // cell column, from 0
    int y = 0;       // cell row, from 0
};

struct ResizeEvent {
    int width = 0;
    int height = 0;
};

struct Event {
    enum class Type { Key, Mouse, Resize, Redraw, Hangup };
    Type type = Type::Hangup;
    KeyEvent key;
    MouseEvent mouse;
    ResizeEvent resize;

    static Event FromKey(KeyEvent k) {
        Event e;
        e.type = Type::Key;
        e.key = k;
        return e;
    }
    static Event FromMouse(MouseEvent m) {
        Event e;
        e.type = Type::Mouse;
        e.mouse = m;
        return e;
    }
    static Event FromResize(int width, int height) {
        Event e;
        e.type = Type::Resize;
        e.resize = {width, height};
        return e;
    }
    static Event Redraw() {
        Event e;
        e.type = Type::Redraw;
        return e;
    }
    static Event Hangup() { return Event{}; }
};

}  // namespace zov
