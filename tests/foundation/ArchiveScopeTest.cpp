#include "foundation/ArchiveScope.h"
#include "foundation/BitBucketArchive.h"
#include "foundation/GenericArray.h"

#include "Failure.h"
#include "StoredBytes.h"
#include "TestObjects.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Stored bytes built by hand, in the flat archive's framing.
struct Bytes : StoredBytes {
    // An object reference of class `number` with its frame, fields and nested part.
    Bytes& Object(uint32_t number, Fixed version, std::vector<uint32_t> fields, const Bytes& inner = Bytes())
    {
        Longs({ number, version.Raw(), static_cast<uint32_t>(fields.size() * 4 + inner.data.size()) });
        for (uint32_t field : fields)
            Long(field);
        data.insert(data.end(), inner.data.begin(), inner.data.end());
        return *this;
    }
    // A frame without reference, as a nested part is stored.
    Bytes& Part(Fixed version, std::vector<uint32_t> fields)
    {
        Longs({ version.Raw(), static_cast<uint32_t>(fields.size() * 4) });
        for (uint32_t field : fields)
            Long(field);
        return *this;
    }
};

const StoredClasses kClasses = { &Sample::version, &Wrapper::version };

// Sample reads versions 1.0 to 2.x; each case is followed by a current Sample (5, 6), which must
// be read from where the case's stored bytes end.
TEST(ArchiveScope, ReadersSeeTheStoredVersionAndSkipWhatTheyCannotRead)
{
    struct Case {
        const char* name;
        Fixed stored;
        std::vector<uint32_t> fields;
        int32_t value;
        int32_t extra;
        bool skipped;
    } cases[] = {
        { "1.0 has no extra", Fixed(1, 0), { 11 }, 11, -1, false },
        { "1.5 added extra", Fixed(1, 5), { 11, 22 }, 11, 22, false },
        { "current", Fixed(2, 0), { 11, 22 }, 11, 22, false },
        { "newer minor: trailing bytes passed over", Fixed(2, 7), { 11, 22, 0xDEAD, 0xBEEF }, 11, 22, false },
        { "too old: defaults", Fixed(0, 9), { 11 }, 0, -1, true },
        { "newer major: zeros", Fixed(3, 0), { 11, 22, 33 }, 0, 0, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Sample::version.IsOutOfRange(c.stored), c.skipped);
        std::vector<SmartPtr<Persistent>> read = Load(Bytes().Object(1, c.stored, c.fields).Object(1, Fixed(2), { 5, 6 }).data, kClasses, 2);
        Sample* sample = SmartCast<Sample>(read[0].Get());
        Sample* next = SmartCast<Sample>(read[1].Get());
        ASSERT_TRUE(sample && next);
        EXPECT_EQ(sample->value, c.value);
        EXPECT_EQ(sample->extra, c.extra);
        EXPECT_EQ(sample->skipped, c.skipped);
        EXPECT_EQ(sample->readVersion, c.stored);
        EXPECT_EQ(next->value, 5);
        EXPECT_EQ(next->extra, 6);
    }
    EXPECT_EQ(Failure([] { GenericArray::version.CallReader(pw::foundation::NullArchive()); }), "reader != NULL");
}

// A Wrapper (1.0) stores its own field, then its Sample part in a nested scope.
TEST(ArchiveScope, NestedPartsAreSkippedWithTheirOwnerOrPassedOverInsideIt)
{
    struct Case {
        const char* name;
        Fixed outer;
        Fixed inner;
        int32_t own;
        bool innerSkipped;
        int32_t innerValue;
        int32_t innerExtra;
    } cases[] = {
        { "a skipped owner reads its part as zeros", Fixed(2, 0), Fixed(2, 0), 0, true, 0, -1 },
        { "a newer part inside a readable owner", Fixed(1, 0), Fixed(2, 3), 99, false, 77, 88 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes inner;
        inner.Part(c.inner, { 77, 88, 0xFFFF });
        std::vector<SmartPtr<Persistent>> read = Load(Bytes().Object(2, c.outer, { 99 }, inner).Object(1, Fixed(2), { 5, 6 }).data, kClasses, 2);
        Wrapper* wrapper = SmartCast<Wrapper>(read[0].Get());
        ASSERT_NE(wrapper, nullptr);
        EXPECT_EQ(wrapper->own, c.own);
        EXPECT_EQ(wrapper->inner.skipped, c.innerSkipped);
        EXPECT_EQ(wrapper->inner.value, c.innerValue);
        EXPECT_EQ(wrapper->inner.extra, c.innerExtra);
        EXPECT_EQ(SmartCast<Sample>(read[1].Get())->value, 5);
    }
}

TEST(ArchiveScope, WritesFramesAroundNestedParts)
{
    Wrapper original(3, Sample(4, 5));
    Bytes inner;
    inner.Part(Fixed(2), { 4, 5 });
    EXPECT_EQ(Store({ &original }, kClasses), Bytes().Object(2, Fixed(1), { 3 }, inner).data);
}

TEST(ArchiveScope, SkippedScopesUseTheNullArchiveAndOthersTheirOwn)
{
    SmartPtr<MemoryStream> framed = Bytes().Part(Fixed(9), {}).Long(1).Stream();
    SmartPtr<FlatArchive> reading(new FlatArchive(*framed.Get(), { &Sample::version }, false));
    {
        ArchiveScope scope(*reading.Get(), Sample::version);
        ASSERT_TRUE(scope.IsSkipped());
        uint32_t mark = framed->GetMark();
        scope.WriteRect(1, 2, 3, 4);
        EXPECT_EQ(scope.ReadObject(), nullptr);
        EXPECT_EQ(scope.ReadClass(), nullptr);
        EXPECT_EQ(framed->GetMark(), mark);
        EXPECT_EQ(&scope.GetArchive(), &pw::foundation::NullArchive());
        EXPECT_EQ(&scope.GetStream(), &pw::foundation::NullStream());
    }
    // An archive held by no handle is still handed to contained objects.
    MemoryStream stream;
    FlatArchive onStack(stream, {}, true);
    ArchiveScope scope(onStack, Sample::version);
    EXPECT_EQ(&scope.GetArchive(), &onStack);
    EXPECT_EQ(&scope.GetStream(), &stream);
}

TEST(BitBucketArchive, WritesNothingReadsZerosAndStaysPinned)
{
    Archive& null = pw::foundation::NullArchive();
    Sample sample(1, 2);
    sample.Write(null);
    null.WriteObject(&sample).WriteLong(5).WriteClass(&Sample::classInfo);
    // Its stream is the null stream: it keeps nothing and reads zeros.
    Stream& bucket = null.GetStream();
    bucket.WriteRect(1, 2, 3, 4);
    EXPECT_EQ(bucket.GetLength(), 0u);
    EXPECT_EQ(bucket.GetMark(), 0u);
    EXPECT_EQ(bucket.ReadRect(), Rect(0, 0, 0, 0));
    EXPECT_EQ(null.ReadLong(), 0);
    EXPECT_EQ(null.ReadObject(), nullptr);
    EXPECT_EQ(null.ReadClass(), nullptr);
    {
        SmartPtr<Archive> handle(&null);
    }
    EXPECT_EQ(null.ReferenceCount(), SmartImplementation::kPinned);
}

} // namespace
