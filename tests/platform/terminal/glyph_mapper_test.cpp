// How grid characters reach terminals of different abilities.
#include "platform/terminal/glyph_mapper.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace zov {
namespace {

// The letters of a vt100's acsc: lines and corners, but no blocks or arrows.
const std::string kVt100Letters = "`afgjklmnopqrstuvwxyz{|}~";
const std::string kAllLetters = "`afgjklmnopqrstuvwxyz{|}~+,-.0ahi";

// Character classes depend on the locale: each test sets the one it describes.
class GlyphMapperTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* current = std::setlocale(LC_CTYPE, nullptr);
        saved_locale_ = current != nullptr ? current : "C";
    }
    void TearDown() override { std::setlocale(LC_CTYPE, saved_locale_.c_str()); }

    static void UseLocale(const char* name) {
        ASSERT_NE(std::setlocale(LC_CTYPE, name), nullptr) << "locale " << name << " missing";
    }

  private:
    std::string saved_locale_;
};

testing::AssertionResult IsText(const Glyph& glyph, char32_t ch) {
    if (glyph.kind == Glyph::Kind::Text && glyph.text == ch) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "kind " << static_cast<int>(glyph.kind) << " code '" << glyph.code << "'";
}

testing::AssertionResult IsAcs(const Glyph& glyph, char letter) {
    if (glyph.kind == Glyph::Kind::Acs && glyph.code == letter) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "kind " << static_cast<int>(glyph.kind) << " code '" << glyph.code << "'";
}

testing::AssertionResult IsAscii(const Glyph& glyph, char ch) {
    if (glyph.kind == Glyph::Kind::Ascii && glyph.code == ch) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "kind " << static_cast<int>(glyph.kind) << " code '" << glyph.code << "'";
}

// ---------------------------------------------------------------------------------------------
// UTF-8 terminals

TEST_F(GlyphMapperTest, Utf8SendsPrintableCharactersAsTheyAre) {
    UseLocale("C.UTF-8");
    const GlyphMapper mapper(true, kVt100Letters);
    for (char32_t ch : {U'A', U' ', U'~', U'é', U'ß', U'┌', U'═', U'╬', U'█', U'→', U'•', U'€'}) {
        EXPECT_TRUE(IsText(mapper.Map(ch), ch)) << "U+" << std::hex << static_cast<int>(ch);
    }
}

TEST_F(GlyphMapperTest, ControlCharactersNeverReachTheTerminal) {
    UseLocale("C.UTF-8");
    const GlyphMapper mapper(true, kAllLetters);
    for (char32_t ch : {U'\0', U'\a', U'\n', U'\r', U'\x1b', U'\x7f', U'\x9b', U'\x85'}) {
        EXPECT_TRUE(IsAscii(mapper.Map(ch), '?')) << "U+" << std::hex << static_cast<int>(ch);
    }
}

TEST_F(GlyphMapperTest, CharactersThatAreNotOneCellWideBecomeQuestionMarks) {
    UseLocale("C.UTF-8");
    const GlyphMapper mapper(true, kAllLetters);
    EXPECT_TRUE(IsAscii(mapper.Map(U'漢'), '?')) << "a double-width character shifts the row";
    EXPECT_TRUE(IsAscii(mapper.Map(U'\u0301'), '?')) << "a combining accent takes no cell";
    EXPECT_TRUE(IsAscii(mapper.Map(char32_t{0xd800}), '?')) << "a lone surrogate";
    EXPECT_TRUE(IsAscii(mapper.Map(char32_t{0x110000}), '?')) << "beyond Unicode";
}

// ---------------------------------------------------------------------------------------------
// Terminals without UTF-8

TEST_F(GlyphMapperTest, AsciiLocaleDrawsBoxCornersFromTheAlternateCharacterSet) {
    UseLocale("C");
    const GlyphMapper mapper(false, kVt100Letters);
    EXPECT_TRUE(IsAcs(mapper.Map(U'┌'), 'l'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'┐'), 'k'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'└'), 'm'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'┘'), 'j'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'─'), 'q'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'│'), 'x'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'├'), 't'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'┤'), 'u'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'┬'), 'w'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'┴'), 'v'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'┼'), 'n'));
}

