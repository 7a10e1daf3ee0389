#include "export/htmlElement.h"

#include "export/ProgramCharacters.h"
#include "foundation/MemoryStream.h"

#include <cstring>
#include <string>

PW_DEFINE_CLASS(htmlElement, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(htmlElement)

htmlElement::htmlElement(const htmlElement& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
{
}

namespace {

// What a name is called when nothing of it is left for a file name.
constexpr const char* kNamelessPage = "page";
// Signs that a URL, a web server, an FTP path or a file system reads as structure rather than as
// part of a name: escapes, folders, drives, wildcards, quotes, redirections, pipes, fragments.
constexpr const char* kStructureSigns = "%/\\:*?\"<>|#";

// Calls `each` with every byte of the text, NULs included.
template <typename Each>
void ForEachByte(const String& text, Each each)
{
    uint32_t length = 0;
    String::CharIterator chars(text, length);
    for (uint32_t i = 0; i < length; ++i)
        each(static_cast<uint8_t>(chars.Chars()[i]));
}

String StringOf(const std::string& bytes)
{
    String text;
    text.InsertChars(bytes.data(), 0, static_cast<uint32_t>(bytes.size()));
    return text;
}

} // namespace

// ASCII names come out as they always have (blanks as "_", "%" and "/" gone); the other structure
// signs and control bytes go too, and a letter outside ASCII is spelled in ASCII, so the name
// means the same to every browser, server and file system whatever character set each assumes.
String PageFileName(const String& pageName)
{
    std::string name;
    ForEachByte(pageName, [&name](uint8_t byte) {
        char c = static_cast<char>(byte);
        if (byte >= 0x80)
            name += pw::exporting::AsciiSpellingOf(byte);
        else if (c == ' ')
            name += '_';
        else if (byte >= 0x20 && byte != 0x7F && !std::strchr(kStructureSigns, c))
            name += c;
    });
    return StringOf(name.empty() ? std::string(kNamelessPage) : name);
}

String FileBaseName(FileReference& file)
{
    String name;
    file.GetNameParts(name);
    return name;
}

Stream& CopyStreamContents(Stream& out, MemoryStream& in)
{
    Memory& block = in.Block();
    block.Lock();
    try {
        out.Write(block.Ptr(), in.GetLength());
    } catch (...) {
        block.Unlock();
        throw;
    }
    block.Unlock();
    return out;
}

// Bytes outside ASCII become numeric references to the characters they stand for, so the page
// itself is ASCII and reads the same in whatever character set it is taken to be.
String pw::exporting::EscapedHTML(const String& text)
{
    std::string escaped;
    ForEachByte(text, [&escaped](uint8_t byte) {
        char c = static_cast<char>(byte);
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else if (c == '"')
            escaped += "&quot;";
        else if (byte >= 0x80)
            escaped += "&#" + std::to_string(static_cast<uint32_t>(UnicodeOf(byte))) + ";";
        else
            escaped += c;
    });
    return StringOf(escaped);
}
