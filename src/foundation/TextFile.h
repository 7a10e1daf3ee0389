#pragma once

#include "foundation/File.h"
#include "foundation/Scribe.h"

class FileType;

// A disk file that holds one String as plain text: every byte is one character, with no
// terminator, byte-order mark or conversion of line ends, moved in one block each way.
class TextFile : public File, public Scribe {
    PW_CLASS_INFO(TextFile)
    PW_COPY_SLOTS

public:
    // Opens the file as File does.
    TextFile(const FileReference& reference, uint8_t mode);

    // Replaces the whole contents with the string's characters. Throws when the file is not open
    // for writing or the object is not a String, rather than leaving the file as it was unnoticed.
    void Write(const SmartPtr<Smart>& object) override;
    // A new String of every byte of the file.
    SmartPtr<Smart> Read() override;
    bool CanWrite() override;
    // True for String and the classes it derives from.
    bool Accepts(const ClassInfo* record) override;

    // "Text file", type 'TEXT', extension 'txt ', for the whole run.
    static const FileType& TextFileType();

    // Both bases have a Write and a Read; the stream's raw ones stay reachable.
    using File::Read;
    using File::Write;
};
