#include "platform/gdi/FontFile.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace pw::platform::gdi {

namespace {

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool Has(const std::string& s, std::string_view part)
{
    return s.find(part) != std::string::npos;
}

} // namespace

FontFile::Family FontFile::FamilyOf(std::string_view faceName)
{
    std::string face = Lower(faceName);
    if (Has(face, "courier") || Has(face, "mono") || face == "fixedsys" || face == "terminal"
        || face == "lucida console" || face == "consolas")
        return Family::Mono;
    if (Has(face, "sans"))
        return Family::Sans;
    if (Has(face, "times") || Has(face, "serif") || Has(face, "roman") || Has(face, "georgia")
        || Has(face, "garamond") || Has(face, "palatino") || Has(face, "bookman") || Has(face, "century"))
        return Family::Serif;
    return Family::Sans;
}

std::string FontFile::PathFor(Family family, bool bold, bool italic)
{
    const char* base = family == Family::Serif ? "DejaVuSerif" : family == Family::Mono ? "DejaVuSansMono" : "DejaVuSans";
    const char* slant = family == Family::Serif ? "Italic" : "Oblique";
    // Styled file first, then the nearest styles, then the family's regular file and DejaVu Sans.
    std::vector<std::string> candidates;
    if (bold && italic)
        candidates.push_back(std::string(base) + "-Bold" + slant);
    if (bold)
        candidates.push_back(std::string(base) + "-Bold");
    if (italic)
        candidates.push_back(std::string(base) + "-" + slant);
    candidates.push_back(base);
    candidates.push_back("DejaVuSans");
    for (const std::string& name : candidates) {
        std::string path = std::string(kFolder) + name + ".ttf";
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            return path;
    }
    return {};
}

std::shared_ptr<const std::vector<unsigned char>> FontFile::Bytes(const std::string& path)
{
    static std::mutex lock;
    static std::map<std::string, std::shared_ptr<const std::vector<unsigned char>>> files;
    std::lock_guard guard(lock);
    auto& entry = files[path];
    if (!entry) {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return nullptr;
        auto bytes = std::make_shared<std::vector<unsigned char>>(std::istreambuf_iterator<char>(in),
                                                                 std::istreambuf_iterator<char>());
        if (bytes->empty())
            return nullptr;
        entry = std::move(bytes);
    }
    return entry;
}

FT_LibraryRec_* FontFile::Library()
{
    static FT_Library library = [] {
        FT_Library created = nullptr;
        if (FT_Init_FreeType(&created) != 0)
            return FT_Library(nullptr);
        return created;
    }();
    return library;
}

std::mutex& FontFile::LibraryLock()
{
    static std::mutex lock;
    return lock;
}

} // namespace pw::platform::gdi
