// The input translator fed raw bytes as terminals send them: every standard form of the keys the
// dialogs use is decoded, any other complete sequence is swallowed (never typed), and a sequence
// split over reads comes out whole.
#include "platform/terminal/input_translator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_text.h"

namespace zov::test {
namespace {

// A sequence the terminal's description names in a form no standard has: it must win.
const std::vector<InputTranslator::KnownSequence> kKnown = {
    {"\x1b[99z", KeyEvent{Key::F5, 0, false, false, false}},
    {"\x1bOH", KeyEvent{Key::Home, 0, false, false, false}},
};

struct Case {
    const char* what;
    std::vector<std::string> reads;  // each fed on its own
    std::string events;              // described and joined by "; "; "" when all are swallowed
    bool flush = false;              // the escape delay runs out after the last read
    bool utf8 = true;                // else bytes from 0xA0 are Latin-1 characters
};

TEST(InputTranslator, DecodesKnownKeysSwallowsTheRestAndJoinsSplitReads) {
    const Case cases[] = {
        {"printable and UTF-8", {"a\xc3\xa9"}, "Character U+0061; Character U+00E9"},
        {"controls", {"\r\t\x7f\x01"}, "Enter; Tab; Backspace; Character U+0061 ctrl"},
        {"Ctrl+L asks for a redraw", {"\x0c"}, "redraw"},
        {"terminfo first", {"\x1b[99z\x1bOH"}, "F5; Home"},
        {"CSI arrows", {"\x1b[A\x1b[D"}, "Up; Left"},
        {"SS3 arrows", {"\x1bOB\x1bOC"}, "Down; Right"},
        {"tmux, PuTTY and rxvt Home and End",
         {"\x1b[1~\x1b[4~\x1b[7~\x1b[8~"},
         "Home; End; Home; End"},
        {"xterm Home and End", {"\x1b[H\x1b[F"}, "Home; End"},
        {"editing keys", {"\x1b[2~\x1b[3~\x1b[5~\x1b[6~"}, "Insert; Delete; PageUp; PageDown"},
        {"modified keys",
         {"\x1b[1;5C\x1b[3;2~\x1b[1;3H\x1bO5A\x1b[3;9~"},
         "Right ctrl; Delete shift; Home alt; Up ctrl; Delete alt"},
        {"function keys", {"\x1bOP\x1b[15~\x1b[24~\x1b[[B\x1b[1;2S"}, "F1; F5; F12; F2; F4 shift"},
        {"back tab", {"\x1b[Z"}, "BackTab shift"},
        {"Alt as an Escape prefix", {"\x1bx\x1b\x1bOB"}, "Character U+0078 alt; Down alt"},
        {"SGR mouse",
         {"\x1b[<0;240;5M\x1b[<0;240;5m\x1b[<65;10;3M"},
         "mouse Press 1 at 239,4; mouse Release 1 at 239,4; mouse WheelDown 5 at 9,2"},
        {"X10 mouse", {"\x1b[M !!\x1b[M#!!"}, "mouse Press 1 at 0,0; mouse Release 1 at 0,0"},
        {"unknown keys and reports swallowed",
         {"\x1b[99~\x1b[?1;2c\x1b]11;rgb:0/0/0\x07\x1b[200~\x1b[I\x1bO2T\x1b[1;2;3A"},
         ""},
        {"SS3 with a modifier on F4 is a key, not text", {"\x1bO2S"}, "F4 shift"},
        {"a stray byte ends a broken sequence", {"\x1b[1\x01"}, "Character U+0061 ctrl"},
        {"split sequence", {"\x1b", "[", "1", "~"}, "Home"},
        {"split UTF-8", {"\xc3", "\xa9"}, "Character U+00E9"},
        {"split mouse report", {"\x1b[<0;1", "0;3M"}, "mouse Press 1 at 9,2"},
        {"lone Escape after the delay", {"\x1b"}, "Escape", true},
        {"two Escapes", {"\x1b\x1b"}, "Escape; Escape", true},
        {"Alt+[ after the delay", {"\x1b["}, "Character U+005B alt", true},
        {"Alt+P after the delay", {"\x1bP"}, "Character U+0050 alt", true},
        {"a cut sequence is dropped", {"\x1b[1;"}, "", true},
        {"Escape before a mouse report", {"\x1b\x1b[<0;1;1M"}, "Escape; mouse Press 1 at 0,0"},
        {"8-bit characters without UTF-8", {"\xe9\x85"}, "Character U+00E9", false, false},
    };
    for (const Case& c : cases) {
        InputTranslator translator(kKnown, c.utf8);
        std::string described;
        const auto describe = [&described](const std::vector<Event>& events) {
            for (const Event& event : events) {
                described += (described.empty() ? "" : "; ") + EventText(event);
            }
        };
        for (const std::string& read : c.reads) {
            describe(translator.Feed(read));
        }
        if (c.flush) {
            describe(translator.Flush());
        }
        EXPECT_EQ(described, c.events) << c.what;
        EXPECT_FALSE(translator.Waiting()) << c.what << ": bytes left waiting";
    }
}

}  // namespace
}  // namespace zov::test
