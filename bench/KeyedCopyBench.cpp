// The keyed copy of pictures onto a 640 x 480 page, as a played frame draws its sprites: the shipped
// pictures (a figure on white, mostly see-through) and a dense picture (see-through only at its
// rounded corners), each copied at 24 places, all inside the page. Each is set beside a plain loop
// doing the same copy over the same bytes: a store under a test of each pixel, which skips a
// see-through pixel for the price of its test. Pictures kept in another colour table than the
// page's go through the kept translation, and their loop through the same lookup.
#include "BitMapRows.h"
#include "graphics/BMPFile.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/OSBitMap.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"

#include "foundation/File.h"
#include "foundation/FileReference.h"

#include "platform/kernel/KernelTesting.h"

#include "Ratio.h"
#include "StartupFolder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr int kPlaces = 24;

// The standard palette and the shipped pictures from the data tree, in a start-up folder of the
// benchmark's own.
void ProvideData()
{
    static const bool provided = [] {
        std::filesystem::path root = bench::ProvideStartupFolder();
        std::filesystem::copy(PW_SHIPPED_PICTURES, root / "Pictures",
            std::filesystem::copy_options::overwrite_existing | std::filesystem::copy_options::recursive);
        return true;
    }();
    (void)provided;
}

// Every shipped picture, read as the program imports it.
std::vector<SmartPtr<BitMap>> ShippedPictures()
{
    ProvideData();
    std::vector<SmartPtr<BitMap>> pictures;
    std::filesystem::path folder = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Pictures";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".bmp")
            continue;
        std::string path = "c:\\plume\\Pictures\\" + entry.path().filename().string();
        SmartPtr<FileReference> file = FileReference::FileReferenceFromPath(path.c_str());
        SmartPtr<BMPFile> reader = new BMPFile(new File(*file.Get(), File::kRead));
        pictures.push_back(SmartCast<BitMap>(reader->Read().Get()));
    }
    if (pictures.empty())
        throw bench::Failure("no shipped pictures");
    return pictures;
}

// A 96 x 96 picture painted all over in stripes, see-through (white) only in its rounded corners.
std::vector<SmartPtr<BitMap>> DensePicture()
{
    ProvideData();
    constexpr int32_t kSide = 96;
    constexpr int32_t kCorner = 12;
    SmartPtr<OffScreen> buffer = new OffScreen(kSide, kSide, 8, Color(0), true);
    PixelIterator pixels(*buffer->GetBitMap().Get(), buffer->GetBounds(), true);
    for (; pixels.More(); pixels.Next()) {
        Point p = pixels.GetPosition();
        int32_t dh = std::max({ kCorner - p.h, p.h - (kSide - 1 - kCorner), 0 });
        int32_t dv = std::max({ kCorner - p.v, p.v - (kSide - 1 - kCorner), 0 });
        if (dh * dh + dv * dv <= kCorner * kCorner)
            pixels.SetPixel(static_cast<uint32_t>(10 + (p.h / 6 + p.v / 10) % 200));
    }
    return { buffer->GetBitMap() };
}

// The pictures again, each pixel the same colour from a table of the standard colours in reverse
// order, so that drawing them on the page goes through the translation between the tables.
std::vector<SmartPtr<BitMap>> InOtherTable(const std::vector<SmartPtr<BitMap>>& pictures)
{
    SmartPtr<ColorTable> standard = ColorTable::Setup(8);
    TypedArray<Color> reversed;
    for (uint32_t index = standard->NumColors(); index > 0; --index)
        reversed.Append(standard->GetColor(index - 1));
    SmartPtr<ColorTable> other = new ColorTable(reversed);
    std::vector<SmartPtr<BitMap>> copies;
    for (const SmartPtr<BitMap>& picture : pictures) {
        SmartPtr<BitMap> copy = new BitMap(picture->GetBounds().right, picture->GetBounds().bottom, other, Color(), false);
        PixelIterator from(*picture.Get(), picture->GetBounds(), true);
        PixelIterator to(*copy.Get(), copy->GetBounds(), true);
        for (; from.More(); from.Next(), to.Next())
            to.SetPixel(255 - from.GetPixel());
        copies.push_back(copy);
    }
    return copies;
}

