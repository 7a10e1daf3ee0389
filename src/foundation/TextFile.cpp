#include "foundation/TextFile.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/String.h"
#include "foundation/SystemErrorException.h"

#include <windows.h>

#include <string>

PW_DEFINE_CLASS(TextFile, nullptr, nullptr, File, Scribe)
PW_DEFINE_NO_COPY_SLOTS(TextFile)

TextFile::TextFile(const FileReference& reference, uint8_t mode)
    : File(reference, mode)
{
}

const FileType& TextFile::TextFileType()
{
    static const FileType type("Text file", pw::foundation::FourCharCode("TEXT"), pw::foundation::FourCharCode("txt "));
    return type;
}

void TextFile::Write(const SmartPtr<Smart>& object)
{
    GetOSFile();
    if (!IsOpenForWriting())
        ThrowSystemError(ERROR_ACCESS_DENIED, PW_HERE);
    CheckNotNull(object.Get(), PW_HERE);
    CheckType(object.Get(), &String::classInfo);
    const String& text = *SmartCast<String>(object.Get());
    Seek(0, kFromStart);
    {
        uint32_t length = 0;
        String::CharIterator characters(text, length);
        if (length > 0)
            File::Write(characters.Chars(), length);
    }
    SetLength(GetMark());
    Seek(0, kFromStart);
}

SmartPtr<Smart> TextFile::Read()
{
    SmartPtr<String> text(new String);
    Seek(0, kFromStart);
    uint32_t length = GetLength();
    if (length > 0) {
        std::string bytes(length, '\0');
        File::Read(bytes.data(), length);
        text->InsertChars(bytes.data(), 0, length);
    }
    return SmartPtr<Smart>(text.Get());
}

bool TextFile::CanWrite()
{
    return IsOpenForWriting();
}

bool TextFile::Accepts(const ClassInfo* record)
{
    return String::classInfo.IsKindOf(record);
}
