// pw_palette: writes the program's standard palette, "standard.pal": an 8-bit BMP file whose
// 256-entry colour table is the palette, with a 16 by 16 picture of one pixel per entry (row 0 at
// the top holds entries 0 to 15), so that any picture viewer shows the palette.
//
// The table suits pages for the web:
//   0 to 9 and 246 to 255  the display's 20 static colours (the program keeps the display's own
//                          values there; the file repeats them so that it is a whole palette)
//   10 to 225              the 6 x 6 x 6 colour cube of the components 0, 51, 102, 153, 204, 255,
//                          red slowest, blue fastest
//   226 to 245             a grey ramp: four greys between each two neighbouring cube greys
//
// Usage: pw_palette <output file>. The file is written beside the output and renamed into place.
#include <array>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

constexpr std::array<Rgb, 10> kLowStatics = { {
    { 0x00, 0x00, 0x00 }, // black
    { 0x80, 0x00, 0x00 }, // dark red
    { 0x00, 0x80, 0x00 }, // dark green
    { 0x80, 0x80, 0x00 }, // dark yellow
    { 0x00, 0x00, 0x80 }, // dark blue
    { 0x80, 0x00, 0x80 }, // dark magenta
    { 0x00, 0x80, 0x80 }, // dark cyan
    { 0xC0, 0xC0, 0xC0 }, // light grey
    { 0xC0, 0xDC, 0xC0 }, // money green
    { 0xA6, 0xCA, 0xF0 }, // sky blue
} };

constexpr std::array<Rgb, 10> kHighStatics = { {
    { 0xFF, 0xFB, 0xF0 }, // cream
    { 0xA0, 0xA0, 0xA4 }, // medium grey
    { 0x80, 0x80, 0x80 }, // dark grey
    { 0xFF, 0x00, 0x00 }, // red
    { 0x00, 0xFF, 0x00 }, // green
    { 0xFF, 0xFF, 0x00 }, // yellow
    { 0x00, 0x00, 0xFF }, // blue
    { 0xFF, 0x00, 0xFF }, // magenta
    { 0x00, 0xFF, 0xFF }, // cyan
    { 0xFF, 0xFF, 0xFF }, // white
} };

std::array<Rgb, 256> MakePalette()
{
    std::array<Rgb, 256> palette {};
    for (size_t i = 0; i < kLowStatics.size(); ++i) {
        palette[i] = kLowStatics[i];
        palette[246 + i] = kHighStatics[i];
    }
    size_t next = 10;
    for (int red = 0; red < 6; ++red) {
        for (int green = 0; green < 6; ++green) {
            for (int blue = 0; blue < 6; ++blue)
                palette[next++] = { uint8_t(red * 51), uint8_t(green * 51), uint8_t(blue * 51) };
        }
    }
    // The cube's greys are the multiples of 51; the ramp fills each gap with four evenly spaced ones.
    for (int step = 1; step < 25; ++step) {
        if (step % 5 == 0)
            continue;
        uint8_t grey = uint8_t((step * 51 * 2 + 5) / 10);
        palette[next++] = { grey, grey, grey };
    }
    return palette;
}

void PutShort(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void PutLong(std::vector<uint8_t>& out, uint32_t value)
{
    PutShort(out, uint16_t(value));
    PutShort(out, uint16_t(value >> 16));
}

std::vector<uint8_t> MakeFile(const std::array<Rgb, 256>& palette)
{
    constexpr uint32_t kSide = 16;
    constexpr uint32_t kPixelOffset = 14 + 40 + 256 * 4;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutLong(out, kPixelOffset + kSide * kSide);
    PutLong(out, 0);
    PutLong(out, kPixelOffset);
    PutLong(out, 40);
    PutLong(out, kSide);
    PutLong(out, kSide);
    PutShort(out, 1);
    PutShort(out, 8);
    PutLong(out, 0); // no compression
    PutLong(out, kSide * kSide);
    PutLong(out, 2835); // 72 dots an inch
    PutLong(out, 2835);
    PutLong(out, 256);
    PutLong(out, 0);
    for (const Rgb& entry : palette) {
        out.push_back(entry.blue);
        out.push_back(entry.green);
        out.push_back(entry.red);
        out.push_back(0);
    }
    // Rows are stored bottom-up; a 16-byte row needs no padding.
    for (uint32_t row = kSide; row-- > 0;) {
        for (uint32_t column = 0; column < kSide; ++column)
            out.push_back(uint8_t(row * kSide + column));
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: pw_palette <output file>\n");
        return 2;
    }
    std::vector<uint8_t> bytes = MakeFile(MakePalette());
    std::string path = argv[1];
    // Several builds may write the same file at once: each writes its own part file.
    std::string temporary = path + ".part" + std::to_string(std::random_device {}());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        std::perror(temporary.c_str());
        return 1;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::perror(path.c_str());
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
