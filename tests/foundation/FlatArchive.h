// A small concrete archive for tests and the archive fuzz target. Each object is framed as its
// version and its length (two 32-bit values) followed by its bytes; an object reference is the
// 1-based number of its class in the archive's class table (0 for null) followed by the object
// itself, written in place. Reading closes every object at its recorded end, so bytes a reader
// skipped or did not know are passed over; an end past the stream, or before what the reader
// took, fails the object being read. Nothing read is trusted: lengths are bounded by the stream
// and references nest at most kMaxDepth deep.
#pragma once

#include "foundation/BitBucketArchive.h"
#include "foundation/Exception.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartPtr.h"
#include "foundation/Stream.h"

#include <cstdint>
#include <vector>

class FlatArchive : public BitBucketArchive {
public:
    static constexpr int kMaxDepth = 32;

    FlatArchive(Stream& stream, std::vector<const PersistentVersion*> classes, bool writing)
        : stream(stream)
        , classes(std::move(classes))
        , writing(writing)
    {
    }

    uint32_t BeginObject(const PersistentVersion& record) override
    {
        CheckFailure();
        if (writing) {
            uint32_t header = stream.GetMark();
            stream.WriteLong(static_cast<int32_t>(record.GetCurrentVersion().Raw())).WriteLong(0);
            return header;
        }
        stream.CheckAvailable(8);
        Frame frame;
        frame.version = Fixed::FromRaw(static_cast<uint32_t>(stream.ReadLong()));
        frame.length = static_cast<uint32_t>(stream.ReadLong());
        frames.push_back(frame);
        return static_cast<uint32_t>(frames.size() - 1);
    }

    Fixed& GetObjectVersion(Fixed& version, uint32_t token, Fixed current) override
    {
        version = writing ? current : frames.at(token).version;
        return version;
    }

    void EndObject(uint32_t token, uint32_t start, bool) override
    {
        uint32_t mark = stream.GetMark();
        if (writing) {
            stream.Seek(static_cast<int32_t>(token + 4), Stream::kFromStart);
            stream.WriteLong(static_cast<int32_t>(mark - start));
            stream.Seek(static_cast<int32_t>(mark), Stream::kFromStart);
            return;
        }
        uint64_t end = static_cast<uint64_t>(start) + frames.at(token).length;
        if (end > stream.GetLength()) {
            // Raised by the next operation: a scope's close must not throw.
            failure = "Object past the end";
            return;
        }
        // A reader that took more than the frame holds is never sent back: bytes read again
        // and again by nested objects would cost time and memory without bound.
        if (end < mark) {
            failure = "Object longer than its frame";
            return;
        }
        if (end != mark)
            stream.Seek(static_cast<int32_t>(end), Stream::kFromStart);
    }

    Archive& WriteObject(Persistent* object) override
    {
        uint32_t number = object ? NumberOf(&object->GetPersistentVersion()) : 0;
        stream.WriteLong(static_cast<int32_t>(number));
        if (number != 0)
            object->Write(*this);
        return *this;
    }

    Persistent* ReadObject() override
    {
        uint32_t number = static_cast<uint32_t>(stream.ReadLong());
        if (number == 0)
            return nullptr;
        if (number > classes.size())
            ThrowError("Unknown class", PW_HERE);
        if (depth >= kMaxDepth)
            ThrowError("Objects nested too deep", PW_HERE);
        ++depth;
        struct Leave {
            int& depth;
            ~Leave() { --depth; }
        } leave { depth };
        SmartPtr<Persistent> object(classes[number - 1]->CallReader(*this));
        CheckFailure();
        Persistent* read = object.Get();
        read->AddReference();
        object = nullptr;
        read->RemoveReference();
        return read;
    }

    Archive& WriteClass(const ClassInfo* record) override
    {
        uint32_t number = 0;
        for (size_t index = 0; index < classes.size(); ++index) {
            if (classes[index]->GetClass() == record)
                number = static_cast<uint32_t>(index + 1);
        }
        stream.WriteLong(static_cast<int32_t>(number));
        return *this;
    }

    const ClassInfo* ReadClass() override
    {
        uint32_t number = static_cast<uint32_t>(stream.ReadLong());
        return number >= 1 && number <= classes.size() ? classes[number - 1]->GetClass() : nullptr;
    }

    Stream& GetStream() override { return stream; }

private:
    void CheckFailure()
    {
        if (failure) {
            const char* text = failure;
            failure = nullptr;
            ThrowError(text, PW_HERE);
        }
    }

    struct Frame {
        Fixed version;
        uint32_t length { 0 };
    };

    uint32_t NumberOf(const PersistentVersion* record) const
    {
        for (size_t index = 0; index < classes.size(); ++index) {
            if (classes[index] == record)
                return static_cast<uint32_t>(index + 1);
        }
        return 0;
    }

    Stream& stream;
    std::vector<const PersistentVersion*> classes;
    bool writing;
    std::vector<Frame> frames;
    int depth { 0 };
    const char* failure { nullptr };
};
