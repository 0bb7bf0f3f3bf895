// icon_png_writer: writes icon 128, the application icon, as a PNG file for the desktop entry.
// The image is indexed colour (the 16-colour VGA palette, which libpng packs to 4 bits a pixel)
// with the light grey background transparent.
//
// Usage: icon_png_writer OUTPUT.png
#include <png.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/dialog/resource.h"
#include "platform/format.h"
#include "ui/res/dialog_templates.h"

namespace {

struct Rgba {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::uint8_t alpha;
};

// The standard VGA palette, in index order. Light grey (7), the dialog's face, is the icon's
// background: transparent on a desktop.
constexpr std::array<Rgba, 16> kVgaPalette = {{
    {0x00, 0x00, 0x00, 0xFF},
    {0x00, 0x00, 0xAA, 0xFF},
    {0x00, 0xAA, 0x00, 0xFF},
    {0x00, 0xAA, 0xAA, 0xFF},
    {0xAA, 0x00, 0x00, 0xFF},
    {0xAA, 0x00, 0xAA, 0xFF},
    {0xAA, 0x55, 0x00, 0xFF},
    {0xAA, 0xAA, 0xAA, 0x00},
    {0x55, 0x55, 0x55, 0xFF},
    {0x55, 0x55, 0xFF, 0xFF},
    {0x55, 0xFF, 0x55, 0xFF},
    {0x55, 0xFF, 0xFF, 0xFF},
    {0xFF, 0x55, 0x55, 0xFF},
    {0xFF, 0x55, 0xFF, 0xFF},
    {0xFF, 0xFF, 0x55, 0xFF},
    {0xFF, 0xFF, 0xFF, 0xFF},
}};

// The PNG file of the icon, or an empty vector with *error set.
std::vector<std::uint8_t> EncodePng(const zov::IconImage& icon, std::string* error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = zov::IconImage::kSize;
    image.height = zov::IconImage::kSize;
    image.format = PNG_FORMAT_RGBA_COLORMAP;
    image.colormap_entries = static_cast<png_uint_32>(kVgaPalette.size());

    // One palette index a byte; the pixels hold a palette index in their low nibble.
    std::vector<std::uint8_t> indices(icon.pixels.size());
    for (std::size_t i = 0; i < indices.size(); ++i) {
        indices[i] = static_cast<std::uint8_t>(icon.pixels[i] & 0x0F);
    }

    png_alloc_size_t size = 0;
    std::vector<std::uint8_t> png;
    bool encoded =
        png_image_write_get_memory_size(image, size, 0, indices.data(), 0, kVgaPalette.data());
    if (encoded) {
        png.resize(size);
        encoded = png_image_write_to_memory(&image, png.data(), &size, 0, indices.data(), 0,
                                            kVgaPalette.data()) != 0;
    }
    if (encoded) {
        png.resize(size);
    } else {
        *error = zov::FormatText("libpng could not encode the icon: %s", image.message);
        png.clear();
    }
    png_image_free(&image);
    return png;
}

int Fail(const std::string& message) {
    const std::string line = zov::FormatText("icon_png_writer: %s\n", message.c_str());
    static_cast<void>(std::fputs(line.c_str(), stderr));  // nothing more to do if it fails
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return Fail("usage: icon_png_writer OUTPUT.png");
    }
    const std::string path = argv[1];
    std::string error;
    const std::vector<std::uint8_t> png = EncodePng(zovcfg::res::MainFrameIcon(), &error);
    if (png.empty()) {
        return Fail(error);
    }
    // Written beside the target and renamed over it, so that a failed write never leaves a
    // partial icon that the next build would take as up to date.
    const std::string temporary = path + ".tmp";
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file) {
        return Fail(zov::FormatText("cannot create %s", temporary.c_str()));
    }
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    file.close();
    if (!file || std::rename(temporary.c_str(), path.c_str()) != 0) {
        static_cast<void>(std::remove(temporary.c_str()));  // best effort; the failure is reported
        return Fail(zov::FormatText("cannot write %s", path.c_str()));
    }
    return 0;
}
