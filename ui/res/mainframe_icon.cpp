// Icon 128, the application icon: a serial adapter card seen from its component side, with
// the DB-9 connector on its mounting bracket at the left and the gold edge connector below.
#include <string_view>

#include "ui/res/dialog_templates.h"
#include "ui/res/resource.h"

namespace zovcfg::res {
namespace {

struct PaletteKey {
    char pixel;
    uint8_t index;  // in the standard VGA palette
};

constexpr PaletteKey kPalette[] = {
    {'K', 0},   // black: connector shell, chips
    {'G', 2},   // green: the board
    {'.', 7},   // light grey: the background, the dialog's face
    {'D', 8},   // dark grey: the bracket
    {'b', 9},   // bright blue: a crystal
    {'g', 10},  // bright green: copper traces
    {'R', 12},  // bright red: status lights
    {'Y', 14},  // yellow: gold contacts and pins
    {'W', 15},  // white: highlights
};

constexpr uint8_t kBackground = 7;

// clang-format off
constexpr std::string_view kDrawing[zov::IconImage::kSize] = {
    "................................",
    ".WWWWWWWW.......................",
    ".WDDDDDDD.......................",
    ".WD.....D.GGGGGGGGGGGGGGGGGGGGG.",
    ".WD.KKK.DGGGGGGGGGGGGGGGGGGGGGGG",
    ".WD.KKK.DGggggggggggggggggggggGG",
    ".WDKKKKKDGgGGGGGGGGGGGGGGGGGGgGG",
    ".WDKWWWKDGgGKKKKKKKKKKKKGGGGGgGG",
    ".WDKWYWKDGgGKKKKKKKKKKKKGRGGGgGG",
    ".WDKWWWKDGgGKKKKKKKKKKKKGGGGGgGG",
    ".WDKWYWKDgggKKKKKKKKKKKKGRGGGgGG",
    ".WDKWWWKDGgGKKKKKKKKKKKKGGGGGgGG",
    ".WDKWYWKDGgGKKKKKKKKKKKKGRGGGgGG",
    ".WDKWWWKDGgGGgGgGgGgGgGgGGGGGgGG",
    ".WDKWYWKDGgggggggggggggggggggggG",
    ".WDKWWWKDGgGGgGgGgGgGgGgGGGGGGGG",
    ".WDKWYWKDGgGKKKKKKGGGKKKKKKGGGGG",
    ".WDKWWWKDGgGKKKKKKGbGKKKKKKGGGGG",
    ".WDKWYWKDgggKKKKKKGbGKKKKKKGGGGG",
    ".WDKWWWKDGgGKKKKKKGGGKKKKKKGGGGG",
    ".WDKWWWKDGgGGgGgGgGGGgGgGgGGGGGG",
    ".WDKKKKKDGgggggggggggggggggggggG",
    ".WD.KKK.DGGGGGGGGGGGGGGGGGGGGGGG",
    ".WD.KKK.DGGGGGGGGGGGGGGGGGGGGGGG",
    ".WD.....D.GGGGGGGGGGGGGGGGGGGGG.",
    ".WD.....D...Y.Y.Y.Y.Y.Y.Y.Y.Y...",
    ".WD.....D...Y.Y.Y.Y.Y.Y.Y.Y.Y...",
    ".WD.....D...Y.Y.Y.Y.Y.Y.Y.Y.Y...",
    "..W.....D.......................",
    "...WDDDD........................",
    "................................",
    "................................",
};
// clang-format on

uint8_t PaletteIndex(char pixel) {
    for (const auto& key : kPalette) {
        if (key.pixel == pixel) {
            return key.index;
        }
    }
    return kBackground;
}

}  // namespace

zov::IconImage MainFrameIcon() {
    zov::IconImage icon;
    icon.id = IDR_MAINFRAME;
    for (std::size_t y = 0; y < zov::IconImage::kSize; ++y) {
        const std::string_view row = kDrawing[y];
        for (std::size_t x = 0; x < zov::IconImage::kSize; ++x) {
            const char pixel = x < row.size() ? row[x] : '.';
            icon.pixels[y * zov::IconImage::kSize + x] = PaletteIndex(pixel);
        }
    }
    return icon;
}

}  // namespace zovcfg::res
