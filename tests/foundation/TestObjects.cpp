#include "TestObjects.h"

#include "foundation/SmartPtr.h"
#include "foundation/Stream.h"

PW_DEFINE_CLASS(Tracked, &pw::foundation::CreateFunction<Tracked>, nullptr, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Tracked)

int Tracked::live = 0;

Tracked::Tracked(int value)
    : value(value)
{
    ++live;
}

Tracked::Tracked(const Tracked& other)
    : Smart()
    , SmartImplementation(other)
    , value(other.value)
{
    ++live;
}

Tracked::~Tracked()
{
    --live;
}

PW_DEFINE_CLASS(Sample, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Sample)

constinit const PersistentVersion Sample::version { &Sample::classInfo, Fixed(1), Fixed(2), &pw::foundation::ReadInScope<Sample> };

int Sample::live = 0;

Sample::Sample(int32_t value, int32_t extra)
    : value(value)
    , extra(extra)
{
    ++live;
}

Sample::Sample(ArchiveScope& scope)
    : value(scope.GetStream().ReadLong())
    , extra(-1)
    , readVersion(scope.GetVersion())
    , skipped(scope.IsSkipped())
{
    if (scope.GetVersion() >= Fixed(1, 5))
        extra = scope.GetStream().ReadLong();
    ++live;
}

Sample::Sample(const Sample& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , value(other.value)
    , extra(other.extra)
    , readVersion(other.readVersion)
    , skipped(other.skipped)
{
    ++live;
}

Sample::~Sample()
{
    --live;
}

void Sample::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.GetStream().WriteLong(value).WriteLong(extra);
}

PW_DEFINE_CLASS(Wrapper, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Wrapper)

constinit const PersistentVersion Wrapper::version { &Wrapper::classInfo, Fixed(1), Fixed(1), &pw::foundation::ReadInScope<Wrapper> };

Wrapper::Wrapper(int32_t own, Sample inner)
    : own(own)
    , inner(inner)
{
}

Wrapper::Wrapper(ArchiveScope& scope)
    : own(scope.GetStream().ReadLong())
    , inner([&scope]() -> Sample {
        ArchiveScope innerScope(scope, Sample::version);
        return Sample(innerScope);
    }())
{
}

void Wrapper::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.GetStream().WriteLong(own);
    inner.Write(archive);
}

namespace {

bool SketchFromPhoto(SmartPtr<Smart>& handle)
{
    Photo* photo = SmartCast<Photo>(handle.Get());
    if (!photo)
        return false;
    handle = new Sketch(photo->value + 1);
    return true;
}

constexpr pw::foundation::ConversionEntry kSketchFrom[] = { { &Photo::classInfo, &SketchFromPhoto, nullptr }, { nullptr, nullptr, nullptr } };

} // namespace

PW_DEFINE_CLASS(Photo, nullptr, nullptr, Tracked)
PW_DEFINE_COPY_SLOTS(Photo)
PW_DEFINE_CLASS(Sketch, nullptr, kSketchFrom, Tracked)
PW_DEFINE_COPY_SLOTS(Sketch)
