// Turns the bytes a terminal sends into events, without curses, so that it can be checked with
// bytes alone. The sequences the terminal's own description names come first; then the standard
// CSI and SS3 forms of the keys the dialogs use, with and without xterm's modifier parameter,
// whatever the terminal claims to be (multiplexers and emulators send forms their terminfo entry
// leaves out); then SGR and X10 mouse reports. Any other complete escape sequence is swallowed,
// never typed. A sequence may arrive split over several reads: its start is kept until the rest
// comes, or until the caller says that nothing more came in time (Flush).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/terminal/event.h"

namespace zov {

class InputTranslator {
  public:
    struct KnownSequence {
        std::string bytes;
        KeyEvent key;
    };

    // `known`: key sequences from the terminal's description (only those that start with
    // Escape and have more bytes are used). `utf8`: characters arrive UTF-8 encoded; otherwise
    // each byte is one character of the 8-bit character set.
    InputTranslator(std::vector<KnownSequence> known, bool utf8);

    // Takes bytes as they were read and returns the events they complete, in order.
    std::vector<Event> Feed(std::string_view bytes);
    // Bytes wait for the rest of a sequence.
    bool Waiting() const { return !pending_.empty(); }
    // Nothing more came in time: what waits is read as it stands. A lone Escape is the Escape
    // key, Escape and one character is Alt and that character, a cut sequence is dropped.
    std::vector<Event> Flush();

  private:
    struct Decoded;
    std::vector<Event> Drain(bool at_end);
    Decoded Decode(std::string_view bytes, bool at_end) const;
    Decoded DecodeEscape(std::string_view bytes, bool at_end) const;
    Decoded DecodeCharacter(std::string_view bytes, bool at_end) const;

    std::vector<KnownSequence> known_;
    bool utf8_;
    std::string pending_;
};

}  // namespace zov
