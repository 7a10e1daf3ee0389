#include "engine/CDelta.h"

#include "engine/CMovie.h"
#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/CorruptFile.h"
#include "foundation/Stream.h"

namespace {

// Frame, two rectangles, modes and three references of at least four bytes each.
constexpr uint32_t kMinImprintBytes = 2 + 16 + 16 + 1 + 3 * 4;

} // namespace

PW_DEFINE_CLASS(CDelta, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(CDelta)

constinit const PersistentVersion CDelta::version { &CDelta::classInfo, Fixed(1), Fixed(1),
    &pw::foundation::ReadInScope<CDelta> };

CDelta::CDelta(ArchiveScope& scope)
{
    Stream& stream = scope.GetStream();
    int32_t count = stream.ReadLong();
    if (count < 0)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    stream.CheckAvailable(static_cast<uint64_t>(count) * kMinImprintBytes);
    for (int32_t i = 0; i < count; ++i) {
        Imprint imprint;
        imprint.frame = stream.ReadShort();
        imprint.rect = pw::engine::ReadStoredRect(stream, false);
        imprint.oldRect = pw::engine::ReadStoredRect(stream, false);
        imprint.modes = static_cast<uint8_t>(stream.ReadByte() & (CMovie::kMode0 | CMovie::kMode2 | CMovie::kMode4));
        imprint.movie = pw::engine::ReadReference<CMovie>(scope);
        imprint.transform = pw::engine::ReadReference<CXform>(scope);
        imprint.area = pw::engine::ReadReference<Area>(scope);
        if (imprint.movie.Valid())
            imprints.push_back(imprint);
    }
}

void CDelta::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Stream& stream = scope.GetStream();
    stream.WriteLong(static_cast<int32_t>(imprints.size()));
    for (const Imprint& imprint : imprints) {
        stream.WriteShort(imprint.frame);
        stream.WriteRect(imprint.rect.left, imprint.rect.top, imprint.rect.right, imprint.rect.bottom);
        stream.WriteRect(imprint.oldRect.left, imprint.oldRect.top, imprint.oldRect.right, imprint.oldRect.bottom);
        stream.WriteByte(static_cast<char>(imprint.modes));
        scope.WriteObject(imprint.movie.Get());
        scope.WriteObject(imprint.transform.Get());
        scope.WriteObject(imprint.area.Get());
    }
}

bool CDelta::AddImprint(CMovie& movie, int16_t frame, const SmartPtr<CXform>& transform, const Rect& rect,
    const SmartPtr<Area>& area, const Rect& oldRect)
{
    if (rect.IsEmpty() && (!area.Valid() || area->IsEmpty()))
        return false;
    Imprint imprint;
    imprint.movie = &movie;
    imprint.frame = frame;
    imprint.transform = transform;
    imprint.rect = rect;
    imprint.area = area;
    imprint.oldRect = oldRect;
    imprint.modes = static_cast<uint8_t>(movie.GetFlags() & (CMovie::kMode0 | CMovie::kMode2 | CMovie::kMode4));
    imprints.push_back(imprint);
    return true;
}

Area& CDelta::CoveredArea()
{
    static Area* covered = new Area;
    return *covered;
}

Area& CDelta::VacatedArea()
{
    static Area* vacated = new Area;
    return *vacated;
}

void CDelta::ResetShared()
{
    CoveredArea() = Area();
    VacatedArea() = Area();
}

void CDelta::Combine(Area& area)
{
    area.Subtract(CoveredArea());
}
