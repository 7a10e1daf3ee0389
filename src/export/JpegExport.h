#pragma once

#include <cstdint>

class BitMap;
class FileReference;
class FileType;
class Image;
class Stream;

// Writing pictures as baseline JFIF files through the JPEG library: YCbCr, three components, the
// library's default quality of 75, density unit 2 with densities 0 by 0, the picture's top row
// first. Every pixel goes through its bitmap's colour table, whatever the depth. One conversion
// runs at a time, shown as a 100-step progress range "Jpeg conversion"; the library's errors and a
// cancel at the progress dialog come back as the framework's exceptions once the library's
// compressor is gone.

// "JPEG Picture", type code 'JPEG', extension 'jpg '.
const FileType& JPEGFileType();

// Writes the image (a bitmap as it is, any other image drawn into a bitmap of its bounds) into
// the existing file, which ends up holding exactly the JPEG. The picture is compressed in memory
// first, so a conversion that fails or is cancelled leaves the file as it was. An image that
// yields no bitmap writes nothing.
void SaveImageAsJPEG(Image& image, FileReference& file);

// Compresses the whole bitmap into the stream from its mark, in blocks of at most 4096 bytes.
// A width or height of 0 or over 65500 is refused before the library is called.
void JpegCompressFile(BitMap& bitmap, Stream& stream);

namespace pw::exporting {

// The largest width or height the library takes.
inline constexpr int32_t kMaxJpegDimension = 65500;

} // namespace pw::exporting
