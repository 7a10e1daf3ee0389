#include "foundation/ArchiveScope.h"
#include "foundation/BitBucketArchive.h"
#include "foundation/GenericArray.h"
#include "foundation/MemoryStream.h"

#include "Failure.h"
#include "FlatArchive.h"
#include "TestObjects.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Stored bytes built by hand, in the flat archive's framing.
struct Bytes {
    std::vector<uint8_t> data;

    Bytes& Long(uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<uint8_t>(value >> (8 * i)));
        return *this;
    }
    // An object reference of class `number` with its frame and fields.
    Bytes& Object(uint32_t number, Fixed version, std::vector<uint32_t> fields, const Bytes* inner = nullptr)
    {
        uint32_t length = static_cast<uint32_t>(fields.size() * 4 + (inner ? inner->data.size() : 0));
        Long(number).Long(version.Raw()).Long(length);
        for (uint32_t field : fields)
            Long(field);
        if (inner)
            data.insert(data.end(), inner->data.begin(), inner->data.end());
        return *this;
    }
    // A frame without reference, as a nested part is stored.
    Bytes& Part(Fixed version, std::vector<uint32_t> fields)
    {
        Long(version.Raw()).Long(static_cast<uint32_t>(fields.size() * 4));
        for (uint32_t field : fields)
            Long(field);
        return *this;
    }
};

class Reader {
public:
    explicit Reader(const Bytes& bytes)
        : archive(new FlatArchive(stream, { &Sample::version, &Wrapper::version }, false))
    {
        stream.Write(bytes.data.data(), static_cast<uint32_t>(bytes.data.size()));
        stream.Seek(0, Stream::kFromStart);
    }
    template <typename T>
    SmartPtr<T> Next()
    {
        SmartPtr<Smart> object(archive->ReadObject());
        return SmartPtr<T>(SmartCast<T>(object.Get()));
    }

    MemoryStream stream;
    SmartPtr<FlatArchive> archive;
};

TEST(PersistentVersion, ReadsTheSameMajorAndOlderVersionsDownToTheOldest)
{
    struct Case {
        Fixed stored;
        bool outOfRange;
    } cases[] = {
        { Fixed(1, 0), false }, { Fixed(1, 5), false }, { Fixed(2, 0), false }, { Fixed(2, 7), false },
        { Fixed(0, 9), true }, { Fixed(3, 0), true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.Raw());
        EXPECT_EQ(Sample::version.IsOutOfRange(c.stored), c.outOfRange);
    }
    EXPECT_FALSE(GenericArray::version.IsOutOfRange(Fixed(0, 0)));
    EXPECT_FALSE(GenericArray::version.HasReader());
    EXPECT_EQ(Failure([] { GenericArray::version.CallReader(pw::foundation::NullArchive()); }), "reader != NULL");
}

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
        Bytes bytes;
        bytes.Object(1, c.stored, c.fields).Object(1, Fixed(2), { 5, 6 });
        Reader reader(bytes);
        SmartPtr<Sample> sample = reader.Next<Sample>();
        ASSERT_TRUE(sample.Valid());
        EXPECT_EQ(sample->value, c.value);
        EXPECT_EQ(sample->extra, c.extra);
        EXPECT_EQ(sample->skipped, c.skipped);
        EXPECT_EQ(sample->readVersion, c.stored);
        // The next object starts where this one's stored bytes end.
        SmartPtr<Sample> next = reader.Next<Sample>();
        ASSERT_TRUE(next.Valid());
        EXPECT_EQ(next->value, 5);
        EXPECT_EQ(next->extra, 6);
        EXPECT_TRUE(reader.stream.AtEnd());
    }
}

TEST(ArchiveScope, NestedScopesOfASkippedScopeReadZerosAndTheWholeRegionIsSkipped)
{
    Bytes inner;
    inner.Part(Fixed(2, 0), { 77, 88 });
    Bytes bytes;
    bytes.Object(2, Fixed(2, 0), { 99 }, &inner).Object(1, Fixed(2), { 5, 6 });
    Reader reader(bytes);
    SmartPtr<Wrapper> wrapper = reader.Next<Wrapper>();
    ASSERT_TRUE(wrapper.Valid());
    EXPECT_EQ(wrapper->own, 0);
    EXPECT_TRUE(wrapper->inner.skipped);
    EXPECT_EQ(wrapper->inner.readVersion, Fixed());
    EXPECT_EQ(wrapper->inner.value, 0);
    EXPECT_EQ(wrapper->inner.extra, -1);
    EXPECT_EQ(reader.Next<Sample>()->value, 5);
}

