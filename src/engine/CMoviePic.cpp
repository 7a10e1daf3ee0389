#include "engine/CMoviePic.h"

#include "engine/CStamp.h"
#include "foundation/ArchiveScope.h"
#include "graphics/BitMap.h"

namespace {

struct ResScope {
    explicit ResScope(ArchiveScope& outer)
        : scope(outer, CMovieRes::version)
    {
    }
    ArchiveScope& Get() { return scope; }
    ArchiveScope scope;
};

} // namespace

PW_DEFINE_CLASS(CMoviePic, nullptr, nullptr, CMovieRes)

constinit const PersistentVersion CMoviePic::version { &CMoviePic::classInfo, Fixed(1), Fixed(1),
    &pw::foundation::ReadInScope<CMoviePic> };

CMoviePic::CMoviePic(const SmartPtr<CResource>& resource, bool)
    : CMovieRes(resource)
{
}

CMoviePic::CMoviePic(CMoviePic& source, int16_t start, int16_t count)
    : CMovieRes(source, start, count)
{
}

CMoviePic::CMoviePic(ArchiveScope& scope)
    : CMovieRes(ResScope(scope).Get())
{
}

void CMoviePic::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    WriteBody(scope.GetArchive());
}

bool CMoviePic::DrawFrame(DisplayPort& port, const SmartPtr<CXform>& xform, int16_t frame, const Color&)
{
    CResource* item = ItemAt(frame);
    SmartPtr<BitMap> picture = item ? SmartCast<BitMap>(item->GetObject().Get()) : nullptr;
    if (!picture.Valid())
        return false;
    Rect bounds = item->GetBounds();
    SmartPtr<CStamp> stamp = new CStamp(picture, Color(0));
    int16_t mode = DrawsSeeThrough() ? 2 : 0;
    if (!xform.Valid()) {
        stamp->DrawTo(port, bounds, mode);
        return true;
    }
    Rect mapped = xform->MapRect(bounds);
    if (!xform->IsUnrotated())
        stamp = stamp->MakeTransformed(bounds, xform.Get(), true);
    stamp->DrawTo(port, mapped, mode);
    return true;
}

SmartPtr<CMovie> CMoviePic::CopyFrames(int16_t start, int16_t count, bool cut)
{
    SmartPtr<CMovie> copy = new CMoviePic(*this, start, count);
    if (cut)
        DeleteFrames(start, count);
    return copy;
}
