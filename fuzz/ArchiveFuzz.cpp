// Reads arbitrary bytes as stored objects: lists of lists and of probes (objects with a versioned
// own part, a nested array scope and a nested list), a lone array of any item size, and a
// length-prefixed block. Every read must end in a framework exception or a result, never a crash,
// an overlong allocation or a leak. The first byte picks the reading and the byte order.
#include "foundation/ArchiveScope.h"
#include "foundation/GenericArray.h"
#include "foundation/ListData.h"
#include "foundation/Memory.h"
#include "foundation/MemoryStream.h"

#include "../tests/foundation/FlatArchive.h"

#include <cstddef>
#include <cstdint>

class Probe : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(Probe)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    explicit Probe(ArchiveScope& scope)
        : value(scope.GetStream().ReadLong())
        , rect(scope.GetStream().ReadRect())
    {
        ArchiveScope arrayScope(scope, GenericArray::version);
        TypedArray<int32_t> read(arrayScope);
        items = read;
        // Held first: an object of another class must not be left unreferenced.
        SmartPtr<Smart> object(scope.ReadObject());
        list = SmartCast<ListData>(object.Get());
    }

    void Write(Archive&) override { }
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    int32_t value;
    Rect rect;
    TypedArray<int32_t> items;
    SmartPtr<ListData> list;
};

namespace {

Persistent* ReadProbe(Archive& archive)
{
    ArchiveScope scope(archive, Probe::version);
    return new Probe(scope);
}

} // namespace

PW_DEFINE_CLASS(Probe, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Probe)

constinit const PersistentVersion Probe::version { &Probe::classInfo, Fixed(1), Fixed(1, 2), &ReadProbe };

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 20))
        return 0;
    uint8_t mode = data[0];
    MemoryStream stream;
    stream.Write(data + 1, static_cast<uint32_t>(size - 1));
    stream.Seek(0, Stream::kFromStart);
    stream.SetSwap(mode & 1);
    SmartPtr<FlatArchive> archive(new FlatArchive(stream, { &ListData::version, &Probe::version }, false));
    try {
        switch ((mode >> 1) & 3) {
        case 0:
        case 1: {
            SmartPtr<Smart> root(archive->ReadObject());
            break;
        }
        case 2: {
            ArchiveScope scope(*archive.Get(), GenericArray::version);
            GenericArray array(1u + (mode >> 3), scope);
            break;
        }
        case 3: {
            Memory block;
            ReadBlock(block, stream);
            break;
        }
        }
    } catch (Exception*) {
    }
    return 0;
}