// The pictures, keyed on the colour of their top-left pixel, copied in turn to 24 places of a page
// in the standard table.
class KeyedPictures {
public:
    explicit KeyedPictures(std::vector<SmartPtr<BitMap>> pictures)
        : pictures(std::move(pictures))
        , page(kWidth, kHeight, ColorTable::Setup(8), Color(0), true)
        , pageRows(bench::Rows(*page.GetBitMap().Get()))
    {
        for (const SmartPtr<BitMap>& picture : this->pictures) {
            rows.push_back(bench::Rows(*picture.Get()));
            keys.push_back(static_cast<uint8_t>(picture->GetPixelValue(0, 0)));
            ColorTable& table = *picture->GetColorTable().Get();
            ColorTable& pageTable = *page.GetBitMap()->GetColorTable().Get();
            lookups.push_back(&table == &pageTable || table.Equals(pageTable) ? nullptr : table.TranslationTo(pageTable));
        }
    }

    void Draw()
    {
        BitMap& target = *page.GetBitMap().Get();
        for (int place = 0; place < kPlaces; ++place) {
            size_t index = size_t(place) % pictures.size();
            BitMap& picture = *pictures[index].Get();
            Rect bounds = picture.GetBounds();
            Rect to = bounds;
            to.Offset(At(place, bounds).h, At(place, bounds).v);
            picture.DrawPartTo(target.GetDC(), &target, bounds, to, true, keys[index]);
        }
    }

    void Copy()
    {
        for (int place = 0; place < kPlaces; ++place) {
            size_t index = size_t(place) % pictures.size();
            Rect bounds = pictures[index]->GetBounds();
            Point at = At(place, bounds);
            const uint8_t key = keys[index];
            const uint32_t* const lookup = lookups[index];
            for (int32_t row = 0; row < bounds.bottom; ++row) {
                const uint8_t* in = rows[index][size_t(row)];
                uint8_t* out = pageRows[size_t(at.v + row)] + at.h;
                if (lookup) {
                    for (int32_t column = 0; column < bounds.right; ++column)
                        out[column] = in[column] == key ? out[column] : static_cast<uint8_t>(lookup[in[column]]);
                } else {
                    for (int32_t column = 0; column < bounds.right; ++column)
                        out[column] = in[column] == key ? out[column] : in[column];
                }
            }
        }
        benchmark::ClobberMemory();
    }

    bool Translated() const { return lookups.front() != nullptr; }

    std::vector<uint8_t> PageBytes() const
    {
        std::vector<uint8_t> bytes;
        for (const uint8_t* row : pageRows)
            bytes.insert(bytes.end(), row, row + kWidth);
        return bytes;
    }

    void Clear()
    {
        for (uint8_t* row : pageRows)
            std::fill(row, row + kWidth, uint8_t(7));
    }

private:
    static Point At(int place, const Rect& bounds)
    {
        return Point(place * 131 % (kWidth - bounds.right), place * 71 % (kHeight - bounds.bottom));
    }

    std::vector<SmartPtr<BitMap>> pictures;
    OffScreen page;
    std::vector<uint8_t*> pageRows;
    std::vector<std::vector<uint8_t*>> rows;
    std::vector<uint8_t> keys;
    std::vector<const uint32_t*> lookups;
};

// Both sides must leave the same page, or the pair would compare different work.
bench::Sides KeyedSides(std::vector<SmartPtr<BitMap>> pictures, bool otherTable)
{
    auto copy = std::make_shared<KeyedPictures>(std::move(pictures));
    copy->Clear();
    copy->Draw();
    std::vector<uint8_t> drawn = copy->PageBytes();
    copy->Clear();
    copy->Copy();
    if (copy->PageBytes() != drawn)
        throw bench::Failure("the keyed copy left another page than the plain loop");
    if (copy->Translated() != otherTable)
        throw bench::Failure(otherTable ? "the pictures are not translated" : "the pictures are translated");
    return bench::Sides { [copy] { copy->Draw(); }, [copy] { copy->Copy(); } };
}

[[maybe_unused]] const bool shippedPictures
    = bench::Compare("BM_KeyedShippedPictures", { 1.5 }, [] { return KeyedSides(ShippedPictures(), false); });
[[maybe_unused]] const bool densePicture
    = bench::Compare("BM_KeyedDensePicture", { 1.5 }, [] { return KeyedSides(DensePicture(), false); });
[[maybe_unused]] const bool shippedPicturesOtherTable = bench::Compare(
    "BM_KeyedShippedPicturesOtherTable", { 1.5 }, [] { return KeyedSides(InOtherTable(ShippedPictures()), true); });
[[maybe_unused]] const bool densePictureOtherTable = bench::Compare(
    "BM_KeyedDensePictureOtherTable", { 1.5 }, [] { return KeyedSides(InOtherTable(DensePicture()), true); });

} // namespace
