// The media a resource set hands out: cursors, bitmaps and patterns, sounds, and the replacement
// files of the "Data" folder they come from.
#include "foundation/Resources.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileCreatorType.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"

#include <windows.h>

#include <string>

using pw::foundation::GetResourceServices;

namespace {

constexpr int16_t kStandardCursor = 201;
constexpr int32_t kFirstSystemCursor = 32512;
constexpr int16_t kPatternOffset = 50;

const FileType& FolderType()
{
    static const FileType type("Folder", 0, 0);
    return type;
}

} // namespace

pw::foundation::ResourceServices& pw::foundation::GetResourceServices()
{
    static ResourceServices services;
    return services;
}

// Text 131, "Missing a standard Data File. Please reinstall your software."
void Resources::ThrowMissingDataFile(int line)
{
    char text[kMessageSize];
    ComposeMessage(text, 3, nullptr, nullptr, nullptr, nullptr);
    ThrowError(text, PW_SOURCE_FILE, line);
}

SmartPtr<Smart> Resources::GetCursor(int16_t number)
{
    CheckId(number, span);
    int16_t identifier = static_cast<int16_t>(first + number);
    HCURSOR cursor;
    if (identifier < kFirstSystemCursor) {
        HINSTANCE module = GetOsApp();
        CheckNotNull(module, PW_HERE);
        cursor = LoadCursorA(module, MAKEINTRESOURCE(identifier));
        if (!cursor)
            cursor = LoadCursorA(module, MAKEINTRESOURCE(kStandardCursor));
    } else {
        cursor = LoadCursorA(nullptr, MAKEINTRESOURCE(identifier));
    }
    CheckNotNull(cursor, PW_HERE);
    auto make = GetResourceServices().cursorFromHandle;
    SmartPtr<Smart> made = make ? make(cursor) : nullptr;
    CheckNotNull(made.Get(), PW_HERE);
    return made;
}

// The platform bitmap is copied into the new object and deleted at once, also when that fails.
SmartPtr<Smart> Resources::GetBitmap(int16_t number)
{
    CheckId(number, span);
    int32_t identifier = first + number;
    auto& services = GetResourceServices();
    SmartPtr<FileReference> replacement
        = services.bitmapFileType ? DataFile(identifier, *services.bitmapFileType) : SmartPtr<FileReference>();
    if (replacement.Valid()) {
        SmartPtr<File> file(new File(*replacement.Get(), File::kRead));
        SmartPtr<Smart> made = services.bitmapFromFile ? services.bitmapFromFile(*file.Get()) : nullptr;
        CheckNotNull(made.Get(), PW_HERE);
        return made;
    }
    HINSTANCE module = GetOsApp();
    CheckNotNull(module, PW_HERE);
    HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCE(identifier));
    CheckNotNull(bitmap, PW_HERE);
    SmartPtr<Smart> made;
    try {
        made = services.bitmapFromHandle ? services.bitmapFromHandle(bitmap) : nullptr;
    } catch (...) {
        DeleteObject(bitmap);
        throw;
    }
    DeleteObject(bitmap);
    CheckNotNull(made.Get(), PW_HERE);
    return made;
}

SmartPtr<Smart> Resources::GetStandardBitmap(int16_t number)
{
    try {
        return GetBitmap(number);
    } catch (Exception*) {
        ThrowMissingDataFile(__LINE__);
    }
}

Point Resources::GetBitmapSize(int16_t number)
{
    try {
        SmartPtr<Smart> bitmap = GetBitmap(number);
        CheckNotNull(bitmap.Get(), PW_HERE);
        auto measure = GetResourceServices().bitmapSize;
        CheckNotNull(reinterpret_cast<const void*>(measure), PW_HERE);
        return measure(*bitmap.Get());
    } catch (Exception*) {
        ThrowMissingDataFile(__LINE__);
    }
}

void Resources::GetPattern(int16_t number, uint8_t* rows)
{
    CheckId(number, span);
    SmartPtr<Smart> bitmap = GetBitmap(static_cast<int16_t>(number + kPatternOffset));
    CheckNotNull(bitmap.Get(), PW_HERE);
    auto convert = GetResourceServices().bitmapPattern;
    CheckNotNull(reinterpret_cast<const void*>(convert), PW_HERE);
    convert(*bitmap.Get(), rows);
}

// The older platform reads a sound through its reference, the newer through an open file.
SmartPtr<Smart> Resources::LoadSound(int16_t number)
{
    CheckId(number, span);
    try {
        auto& services = GetResourceServices();
        CheckNotNull(services.soundFileType, PW_HERE);
        SmartPtr<FileReference> reference = DataFile(first + number, *services.soundFileType);
        CheckNotNull(reference.Get(), PW_HERE);
        auto probe = pw::foundation::GetFileReferenceServices().isFullWin32;
        SmartPtr<Smart> sound;
        if (probe && probe()) {
            sound = services.soundFromReference ? services.soundFromReference(reference) : nullptr;
        } else {
            SmartPtr<File> file(new File(*reference.Get(), File::kRead));
            sound = services.soundFromFile ? services.soundFromFile(*file.Get()) : nullptr;
        }
        CheckNotNull(sound.Get(), PW_HERE);
        return sound;
    } catch (Exception*) {
        ThrowMissingDataFile(__LINE__);
    }
}

// A start-up folder without a "Data" folder has no replacement files.
SmartPtr<FileReference> Resources::DataFile(int32_t identifier, const FileType& type)
{
    FileReference startup = FileReference::StartupFolder();
    if (!startup.ContainsItem(String("Data"), FolderType()))
        return nullptr;
    SmartPtr<FileReference> data = FileReference::FileReferenceInFolder(startup, String("Data"), false);
    String name;
    name.SetLong(identifier);
    if (!data->ContainsItem(name, type))
        return nullptr;
    return FileReference::FileReferenceCreate(type, FileCreatorType::Unknown(), *data.Get(), name, false);
}
