// What the export should make of a bitmap: the JPEG library fed the bitmap's table colours as
// red, green and blue rows directly, with the export's settings (the library's defaults, density
// unit 2, densities 0 by 0). The tests hold the export to these bytes; the export benchmark times
// the library doing it.
#pragma once

#include "graphics/BitMap.h"
#include "graphics/Color.h"
#include "graphics/PixelIterator.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace jpegtest {

// The bitmap's pixels through its colour table, the high byte of each component, top row first.
inline std::vector<uint8_t> TableColors(BitMap& bitmap)
{
    std::vector<uint8_t> rgb;
    for (PixelIterator pixels(bitmap, bitmap.GetBounds(), true); pixels.More(); pixels.Next()) {
        Color color = bitmap.GetColorOfValue(pixels.GetPixel());
        for (uint16_t component : { color.red, color.green, color.blue })
            rgb.push_back(static_cast<uint8_t>(component >> 8));
    }
    return rgb;
}

// The library fed `height` rows of `width` red, green and blue pixels with the export's settings,
// into memory. `fill` (buffer, row) puts each row, top first, into the one-row buffer just before
// the library takes it; the buffer has a byte to spare after the row.
template <typename Fill>
std::vector<uint8_t> EncodeRowByRow(JDIMENSION width, JDIMENSION height, Fill fill)
{
    jpeg_compress_struct cinfo {};
    jpeg_error_mgr errors {};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    cinfo.density_unit = 2;
    cinfo.X_density = 0;
    cinfo.Y_density = 0;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(3 * size_t(width) + 1);
    JSAMPROW rows[1] = { row.data() };
    while (cinfo.next_scanline < cinfo.image_height) {
        fill(row.data(), cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> file(buffer, buffer + size);
    std::free(buffer);
    return file;
}

// `rows` holds the pointers to `width` x 3 bytes of each row, top first.
inline std::vector<uint8_t> EncodeRows(const std::vector<JSAMPROW>& rows, JDIMENSION width)
{
    return EncodeRowByRow(width, static_cast<JDIMENSION>(rows.size()),
        [&rows, width](JSAMPLE* out, JDIMENSION row) { std::memcpy(out, rows[row], 3 * size_t(width)); });
}

// The row pointers of `rgb`, rows of `width` pixels.
inline std::vector<JSAMPROW> RowsOf(std::vector<uint8_t>& rgb, JDIMENSION width)
{
    std::vector<JSAMPROW> rows;
    for (size_t start = 0; width > 0 && start + 3 * size_t(width) <= rgb.size(); start += 3 * size_t(width))
        rows.push_back(rgb.data() + start);
    return rows;
}

} // namespace jpegtest
