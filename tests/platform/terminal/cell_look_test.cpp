// How a cell reaches terminals of different abilities: its grid character as the best glyph the
// terminal has, and its role as a look that stays readable and tells apart the roles a user must
// tell apart, in colour and in monochrome.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/terminal/glyph_mapper.h"
#include "platform/terminal/role_palette.h"

namespace zov {
namespace {

// The letters of a vt100's acsc: lines and corners, but no blocks or arrows.
const char* const kVt100 = "`afgjklmnopqrstuvwxyz{|}~";
const char* const kAll = "`afgjklmnopqrstuvwxyz{|}~+,-.0ahi";

// Character classes depend on the locale: each case runs in the one of its kind of terminal.
class GlyphMapperTest : public ::testing::Test {
  protected:
    void TearDown() override { std::setlocale(LC_CTYPE, saved_locale_.c_str()); }
    static void UseLocale(bool unicode) {
        ASSERT_NE(std::setlocale(LC_CTYPE, unicode ? "C.UTF-8" : "C"), nullptr) << "no locale";
    }

  private:
    std::string saved_locale_ = std::setlocale(LC_CTYPE, nullptr);
};

struct GlyphCase {
    bool unicode;
    const char* acs_letters;
    char32_t ch;
    Glyph::Kind kind;
    char32_t expected;  // the text, or the ACS letter or ASCII character
};

TEST_F(GlyphMapperTest, EachCharacterGetsTheBestGlyphTheTerminalHas) {
    using Kind = Glyph::Kind;
    const GlyphCase cases[] = {
        {true, kVt100, U'é', Kind::Text, U'é'},
        {true, kAll, U'\x1b', Kind::Ascii, '?'},    // control characters never reach the terminal
        {true, kAll, U'漢', Kind::Ascii, '?'},      // two cells wide: would shift the row
        {true, kAll, U'\u0301', Kind::Ascii, '?'},  // combining: takes no cell
        {false, kVt100, U'┌', Kind::Acs, 'l'},
        {false, kVt100, U'╝', Kind::Acs, 'j'},  // double and heavy lines look light
        {false, kVt100, U'▒', Kind::Acs, 'a'},
        {false, kVt100, U'█', Kind::Ascii, '#'},  // missing from a vt100: ASCII one by one
        {false, kAll, U'█', Kind::Acs, '0'},
        {false, "", U'┌', Kind::Ascii, '+'},
        {false, kAll, U'A', Kind::Text, U'A'},
        {false, kAll, U'é', Kind::Ascii, '?'},
        {false, kAll, U'’', Kind::Ascii, '\''},
        {false, kAll, U'×', Kind::Ascii, 'x'},  // the close box: "[x]", not "[?]"
        // A scroll bar's thumb and track stay apart on every terminal.
        {false, kVt100, U'░', Kind::Acs, 'a'},
        {false, "", U'░', Kind::Ascii, ':'},
        {false, "", U'█', Kind::Ascii, '#'},
        {false, kAll, U'▀', Kind::Shade, ' '},  // a button's shadow: shaded, not "####"
    };
    for (const GlyphCase& c : cases) {
        UseLocale(c.unicode);
        const Glyph glyph = GlyphMapper(c.unicode, c.acs_letters).Map(c.ch);
        EXPECT_EQ(glyph.kind, c.kind) << "U+" << std::hex << static_cast<int>(c.ch);
        EXPECT_EQ(c.kind == Kind::Text ? glyph.text : static_cast<char32_t>(glyph.code), c.expected)
            << "U+" << std::hex << static_cast<int>(c.ch) << " as '" << glyph.code << "'";
    }
}

TEST_F(GlyphMapperTest, EveryBoxDrawingCharacterHasALineOrAsciiSubstitute) {
    UseLocale(false);
    const GlyphMapper with_acs(false, kVt100);
    const GlyphMapper without_acs(false, "");
    for (char32_t ch = 0x2500; ch <= 0x257f; ++ch) {
        SCOPED_TRACE(::testing::Message() << "U+" << std::hex << static_cast<int>(ch));
        const Glyph acs = with_acs.Map(ch);
        const Glyph ascii = without_acs.Map(ch);
        EXPECT_NE(acs.kind, Glyph::Kind::Text);
        if (acs.kind == Glyph::Kind::Acs) {
            EXPECT_NE(std::string("qxlkmjtuvwn").find(acs.code), std::string::npos) << acs.code;
        }
        ASSERT_EQ(ascii.kind, Glyph::Kind::Ascii);
        EXPECT_NE(std::string("+-|/\\X").find(ascii.code), std::string::npos) << ascii.code;
    }
}

// Where a terminal cannot underline, a mnemonic letter is a colour of its own.
TEST(RolePalette, EveryRoleIsReadableAndLeavesUnderlineAndAColourToMnemonics) {
    for (int i = 0; i < kCellRoleCount; ++i) {
        const RoleLook look = LookOfRole(static_cast<CellRole>(i));
        // Bright black on black reads as dark grey, still too faint: never allowed.
        EXPECT_NE(look.foreground, look.background) << "role " << i;
        EXPECT_EQ(look.mono & kMonoUnderline, 0) << "role " << i;
        const RoleLook mnemonic = MnemonicLook(look);
        EXPECT_EQ(mnemonic.background, look.background) << "role " << i;
        EXPECT_NE(mnemonic.foreground, look.foreground) << "role " << i;
        EXPECT_NE(mnemonic.foreground, mnemonic.background) << "role " << i;
    }
}

struct DistinctPair {
    CellRole a;
    CellRole b;
    // Without colours a field's face shows through the frame the dialog manager draws around
    // it, and a shadow through the characters beneath it: those pairs may look alike there.
    bool also_in_monochrome;
    const char* why;
};

TEST(RolePalette, RolesAUserMustTellApartLookDifferent) {
    const DistinctPair pairs[] = {
        {CellRole::Desktop, CellRole::Window, false, "a window vanishes into the desktop"},
        {CellRole::Title, CellRole::Window, true, "the title bar cannot be seen"},
        {CellRole::ButtonDefault, CellRole::ButtonFocused, true, "focus and default look alike"},
        {CellRole::Field, CellRole::SelectionFocused, true, "the selected row cannot be seen"},
        {CellRole::Window, CellRole::Disabled, true, "disabled controls look enabled"},
        {CellRole::Window, CellRole::Shadow, false, "windows cast no visible shadow"},
        {CellRole::Field, CellRole::FieldFocused, true, "a focused edit field looks like the rest"},
    };
    for (const DistinctPair& pair : pairs) {
        const RoleLook a = LookOfRole(pair.a);
        const RoleLook b = LookOfRole(pair.b);
        EXPECT_TRUE(a.foreground != b.foreground || a.background != b.background ||
                    a.bright != b.bright)
            << pair.why;
        if (pair.also_in_monochrome) {
            EXPECT_NE(a.mono, b.mono) << pair.why << " in monochrome";
        }
    }
}

}  // namespace
}  // namespace zov
