#include "engine/CLink.h"

#include "engine/CSprite.h"
#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Stream.h"

namespace {

pw::engine::WebLinkServices webLinks;

// The object when it is of the web-link class, else none.
SmartPtr<Persistent> AsWebLink(Smart* object)
{
    if (!object || !webLinks.linkClass || !SmartCast(object, webLinks.linkClass))
        return nullptr;
    return SmartCast<Persistent>(object);
}

} // namespace

void pw::engine::SetWebLinkServices(const WebLinkServices& services)
{
    webLinks = services;
    SetSpriteLinkClass(services.linkClass);
}

const pw::engine::WebLinkServices& pw::engine::GetWebLinkServices()
{
    return webLinks;
}

PW_DEFINE_CLASS(CLink, &pw::foundation::CreateFunction<CLink>, nullptr, Persistent)
PW_DEFINE_COPY_SLOTS(CLink)

constinit const PersistentVersion CLink::version { &CLink::classInfo, Fixed(1), Fixed(2, 1),
    &pw::foundation::ReadInScope<CLink> };

CLink::CLink(const CLink& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , kind(other.kind)
    , target(other.target)
    , jump(other.jump)
    , wait(other.wait)
    , movie(other.movie)
    , href(other.href)
{
}

CLink::CLink(ArchiveScope& scope)
{
    Stream& stream = scope.GetStream();
    kind = static_cast<uint8_t>(stream.ReadByte());
    target = static_cast<uint8_t>(stream.ReadByte());
    jump = pw::engine::ReadReference<CJump>(scope);
    wait = stream.ReadShort();
    movie = pw::engine::ReadReference<CJumpMovie>(scope);
    if (scope.GetVersion() >= Fixed(2, 1))
        href = AsWebLink(pw::engine::ReadReference<Persistent>(scope).Get());
    else if (webLinks.makeLink)
        href = webLinks.makeLink(String(pw::engine::kUnknownURL));
}

CLink& CLink::operator=(const CLink& other)
{
    kind = other.kind;
    target = other.target;
    jump = other.jump;
    wait = other.wait;
    movie = other.movie;
    href = other.href;
    return *this;
}

void CLink::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.WriteByte(static_cast<char>(kind & 0xFF));
    scope.WriteByte(static_cast<char>(target & 0xFF));
    scope.WriteObject(jump.Get());
    scope.WriteShort(wait);
    scope.WriteObject(movie.Get());
    scope.WriteObject(href.Get());
}

int32_t CLink::GetKind() const
{
    return kind == 8 || kind == 9 ? 0 : kind;
}

void CLink::SetKind(int32_t value)
{
    switch (value) {
    case 1:
    case 6:
        if (!JumpFrame())
            return;
        break;
    case 2:
    case 7:
        if (!GetJumpMovie().Valid())
            return;
        break;
    case 8:
    case 9:
        if (!jump.Valid())
            return;
        break;
    default:
        break;
    }
    kind = value;
}

SmartPtr<CJumpMovie> CLink::GetJumpMovie() const
{
    return SmartCast<CJumpMovie>(jump.Get());
}

void CLink::SetFrameJump(const SmartPtr<CFrameIndex>& index, int16_t frame)
{
    jump = index->Lookup(frame, true);
    kind = 1;
}

void CLink::SetHREF(const SmartPtr<Persistent>& value)
{
    href = AsWebLink(value.Get());
    jump = nullptr;
    movie = nullptr;
    kind = kWebLink;
}

SmartPtr<Persistent> CLink::GetExportHREF(Smart* exporter) const
{
    if (href.Valid()) {
        bool placeholder = webLinks.linkText && webLinks.linkText(*href.Get()) == String(pw::engine::kUnknownURL);
        if (kind == kWebLink || !placeholder)
            return href;
    }
    SmartPtr<CJumpMovie> jumpMovie = GetJumpMovie();
    if (jumpMovie.Valid() && webLinks.makePageLink)
        return webLinks.makePageLink(exporter, jumpMovie->GetBaseName());
    return nullptr;
}

bool CLink::IsEmpty() const
{
    return GetKind() == 0 && target == 0 && !jump.Valid() && wait == 0 && !movie.Valid();
}

int16_t CLink::ResolveFrame(CFrameIndex& index)
{
    SmartPtr<CJumpFrame> label = JumpFrame();
    if (!label.Valid())
        return -1;
    int16_t frame = index.FindFrame(label);
    jump = label.Get();
    return frame;
}

void CLink::AdoptJumpFrame(CFrameIndex& index)
{
    SmartPtr<CJumpFrame> label = JumpFrame();
    if (!label.Valid())
        return;
    index.Adopt(label);
    jump = label.Get();
}

void CLink::RepointJumpFrame(const CFrameIndex& original, CFrameIndex& copy)
{
    CJumpFrame* label = JumpFrame();
    if (!label)
        return;
    if (CJumpFrame* clone = copy.CloneOf(original, label)) {
        jump = clone;
        return;
    }
    AdoptJumpFrame(copy);
}
