#pragma once

#include "foundation/Scribe.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

class FileType;
class Stream;

// The scribe of RIFF WAVE files ("Sound file", type 'WAVE', extension 'wav '): the file is the
// Sound's image as it is.
class WAVEFile : public Scribe, public SmartImplementation {
    PW_CLASS_INFO(WAVEFile)
    PW_COPY_SLOTS

public:
    static const FileType& GetFileType();

    explicit WAVEFile(const SmartPtr<Stream>& file);

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
