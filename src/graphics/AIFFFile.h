#pragma once

#include "foundation/Scribe.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

class FileType;
class Stream;

// The scribe of AIFF files ("AIFF Sound", type 'AIFF', extension code 'IFF '): a Sound's WAVE
// image is converted to AIFF on writing and back on reading.
class AIFFFile : public Scribe, public SmartImplementation {
    PW_CLASS_INFO(AIFFFile)
    PW_COPY_SLOTS

public:
    static const FileType& GetFileType();

    explicit AIFFFile(const SmartPtr<Stream>& file);

    // Writes a Sound from the start of the stream, which ends after it; other objects are ignored.
    void Write(const SmartPtr<Smart>& object) override;
    // A new Sound from the stream, the loop bit clear.
    SmartPtr<Smart> Read() override;
    bool CanWrite() override;
    // True for Sound and the classes it derives from.
    bool Accepts(const ClassInfo* record) override;

private:
    SmartPtr<Stream> file;
};
