#include "engine/CMovieText.h"

#include "foundation/ArchiveScope.h"
#include "foundation/String.h"
#include "graphics/DisplayPort.h"

namespace {

struct ResScope {
    explicit ResScope(ArchiveScope& outer)
        : scope(outer, CMovieRes::version)
    {
    }
    ArchiveScope& Get() { return scope; }
    ArchiveScope scope;
};

SmartPtr<CResource> Placed(const SmartPtr<CResource>& resource, const Rect& rect)
{
    if (resource.Valid())
        resource->SetRect(rect);
    return resource;
}

} // namespace

PW_DEFINE_CLASS(CMovieText, nullptr, nullptr, CMovieRes)

constinit const PersistentVersion CMovieText::version { &CMovieText::classInfo, Fixed(1), Fixed(1),
    &pw::foundation::ReadInScope<CMovieText> };

CMovieText::CMovieText(const SmartPtr<CResource>& resource, const Rect& rect, bool)
    : CMovieRes(Placed(resource, rect))
{
}

CMovieText::CMovieText(CMovieText& source, int16_t start, int16_t count)
    : CMovieRes(source, start, count)
{
}

CMovieText::CMovieText(ArchiveScope& scope)
    : CMovieRes(ResScope(scope).Get())
{
}

void CMovieText::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    WriteBody(scope.GetArchive());
}

bool CMovieText::DrawFrame(DisplayPort& port, const SmartPtr<CXform>& xform, int16_t frame, const Color& color)
{
    CResource* item = ItemAt(frame);
    auto* text = item ? SmartCast<String>(item->GetObject().Get()) : nullptr;
    if (!text)
        return false;
    Rect rect = item->GetBounds();
    if (xform.Valid())
        rect = xform->MapRect(rect);
    text->Draw(port, rect, color);
    return true;
}

SmartPtr<CMovie> CMovieText::CopyFrames(int16_t start, int16_t count, bool cut)
{
    SmartPtr<CMovie> copy = new CMovieText(*this, start, count);
    if (cut)
        DeleteFrames(start, count);
    return copy;
}
