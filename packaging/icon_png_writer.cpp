// icon_png_writer: writes icon 128, the application icon, as a PNG file for the desktop entry.
// The image is indexed colour (4 bits a pixel, the 16-colour VGA palette) with the light grey
// background transparent. The pixel data go into a zlib stream of stored deflate blocks: a
// 32 by 32 icon is too small for compression to matter, and stored blocks need no zlib.
//
// Usage: icon_png_writer OUTPUT.png
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/crc32.h"
#include "platform/dialog/resource.h"
#include "platform/format.h"
#include "ui/res/dialog_templates.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

// The standard VGA palette, in index order.
constexpr std::array<Rgb, 16> kVgaPalette = {{
    {0x00, 0x00, 0x00},
    {0x00, 0x00, 0xAA},
    {0x00, 0xAA, 0x00},
    {0x00, 0xAA, 0xAA},
    {0xAA, 0x00, 0x00},
    {0xAA, 0x00, 0xAA},
    {0xAA, 0x55, 0x00},
    {0xAA, 0xAA, 0xAA},
    {0x55, 0x55, 0x55},
    {0x55, 0x55, 0xFF},
    {0x55, 0xFF, 0x55},
    {0x55, 0xFF, 0xFF},
    {0xFF, 0x55, 0x55},
    {0xFF, 0x55, 0xFF},
    {0xFF, 0xFF, 0x55},
    {0xFF, 0xFF, 0xFF},
}};

// Light grey, the dialog's face: the icon's background, transparent on a desktop.
constexpr std::uint8_t kBackgroundIndex = 7;

// The most one stored deflate block can hold.
constexpr std::size_t kStoredBlockLimit = 65535;

void AppendBigEndian32(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void AppendLittleEndian16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::uint32_t Adler32(const Bytes& data) {
    constexpr std::uint32_t kModulus = 65521;
    std::uint32_t low = 1;
    std::uint32_t high = 0;
    for (const std::uint8_t byte : data) {
        low = (low + byte) % kModulus;
        high = (high + low) % kModulus;
    }
    return (high << 16) | low;
}

// A zlib stream (RFC 1950) holding the data in stored deflate blocks (RFC 1951, type 00).
Bytes StoredZlibStream(const Bytes& data) {
    // CMF 0x78: deflate with a 32 KiB window; FLG 0x01 makes CMF*256+FLG a multiple of 31.
    Bytes out = {0x78, 0x01};
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min(kStoredBlockLimit, data.size() - offset);
        const bool last = offset + length == data.size();
        out.push_back(last ? 0x01 : 0x00);  // BFINAL, BTYPE 00; the rest of the byte is padding
        AppendLittleEndian16(out, static_cast<std::uint16_t>(length));
        AppendLittleEndian16(out, static_cast<std::uint16_t>(~length));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(offset),
                   data.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < data.size());
    AppendBigEndian32(out, Adler32(data));
    return out;
}

// One chunk: length, type, data, and the CRC-32 of type and data.
void AppendChunk(Bytes& png, const char (&type)[5], const Bytes& data) {
    AppendBigEndian32(png, static_cast<std::uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    AppendBigEndian32(png, zov::Crc32(typed.data(), typed.size()));
}

// The scanlines of the image: each row a filter byte (0, none) and two pixels a byte, the left
// one in the high nibble.
Bytes Scanlines(const zov::IconImage& icon) {
    constexpr auto kSize = static_cast<std::size_t>(zov::IconImage::kSize);
    Bytes rows;
    rows.reserve(kSize * (1 + kSize / 2));
    for (std::size_t y = 0; y < kSize; ++y) {
        rows.push_back(0);
        for (std::size_t x = 0; x < kSize; x += 2) {
            const auto left = static_cast<std::uint8_t>(icon.pixels[y * kSize + x] & 0x0F);
            const auto right = static_cast<std::uint8_t>(icon.pixels[y * kSize + x + 1] & 0x0F);
            rows.push_back(static_cast<std::uint8_t>((left << 4) | right));
        }
    }
    return rows;
}

Bytes EncodePng(const zov::IconImage& icon) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

    Bytes header;
    AppendBigEndian32(header, zov::IconImage::kSize);  // width
    AppendBigEndian32(header, zov::IconImage::kSize);  // height
    header.push_back(4);                               // bits a pixel
    header.push_back(3);                               // colour type: indexed
    header.push_back(0);                               // compression: deflate
    header.push_back(0);                               // filter method: adaptive
    header.push_back(0);                               // no interlace
    AppendChunk(png, "IHDR", header);

    Bytes palette;
    for (const Rgb& colour : kVgaPalette) {
        palette.insert(palette.end(), {colour.red, colour.green, colour.blue});
    }
    AppendChunk(png, "PLTE", palette);

    // Alpha of the palette entries up to the background; the entries after it stay opaque.
    Bytes alpha(kBackgroundIndex + 1, 0xFF);
    alpha[kBackgroundIndex] = 0x00;
    AppendChunk(png, "tRNS", alpha);

    AppendChunk(png, "IDAT", StoredZlibStream(Scanlines(icon)));
    AppendChunk(png, "IEND", {});
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
    const Bytes png = EncodePng(zovcfg::res::MainFrameIcon());
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
