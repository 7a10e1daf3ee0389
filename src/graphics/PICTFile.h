#pragma once

#include "foundation/Scribe.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

class FileReference;
class FileType;
class Stream;

// The scribe of PICT files ("PICT Picture", type 'PICT'): reads the file's picture and answers it
// rendered into a bitmap, which on this platform shows nothing of the picture (drawing one only
// warns). Pictures are never written as PICT files; Write only warns.
class PICTFile : public Scribe, public SmartImplementation {
    PW_CLASS_INFO(PICTFile)
    PW_COPY_SLOTS

public:
    static const FileType& GetFileType();

    explicit PICTFile(const SmartPtr<Stream>& stream);
    // Opens the file for reading.
    explicit PICTFile(FileReference& file);

    // Warns "Not implemented." for a picture; nothing is written.
    void Write(const SmartPtr<Smart>& object) override;
    // A BitMap rendered from the picture, of the picture's size.
    SmartPtr<Smart> Read() override;
    bool CanWrite() override;
    // BitMap or a class derived from it.
    bool Accepts(const ClassInfo* record) override;
    // The picture rendered at the size.
    SmartPtr<Smart> MakePreview(int32_t width, int32_t height) override;

private:
    SmartPtr<Stream> stream;
};
