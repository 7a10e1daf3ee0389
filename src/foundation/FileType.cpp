#include "foundation/FileType.h"

#include "foundation/FileReference.h"

PW_DEFINE_CLASS(FileType, nullptr, nullptr, FileCreatorType)
PW_DEFINE_COPY_SLOTS(FileType)

FileType::FileType(const char* name, uint32_t typeCode, uint32_t extension, const char* longExtension)
    : FileCreatorType(name, typeCode)
    , extension(extension)
    , longExtension(longExtension)
{
}

bool FileType::Matches(FileReference& reference) const
{
    return reference.GetParts().extension == extension;
}

uint32_t FileType::ExtensionCode(const char* text)
{
    uint32_t code = ' ';
    for (int index = 0; index < 3; ++index) {
        char c = text && *text ? *text++ : 0;
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        code |= static_cast<uint32_t>(static_cast<uint8_t>(c)) << (24 - 8 * index);
    }
    return code;
}

void FileType::ExtensionText(uint32_t code, char* text)
{
    if (code == 0) {
        text[0] = 0;
        return;
    }
    for (int index = 0; index < 3; ++index)
        text[index] = static_cast<char>(code >> (24 - 8 * index));
    text[3] = 0;
}
