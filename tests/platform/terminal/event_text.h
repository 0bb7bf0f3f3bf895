// An event as one line of text (a key by its name alone): what the input translator's tests
// expect, and what the probe program shows of each event it receives.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "platform/format.h"
#include "platform/terminal/event.h"

namespace zov::test {

inline std::string EventText(const Event& event) {
    static constexpr std::array kKeyNames = {
        "Character", "Enter",    "Escape", "Tab",  "BackTab", "Backspace", "Delete",
        "Insert",    "Up",       "Down",   "Left", "Right",   "Home",      "End",
        "PageUp",    "PageDown", "F1",     "F2",   "F3",      "F4",        "F5",
        "F6",        "F7",       "F8",     "F9",   "F10",     "F11",       "F12"};
    static constexpr std::array kMouseActionNames = {"Press", "Release", "WheelUp", "WheelDown"};
    switch (event.type) {
        case Event::Type::Key: {
            std::string text = kKeyNames.at(static_cast<std::size_t>(event.key.key));
            if (event.key.key == Key::Character) {
                text += FormatText(" U+%04X", static_cast<unsigned>(event.key.ch));
            }
            text += event.key.alt ? " alt" : "";
            text += event.key.shift ? " shift" : "";
            text += event.key.ctrl ? " ctrl" : "";
            return text;
        }
        case Event::Type::Mouse:
            return FormatText("mouse %s %d at %d,%d",
                              kMouseActionNames.at(static_cast<std::size_t>(event.mouse.action)),
                              event.mouse.button, event.mouse.x, event.mouse.y);
        case Event::Type::Resize:
            return FormatText("resize %dx%d", event.resize.width, event.resize.height);
        case Event::Type::Redraw:
            return "redraw";
        case Event::Type::Hangup:
            return "hangup";
    }
    return "?";
}

}  // namespace zov::test
