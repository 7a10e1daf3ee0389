#pragma once

#include "foundation/ImageResource.h"
#include "foundation/Point.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "foundation/SoundResource.h"

#include <windows.h>

#include <cstdint>

class File;
class FileReference;
class FileType;

// A set of resources over a run of numeric identifiers, addressed by numbers relative to its first
// identifier: string-table texts with %1 to %4 filled in, cursors, bitmaps (a BMP file named by the
// identifier in the "Data" folder replaces the program's own), 8 x 8 patterns, and sounds (always
// from the "Data" folder). Each layer of the program owns its sets; a set keeps one cached handle
// per sound or picture number asked for. Pictures, sounds and cursors are made by the floors that
// own their classes (see ResourceServices) and handed out through their Smart interface.
class Resources {
public:
    Resources(int32_t first, int32_t last);
    ~Resources();
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;

    // Throws "Resource id not in this set of resources." outside 0..span.
    static void CheckId(int32_t number, int32_t span);

    // Composes string first + number into `destination` (256 bytes) with the arguments (null ones
    // count as ""); the result is always terminated. A missing or empty string throws "String
    // Resource Missing " with its identifier.
    void GetString(char* destination, int32_t number, const char* arg1, const char* arg2, const char* arg3,
        const char* arg4) const;

    // A new cursor object owning the cursor: the program's own below 32512 (its cursor 201 when it
    // lacks that one), the system's from 32512 on.
    SmartPtr<Smart> GetCursor(int16_t number);
    // A new bitmap object: from the "Data" folder's file when there is one, else the program's own.
    SmartPtr<Smart> GetBitmap(int16_t number);
    // GetBitmap with every failure turned into the missing-data-file error.
    SmartPtr<Smart> GetStandardBitmap(int16_t number);
    // The bitmap's width and height, without keeping it (the missing-data-file error on failure).
    Point GetBitmapSize(int16_t number);
    // The first 8 x 8 pixels of bitmap number + 50 as eight pattern rows, top row first.
    void GetPattern(int16_t number, uint8_t* rows);
    // A new sound read from the "Data" folder (the missing-data-file error on failure).
    SmartPtr<Smart> LoadSound(int16_t number);
    // The cached handle of a number, made on first request.
    SmartPtr<SoundResource> GetSoundResource(int16_t number);
    SmartPtr<ImageResource> GetImageResource(int16_t number);

    // The replacement file of an absolute identifier in the start-up folder's "Data" folder, or null.
    static SmartPtr<FileReference> DataFile(int32_t identifier, const FileType& type);
    // The program's module handle, set once at start-up ("Resources::osApp == NULL" when set again)
    // and asserted to be set when read ("Resources::osApp != NULL").
    static void SetOsApp(HINSTANCE instance);
    static HINSTANCE GetOsApp();

    int32_t GetFirst() const { return first; }

private:
    [[noreturn]] static void ThrowMissingDataFile(int line);

    int32_t first;
    int32_t span;
    SmartList<SoundResource> sounds;
    SmartList<ImageResource> images;
};

// The relative number in SystemCursors of a standard cursor: 0 the arrow, 1 the wait cursor, 2 the
// text cursor; other numbers are their own.
int16_t StandardCursorId(int16_t number);
// The system cursors, identifiers 32512 to 65162.
Resources& SystemCursors();

namespace pw::foundation {

// What the floors above lend the resource sets: the graphics floor names the BMP and WAVE file
// types of the replacement pictures and sounds, makes bitmaps (from a BMP file or a platform
// bitmap, which the caller deletes afterwards), measures them, takes their first 8 x 8 pixels as a
// pattern, and makes sounds (from a reference on the older platform, else from an open file); the
// window floor makes cursor objects that own a platform cursor. Each is set at start-up; an unset
// one makes nothing, which the callers report as a missing value (without the file type no
// replacement is looked for).
struct ResourceServices {
    const FileType* bitmapFileType = nullptr;
    SmartPtr<Smart> (*bitmapFromFile)(File& file) = nullptr;
    SmartPtr<Smart> (*bitmapFromHandle)(HBITMAP bitmap) = nullptr;
    Point (*bitmapSize)(Smart& bitmap) = nullptr;
    void (*bitmapPattern)(Smart& bitmap, uint8_t* rows) = nullptr;
    const FileType* soundFileType = nullptr;
    SmartPtr<Smart> (*soundFromReference)(const SmartPtr<FileReference>& reference) = nullptr;
    SmartPtr<Smart> (*soundFromFile)(File& file) = nullptr;
    SmartPtr<Smart> (*cursorFromHandle)(HCURSOR cursor) = nullptr;
};

ResourceServices& GetResourceServices();

// Tests put the module handle back to its start-up state (null) or set it without the assertion.
void SetOsAppForTesting(HINSTANCE instance);

} // namespace pw::foundation
