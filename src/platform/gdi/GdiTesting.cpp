#include "platform/gdi/GdiTesting.h"

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ObjectTable.h"

#include <algorithm>
#include <fstream>

namespace pw::platform::gdi::testing {

namespace {

PixelImage Read(const Surface& surface, int left, int top, int width, int height)
{
    PixelImage image;
    image.width = std::max(0, width);
    image.height = std::max(0, height);
    image.depth = surface.depth;
    image.table.assign(surface.table.begin(), surface.table.end());
    image.values.reserve(static_cast<size_t>(image.width) * image.height);
    for (int y = top; y < top + image.height; ++y)
        for (int x = left; x < left + image.width; ++x)
            image.values.push_back(surface.Contains(x, y) ? surface.Get(x, y) : 0);
    return image;
}

void Put16(std::string& out, uint32_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

} // namespace

COLORREF PixelImage::ColorAt(int x, int y) const
{
    Surface view;
    view.depth = depth;
    view.table = table;
    return view.ColorOf(At(x, y));
}

PixelImage ReadScreen()
{
    Surface screen = Screen::GetSurface();
    return Read(screen, 0, 0, screen.width, screen.height);
}

std::optional<PixelImage> ReadDC(HDC hdc)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return std::nullopt;
    Surface surface = dc->Target();
    POINT origin = dc->Origin();
    if (dc->type == DeviceContext::Type::Window && dc->Visible()) {
        RECT box = dc->Visible()->Box();
        return Read(surface, origin.x, origin.y, box.right - origin.x, box.bottom - origin.y);
    }
    return Read(surface, 0, 0, surface.width, surface.height);
}

std::optional<PixelImage> ReadBitmap(HBITMAP hbm)
{
    Bitmap* bitmap = ObjectTable::Find<Bitmap>(hbm);
    if (!bitmap)
        return std::nullopt;
    Surface surface = bitmap->GetSurface();
    return Read(surface, 0, 0, surface.width, surface.height);
}

bool SaveBmp(const PixelImage& image, const std::string& path)
{
    bool indexed = image.depth <= 8;
    int depth = indexed ? 8 : 24;
    size_t rowBytes = RowBytes(image.width, depth, 4);
    uint32_t tableBytes = indexed ? 256 * 4 : 0;
    uint32_t offset = 14 + 40 + tableBytes;
    std::string out;
    out += "BM";
    Put32(out, offset + static_cast<uint32_t>(rowBytes * image.height));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(image.width));
    Put32(out, static_cast<uint32_t>(image.height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(depth));
    for (int i = 0; i < 6; ++i)
        Put32(out, 0);
    if (indexed)
        for (size_t i = 0; i < 256; ++i) {
            RGBQUAD q = i < image.table.size() ? image.table[i] : RGBQUAD {};
            out.push_back(static_cast<char>(q.rgbBlue));
            out.push_back(static_cast<char>(q.rgbGreen));
            out.push_back(static_cast<char>(q.rgbRed));
            out.push_back(0);
        }
    for (int y = image.height - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < image.width; ++x) {
            if (indexed) {
                out.push_back(static_cast<char>(image.At(x, y)));
                continue;
            }
            COLORREF color = image.ColorAt(x, y);
            out.push_back(static_cast<char>(GetBValue(color)));
            out.push_back(static_cast<char>(GetGValue(color)));
            out.push_back(static_cast<char>(GetRValue(color)));
        }
        out.resize(start + rowBytes, '\0');
    }
    std::ofstream file(path, std::ios::binary);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

size_t LiveObjectCount()
{
    return ObjectTable::ObjectCount();
}

size_t LiveDcCount()
{
    return ObjectTable::DcCount();
}

void ConfigureScreen(const ScreenSettings& settings)
{
    Screen::Configure(settings);
}

} // namespace pw::platform::gdi::testing
