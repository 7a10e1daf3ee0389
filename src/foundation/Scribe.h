#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

// The interface of every file reader and writer: bound to one open file or stream and one kind of
// object, it turns such an object into the file's contents and back, so callers save and open
// documents, texts, sounds and pictures without knowing their formats.
class Scribe : public virtual Smart {
    PW_CLASS_INFO(Scribe)
    PW_COPY_SLOTS

public:
    virtual void Write(const SmartPtr<Smart>& object) = 0;
    // A new object read from the file; empty when nothing could be read.
    virtual SmartPtr<Smart> Read() = 0;
    // True when the file is open for writing.
    virtual bool CanWrite() = 0;
    // True when the objects this scribe reads and writes can serve as `record`'s class.
    virtual bool Accepts(const ClassInfo* record) = 0;
    // A small preview image of the contents; none by default.
    virtual SmartPtr<Smart> MakePreview(int32_t width, int32_t height);

protected:
    Scribe() = default;
    Scribe(const Scribe&) = default;
    Scribe& operator=(const Scribe&) = default;
};
