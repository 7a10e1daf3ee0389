#pragma once

#include "foundation/Scribe.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

class FileType;
class Stream;

// The scribe of BMP files ("BitMap File", type 'bmp '): reads a file into a BitMap without chroma
// key. The program never writes BMP files; Write only warns.
class BMPFile : public Scribe, public SmartImplementation {
    PW_CLASS_INFO(BMPFile)
    PW_COPY_SLOTS

public:
    static const FileType& GetFileType();

    explicit BMPFile(const SmartPtr<Stream>& file);

    // Warns "Not implemented." and leaves the object and the file alone.
    void Write(const SmartPtr<Smart>& object) override;
    // A new BitMap from the file's mark.
    SmartPtr<Smart> Read() override;
    bool CanWrite() override;
    // BitMap or a class derived from it.
    bool Accepts(const ClassInfo* record) override;

private:
    SmartPtr<Stream> file;
};
