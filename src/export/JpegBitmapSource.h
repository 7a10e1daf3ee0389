#pragma once

#include "export/JpegLibrary.h"

#include <cstdint>

class BitMap;

// The pixel source that feeds a bitmap's rows to the compressor. The first row request copies the
// whole picture into one of the library's virtual arrays (top row first), so the compression works
// on a snapshot and the bitmap is free again before the library starts; every request then hands
// out the next row, in 8-bit red, green and blue, through a one-row buffer. An 8-bit bitmap is
// copied as its values and each row turned into colours as it is handed out, which keeps the
// snapshot a third of the size; other depths are copied as colours. Allocated in the library's
// image pool, so it lives until the compressor is destroyed.
struct bitmap_source_struct;
using bitmap_source_ptr = bitmap_source_struct*;

struct bitmap_source_struct {
    // Describes the image (the rectangle's size) to the library and makes the arrays.
    void (*start_input)(j_compress_ptr cinfo, bitmap_source_ptr source, int32_t left, int32_t top, int32_t right,
        int32_t bottom);
    // The first row request: copies the bitmap, then answers as get_pixel_rows.
    JDIMENSION (*preload_image)(j_compress_ptr cinfo, bitmap_source_ptr source, BitMap& bitmap);
    // Each later row request; the row is in buffer.
    JDIMENSION (*get_pixel_rows)(j_compress_ptr cinfo, bitmap_source_ptr source);
    void (*finish_input)(j_compress_ptr cinfo, bitmap_source_ptr source);
    JSAMPARRAY buffer;
    JDIMENSION buffer_height;
    j_compress_ptr cinfo;
    jvirt_sarray_ptr whole_image;
    // The next array row to hand out.
    JDIMENSION source_row;
    // Bytes of one array row: width for 8-bit values, else 3 x width.
    JDIMENSION row_width;
    // For a bitmap of 8 bits or fewer, each value's colour as red, green, blue and a spare byte;
    // null when the array holds colours.
    JSAMPLE (*colors)[4];
};

namespace pw::exporting {

// A new source for the bitmap in the compressor's image pool.
bitmap_source_ptr MakeBitmapSource(j_compress_ptr cinfo, BitMap& bitmap);

// Where the copying cursor lives while the picture is copied: outside the stack frames the
// library's error exit may jump over. The conversion ends it when a jump cut the copy short.
void EndBitmapCopy();

} // namespace pw::exporting
