#include "engine/CStamp.h"

#include "engine/CResource.h"
#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Exception.h"
#include "graphics/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"
#include "graphics/PortSaver.h"
#include "graphics/ScaleTrans.h"

#include <cmath>

PW_DEFINE_CLASS(CStamp, nullptr, nullptr, Image)
PW_DEFINE_COPY_SLOTS(CStamp)

constinit const PersistentVersion CStamp::version { &CStamp::classInfo, Fixed(1), Fixed(2),
    &pw::foundation::ReadInScope<CStamp> };

CStamp::CStamp(const CStamp& other)
    : Smart()
    , Image(other)
    , SmartImplementation(other)
    , picture(other.picture)
    , color(other.color)
{
}

CStamp::CStamp(Image& image, const Color& color)
    : picture(BitMap::RenderImage(image))
    , color(color)
{
}

CStamp::CStamp(const SmartPtr<BitMap>& picture, const Color& color)
    : picture(picture)
    , color(color)
{
}

CStamp::CStamp(OffScreen& buffer)
    : picture(buffer.GetBitMap())
    , color(buffer.GetBackground())
{
}

CStamp::CStamp(ArchiveScope& scope)
    : color(0)
{
    picture = pw::engine::ReadReference<BitMap>(scope);
}

CStamp& CStamp::operator=(const CStamp& other)
{
    Image::operator=(other);
    picture = other.picture;
    color = other.color;
    transform = other.transform;
    mask = other.mask;
    return *this;
}

void CStamp::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.WriteObject(picture.Get());
}

void CStamp::Draw(DisplayPort& port, int mode)
{
    picture->Draw(port, mode);
}

Rect CStamp::GetBounds()
{
    return picture.Valid() ? picture->GetBounds() : Rect(0, 0, 0, 0);
}

bool CStamp::GetBounds(Rect& bounds)
{
    bounds = GetBounds();
    return true;
}

SmartPtr<ColorTable> CStamp::GetColorTable()
{
    return picture->GetColorTable();
}

void CStamp::DrawTo(DisplayPort& port, const Rect& dest, int16_t mode)
{
    DrawTo(port, dest, mode, nullptr, 0);
}

void CStamp::DrawTo(DisplayPort& port, const Rect& dest, int16_t mode, const SmartPtr<Area>&, int32_t)
{
    CheckSmartData(picture.Get());
    Rect bounds = GetBounds();
    if (mode != 2) {
        ScaleTrans scale(bounds, dest, false);
        PortSaverTransform saver(port, scale);
        picture->DrawOpaque(port);
        return;
    }
    uint32_t key = 0;
    if (!picture->GetColorTable()->Convert(port.GetBackground(), key))
        key = 0;
    // Bitmaps key out a value only when copied without scaling, so a scaled drawing first scales
    // the picture into a buffer of the size it takes on the device, then keys that copy.
    SmartPtr<BitMap> source = picture;
    Point onDevice = port.MapRect(dest).Size();
    if (onDevice != bounds.Size()) {
        if (onDevice.h <= 0 || onDevice.v <= 0)
            return;
        source = ScaledPicture(onDevice.h, onDevice.v);
    }
    ScaleTrans scale(source->GetBounds(), dest, false);
    PortSaverTransform saver(port, scale);
    source->DrawKeyed(port, key);
}

SmartPtr<BitMap> CStamp::ScaledPicture(int32_t width, int32_t height)
{
    SmartPtr<OffScreen> buffer = new OffScreen(width, height, picture->GetColorTable(), color, false);
    {
        DisplayPort port(*buffer.Get(), buffer->GetBounds(), 0);
        ScaleTrans scale(GetBounds(), buffer->GetBounds(), false);
        PortSaverTransform saver(port, scale);
        picture->DrawOpaque(port);
    }
    return buffer->GetBitMap();
}

SmartPtr<CStamp> CStamp::MakeTransformed(const Rect& rect, const SmartPtr<Transform>& xform, bool flag)
{
    CheckSmartData(picture.Get());
    bool present = xform.Valid() && xform.Get() != static_cast<Transform*>(kHiddenXform.Get());
    auto* cxform = SmartCast<CXform>(xform.Get());
    Rect dest = rect;
    if (present)
        dest = cxform ? cxform->MapRect(rect) : xform->MapRect(rect, false);
    dest.Offset(-dest.left, -dest.top);

    SmartPtr<OffScreen> buffer = new OffScreen(dest.right, dest.bottom, picture->GetColorTable(), color, true);
    SmartPtr<CStamp> result = new CStamp(*buffer.Get());
    if (present && cxform && !cxform->IsUnrotated()) {
        DrawRotated(*buffer.Get(), dest, *cxform, rect);
    } else {
        DisplayPort port(*buffer.Get(), dest, 0);
        DrawTo(port, dest, flag ? 1 : 0);
    }
    result->transform = cxform;
    return result;
}