TEST(ArchiveScope, ANewerNestedPartIsPassedOverInsideItsReadableOwner)
{
    Bytes inner;
    inner.Part(Fixed(2, 3), { 77, 88, 0xFFFF });
    Bytes bytes;
    bytes.Object(2, Fixed(1, 0), { 99 }, &inner).Object(1, Fixed(2), { 5, 6 });
    Reader reader(bytes);
    SmartPtr<Wrapper> wrapper = reader.Next<Wrapper>();
    ASSERT_TRUE(wrapper.Valid());
    EXPECT_EQ(wrapper->own, 99);
    EXPECT_FALSE(wrapper->inner.skipped);
    EXPECT_EQ(wrapper->inner.value, 77);
    EXPECT_EQ(wrapper->inner.extra, 88);
    EXPECT_EQ(reader.Next<Sample>()->value, 5);
}

TEST(ArchiveScope, WritesRoundTripThroughNestedScopes)
{
    MemoryStream stream;
    SmartPtr<FlatArchive> writer(new FlatArchive(stream, { &Sample::version, &Wrapper::version }, true));
    Wrapper original(3, Sample(4, 5));
    writer->WriteObject(&original);
    Bytes expected;
    Bytes inner;
    inner.Part(Fixed(2), { 4, 5 });
    expected.Object(2, Fixed(1), { 3 }, &inner);
    const auto* start = static_cast<const uint8_t*>(stream.Block().Ptr());
    EXPECT_EQ(std::vector<uint8_t>(start, start + stream.GetLength()), expected.data);
}

TEST(ArchiveScope, SkippedScopesWriteNothingAndReadNull)
{
    Bytes frame;
    frame.Part(Fixed(9), {});
    MemoryStream framed;
    framed.Write(frame.data.data(), static_cast<uint32_t>(frame.data.size()));
    framed.WriteLong(1);
    framed.Seek(0, Stream::kFromStart);
    SmartPtr<FlatArchive> reading(new FlatArchive(framed, { &Sample::version }, false));
    {
        ArchiveScope scope(*reading.Get(), Sample::version);
        ASSERT_TRUE(scope.IsSkipped());
        uint32_t mark = framed.GetMark();
        EXPECT_EQ(&scope.WriteRect(1, 2, 3, 4), &scope);
        EXPECT_EQ(scope.ReadObject(), nullptr);
        EXPECT_EQ(scope.ReadClass(), nullptr);
        EXPECT_EQ(framed.GetMark(), mark);
        EXPECT_EQ(&scope.GetArchive(), &pw::foundation::NullArchive());
        EXPECT_EQ(&scope.GetStream(), &pw::foundation::NullStream());
    }
}

TEST(ArchiveScope, AnUncountedArchiveIsStillHandedToContainedObjects)
{
    MemoryStream stream;
    FlatArchive onStack(stream, {}, true);
    ArchiveScope scope(onStack, Sample::version);
    EXPECT_EQ(&scope.GetArchive(), &onStack);
    EXPECT_EQ(&scope.GetStream(), &stream);
}

TEST(BitBucketArchive, WritesNothingAndReadsNothing)
{
    Archive& null = pw::foundation::NullArchive();
    Sample sample(1, 2);
    sample.Write(null);
    null.WriteObject(&sample).WriteLong(5).WriteClass(&Sample::classInfo);
    EXPECT_EQ(null.GetStream().GetLength(), 0u);
    EXPECT_EQ(null.ReadLong(), 0);
    EXPECT_EQ(null.ReadObject(), nullptr);
    EXPECT_EQ(null.ReadClass(), nullptr);
    // It is pinned: a handle taking and dropping it leaves it alive.
    {
        SmartPtr<Archive> handle(&null);
    }
    EXPECT_EQ(null.ReferenceCount(), SmartImplementation::kPinned);
}

} // namespace
