// Which DejaVu file draws a face, and the one FreeType library that opens the files.
//
// Face mapping (a floor choice): "Courier New", "Courier", "Fixedsys" and other fixed-pitch
// names map to DejaVu Sans Mono; "Times New Roman" and other serif faces to DejaVu Serif;
// "Arial" and every other face, the empty name included, to DejaVu Sans. Bold picks the Bold
// file, italic the Oblique (Sans, Mono) or Italic (Serif) file; when a styled file is missing the
// nearest existing one is used, down to the family's regular file and then DejaVu Sans.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct FT_LibraryRec_;

namespace pw::platform::gdi {

class FontFile {
public:
    enum class Family { Sans, Serif, Mono };

    static Family FamilyOf(std::string_view faceName);
    // The file to open, or an empty string when none of the candidates exists.
    static std::string PathFor(Family family, bool bold, bool italic);

    // The folder holding the DejaVu files.
    static constexpr const char* kFolder = "/usr/share/fonts/truetype/dejavu/";

    // The bytes of a font file, read once and shared by every font made from it; null when the
    // file cannot be read.
    static std::shared_ptr<const std::vector<unsigned char>> Bytes(const std::string& path);

    // The process-wide FreeType library (created on first use) and the lock that guards face
    // creation and destruction on it.
    static FT_LibraryRec_* Library();
    static std::mutex& LibraryLock();
};

} // namespace pw::platform::gdi
