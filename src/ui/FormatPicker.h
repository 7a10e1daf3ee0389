#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class FileReference;
class FileType;
class Scribe;

// How the framework chooses a file and a format for a document: the application answers it. Modes
// of ChooseFile: 0 open, 1 save, 2 save as, 3 open a copy, 4 none, 5 a new file for a document
// made beside the one shown (saved as, under a numbered name: the plain default name is the
// project's first document's).
class FormatPicker : public virtual Smart {
    PW_CLASS_INFO(FormatPicker)
    PW_COPY_SLOTS

public:
    // A reader and writer for the file in the file mode (1 read, 3 read and write), or none. A file
    // the system lets the user read but not write gives a reader in mode 3 too.
    virtual SmartPtr<Scribe> OpenScribe(const SmartPtr<FileReference>& file, uint8_t mode) = 0;
    // A file chosen by the user in the dialog the mode asks for; none when cancelled or refused.
    virtual SmartPtr<FileReference> ChooseFile(int32_t mode) = 0;
    virtual SmartList<FileType> GetFileTypes(int32_t mode) = 0;
    // An object read from a file of another program; none by default.
    virtual SmartPtr<Smart> ImportFile(const SmartPtr<FileReference>& file, int32_t first, int32_t second);

protected:
    FormatPicker() = default;
};
