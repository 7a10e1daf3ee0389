#include "app/SettingsStore.h"

#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileCreatorType.h"
#include "foundation/FileReference.h"
#include "foundation/String.h"
#include "foundation/TextFile.h"

#include <windows.h>

SmartPtr<FileReference> DataFolderFile(int16_t number, bool create)
{
    FileReference startup = FileReference::StartupFolder();
    SmartPtr<FileReference> folder = FileReference::FileReferenceInFolder(startup, String("Data"), false);
    return FileReference::FileReferenceCreate(TextFile::TextFileType(), FileCreatorType::Unknown(), *folder.Get(),
        String(static_cast<int32_t>(number)), create);
}

// Only opening is guarded: a failure while the opened file is read reaches the caller.
bool ReadSetting(int16_t number, String& value)
{
    SmartPtr<TextFile> file;
    try {
        SmartPtr<FileReference> reference = DataFolderFile(number, false);
        file = SmartPtr<TextFile>(new TextFile(*reference.Get(), File::kRead));
    } catch (Exception*) {
        SetLastError(0);
        return false;
    }
    SmartPtr<Smart> content = file->Read();
    auto* text = SmartCast<String>(content.Get());
    if (!text)
        return false;
    value.Assign(*text);
    return true;
}

void WriteSetting(int16_t number, const String& value)
{
    SmartPtr<FileReference> reference = DataFolderFile(number, true);
    // Opening for writing first makes a read-only file fail here, before anything is changed.
    SmartPtr<File>(new File(*reference.Get(), File::kWrite));
    SmartPtr<TextFile> file(new TextFile(*reference.Get(), File::kWrite));
    file->Write(SmartPtr<Smart>(new String(value)));
}

bool pw::app::ReadLineSetting(int16_t number, String& value)
{
    String read;
    if (!ReadSetting(number, read))
        return false;
    uint32_t length = read.Length();
    {
        uint32_t count = 0;
        String::CharIterator chars(read, count);
        while (length > 0 && (chars.Chars()[length - 1] == '\r' || chars.Chars()[length - 1] == '\n'))
            --length;
    }
    value.Assign(length == read.Length() ? read : String(read, 1, length));
    return true;
}
