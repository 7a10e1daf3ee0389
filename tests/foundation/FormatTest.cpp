#include "foundation/Format.h"

#include "foundation/FormatClassException.h"
#include "foundation/FourCharCode.h"
#include "foundation/GenericArray.h"
#include "foundation/MemoryStream.h"

#include "Failure.h"
#include "StoredBytes.h"
#include "TestObjects.h"

#include <gtest/gtest.h>

namespace {

using pw::foundation::FourCharCode;

const char* const kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

// Sample (2.0), a placeholder, Wrapper (1.0) and GenericArray (1.0).
SmartPtr<TypeIndex> SampleIndex(Fixed version = Fixed(1, 3))
{
    SmartPtr<TypeIndex> index(new TypeIndex(FileType("Test File", FourCharCode("TEST"), 0), version, "Tests"));
    index->AddClass(Sample::version);
    index->AddPlaceholders(1);
    index->AddClass(Wrapper::version);
    index->AddClass(GenericArray::version);
    return index;
}

// A chunk of the current layout; `extra` bytes are appended inside its length.
StoredBytes Chunk(Fixed layout, Fixed indexVersion, const std::string& description, std::vector<uint32_t> versions,
    std::vector<int32_t> sizes, const std::string& extra = "")
{
    StoredBytes bytes;
    uint32_t length = 16 + static_cast<uint32_t>(description.size() + 4 * versions.size() + 4 * sizes.size() + extra.size());
    bytes.Longs({ layout.Raw(), length, indexVersion.Raw(), static_cast<uint32_t>(description.size()) }).Text(description);
    return bytes.List(versions).List(sizes).Text(extra);
}

TEST(Format, WritesTheClassIndexChunkByteForByte)
{
    SmartPtr<Format> format(new Format(SampleIndex()));
    format->SetRecordSize(1, 8);
    MemoryStream stream;
    format->Write(stream);
    StoredBytes expected = Chunk(Fixed(2), Fixed(1, 3), "Tests", { 0x20000, 0, 0x10000, 0x10000 }, { 8, -1, -1, -1 });
    EXPECT_EQ(BytesOf(stream), expected.data);

    // Rewriting after more sizes are known keeps the length.
    format->SetRecordSize(3, 12);
    MemoryStream again;
    format->Write(again);
    EXPECT_EQ(again.GetLength(), stream.GetLength());

    SmartPtr<TypeIndex> empty(new TypeIndex(FileType("Empty", 0, 0), Fixed(1), "None"));
    MemoryStream emptyStream;
    Format(empty).Write(emptyStream);
    EXPECT_EQ(BytesOf(emptyStream), Chunk(Fixed(2), Fixed(1), "None", {}, {}).data);
}

TEST(Format, ReadsOlderAndNewerMinorChunksAndRefusesOthers)
{
    struct Case {
        const char* name;
        StoredBytes chunk;
        Fixed indexVersion;
        std::string failure;
        Fixed storedVersion;
        int32_t recordSize;
    } cases[] = {
        { "newer minor layout skips its extra bytes", Chunk(Fixed(2, 7), Fixed(1), "x", { 0x10000 }, { 8 }, "more"),
            Fixed(1), "", Fixed(1), 8 },
        { "newer major layout", Chunk(Fixed(3), Fixed(1), "x", { 0x10000 }, { 8 }), Fixed(1), "Can't read format",
            Fixed(), 0 },
        { "older minor index version", Chunk(Fixed(2), Fixed(1, 4), "", { 0x10000 }, { 8 }), Fixed(1), "", Fixed(1), 8 },
        { "newer minor index version", Chunk(Fixed(2), Fixed(1), "", { 0x10000 }, { 8 }), Fixed(1, 4), "", Fixed(1), 8 },
        { "other major index version", Chunk(Fixed(2), Fixed(2), "", { 0x10000 }, { 8 }), Fixed(1, 4),
            "Can't read class index", Fixed(), 0 },
        { "layout 1.0 has integer versions and no sizes", Chunk(Fixed(1), Fixed(1), "ab", { 1 }, { 8 }), Fixed(1), "",
            Fixed(1), Format::kNoSize },
        { "oldest layout has no length and no index version",
            StoredBytes().Longs({ 7, 2 }).Text("ab").Longs({ 1, 1, 1, 8 }), Fixed(1, 2), "", Fixed(1), Format::kNoSize },
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.chunk.Longs({ 0xCAFE });
        SmartPtr<MemoryStream> stream = c.chunk.Stream();
        SmartPtr<Format> format;
        SmartPtr<TypeIndex> index(new TypeIndex(FileType("T", 0, 0), c.indexVersion, ""));
        index->AddClass(Wrapper::version);
        EXPECT_EQ(Failure([&] { format = new Format(index, *stream.Get()); }), c.failure);
        if (!c.failure.empty())
            continue;
        EXPECT_EQ(stream->ReadLong(), 0xCAFE);
        EXPECT_EQ(format->GetStoredVersion(1), c.storedVersion);
        EXPECT_EQ(format->GetRecordSize(1), c.recordSize);
    }
}

TEST(Format, StoredVersionsReadableByThisProgram)
{
    // Sample is at 2.0 here; Wrapper at 1.0.
    struct Case {
        const char* name;
        uint32_t number;
        uint32_t stored;
        int32_t size;
        Fixed expected;
    } cases[] = {
        { "older version", 1, 0x10005, 8, Fixed(1, 5) },
        { "newer minor with one size", 1, 0x20003, 8, Fixed(2, 3) },
        { "newer minor with differing sizes", 1, 0x20003, Format::kSizesDiffer, Fixed() },
        { "newer minor without a size", 1, 0x20003, Format::kNoSize, Fixed() },
        { "newer major", 1, 0x30000, 8, Fixed() },
        { "placeholder", 2, 0x10000, 8, Fixed() },
        { "number past the stored list", 5, 0, 0, Fixed() },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint32_t> versions { 0x20000, 0, 0x10000 };
        std::vector<int32_t> sizes { -1, -1, -1 };
        if (c.number <= versions.size()) {
            versions[c.number - 1] = c.stored;
            sizes[c.number - 1] = c.size;
        }
        SmartPtr<MemoryStream> stream = Chunk(Fixed(2), Fixed(1), "", versions, sizes).Stream();
        SmartPtr<Format> format(new Format(SampleIndex(), *stream.Get()));
        EXPECT_EQ(format->GetStoredVersion(c.number), c.expected);
    }
}

TEST(Format, RecordSizesAgreeOrAreMarkedAsDiffering)
{
    SmartPtr<Format> format(new Format(SampleIndex()));
    format->SetRecordSize(1, 40);
    format->SetRecordSize(1, 40);
    EXPECT_EQ(format->GetRecordSize(1), 40);
    format->SetRecordSize(1, 44);
    EXPECT_EQ(format->GetRecordSize(1), Format::kNoSize);
    format->SetRecordSize(1, 40);
    EXPECT_EQ(format->GetRecordSize(1), Format::kNoSize);
    format->SetRecordSize(9, 40);
    EXPECT_EQ(format->GetRecordSize(9), Format::kNoSize);
}

TEST(Format, ClassNumbersInBothDirections)
{
    SmartPtr<TypeIndex> index = SampleIndex();
    index->AddClass(Sample::version);
    SmartPtr<Format> format(new Format(index));
    EXPECT_EQ(format->ClassNumberOf(Sample::version), 1u);
    EXPECT_EQ(format->ClassNumberOf(Wrapper::version), 3u);

    MemoryStream stream;
    format->WriteClass(stream, &Sample::classInfo);
    format->WriteClass(stream, &Wrapper::classInfo);
    stream.WriteLong(0).WriteLong(2).WriteLong(99);
    EXPECT_EQ(BytesOf(stream), StoredBytes().Longs({ 5, 3, 0, 2, 99 }).data);
    stream.Seek(0, Stream::kFromStart);
    EXPECT_EQ(format->ReadClass(stream), &Sample::classInfo);
    EXPECT_EQ(format->ReadClass(stream), &Wrapper::classInfo);
    EXPECT_EQ(format->ReadClass(stream), nullptr);
    EXPECT_EQ(Failure([&] { format->ReadClass(stream); }), kCorrupt);
    EXPECT_EQ(Failure([&] { format->ReadClass(stream); }), kCorrupt);

    SmartPtr<TypeIndex> small(new TypeIndex(FileType("T", 0, 0), Fixed(1), ""));
    small->AddClass(Wrapper::version);
    SmartPtr<Format> other(new Format(small));
    EXPECT_EQ(Failure([&] { other->ClassNumberOf(Sample::version); }), "other exception");
    EXPECT_EQ(Failure([&] { other->ClassNumberOf(SmartPtr<Persistent>()); }), "obj.Valid()");
    try {
        other->WriteClass(stream, &Sample::classInfo);
        FAIL();
    } catch (Exception* exception) {
        auto* missing = dynamic_cast<FormatClassException*>(exception);
        ASSERT_NE(missing, nullptr);
        EXPECT_EQ(missing->GetClassName(), "Sample");
    }
}

TEST(Format, CountsBeyondTheStreamAreCorrupt)
{
    struct Case {
        const char* name;
        StoredBytes chunk;
    } cases[] = {
        { "description", StoredBytes().Longs({ 0x20000, 16, 0x10000, 0x7FFFFFF0 }) },
        { "versions", StoredBytes().Longs({ 0x20000, 16, 0x10000, 0, 0x40000000 }) },
        { "sizes", StoredBytes().Longs({ 0x20000, 16, 0x10000, 0, 0, 0xFFFFFFFF }) },
        { "length past the end", StoredBytes().Longs({ 0x20000, 1000, 0x10000, 0, 0, 0 }) },
        { "length short of the chunk", StoredBytes().Longs({ 0x20000, 4, 0x10000, 0, 0, 0 }) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<MemoryStream> stream = c.chunk.Stream();
        EXPECT_EQ(Failure([&] { SmartPtr<Format>(new Format(SampleIndex(Fixed(1)), *stream.Get())); }), kCorrupt);
    }
}

} // namespace