// The picture is first scaled as the transform scales it, unturned, exactly as an unturned
// drawing would be; the turn then moves whole pixels of that copy, so a turned drawing has the
// size and the pixels of the unturned one.
void CStamp::DrawRotated(OffScreen& buffer, const Rect& dest, const CXform& xform, const Rect& rect)
{
    int32_t quarters = ((xform.GetAngle() % 360 + 360) % 360) / 90;
    bool quarterTurn = xform.GetAngle() % 90 == 0;
    Point size = CXform(xform.GetSource(), xform.GetDestination()).MapRect(rect).Size();
    if (quarterTurn) {
        size = dest.Size();
        if (quarters % 2 != 0)
            std::swap(size.h, size.v);
    }
    if (size.h <= 0 || size.v <= 0)
        return;
    SmartPtr<BitMap> scaled = size == GetBounds().Size() ? picture : ScaledPicture(size.h, size.v);
    if (quarterTurn) {
        DrawQuarterTurned(*scaled.Get(), buffer, dest, quarters);
        return;
    }
    // Each destination pixel takes the source pixel that turning it back about the centres
    // reaches, truncated toward zero; the angle is negated because the walk goes from destination
    // to source.
    Rect source = scaled->GetBounds();
    double a = -xform.GetAngle() * 3.14159265 / 180.0;
    double cs = std::cos(a);
    double sn = std::sin(a);
    Point cD = dest.Center();
    Point cS = source.Center();
    PixelIterator from(*scaled.Get(), source, true);
    PixelIterator to(*buffer.GetBitMap().Get(), dest, true);
    for (; to.More(); to.Next()) {
        Point p = to.GetPosition();
        double dh = p.h - cD.h;
        double dv = p.v - cD.v;
        auto sx = static_cast<int32_t>(dv * sn + dh * cs);
        auto sy = static_cast<int32_t>(-dh * sn + dv * cs);
        Point q(sx + cS.h, sy + cS.v);
        if (!source.Contains(q.h, q.v))
            continue;
        from.MoveTo(q.h, q.v);
        to.SetPixel(from.GetPixel());
    }
}

// Exact for every size: destination pixel (x, y) takes its source pixel by index arithmetic.
void CStamp::DrawQuarterTurned(BitMap& scaled, OffScreen& buffer, const Rect& dest, int32_t quarters)
{
    Rect source = scaled.GetBounds();
    int32_t width = source.right - source.left;
    int32_t height = source.bottom - source.top;
    PixelIterator from(scaled, source, true);
    PixelIterator to(*buffer.GetBitMap().Get(), dest, true);
    for (; to.More(); to.Next()) {
        Point p = to.GetPosition();
        int32_t x = p.h - dest.left;
        int32_t y = p.v - dest.top;
        Point q;
        switch (quarters) {
        case 1:
            q = Point(width - 1 - y, x);
            break;
        case 2:
            q = Point(width - 1 - x, height - 1 - y);
            break;
        case 3:
            q = Point(y, height - 1 - x);
            break;
        default:
            q = Point(x, y);
            break;
        }
        q.h += source.left;
        q.v += source.top;
        if (!source.Contains(q.h, q.v))
            continue;
        from.MoveTo(q.h, q.v);
        to.SetPixel(from.GetPixel());
    }
}

SmartPtr<Area> CStamp::GetMask(Point offset)
{
    CheckSmartData(picture.Get());
    if (!mask.Valid())
        mask = picture->GetColorArea(Color(0));
    if (mask->IsEmpty() || offset == Point(0, 0))
        return mask;
    SmartPtr<Area> moved = new Area(*mask.Get());
    moved->Offset(offset.h, offset.v);
    return moved;
}

Point CStamp::Trim()
{
    CheckSmartData(picture.Get());
    SmartPtr<ColorTable> table = picture->GetColorTable();
    uint32_t white = 0;
    if (!table->Convert(Color(0), white))
        white = table->NumColors();
    return BitMap::CropToContent(picture, white);
}

SmartPtr<CResource> CStamp::MakeResource() const
{
    return new CResource(SmartPtr<Persistent>(picture.Get()), true);
}

SmartPtr<CStamp> CStamp::FromImage(const SmartPtr<Image>& image, const Color& color)
{
    return new CStamp(SmartPtr<BitMap>(SmartCast<BitMap>(image.Get())), color);
}

void CStamp::TakeArea(const SmartPtr<Area>&, Point)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}
