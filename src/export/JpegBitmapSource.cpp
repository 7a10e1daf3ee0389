#include "export/JpegBitmapSource.h"

#include "foundation/Rect.h"
#include "graphics/BitMap.h"
#include "graphics/Color.h"
#include "graphics/PixelIterator.h"

#include <cstring>
#include <optional>

namespace {

// Alive only while preload_image copies; see EndBitmapCopy.
std::optional<PixelIterator>& CopyCursor()
{
    static std::optional<PixelIterator> cursor;
    return cursor;
}

void StartInput(j_compress_ptr cinfo, bitmap_source_ptr source, int32_t left, int32_t top, int32_t right,
    int32_t bottom)
{
    auto width = static_cast<JDIMENSION>(right - left);
    auto height = static_cast<JDIMENSION>(bottom - top);
    cinfo->density_unit = 2;
    cinfo->X_density = 0;
    cinfo->Y_density = 0;
    source->row_width = 3 * width;
    source->whole_image
        = (*cinfo->mem->request_virt_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, FALSE,
            source->row_width, height, 1);
    source->buffer = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, 3 * width, 1);
    source->buffer_height = 1;
    cinfo->in_color_space = JCS_RGB;
    cinfo->input_components = 3;
    cinfo->data_precision = 8;
    cinfo->image_width = width;
    cinfo->image_height = height;
}

JDIMENSION GetPixelRows(j_compress_ptr cinfo, bitmap_source_ptr source)
{
    JSAMPARRAY row = (*cinfo->mem->access_virt_sarray)(reinterpret_cast<j_common_ptr>(cinfo), source->whole_image,
        source->source_row, 1, FALSE);
    std::memcpy(source->buffer[0], row[0], source->row_width);
    ++source->source_row;
    return 1;
}

// The colour of each value as the three high bytes of its components. Indexed depths are looked
// up once per value; deeper pixels carry their colour in the value.
struct ColorLookup {
    explicit ColorLookup(BitMap& bitmap)
        : bitmap(bitmap)
        , indexed(bitmap.GetBitDepth() <= 8)
    {
        if (!indexed)
            return;
        uint32_t count = 1u << bitmap.GetBitDepth();
        for (uint32_t value = 0; value < count; ++value)
            Store(bitmap.GetColorOfValue(value), table[value]);
    }

    void Put(uint32_t value, JSAMPLE* out) const
    {
        if (indexed) {
            std::memcpy(out, table[value & 0xFF], 3);
            return;
        }
        Store(bitmap.GetColorOfValue(value), out);
    }

    static void Store(const Color& color, JSAMPLE* out)
    {
        out[0] = static_cast<JSAMPLE>(color.red >> 8);
        out[1] = static_cast<JSAMPLE>(color.green >> 8);
        out[2] = static_cast<JSAMPLE>(color.blue >> 8);
    }

    BitMap& bitmap;
    bool indexed;
    JSAMPLE table[256][3] {};
};

JDIMENSION PreloadImage(j_compress_ptr cinfo, bitmap_source_ptr source, BitMap& bitmap)
{
    // The cursor walks in image order, so array row 0 is the picture's top row however the
    // bitmap's rows lie in memory.
    const ColorLookup lookup(bitmap);
    std::optional<PixelIterator>& cursor = CopyCursor();
    cursor.emplace(bitmap, bitmap.GetBounds(), true);
    for (JDIMENSION row = 0; row < cinfo->image_height; ++row) {
        JSAMPARRAY target = (*cinfo->mem->access_virt_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
            source->whole_image, row, 1, TRUE);
        JSAMPLE* out = target[0];
        for (JDIMENSION column = 0; column < cinfo->image_width && cursor->More(); ++column, out += 3) {
            lookup.Put(cursor->GetPixel(), out);
            cursor->Next();
        }
    }
    cursor.reset();
    source->get_pixel_rows = GetPixelRows;
    source->source_row = 0;
    return GetPixelRows(cinfo, source);
}

void FinishInput(j_compress_ptr, bitmap_source_ptr) { }

} // namespace

namespace pw::exporting {

bitmap_source_ptr MakeBitmapSource(j_compress_ptr cinfo)
{
    auto* source = static_cast<bitmap_source_ptr>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, sizeof(bitmap_source_struct)));
    *source = bitmap_source_struct {};
    source->start_input = StartInput;
    source->preload_image = PreloadImage;
    source->get_pixel_rows = GetPixelRows;
    source->finish_input = FinishInput;
    source->cinfo = cinfo;
    return source;
}

void EndBitmapCopy()
{
    CopyCursor().reset();
}

} // namespace pw::exporting
