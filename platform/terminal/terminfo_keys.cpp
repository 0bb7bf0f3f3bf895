#include "platform/terminal/terminfo_keys.h"

#include <array>
#include <string>
#include <utility>

#include "platform/format.h"
#include "platform/terminal/terminfo_probe.h"

namespace zov {

namespace {

struct NamedKey {
    const char* name;
    KeyEvent key;
};

constexpr KeyEvent Plain(Key key) {
    return KeyEvent{key, 0, false, false, false};
}
constexpr KeyEvent Shifted(Key key) {
    return KeyEvent{key, 0, false, true, false};
}

// Standard capability names, the keypad's and vt220's names for the same keys included.
constexpr std::array kNamedKeys = {
    NamedKey{"kcuu1", Plain(Key::Up)},       NamedKey{"kcud1", Plain(Key::Down)},
    NamedKey{"kcub1", Plain(Key::Left)},     NamedKey{"kcuf1", Plain(Key::Right)},
    NamedKey{"khome", Plain(Key::Home)},     NamedKey{"kend", Plain(Key::End)},
    NamedKey{"kich1", Plain(Key::Insert)},   NamedKey{"kdch1", Plain(Key::Delete)},
    NamedKey{"kpp", Plain(Key::PageUp)},     NamedKey{"knp", Plain(Key::PageDown)},
    NamedKey{"kcbt", Shifted(Key::BackTab)}, NamedKey{"kent", Plain(Key::Enter)},
    NamedKey{"ka1", Plain(Key::Home)},       NamedKey{"kc1", Plain(Key::End)},
    NamedKey{"ka3", Plain(Key::PageUp)},     NamedKey{"kc3", Plain(Key::PageDown)},
    NamedKey{"kfnd", Plain(Key::Home)},      NamedKey{"kslt", Plain(Key::End)},
    NamedKey{"kri", Shifted(Key::Up)},       NamedKey{"kind", Shifted(Key::Down)},
    NamedKey{"kLFT", Shifted(Key::Left)},    NamedKey{"kRIT", Shifted(Key::Right)},
    NamedKey{"kHOM", Shifted(Key::Home)},    NamedKey{"kEND", Shifted(Key::End)},
    NamedKey{"kPRV", Shifted(Key::PageUp)},  NamedKey{"kNXT", Shifted(Key::PageDown)},
    NamedKey{"kIC", Shifted(Key::Insert)},   NamedKey{"kDC", Shifted(Key::Delete)},
};

// Modifier suffixes of the extended capabilities (kUP3, kLFT5...), as xterm defines them.
struct ModifierSuffix {
    const char* suffix;
    bool shift;
    bool alt;
    bool ctrl;
};
constexpr std::array kModifierSuffixes = {
    ModifierSuffix{"", true, false, false}, ModifierSuffix{"3", false, true, false},
    ModifierSuffix{"4", true, true, false}, ModifierSuffix{"5", false, false, true},
    ModifierSuffix{"6", true, false, true}, ModifierSuffix{"7", false, true, true},
    ModifierSuffix{"8", true, true, true},
};

constexpr std::array<std::pair<const char*, Key>, 10> kExtendedBases = {{{"kUP", Key::Up},
                                                                         {"kDN", Key::Down},
                                                                         {"kLFT", Key::Left},
                                                                         {"kRIT", Key::Right},
                                                                         {"kHOM", Key::Home},
                                                                         {"kEND", Key::End},
                                                                         {"kPRV", Key::PageUp},
                                                                         {"kNXT", Key::PageDown},
                                                                         {"kIC", Key::Insert},
                                                                         {"kDC", Key::Delete}}};

}  // namespace

std::vector<InputTranslator::KnownSequence> TerminfoKeySequences() {
    std::vector<InputTranslator::KnownSequence> sequences;
    const auto add = [&sequences](const std::string& name, const KeyEvent& key) {
        std::string bytes = TerminfoString(name.c_str());
        if (!bytes.empty()) {
            sequences.push_back({std::move(bytes), key});
        }
    };
    for (const NamedKey& named : kNamedKeys) {
        add(named.name, named.key);
    }
    // F1..F12, then the same with Shift (F13..F24) and Ctrl (F25..F36), as xterm numbers them.
    for (int n = 0; n < 12; ++n) {
        const auto key = static_cast<Key>(static_cast<int>(Key::F1) + n);
        add(FormatText("kf%d", 1 + n), Plain(key));
        add(FormatText("kf%d", 13 + n), Shifted(key));
        add(FormatText("kf%d", 25 + n), KeyEvent{key, 0, false, false, true});
    }
    for (const auto& [base, key] : kExtendedBases) {
        for (const ModifierSuffix& modifier : kModifierSuffixes) {
            add(std::string(base) + modifier.suffix,
                KeyEvent{key, 0, modifier.alt, modifier.shift, modifier.ctrl});
        }
    }
    return sequences;
}

}  // namespace zov
