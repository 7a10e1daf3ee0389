#pragma once

#include "foundation/FileCreatorType.h"

#include <cstdint>

class FileReference;

// A kind of file a reader or writer accepts: a display name for the dialogs, a four-character type
// code, and the extension code of its file names (three lower-case characters and a blank, 'jpg ';
// 0 for none). Paths match a type by their parsed extension code; dialog filters and new file
// names are built from it. Types are made once at start-up by the units that use them; there is no
// global list.
class FileType : public FileCreatorType {
    PW_CLASS_INFO(FileType)
    PW_COPY_SLOTS

public:
    // `longExtension` is an extra extension text ("html") or null; like the name, it is not copied.
    FileType(const char* name, uint32_t typeCode, uint32_t extension, const char* longExtension = nullptr);
    FileType(const FileType&) = default;
    FileType& operator=(const FileType&) = default;

    uint32_t GetTypeCode() const { return code; }
    uint32_t GetExtension() const { return extension; }
    const char* GetLongExtension() const { return longExtension; }

    // True when the reference's parsed extension code equals this type's (locating it first).
    bool Matches(FileReference& reference) const;

    // The code of an extension text: its first three characters, A to Z folded to lower case, then
    // a blank. A shorter text leaves zero bytes where characters are missing.
    static uint32_t ExtensionCode(const char* text);
    // The code's three characters and a NUL into `text` (4 bytes); "" for code 0.
    static void ExtensionText(uint32_t code, char* text);

private:
    uint32_t extension;
    const char* longExtension;
};
