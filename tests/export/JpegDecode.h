// Reads a written JPEG back with the library's own decompressor: the header fields the export
// fixes and the decoded pixels as 8-bit red, green and blue.
#pragma once

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace jpegtest {

struct DecodedJpeg {
    bool ok { false };
    std::string error;
    JDIMENSION width { 0 };
    JDIMENSION height { 0 };
    int components { 0 };
    J_COLOR_SPACE colorSpace { JCS_UNKNOWN };
    bool jfif { false };
    int densityUnit { -1 };
    int xDensity { -1 };
    int yDensity { -1 };
    bool progressive { false };
    int lumaQuant { 0 };
    int chromaQuant { 0 };
    std::vector<uint8_t> rgb;

    const uint8_t* Pixel(JDIMENSION x, JDIMENSION y) const { return &rgb[(y * width + x) * 3]; }
};

namespace detail {

struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

inline void ErrorExit(j_common_ptr cinfo)
{
    auto* error = reinterpret_cast<ErrorJump*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, error->message);
    std::longjmp(error->jump, 1);
}

// Only trivially destructible objects live in this frame, so the error jump skips nothing.
inline bool DecodeInto(const std::vector<uint8_t>& bytes, DecodedJpeg& out, ErrorJump& error)
{
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = ErrorExit;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    out.width = cinfo.image_width;
    out.height = cinfo.image_height;
    out.components = cinfo.num_components;
    out.colorSpace = cinfo.jpeg_color_space;
    out.jfif = cinfo.saw_JFIF_marker;
    out.densityUnit = cinfo.density_unit;
    out.xDensity = cinfo.X_density;
    out.yDensity = cinfo.Y_density;
    out.progressive = cinfo.progressive_mode;
    out.lumaQuant = cinfo.quant_tbl_ptrs[0] ? cinfo.quant_tbl_ptrs[0]->quantval[0] : 0;
    out.chromaQuant = cinfo.quant_tbl_ptrs[1] ? cinfo.quant_tbl_ptrs[1]->quantval[0] : 0;
    cinfo.out_color_space = JCS_RGB;
    // Chroma is repeated rather than blended with the neighbouring blocks, so colours stay within
    // their own 16-pixel blocks.
    cinfo.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&cinfo);
    out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &out.rgb[static_cast<size_t>(cinfo.output_scanline) * out.width * 3];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace detail

inline DecodedJpeg Decode(const std::vector<uint8_t>& bytes)
{
    DecodedJpeg out;
    detail::ErrorJump error {};
    out.ok = detail::DecodeInto(bytes, out, error);
    if (!out.ok)
        out.error = error.message;
    return out;
}

} // namespace jpegtest
