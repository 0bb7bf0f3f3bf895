#include "platform/terminal/input_translator.h"

#include <array>
#include <optional>
#include <utility>

namespace zov {

namespace {

constexpr char kEscape = '\x1b';
constexpr char kBell = '\x07';
// Parameters of a control sequence never need more digits than this; longer ones are noise.
constexpr int kParameterLimit = 100000;

unsigned char Byte(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

KeyEvent Plain(Key key) {
    return KeyEvent{key, 0, false, false, false};
}

// xterm's modifier parameter: 1 plus the sum of Shift 1, Alt 2, Ctrl 4 and Meta 8 (read as Alt).
KeyEvent WithModifier(Key key, int modifier) {
    KeyEvent event = Plain(key);
    const int bits = modifier > 1 ? modifier - 1 : 0;
    event.shift = (bits & 1) != 0;
    event.alt = (bits & (2 | 8)) != 0;
    event.ctrl = (bits & 4) != 0;
    return event;
}

// The keys of "ESC [ code ~" (vt220, xterm, rxvt, the Linux console, tmux, PuTTY).
std::optional<Key> TildeKey(int code) {
    static constexpr std::array<std::pair<int, Key>, 20> kTildeKeys = {{
        {1, Key::Home},     {2, Key::Insert}, {3, Key::Delete}, {4, Key::End},  {5, Key::PageUp},
        {6, Key::PageDown}, {7, Key::Home},   {8, Key::End},    {11, Key::F1},  {12, Key::F2},
        {13, Key::F3},      {14, Key::F4},    {15, Key::F5},    {17, Key::F6},  {18, Key::F7},
        {19, Key::F8},      {20, Key::F9},    {21, Key::F10},   {23, Key::F11}, {24, Key::F12},
    }};
    for (const auto& [number, key] : kTildeKeys) {
        if (number == code) {
            return key;
        }
    }
    return std::nullopt;
}

// The keys named by the final letter of "ESC [ 1 ; m X" and "ESC O m X".
std::optional<Key> LetterKey(char letter) {
    switch (letter) {
        case 'A':
            return Key::Up;
        case 'B':
            return Key::Down;
        case 'C':
            return Key::Right;
        case 'D':
            return Key::Left;
        case 'H':
            return Key::Home;
        case 'F':
            return Key::End;
        case 'P':
            return Key::F1;
        case 'Q':
            return Key::F2;
        case 'R':
            return Key::F3;
        case 'S':
            return Key::F4;
        default:
            return std::nullopt;
    }
}

// rxvt's lower-case arrows: Shift with CSI, Ctrl with SS3.
std::optional<Key> RxvtArrow(char letter) {
    switch (letter) {
        case 'a':
            return Key::Up;
        case 'b':
            return Key::Down;
        case 'c':
            return Key::Right;
        case 'd':
            return Key::Left;
        default:
            return std::nullopt;
    }
}

// Numbers separated by ';' (an empty one counts as 0); none when the text holds anything else.
std::optional<std::vector<int>> Parameters(std::string_view text) {
    std::vector<int> numbers(1, 0);
    for (char c : text) {
        if (c == ';') {
            numbers.push_back(0);
        } else if (c >= '0' && c <= '9') {
            int& number = numbers.back();
            if (number >= kParameterLimit) {
                return std::nullopt;
            }
            number = number * 10 + (c - '0');
        } else {
            return std::nullopt;
        }
    }
    return numbers;
}

std::optional<Event> SgrMouse(std::string_view parameters, char final_byte) {
    const std::optional<std::vector<int>> numbers = Parameters(parameters);
    if (!numbers || numbers->size() != 3) {
        return std::nullopt;
    }
    const int code = (*numbers)[0];
    MouseEvent mouse;
    mouse.x = (*numbers)[1] - 1;
    mouse.y = (*numbers)[2] - 1;
    if ((code & 32) != 0 || mouse.x < 0 || mouse.y < 0) {
        return std::nullopt;  // motion: never asked for
    }
    if ((code & 64) != 0) {
        if (final_byte != 'M' || (code & 3) > 1) {
            return std::nullopt;
        }
        mouse.action = (code & 3) == 0 ? MouseAction::WheelUp : MouseAction::WheelDown;
        mouse.button = (code & 3) == 0 ? 4 : 5;
        return Event::FromMouse(mouse);
    }
    if ((code & 3) == 3) {
        return std::nullopt;
    }
    mouse.action = final_byte == 'M' ? MouseAction::Press : MouseAction::Release;
    mouse.button = (code & 3) + 1;
    return Event::FromMouse(mouse);
}

// "ESC [ M b x y", each byte offset by 32; a release does not say which button.
std::optional<Event> X10Mouse(unsigned char code, unsigned char column, unsigned char row) {
    if (code < 32 || column < 33 || row < 33) {
        return std::nullopt;
    }
    const int b = code - 32;
    MouseEvent mouse;
    mouse.x = column - 33;
    mouse.y = row - 33;
    if ((b & 32) != 0) {
        return std::nullopt;
    }
    if ((b & 64) != 0) {
        if ((b & 3) > 1) {
            return std::nullopt;
        }
        mouse.action = (b & 3) == 0 ? MouseAction::WheelUp : MouseAction::WheelDown;
        mouse.button = (b & 3) == 0 ? 4 : 5;
        return Event::FromMouse(mouse);
    }
    mouse.action = (b & 3) == 3 ? MouseAction::Release : MouseAction::Press;
    mouse.button = (b & 3) == 3 ? 1 : (b & 3) + 1;
    return Event::FromMouse(mouse);
}

// A complete control sequence "ESC [ parameters intermediates final".
std::optional<Event> ControlSequence(std::string_view parameters, std::string_view intermediates,
                                     char final_byte) {
    if (!intermediates.empty()) {
        return std::nullopt;
    }
    if (!parameters.empty() && parameters[0] == '<') {
        return final_byte == 'M' || final_byte == 'm' ? SgrMouse(parameters.substr(1), final_byte)
                                                      : std::nullopt;
    }
    const std::optional<std::vector<int>> numbers = Parameters(parameters);
    if (!numbers) {
        return std::nullopt;  // private forms ("?", ">", "="): reports, never keys
    }
    const int first = (*numbers)[0];
    const int modifier = numbers->size() >= 2 ? (*numbers)[1] : 1;
    if (numbers->size() > 2) {
        return std::nullopt;
    }
    switch (final_byte) {
        case '~':
        case '^':  // rxvt: with Ctrl
        case '@':  // rxvt: with Ctrl and Shift
            if (const std::optional<Key> key = TildeKey(first)) {
                KeyEvent event = WithModifier(*key, modifier);
                event.ctrl = event.ctrl || final_byte != '~';
                event.shift = event.shift || final_byte == '@';
                return Event::FromKey(event);
            }
            return std::nullopt;
        case 'Z':
            return Event::FromKey(KeyEvent{Key::BackTab, 0, false, true, false});
        default:
            break;
    }
    if (const std::optional<Key> key = LetterKey(final_byte)) {
        // "ESC [ A" or "ESC [ 1 ; m A"; a first number other than 1 is not a key.
        if (numbers->size() == 2 ? first != 1 : first > 1) {
            return std::nullopt;
        }
        return Event::FromKey(WithModifier(*key, modifier));
    }
    if (const std::optional<Key> key = RxvtArrow(final_byte); key && parameters.empty()) {
        return Event::FromKey(KeyEvent{*key, 0, false, true, false});
    }
    return std::nullopt;
}

// A complete "ESC O modifier final".
std::optional<Event> SingleShift(std::string_view parameters, char final_byte) {
    const std::optional<std::vector<int>> numbers = Parameters(parameters);
    if (!numbers) {
        return std::nullopt;
    }
    const int modifier = numbers->back() > 0 ? numbers->back() : 1;
    if (final_byte == 'M') {
        return Event::FromKey(WithModifier(Key::Enter, modifier));
    }
    if (const std::optional<Key> key = LetterKey(final_byte)) {
        return Event::FromKey(WithModifier(*key, modifier));
    }
    if (const std::optional<Key> key = RxvtArrow(final_byte); key && parameters.empty()) {
        return Event::FromKey(KeyEvent{*key, 0, false, false, true});
    }
    // The numeric keypad in application mode types its characters.
    static constexpr std::string_view kKeypad = "jklmnopqrstuvwxy";
    static constexpr std::string_view kKeypadText = "*+,-./0123456789";
    if (const std::size_t at = kKeypad.find(final_byte);
        at != std::string_view::npos && parameters.empty()) {
        return Event::FromKey(KeyEvent{Key::Character, static_cast<char32_t>(kKeypadText[at])});
    }
    return std::nullopt;
}

bool IsParameterByte(unsigned char c) {
    return c >= 0x30 && c <= 0x3f;
}
bool IsIntermediateByte(unsigned char c) {
    return c >= 0x20 && c <= 0x2f;
}
bool IsFinalByte(unsigned char c) {
    return c >= 0x40 && c <= 0x7e;
}

}  // namespace

struct InputTranslator::Decoded {
    enum class Kind { Incomplete, Ignored, Decoded };
    Kind kind = Kind::Incomplete;
    std::size_t length = 0;
    Event event;

