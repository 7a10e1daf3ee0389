#include "export/JpegBitmapSource.h"

#include "foundation/Rect.h"
#include "graphics/BitMap.h"
#include "graphics/Color.h"
#include "graphics/PixelIterator.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

// Alive only while preload_image copies; see EndBitmapCopy.
std::optional<PixelIterator>& CopyCursor()
{
    static std::optional<PixelIterator> cursor;
    return cursor;
}

j_common_ptr Common(j_compress_ptr cinfo)
{
    return reinterpret_cast<j_common_ptr>(cinfo);
}

// The high byte of each component.
void StoreColor(const Color& color, JSAMPLE* out)
{
    out[0] = static_cast<JSAMPLE>(color.red >> 8);
    out[1] = static_cast<JSAMPLE>(color.green >> 8);
    out[2] = static_cast<JSAMPLE>(color.blue >> 8);
}

void StartInput(j_compress_ptr cinfo, bitmap_source_ptr source, int32_t left, int32_t top, int32_t right,
    int32_t bottom)
{
    auto width = static_cast<JDIMENSION>(right - left);
    auto height = static_cast<JDIMENSION>(bottom - top);
    cinfo->density_unit = 2;
    cinfo->X_density = 0;
    cinfo->Y_density = 0;
    source->row_width = source->colors ? width : 3 * width;
    source->whole_image
        = (*cinfo->mem->request_virt_sarray)(Common(cinfo), JPOOL_IMAGE, FALSE, source->row_width, height, 1);
    source->buffer = (*cinfo->mem->alloc_sarray)(Common(cinfo), JPOOL_IMAGE, 3 * width, 1);
    source->buffer_height = 1;
    cinfo->in_color_space = JCS_RGB;
    cinfo->input_components = 3;
    cinfo->data_precision = 8;
    cinfo->image_width = width;
    cinfo->image_height = height;
}

// The packed colours below lie in memory lowest byte first.
static_assert(std::endian::native == std::endian::little);

// The colours of eight pixels (a table entry's fourth byte is 0) packed into three 64-bit words.
void PutEightColors(const JSAMPLE (*colors)[4], const JSAMPLE* values, JSAMPLE* out)
{
    uint64_t color[8];
    for (int pixel = 0; pixel < 8; ++pixel) {
        uint32_t entry;
        std::memcpy(&entry, colors[values[pixel]], 4);
        color[pixel] = entry;
    }
    uint64_t first = color[0] | color[1] << 24 | color[2] << 48;
    uint64_t second = color[2] >> 16 | color[3] << 8 | color[4] << 32 | color[5] << 56;
    uint64_t third = color[5] >> 8 | color[6] << 16 | color[7] << 40;
    std::memcpy(out, &first, 8);
    std::memcpy(out + 8, &second, 8);
    std::memcpy(out + 16, &third, 8);
}

// Eight pixels at a time in three stores, where a store a pixel made the colouring, a sixth of the
// export's time, a fifth slower; then each pixel but the last is stored as four bytes, the fourth
// overwritten by the next pixel.
void PutColors(const JSAMPLE (*colors)[4], const JSAMPLE* values, JDIMENSION width, JSAMPLE* out)
{
    if (width == 0)
        return;
    JDIMENSION column = 0;
    for (; column + 8 <= width; column += 8, out += 24)
        PutEightColors(colors, values + column, out);
    for (; column + 1 < width; ++column, out += 3)
        std::memcpy(out, colors[values[column]], 4);
    if (column < width)
        std::memcpy(out, colors[values[width - 1]], 3);
}

JDIMENSION GetPixelRows(j_compress_ptr cinfo, bitmap_source_ptr source)
{
    JSAMPARRAY row
        = (*cinfo->mem->access_virt_sarray)(Common(cinfo), source->whole_image, source->source_row, 1, FALSE);
    if (source->colors)
        PutColors(source->colors, row[0], cinfo->image_width, source->buffer[0]);
    else
        std::memcpy(source->buffer[0], row[0], source->row_width);
    ++source->source_row;
    return 1;
}

// The row under the cursor as one value a pixel; the cursor moves to the next row. An 8-bit row is
// copied as it lies in memory.
void CopyValues(PixelIterator& cursor, int16_t depth, JDIMENSION width, JSAMPLE* out)
{
    if (depth == 8 && cursor.More() && static_cast<JDIMENSION>(cursor.RowSpanBytes()) >= width) {
        std::memcpy(out, cursor.CurrentAddress(), width);
        cursor.NextRow();
        return;
    }
    for (JDIMENSION column = 0; column < width; ++column) {
        out[column] = static_cast<JSAMPLE>(cursor.More() ? cursor.GetPixel() : 0);
        cursor.Next();
    }
}

JDIMENSION PreloadImage(j_compress_ptr cinfo, bitmap_source_ptr source, BitMap& bitmap)
{
    // The cursor walks in image order, so array row 0 is the picture's top row however the
    // bitmap's rows lie in memory.
    std::optional<PixelIterator>& cursor = CopyCursor();
    cursor.emplace(bitmap, bitmap.GetBounds(), true);
    int16_t depth = bitmap.GetBitDepth();
    for (JDIMENSION row = 0; row < cinfo->image_height; ++row) {
        JSAMPARRAY target = (*cinfo->mem->access_virt_sarray)(Common(cinfo), source->whole_image, row, 1, TRUE);
        JSAMPLE* out = target[0];
        if (source->colors) {
            CopyValues(*cursor, depth, cinfo->image_width, out);
            continue;
        }
        for (JDIMENSION column = 0; column < cinfo->image_width && cursor->More(); ++column, out += 3) {
            StoreColor(bitmap.GetColorOfValue(cursor->GetPixel()), out);
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

bitmap_source_ptr MakeBitmapSource(j_compress_ptr cinfo, BitMap& bitmap)
{
    auto* source = static_cast<bitmap_source_ptr>(
        (*cinfo->mem->alloc_small)(Common(cinfo), JPOOL_IMAGE, sizeof(bitmap_source_struct)));
    *source = bitmap_source_struct {};
    // Indexed depths look each value's colour up once; deeper pixels carry their colour.
    if (bitmap.GetBitDepth() <= 8) {
        source->colors = static_cast<JSAMPLE(*)[4]>(
            (*cinfo->mem->alloc_small)(Common(cinfo), JPOOL_IMAGE, 256 * sizeof(*source->colors)));
        std::memset(source->colors, 0, 256 * sizeof(*source->colors));
        uint32_t count = 1u << bitmap.GetBitDepth();
        for (uint32_t value = 0; value < count; ++value)
            StoreColor(bitmap.GetColorOfValue(value), source->colors[value]);
    }
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
