// Shared ground for the port and buffer tests: off-screen buffers in the standard palette (the
// bitmap fixture's known "standard.pal"), pixels as text art with one character per colour, and
// devices that are not off-screen buffers.
#pragma once

#include "graphics/DisplayDevice.h"
#include "graphics/OffScreen.h"

#include "BitMapFixture.h"

#include <map>
#include <string>

namespace ports {

using bitmaps::Rgb;

// The characters of the text art and their colours; any other pixel shows as '?'.
inline const std::map<char, Color>& Legend()
{
    static const std::map<char, Color> legend = {
        { '.', Color(0) }, { '#', Color(1) }, { 'r', Color(7) }, { 'g', Color(8) }, { 'b', Color(9) },
        { 'y', Color(10) }, { 'm', Color(12) }, { 'c', Rgb(0, 255, 255) },
    };
    return legend;
}

// The standard palette index a colour is drawn as.
inline uint32_t IndexOf(const Color& color)
{
    return GetNearestPaletteIndex(ColorTable::GetStandardPalette(), RGB(color.red >> 8, color.green >> 8, color.blue >> 8));
}

// An 8-bit bitmap's pixels, rows joined by '|'; 'x' is white inverted (its index complemented).
inline std::string Art(BitMap& bitmap)
{
    std::map<uint32_t, char> names;
    for (const auto& [name, color] : Legend())
        names.emplace(IndexOf(color), name);
    names.emplace(255 - IndexOf(Color(0)), 'x');
    Rect bounds = bitmap.GetBounds();
    std::string art;
    PixelIterator cursor(bitmap, bounds, true);
    for (; cursor.More(); cursor.Next()) {
        if (cursor.GetPosition().h == 0 && cursor.GetPosition().v > 0)
            art += '|';
        auto found = names.find(cursor.GetPixel());
        art += found == names.end() ? '?' : found->second;
    }
    return art;
}

inline std::string Art(OffScreen& buffer)
{
    return Art(*buffer.GetBitMap().Get());
}

// Paints the text art into an 8-bit bitmap of its size.
inline void PaintArt(BitMap& bitmap, const std::string& art)
{
    Rect bounds = bitmap.GetBounds();
    PixelIterator cursor(bitmap, bounds, true);
    for (char name : art) {
        if (name == '|')
            continue;
        cursor.SetPixel(IndexOf(Legend().at(name)));
        cursor.Next();
    }
}

// A device over a bitmap's context that is not an off-screen buffer (as a window is not); when
// `refuses` it never starts drawing, though its context stays at hand.
class BitMapDevice : public DisplayDevice {
public:
    BitMapDevice(const SmartPtr<BitMap>& bitmap, const Color& background, bool refuses)
        : DisplayDevice(background, false)
        , bitmap(bitmap)
        , refuses(refuses)
    {
    }

    void BeginDraw(int32_t mode) override
    {
        if (!refuses)
            DisplayDevice::BeginDraw(mode);
    }
    Rect GetBounds() override { return bitmap->GetBounds(); }
    SmartPtr<ColorTable> GetColorTable() override { return bitmap->GetColorTable(); }
    HDC OSContext() override { return bitmap->GetDC(); }

private:
    SmartPtr<BitMap> bitmap;
    bool refuses;
};

} // namespace ports