    static Decoded Incomplete() { return {}; }
    static Decoded Ignored(std::size_t length) { return {Kind::Ignored, length, Event{}}; }
    static Decoded Of(std::size_t length, const Event& event) {
        return {Kind::Decoded, length, event};
    }
    static Decoded Maybe(std::size_t length, const std::optional<Event>& event) {
        return event ? Of(length, *event) : Ignored(length);
    }
};

InputTranslator::InputTranslator(std::vector<KnownSequence> known, bool utf8) : utf8_(utf8) {
    for (KnownSequence& sequence : known) {
        if (sequence.bytes.size() >= 2 && sequence.bytes[0] == kEscape) {
            known_.push_back(std::move(sequence));
        }
    }
}

std::vector<Event> InputTranslator::Feed(std::string_view bytes) {
    pending_.append(bytes);
    return Drain(false);
}

std::vector<Event> InputTranslator::Flush() {
    return Drain(true);
}

std::vector<Event> InputTranslator::Drain(bool at_end) {
    std::vector<Event> events;
    std::size_t start = 0;
    while (start < pending_.size()) {
        const Decoded decoded = Decode(std::string_view(pending_).substr(start), at_end);
        if (decoded.kind == Decoded::Kind::Incomplete) {
            break;
        }
        if (decoded.kind == Decoded::Kind::Decoded) {
            events.push_back(decoded.event);
        }
        start += decoded.length;
    }
    pending_.erase(0, start);
    return events;
}

InputTranslator::Decoded InputTranslator::Decode(std::string_view bytes, bool at_end) const {
    return bytes[0] == kEscape ? DecodeEscape(bytes, at_end) : DecodeCharacter(bytes, at_end);
}

InputTranslator::Decoded InputTranslator::DecodeEscape(std::string_view bytes, bool at_end) const {
    if (bytes.size() == 1) {
        return at_end ? Decoded::Of(1, Event::FromKey(Plain(Key::Escape))) : Decoded::Incomplete();
    }
    // The terminal's own sequences first, the longest that matches.
    const KnownSequence* match = nullptr;
    bool longer_possible = false;
    for (const KnownSequence& known : known_) {
        if (bytes.substr(0, known.bytes.size()) == known.bytes) {
            if (match == nullptr || known.bytes.size() > match->bytes.size()) {
                match = &known;
            }
        } else if (known.bytes.size() > bytes.size() &&
                   std::string_view(known.bytes).substr(0, bytes.size()) == bytes) {
            longer_possible = true;
        }
    }
    if (match != nullptr) {
        return Decoded::Of(match->bytes.size(), Event::FromKey(match->key));
    }
    if (longer_possible && !at_end) {
        return Decoded::Incomplete();
    }

    // A sequence cut short when nothing more comes: ESC and one byte is Alt and that character,
    // anything longer is dropped.
    const auto cut = [&bytes, at_end, this]() {
        if (!at_end) {
            return Decoded::Incomplete();
        }
        if (bytes.size() == 2) {
            Decoded alt = DecodeCharacter(bytes.substr(1), true);
            if (alt.kind == Decoded::Kind::Decoded && alt.event.type == Event::Type::Key) {
                alt.event.key.alt = true;
                return Decoded::Of(2, alt.event);
            }
        }
        return Decoded::Ignored(bytes.size());
    };

    const char introducer = bytes[1];
    if (introducer == '[') {
        if (bytes.size() == 2) {
            return cut();
        }
        if (bytes[2] == '[') {  // the Linux console's F1..F5: ESC [ [ A..E
            if (bytes.size() == 3) {
                return cut();
            }
            const char letter = bytes[3];
            return letter >= 'A' && letter <= 'E'
                       ? Decoded::Of(4, Event::FromKey(Plain(static_cast<Key>(
                                            static_cast<int>(Key::F1) + (letter - 'A')))))
                       : Decoded::Ignored(IsFinalByte(Byte(bytes, 3)) ? 4 : 3);
        }
        if (bytes[2] == 'M') {  // X10 mouse report: three raw bytes follow
            if (bytes.size() < 6) {
                return cut();
            }
            return Decoded::Maybe(6, X10Mouse(Byte(bytes, 3), Byte(bytes, 4), Byte(bytes, 5)));
        }
        std::size_t i = 2;
        while (i < bytes.size() && IsParameterByte(Byte(bytes, i))) {
            ++i;
        }
        const std::size_t parameters_end = i;
        while (i < bytes.size() && IsIntermediateByte(Byte(bytes, i))) {
            ++i;
        }
        if (i == bytes.size()) {
            return cut();
        }
        if (!IsFinalByte(Byte(bytes, i))) {
            return Decoded::Ignored(i);  // broken off: the stray byte is read on its own
        }
        return Decoded::Maybe(
            i + 1, ControlSequence(bytes.substr(2, parameters_end - 2),
                                   bytes.substr(parameters_end, i - parameters_end), bytes[i]));
    }
    if (introducer == 'O') {
        std::size_t i = 2;
        while (i < bytes.size() &&
               ((Byte(bytes, i) >= '0' && Byte(bytes, i) <= '9') || bytes[i] == ';')) {
            ++i;
        }
        if (i == bytes.size()) {
            return cut();
        }
        if (!IsFinalByte(Byte(bytes, i))) {
            return Decoded::Ignored(i);
        }
        return Decoded::Maybe(i + 1, SingleShift(bytes.substr(2, i - 2), bytes[i]));
    }
    if (introducer == ']' || introducer == 'P' || introducer == '_' || introducer == '^' ||
        introducer == 'X') {
        // A string (OSC, DCS, APC, PM, SOS): up to BEL or ESC backslash, whatever it holds.
        for (std::size_t i = 2; i < bytes.size(); ++i) {
            if (bytes[i] == kBell) {
                return Decoded::Ignored(i + 1);
            }
            if (bytes[i] == kEscape && i + 1 < bytes.size()) {
                return Decoded::Ignored(bytes[i + 1] == '\\' ? i + 2 : i);
            }
        }
        return cut();
    }
    // Alt arrives as an Escape prefix, also before a whole sequence.
    Decoded rest = Decode(bytes.substr(1), at_end);
    if (rest.kind == Decoded::Kind::Incomplete) {
        return rest;
    }
    if (rest.kind == Decoded::Kind::Decoded && rest.event.type == Event::Type::Key &&
        !(introducer == kEscape && rest.event.key.key == Key::Escape)) {
        rest.event.key.alt = true;
        return Decoded::Of(rest.length + 1, rest.event);
    }
    if (introducer == kEscape || rest.kind == Decoded::Kind::Decoded) {
        // Escape, then something that is not a key (a mouse report) or another Escape: both
        // count.
        return Decoded::Of(1, Event::FromKey(Plain(Key::Escape)));
    }
    return Decoded::Ignored(rest.length + 1);
}

InputTranslator::Decoded InputTranslator::DecodeCharacter(std::string_view bytes,
                                                          bool at_end) const {
    const unsigned char lead = Byte(bytes, 0);
    if (lead < 0x80) {
        switch (lead) {
            case '\r':
            case '\n':
                return Decoded::Of(1, Event::FromKey(Plain(Key::Enter)));
            case '\t':
                return Decoded::Of(1, Event::FromKey(Plain(Key::Tab)));
            case '\b':
            case 0x7f:
                return Decoded::Of(1, Event::FromKey(Plain(Key::Backspace)));
            case '\f':  // Ctrl+L: the terminal convention for "draw everything again"
                return Decoded::Of(1, Event::Redraw());
            default:
                break;
        }
        if (lead >= 1 && lead <= 26) {
            return Decoded::Of(1, Event::FromKey(KeyEvent{Key::Character, U'a' + (lead - 1u), false,
                                                          false, true}));
        }
        if (lead < 0x20) {
            return Decoded::Ignored(1);
        }
        return Decoded::Of(1, Event::FromKey(KeyEvent{Key::Character, lead}));
    }
    if (!utf8_) {
        return lead >= 0xa0 ? Decoded::Of(1, Event::FromKey(KeyEvent{Key::Character, lead}))
                            : Decoded::Ignored(1);
    }
    std::size_t length = 0;
    char32_t ch = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        ch = lead & 0x1fu;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        ch = lead & 0x0fu;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        ch = lead & 0x07u;
    } else {
        return Decoded::Ignored(1);
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (i == bytes.size()) {
            return at_end ? Decoded::Ignored(i) : Decoded::Incomplete();
        }
        if ((Byte(bytes, i) & 0xc0u) != 0x80u) {
            return Decoded::Ignored(i);
        }
        ch = (ch << 6) | (Byte(bytes, i) & 0x3fu);
    }
    const bool overlong = (length == 3 && ch < 0x800) || (length == 4 && ch < 0x10000);
    if (overlong || ch > 0x10ffff || (ch >= 0xd800 && ch <= 0xdfff) || (ch >= 0x80 && ch < 0xa0)) {
        return Decoded::Ignored(length);
    }
    return Decoded::Of(length, Event::FromKey(KeyEvent{Key::Character, ch}));
}

}  // namespace zov
