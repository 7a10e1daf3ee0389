// Reads arbitrary bytes as an "OBJS" object file whose index holds objects with references, nested
// scopes, arrays, class references and versions, lists and strings. A read must end with an object
// or with an alert and no object, never a crash, a read out of bounds, an overlong allocation or a
// leak. Whatever was read must save and read back.
#include "foundation/ArchiveScope.h"
#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"
#include "foundation/FourCharCode.h"
#include "foundation/GenericArray.h"
#include "foundation/ListData.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "foundation/String.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

// Refers to other objects, keeps an array in a nested scope, names a class, and reads a field
// that version 1.5 added.
class Knot : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(Knot)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    explicit Knot(int32_t value)
        : value(value)
    {
    }
    explicit Knot(ArchiveScope& scope)
        : value(scope.GetStream().ReadLong())
    {
        if (scope.GetVersion() >= Fixed(1, 5))
            extra = scope.GetStream().ReadLong();
        uint32_t count = static_cast<uint32_t>(scope.GetStream().ReadLong());
        scope.GetStream().CheckAvailable(static_cast<uint64_t>(count) * 4);
        for (uint32_t n = 0; n < count; ++n)
            links.emplace_back(scope.ReadObject());
        ArchiveScope arrayScope(scope, GenericArray::version);
        items = TypedArray<int32_t>(arrayScope);
        named = scope.ReadClass();
        // As the program's own readers do, a class that could not be written back is damage.
        if (!named && !scope.IsSkipped())
            pw::foundation::ThrowCorruptFile(PW_HERE);
        if (!named)
            named = &classInfo;
    }

    void Write(Archive& archive) override
    {
        ArchiveScope scope(archive, version);
        scope.GetStream().WriteLong(value).WriteLong(extra).WriteLong(static_cast<int32_t>(links.size()));
        for (const auto& link : links)
            scope.WriteObject(SmartCast<Persistent>(link.Get()));
        items.Write(archive);
        scope.WriteClass(named);
    }
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    int32_t value;
    int32_t extra { 0 };
    std::vector<SmartPtr<Smart>> links;
    TypedArray<int32_t> items;
    const ClassInfo* named { nullptr };
};

namespace {

Persistent* ReadKnot(Archive& archive)
{
    ArchiveScope scope(archive, Knot::version);
    return new Knot(scope);
}

SmartPtr<TypeIndex> FuzzIndex()
{
    static SmartPtr<TypeIndex> index = [] {
        FileType type("Fuzz", pw::foundation::FourCharCode("FUZZ"), 0);
        SmartPtr<TypeIndex> made(new TypeIndex(type, Fixed(1), "Fuzz"));
        made->AddClass(Knot::version);
        made->AddPlaceholders(1);
        made->AddClass(GenericArray::version);
        made->AddClass(ListData::version);
        made->AddClass(String::version);
        made->AddClass(Model::version);
        return made;
    }();
    return index;
}

SmartPtr<Smart> ReadFrom(const SmartPtr<MemoryStream>& stream)
{
    SmartPtr<ObjectFile> file(new ObjectFile(FuzzIndex(), stream.Get()));
    return file->Read();
}

} // namespace

PW_DEFINE_CLASS(Knot, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Knot)

constinit const PersistentVersion Knot::version { &Knot::classInfo, Fixed(1), Fixed(2), &ReadKnot };

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    SmartPtr<MemoryStream> stream(new MemoryStream);
    if (size > 0)
        stream->Write(data, static_cast<uint32_t>(size));
    SmartPtr<Smart> root = ReadFrom(stream);
    if (!root.Valid())
        return 0;

    SmartPtr<MemoryStream> saved(new MemoryStream);
    try {
        SmartPtr<ObjectFile> file(new ObjectFile(FuzzIndex(), saved.Get()));
        file->Write(root);
    } catch (Exception*) {
        // A file that opens must save again.
        std::abort();
    }
    if (!ReadFrom(saved).Valid())
        std::abort();
    return 0;
}