TEST_F(GlyphMapperTest, HeavyDoubleAndRoundedLinesUseTheSameGlyphsAsLightOnes) {
    UseLocale("C");
    const GlyphMapper mapper(false, kVt100Letters);
    EXPECT_TRUE(IsAcs(mapper.Map(U'╔'), 'l'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'┏'), 'l'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'╭'), 'l'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'╝'), 'j'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'╯'), 'j'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'═'), 'q'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'━'), 'q'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'║'), 'x'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'╞'), 't'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'╡'), 'u'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'╦'), 'w'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'╩'), 'v'));
    EXPECT_TRUE(IsAcs(mapper.Map(U'╬'), 'n'));
}

TEST_F(GlyphMapperTest, EveryBoxDrawingCharacterHasALineOrAsciiSubstitute) {
    UseLocale("C");
    const GlyphMapper with_acs(false, kVt100Letters);
    const GlyphMapper without_acs(false, "");
    for (char32_t ch = 0x2500; ch <= 0x257f; ++ch) {
        const Glyph acs = with_acs.Map(ch);
        EXPECT_NE(acs.kind, Glyph::Kind::Text) << "U+" << std::hex << static_cast<int>(ch);
        if (acs.kind == Glyph::Kind::Acs) {
            EXPECT_NE(std::string("qxlkmjtuvwn").find(acs.code), std::string::npos)
                << "U+" << std::hex << static_cast<int>(ch) << " as '" << acs.code << "'";
        }
        const Glyph ascii = without_acs.Map(ch);
        ASSERT_EQ(ascii.kind, Glyph::Kind::Ascii) << "U+" << std::hex << static_cast<int>(ch);
        EXPECT_NE(std::string("+-|/\\X").find(ascii.code), std::string::npos)
            << "U+" << std::hex << static_cast<int>(ch) << " as '" << ascii.code << "'";
    }
}

TEST_F(GlyphMapperTest, WithoutAcsLinesBecomePlainAscii) {
    UseLocale("C");
    const GlyphMapper mapper(false, "");
    EXPECT_TRUE(IsAscii(mapper.Map(U'┌'), '+'));
    EXPECT_TRUE(IsAscii(mapper.Map(U'═'), '-'));
    EXPECT_TRUE(IsAscii(mapper.Map(U'║'), '|'));
    EXPECT_TRUE(IsAscii(mapper.Map(U'╳'), 'X'));
}

TEST_F(GlyphMapperTest, GlyphsMissingFromTheTerminalFallBackToAsciiOneByOne) {
    UseLocale("C");
    const GlyphMapper vt100(false, kVt100Letters);
    EXPECT_TRUE(IsAscii(vt100.Map(U'█'), '#')) << "a vt100 has no block";
    EXPECT_TRUE(IsAscii(vt100.Map(U'↓'), 'v')) << "a vt100 has no arrows";
    EXPECT_TRUE(IsAcs(vt100.Map(U'▒'), 'a')) << "but a checker board";
    EXPECT_TRUE(IsAcs(vt100.Map(U'•'), '~'));
    const GlyphMapper full(false, kAllLetters);
    EXPECT_TRUE(IsAcs(full.Map(U'█'), '0'));
    EXPECT_TRUE(IsAcs(full.Map(U'↓'), '.'));
    EXPECT_TRUE(IsAcs(full.Map(U'▲'), '-'));
    EXPECT_TRUE(IsAcs(full.Map(U'→'), '+'));
}

TEST_F(GlyphMapperTest, AsciiLocaleKeepsAsciiAndReplacesOtherText) {
    UseLocale("C");
    const GlyphMapper mapper(false, kAllLetters);
    EXPECT_TRUE(IsText(mapper.Map(U'A'), U'A'));
    EXPECT_TRUE(IsText(mapper.Map(U'&'), U'&'));
    EXPECT_TRUE(IsAscii(mapper.Map(U'é'), '?'));
    EXPECT_TRUE(IsAscii(mapper.Map(U'€'), '?'));
    EXPECT_TRUE(IsAscii(mapper.Map(U'\x1b'), '?'));
}

TEST_F(GlyphMapperTest, TypographicPunctuationHasReadableAsciiStandIns) {
    UseLocale("C");
    const GlyphMapper mapper(false, kAllLetters);
    EXPECT_TRUE(IsAscii(mapper.Map(U'…'), '.'));
    EXPECT_TRUE(IsAscii(mapper.Map(U'—'), '-'));
    EXPECT_TRUE(IsAscii(mapper.Map(U'’'), '\''));
    EXPECT_TRUE(IsAscii(mapper.Map(U'✓'), 'x'));
}

}  // namespace
}  // namespace zov
