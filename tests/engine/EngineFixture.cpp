#include "EngineFixture.h"

#include "engine/CDelta.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CMovieText.h"
#include "engine/CSprite.h"
#include "foundation/Alert.h"

#include "foundation/ObjectFileBytes.h"

namespace engine {

PW_DEFINE_CLASS(TestMovie, nullptr, nullptr, CMovie)
constinit const PersistentVersion TestMovie::version { &TestMovie::classInfo, Fixed(1), Fixed(1),
    &pw::foundation::ReadInScope<TestMovie> };

bool PaintedMovie::DrawFrame(DisplayPort& port, const SmartPtr<CXform>& xform, int16_t frame, const Color&)
{
    ++draws;
    Rect rect(0, 0, 0, 0);
    GetFrameBounds(rect, frame);
    if (xform.Valid())
        rect = xform->MapRect(rect);
    const Color& paint = colors[static_cast<size_t>(frame) % colors.size()];
    port.DrawRectangle(rect, paint, paint, 1);
    return true;
}

PW_DEFINE_CLASS(TestWebLink, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(TestWebLink)
constinit const PersistentVersion TestWebLink::version { &TestWebLink::classInfo, Fixed(1), Fixed(1),
    &pw::foundation::ReadInScope<TestWebLink> };

TestWebLink::TestWebLink(ArchiveScope& scope)
{
    ArchiveScope inner(scope, String::version);
    text = String(inner);
}

void TestWebLink::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.Put(text);
}

WithWebLinks::WithWebLinks()
{
    pw::engine::WebLinkServices services;
    services.linkClass = &TestWebLink::classInfo;
    services.makeLink = [](const String& text) -> SmartPtr<Persistent> { return new TestWebLink(text); };
    services.makePageLink = [](Smart*, const String& page) -> SmartPtr<Persistent> {
        return new TestWebLink(String("page:").Concat(page));
    };
    services.linkText = [](Persistent& link) { return SmartCast<TestWebLink>(&link)->text; };
    pw::engine::SetWebLinkServices(services);
}

WithWebLinks::~WithWebLinks()
{
    pw::engine::SetWebLinkServices({});
}

SmartPtr<TypeIndex> EngineTypeIndex()
{
    SmartPtr<TypeIndex> index = new TypeIndex(FileType("Engine test", 0, 0), Fixed(1, 0), "Engine test");
    for (const PersistentVersion* record :
        { &TestMovie::version, &CMovie::version, &ListData::version, &Sound::version, &ColorTable::version,
            &CLink::version, &CFrameIndex::version, &CJumpFrame::version, &CJumpMovie::version, &CJump::version,
            &String::version, &GenericArray::version, &FileReference::version, &TestWebLink::version,
            &CXform::version, &PathPoint::version, &CStamp::version, &BitMap::version, &Area::version,
            &CResource::version, &CMovieRes::version, &CMoviePic::version, &CMovieText::version, &CSprite::version, &CMovieGroup::version,
            &CDelta::version })
        index->AddClass(*record);
    return index;
}

std::vector<uint8_t> Store(Smart* root)
{
    return ObjectFileBytes(EngineTypeIndex(), root);
}

SmartPtr<Smart> Load(const std::vector<uint8_t>& bytes)
{
    return ObjectFromBytes(EngineTypeIndex(), bytes);
}

std::string Text(const String& text)
{
    char buffer[256];
    text.GetCString(buffer, sizeof(buffer));
    return buffer;
}

} // namespace engine
