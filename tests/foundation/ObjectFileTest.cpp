#include "foundation/ObjectFile.h"

#include "foundation/ArchiveScope.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/FourCharCode.h"
#include "foundation/GenericArray.h"
#include "foundation/ListData.h"
#include "foundation/Memory.h"
#include "foundation/MemoryStream.h"

#include "AlertFixture.h"
#include "Failure.h"
#include "StoredBytes.h"
#include "TestObjects.h"

#include "platform/kernel/KernelTestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// A stored object with a value and references to other objects.
class Node : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(Node)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    explicit Node(int32_t value = 0)
        : value(value)
    {
    }
    explicit Node(ArchiveScope& scope)
        : value(scope.GetStream().ReadLong())
    {
        uint32_t count = static_cast<uint32_t>(scope.GetStream().ReadLong());
        scope.GetStream().CheckAvailable(static_cast<uint64_t>(count) * 4);
        for (uint32_t n = 0; n < count; ++n)
            children.emplace_back(scope.ReadObject());
    }

    void Write(Archive& archive) override
    {
        ArchiveScope scope(archive, version);
        scope.GetStream().WriteLong(value).WriteLong(static_cast<int32_t>(children.size()));
        for (const auto& child : children)
            scope.WriteObject(child.Get());
    }
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    Node* Child(size_t n) const { return SmartCast<Node>(children.at(n).Get()); }
    Sample* SampleChild(size_t n) const { return SmartCast<Sample>(children.at(n).Get()); }

    int32_t value;
    std::vector<SmartPtr<Persistent>> children;
};

// Stores a Sample embedded in its own bytes, handing it the archive its scope gives out.
class Holder : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(Holder)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    explicit Holder(Sample inner)
        : inner(inner)
    {
    }
    explicit Holder(ArchiveScope& scope)
        : inner([&scope] {
            ArchiveScope innerScope(scope.GetArchive(), Sample::version);
            return Sample(innerScope);
        }())
    {
    }

    void Write(Archive& archive) override
    {
        ArchiveScope scope(archive, version);
        inner.Write(scope.GetArchive());
    }
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    Sample inner;
};

PW_DEFINE_CLASS(Node, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Node)
constinit const PersistentVersion Node::version { &Node::classInfo, Fixed(1), Fixed(1), &pw::foundation::ReadInScope<Node> };
PW_DEFINE_CLASS(Holder, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Holder)
constinit const PersistentVersion Holder::version { &Holder::classInfo, Fixed(1), Fixed(1), &pw::foundation::ReadInScope<Holder> };

namespace {

using pw::platform::testing::ScriptMessageBoxes;

const std::string kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

// Node 1, a placeholder 2, Sample 3 (at 2.0), GenericArray 4, Holder 5.
SmartPtr<TypeIndex> GraphIndex()
{
    FileType type("Graph File", pw::foundation::FourCharCode("GRPH"), 0);
    SmartPtr<TypeIndex> index(new TypeIndex(type, Fixed(1), "Graph"));
    index->AddClass(Node::version);
    index->AddPlaceholders(1);
    index->AddClass(Sample::version);
    index->AddClass(GenericArray::version);
    index->AddClass(Holder::version);
    return index;
}

// An object file spelled out: header, chunk, object bytes and table, offsets worked out here.
struct FileBuilder {
    bool bigEndian { false };
    uint32_t formatVersion { 0x20000 };
    uint32_t tagged { 0 };
    uint32_t rootId { 1 };
    std::vector<uint32_t> versions { 0x10000, 0, 0x20000, 0x10000, 0x10000 };
    std::vector<int32_t> sizes { -1, -1, -1, -1, -1 };
    std::vector<uint32_t> objects;
    // Class number, offset into `objects` (in bytes), length.
    std::vector<std::array<uint32_t, 3>> entries;

    static constexpr uint32_t kHeaderSize = 25;

    uint32_t ChunkSize() const { return 8 + 16 + 5 + 4 * static_cast<uint32_t>(versions.size() + sizes.size()); }
    uint32_t ObjectsStart() const { return kHeaderSize + ChunkSize(); }
    uint32_t TableOffset() const { return ObjectsStart() + 4 * static_cast<uint32_t>(objects.size()); }

    StoredBytes Build() const
    {
        StoredBytes bytes;
        bytes.bigEndian = bigEndian;
        bytes.Text("OBJS").Byte(bigEndian ? 1 : 2).Longs({ formatVersion, tagged, TableOffset(), kHeaderSize, rootId });
        bytes.Longs({ 0x20000, ChunkSize() - 8, 0x10000, 5 }).Text("Graph").List(versions).List(sizes);
        for (uint32_t value : objects)
            bytes.Long(value);
        // In a tagged file the table's own bytes start with its class number too.
        if (tagged)
            bytes.Long(4);
        bytes.Long(static_cast<uint32_t>(entries.size()));
        for (const auto& entry : entries)
            bytes.Longs({ entry[0], ObjectsStart() + entry[1], entry[2] });
        return bytes;
    }
};

// Node 1 referring twice to Sample (5, 6): the sample's bytes follow its first reference only.
FileBuilder GoldenGraph()
{
    FileBuilder file;
    file.sizes = { 16, -1, 8, 28, -1 };
    file.objects = { 1, 2, 2, 5, 6, 2 };
    file.entries = { { 1, 0, 24 }, { 3, 12, 8 } };
    return file;
}

// A file of one object of class `number`, its bytes `objects`, with the rest changed by `tweak`.
FileBuilder OneObject(uint32_t number, std::vector<uint32_t> objects, void (*tweak)(FileBuilder&) = nullptr)
{
    FileBuilder file;
    file.objects = std::move(objects);
    file.entries = { { number, 0, 4 * static_cast<uint32_t>(file.objects.size()) } };
    if (tweak)
        tweak(file);
    return file;
}

SmartPtr<Node> GoldenRoot()
{
    SmartPtr<Node> root(new Node(1));
    SmartPtr<Persistent> sample(new Sample(5, 6));
    root->children = { sample, sample };
    return root;
}

SmartPtr<MemoryStream> Saved(const SmartPtr<Smart>& root)
{
    SmartPtr<MemoryStream> stream(new MemoryStream);
    SmartPtr<ObjectFile> file(new ObjectFile(GraphIndex(), stream.Get()));
    file->Write(root);
    return stream;
}

SmartPtr<Smart> Opened(const SmartPtr<MemoryStream>& stream, uint8_t* flags = nullptr)
{
    SmartPtr<ObjectFile> file(new ObjectFile(GraphIndex(), stream.Get()));
    SmartPtr<Smart> root = file->Read();
    if (flags)
        *flags = file->GetFlags();
    return root;
}

class ObjectFileTest : public AlertsShown { };

TEST_F(ObjectFileTest, ReadsTheGoldenFileInEitherByteOrder)
{
    for (bool bigEndian : { false, true }) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        FileBuilder file = GoldenGraph();
        file.bigEndian = bigEndian;
        uint8_t flags = 0;
        SmartPtr<Smart> root = Opened(file.Build().Stream(), &flags);
        Node* node = SmartCast<Node>(root.Get());
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->value, 1);
        ASSERT_EQ(node->children.size(), 2u);
        ASSERT_NE(node->SampleChild(0), nullptr);
        EXPECT_EQ(node->SampleChild(0), node->SampleChild(1));
        EXPECT_EQ(node->SampleChild(0)->value, 5);
        EXPECT_EQ(node->SampleChild(0)->extra, 6);
        EXPECT_EQ(flags, 0);
    }
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ObjectFileTest, SharedObjectsAndCyclesSurviveARoundTrip)
{
    SmartPtr<Node> a(new Node(1)), b(new Node(2)), c(new Node(3));
    a->children = { b.Get(), c.Get(), b.Get(), nullptr };
    b->children = { a.Get() };
    c->children = { c.Get() };
    SmartPtr<Smart> read = Opened(Saved(a.Get()));
    // The written graph's cycles are its own to break.
    b->children.clear();
    c->children.clear();

    Node* root = SmartCast<Node>(read.Get());
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->children.size(), 4u);
    EXPECT_EQ(root->Child(0), root->Child(2));
    EXPECT_EQ(root->Child(0)->value, 2);
    EXPECT_EQ(root->Child(1)->value, 3);
    EXPECT_EQ(root->Child(3), nullptr);
    // A reference back to an object still being read reads as null.
    ASSERT_EQ(root->Child(0)->children.size(), 1u);
    EXPECT_EQ(root->Child(0)->Child(0), nullptr);
    EXPECT_EQ(root->Child(1)->Child(0), nullptr);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ObjectFileTest, ANullRootIsAnEmptyFile)
{
    SmartPtr<MemoryStream> stream = Saved(nullptr);
    std::vector<uint8_t> bytes = BytesOf(*stream.Get());
    ASSERT_GE(bytes.size(), 25u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 21, bytes.begin() + 25), (std::vector<uint8_t> { 0, 0, 0, 0 }));
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 4, bytes.end()), (std::vector<uint8_t> { 0, 0, 0, 0 }));
    EXPECT_FALSE(Opened(stream).Valid());
    EXPECT_TRUE(Shown().empty());
}

// Header, chunk, objects and table byte for byte, over a longer older file; the stream is left at
// its start.
TEST_F(ObjectFileTest, WritesTheGoldenFileAndKeepsItWhenALaterSaveFails)
{
    SmartPtr<MemoryStream> stream(new MemoryStream);
    std::vector<uint8_t> old(1000, 0xEE);
    stream->Write(old.data(), 1000);
    SmartPtr<ObjectFile> file(new ObjectFile(GraphIndex(), stream.Get()));
    file->Write(GoldenRoot().Get());
    EXPECT_EQ(BytesOf(*stream.Get()), GoldenGraph().Build().data);
    EXPECT_EQ(stream->GetMark(), 0u);

    // Wrapper is not in the index: the save fails part way and the stream keeps the last save.
    SmartPtr<Node> root = GoldenRoot();
    root->children.push_back(new Wrapper(1, Sample(2, 3)));
    EXPECT_EQ(Failure([&] { file->Write(root.Get()); }), "other exception");
    EXPECT_EQ(Failure([&] { file->Write(SmartPtr<Smart>(new Tracked)); }), "other exception");
    EXPECT_EQ(BytesOf(*stream.Get()), GoldenGraph().Build().data);
}

// The save is made in full in a temporary file beside the document, which then replaces it.
TEST_F(ObjectFileTest, ASaveToADiskFileReplacesItOnlyWhenComplete)
{
    using namespace pw::platform::testing;
    auto folderItems = [] {
        std::vector<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(DriveRoot()))
            names.push_back(item.path().filename().string());
        return names;
    };
    MakeHostFile("doc.grf", "old contents");
    SmartPtr<FileReference> reference = FileReference::FileReferenceFromPath("c:\\doc.grf");
    StoredBytes golden = GoldenGraph().Build();
    {
        SmartPtr<File> file(new File(*reference.Get(), File::kRead | File::kWrite));
        SmartPtr<ObjectFile> objects(new ObjectFile(GraphIndex(), file.Get()));
        SmartPtr<Node> unsavable = GoldenRoot();
        unsavable->children.push_back(new Wrapper(1, Sample(2, 3)));
        EXPECT_EQ(Failure([&] { objects->Write(unsavable.Get()); }), "other exception");
        EXPECT_EQ(ReadHostFile("doc.grf"), "old contents");
        EXPECT_EQ(folderItems(), (std::vector<std::string> { "doc.grf" }));

        objects->Write(GoldenRoot().Get());
        EXPECT_EQ(folderItems(), (std::vector<std::string> { "doc.grf" }));
    }
    EXPECT_EQ(ReadHostFile("doc.grf"), std::string(golden.data.begin(), golden.data.end()));

    SmartPtr<File> file(new File(*reference.Get(), File::kRead));
    SmartPtr<ObjectFile> objects(new ObjectFile(GraphIndex(), file.Get()));
    EXPECT_FALSE(objects->CanWrite());
    Node* root = SmartCast<Node>(objects->Read().Get());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->SampleChild(1)->extra, 6);
    EXPECT_TRUE(Shown().empty());
}

// A disk that fills after any number of bytes leaves the document either as it was or wholly
// saved, whether the old file is shorter or longer than the new one, and no temporary file behind.
TEST_F(ObjectFileTest, ASaveOntoAFillingDiskNeverDamagesTheLastGoodCopy)
{
    using namespace pw::platform::testing;
    SmartPtr<Node> root(new Node(7));
    for (int32_t n = 0; n < 12; ++n)
        root->children.emplace_back(new Node(n));
    std::vector<uint8_t> saved = BytesOf(*Saved(root.Get()).Get());
    std::string newBytes(saved.begin(), saved.end());
    SmartPtr<FileReference> reference = FileReference::FileReferenceFromPath("c:\\doc.grf");
    for (size_t oldSize : { size_t(10), newBytes.size() + 700 }) {
        std::string oldBytes(oldSize, 'o');
        size_t failures = 0;
        for (uint64_t space = 0; space <= newBytes.size(); ++space) {
            SCOPED_TRACE("old " + std::to_string(oldSize) + " bytes, disk full after " + std::to_string(space));
            MakeHostFile("doc.grf", oldBytes);
            std::string failure;
            {
                SmartPtr<File> file(new File(*reference.Get(), File::kRead | File::kWrite));
                SmartPtr<ObjectFile> objects(new ObjectFile(GraphIndex(), file.Get()));
                SetDiskSpaceLeft(space);
                failure = Failure([&] { objects->Write(root.Get()); });
                SetDiskSpaceLeft(std::nullopt);
            }
            std::string now = ReadHostFile("doc.grf");
            if (failure.empty()) {
                ASSERT_EQ(now, newBytes);
            } else {
                ++failures;
                ASSERT_EQ(now, oldBytes);
            }
            ASSERT_EQ(std::distance(std::filesystem::directory_iterator(DriveRoot()), {}), 1);
        }
        EXPECT_EQ(failures, newBytes.size()) << "only a disk with room for the whole save takes it";
    }
    EXPECT_TRUE(Shown().empty());
}

// A save removes the temporary files saves stopped half way left in its folder, and only those:
// a file of that name begun as an object file (or empty) and left unwritten for a good while. Not
// a file merely named alike, nor a child's file of that very name, nor one written a moment ago
// (another copy of the program may be saving there), nor the temporary file of a save still
// running here (one that waits while its root is stored, as a save inside a nested loop waits).
TEST_F(ObjectFileTest, ASaveRemovesOnlyTheTemporaryFilesSavesStoppedAndLeft)
{
    using namespace pw::platform::testing;
    struct SavesMeanwhile : Node {
        std::function<void()> meanwhile;
        void Write(Archive& archive) override
        {
            meanwhile();
            Node::Write(archive);
        }
    };
    auto save = [](const SmartPtr<Smart>& root, const char* path) {
        SmartPtr<File> file(new File(FileReference(path), File::kRead | File::kWrite));
        SmartPtr<ObjectFile>(new ObjectFile(GraphIndex(), file.Get()))->Write(root);
    };
    std::vector<uint8_t> page = BytesOf(*Saved(new Node(7)).Get());
    std::string halfPage(page.begin(), page.begin() + page.size() / 2);
    constexpr int kHour = 3600;
    struct Case {
        const char* name;
        std::string bytes;
        int secondsAgo;
        bool removed;
    } cases[] = {
        { "obj0001.tmp", "a child's notes", kHour, false },
        { "obj0002.tmp", "a child's notes", 0, false },
        { "obj0003.tmp", halfPage, 5, false },
        { "obj0004.tmp", halfPage, kHour, true },
        { "obj0005.tmp", "", kHour, true },
        { "obj12.tmp", halfPage, kHour, false },
        { "objects.tmp", halfPage, kHour, false },
        { "objABCG.tmp", halfPage, kHour, false },
        { "obj1a2b.tmp", halfPage, kHour, false },
        { "Obj1A2B.tmp", halfPage, kHour, false },
        { "xobj1A2B.tmp", halfPage, kHour, false },
        { "obj1A2B.tmp.mvi", halfPage, kHour, false },
    };
    for (const Case& c : cases) {
        MakeHostFile(c.name, c.bytes);
        SetHostWrittenAgo(c.name, c.secondsAgo);
    }
    SmartPtr<SavesMeanwhile> outer(new SavesMeanwhile);
    outer->value = 1;
    outer->meanwhile = [&] { save(SmartPtr<Smart>(new Node(2)), "c:\\inner.grf"); };
    save(outer.Get(), "c:\\outer.grf");
    std::vector<uint8_t> stored = BytesOf(*Saved(new Node(1)).Get());
    EXPECT_EQ(ReadHostFile("outer.grf"), std::string(stored.begin(), stored.end()));
    size_t kept = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HostExists(c.name), !c.removed);
        if (!c.removed) {
            EXPECT_EQ(ReadHostFile(c.name), c.bytes);
            ++kept;
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(DriveRoot()), {}), ptrdiff_t(kept + 2));
}

TEST_F(ObjectFileTest, AnObjectFileHeldByNoHandleStillWritesEmbeddedObjects)
{
    SmartPtr<MemoryStream> stream(new MemoryStream);
    {
        ObjectFile onStack(GraphIndex(), stream.Get());
        onStack.Write(SmartPtr<Smart>(new Holder(Sample(8, 9))));
    }
    SmartPtr<Smart> read = Opened(stream);
    Holder* holder = SmartCast<Holder>(read.Get());
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->inner.value, 8);
    EXPECT_EQ(holder->inner.extra, 9);
}

TEST_F(ObjectFileTest, ANewerMinorVersionIsReadAndItsExtraBytesPassedOver)
{
    FileBuilder file;
    file.versions[2] = 0x20003;
    file.sizes[2] = 12;
    file.objects = { 1, 2, 2, 5, 6, 99, 3, 7, 8, 99 };
    file.entries = { { 1, 0, 40 }, { 3, 12, 12 }, { 3, 28, 12 } };
    ScriptMessageBoxes({ IDOK });
    uint8_t flags = 0;
    SmartPtr<Smart> read = Opened(file.Build().Stream(), &flags);
    Node* root = SmartCast<Node>(read.Get());
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(root->SampleChild(0)->extra, 6);
    EXPECT_EQ(root->SampleChild(1)->value, 7);
    EXPECT_EQ(root->SampleChild(1)->readVersion, Fixed(2, 3));
    EXPECT_EQ(flags, ObjectFile::kNewer);
    EXPECT_EQ(Shown(), (std::vector<std::string> { "Some data was not read because this file was created by a newer "
                                                   "application.  You should upgrade your software to the latest version." }));
}

TEST_F(ObjectFileTest, StatusAlertsComeInTheirOrder)
{
    struct Case {
        const char* name;
        FileBuilder file;
        std::string alert;
        bool readsRoot;
    } cases[] = {
        { "length mismatch", OneObject(3, { 5, 6, 0 }),
            "Error while reading a version Sample 2.0.  Read 4 too many bytes.", true },
        { "older version of a class", OneObject(3, { 5 }, [](FileBuilder& f) { f.versions[2] = 0x10000; }),
            "This file is in an obsolete format.  You should save your document as a new file.", true },
        { "a class of another major version without a size",
            OneObject(3, { 5, 6 }, [](FileBuilder& f) { f.versions[2] = 0x30000; }),
            "Can't read obsolete or unknown format file.", false },
        { "a class without a reader", OneObject(4, { 0 }), "Can't create object of that class!", false },
        { "tag that names another class",
            OneObject(3, { 1, 5, 6 }, [](FileBuilder& f) { f.tagged = 1; f.sizes[2] = 8; }), kCorrupt, true },
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        pw::platform::testing::ScriptMessageBoxes({ IDOK, IDOK });
        size_t before = Shown().size();
        SmartPtr<Smart> read = Opened(c.file.Build().Stream());
        EXPECT_EQ(read.Valid(), c.readsRoot);
        ASSERT_GT(Shown().size(), before);
        std::string shown = Shown()[before];
        EXPECT_EQ(shown.substr(0, shown.find('\r')), c.alert);

        // Read silently (a folder's previews), the same damage shows nothing at all.
        before = Shown().size();
        SmartPtr<ObjectFile> silent(new ObjectFile(GraphIndex(), c.file.Build().Stream().Get()));
        silent->SetSilent(true);
        EXPECT_EQ(silent->Read().Valid(), c.readsRoot);
        EXPECT_EQ(Shown().size(), before);
    }
}

// Memory running out while a file is read is the system's refusal, not damage: a shown read
// reports it (and gives no object), a silent one passes it on to its caller, which must not take a
// sound file for a damaged one.
TEST_F(ObjectFileTest, MemoryRunningOutIsTheSystemsRefusalEvenInASilentRead)
{
    for (bool silent : { false, true }) {
        SCOPED_TRACE(silent ? "silent" : "shown");
        SmartPtr<ObjectFile> file(new ObjectFile(GraphIndex(), GoldenGraph().Build().Stream().Get()));
        file->SetSilent(silent);
        if (!silent)
            ScriptMessageBoxes({ IDOK });
        size_t before = Shown().size();
        bool readRoot = false;
        pw::foundation::SetAllocatorForTesting([](size_t) -> void* { return nullptr; });
        std::string failure = Failure([&] { readRoot = file->Read().Valid(); });
        pw::foundation::SetAllocatorForTesting(nullptr);
        EXPECT_FALSE(readRoot);
        EXPECT_EQ(failure, silent ? "system error 8" : "");
        ASSERT_EQ(Shown().size(), before + (silent ? 0 : 1));
        if (!silent) {
            EXPECT_NE(Shown()[before].find("(Error Number 8)"), std::string::npos) << Shown()[before];
        }
        CurrentException() = SmartPtr<Exception>();
    }
}

// Files of format 1: no magic, big-endian, no header fields; the table follows the chunk, an
// entry's third field is where its object begins, and the root is the last object.
TEST_F(ObjectFileTest, ReadsAnOldFileWithoutTheHeader)
{
    StoredBytes bytes;
    bytes.bigEndian = true;
    bytes.Text("OLD!");
    bytes.Longs({ 0x20000, 16 + 5 + 16 + 16, 0x10000, 5 }).Text("Graph");
    bytes.Longs({ 4, 0x10000, 0, 0x20000, 0x10000, 4, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF });
    uint32_t tableStart = bytes.Size();
    uint32_t objectStart = tableStart + 4 + 12;
    bytes.Longs({ 1, 3, objectStart, objectStart, 5, 6 });
    ScriptMessageBoxes({ IDOK });
    SmartPtr<Smart> read = Opened(bytes.Stream());
    Sample* sample = SmartCast<Sample>(read.Get());
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->value, 5);
    EXPECT_EQ(sample->extra, 6);
    EXPECT_EQ(Shown(),
        (std::vector<std::string> { "This file is in an obsolete format.  You should save your document as a new file." }));
}

TEST_F(ObjectFileTest, DamagedFilesGiveTheCorruptAlertAndNoObject)
{
    struct Case {
        std::string name;
        StoredBytes bytes;
    };
    std::vector<Case> cases;
    StoredBytes golden = GoldenGraph().Build();
    for (uint32_t length = 0; length < golden.Size(); length += 3) {
        StoredBytes cut = golden;
        cut.data.resize(length);
        cases.push_back({ "cut at " + std::to_string(length), cut });
    }
    auto mutated = [&](const char* name, auto change) {
        FileBuilder file = GoldenGraph();
        change(file);
        cases.push_back({ name, file.Build() });
    };
    mutated("class number 0", [](FileBuilder& f) { f.entries[0][0] = 0; });
    mutated("class number of a placeholder", [](FileBuilder& f) { f.entries[0][0] = 2; });
    mutated("class number past the index", [](FileBuilder& f) { f.entries[1][0] = 99; });
    mutated("reference to an id past the table", [](FileBuilder& f) { f.objects[2] = 99; });
    mutated("root id past the table", [](FileBuilder& f) { f.rootId = 7; });
    mutated("object past the end", [](FileBuilder& f) { f.entries[1][1] = 5000; });
    mutated("object length past the end", [](FileBuilder& f) { f.entries[1][2] = 0xFFFFFFF0; });
    mutated("huge child count", [](FileBuilder& f) { f.objects[1] = 0x40000000; });
    StoredBytes hugeVersions = GoldenGraph().Build();
    hugeVersions.data[FileBuilder::kHeaderSize + 24] = 0x40;
    cases.push_back({ "huge version count", hugeVersions });
    StoredBytes hugeTable = GoldenGraph().Build();
    hugeTable.data[GoldenGraph().TableOffset()] = 0xFF;
    hugeTable.data[GoldenGraph().TableOffset() + 3] = 0x7F;
    cases.push_back({ "huge table count", hugeTable });
    StoredBytes farTable = GoldenGraph().Build();
    farTable.data[16] = 0x7F;
    cases.push_back({ "table offset past the end", farTable });
    StoredBytes farFormat = GoldenGraph().Build();
    farFormat.data[20] = 0x80;
    cases.push_back({ "format offset past the end", farFormat });

    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptMessageBoxes({ IDOK });
        size_t before = Shown().size();
        SmartPtr<Smart> read = Opened(c.bytes.Stream());
        EXPECT_FALSE(read.Valid());
        ASSERT_EQ(Shown().size(), before + 1);
        EXPECT_EQ(Shown()[before].substr(0, kCorrupt.size()), kCorrupt);
    }
}

TEST_F(ObjectFileTest, NestingBeyondTheLimitIsCorruptNotAStackOverflow)
{
    FileBuilder file;
    uint32_t count = ObjectFile::kMaxDepth + 5;
    for (uint32_t n = 1; n <= count; ++n) {
        file.objects.insert(file.objects.end(), { n, n < count ? 1u : 0u });
        if (n < count)
            file.objects.push_back(n + 1);
    }
    for (uint32_t n = 1; n <= count; ++n)
        file.entries.push_back({ 1, 12 * (n - 1), 12 * (count - n) + 8 });
    ScriptMessageBoxes({ IDOK });
    EXPECT_FALSE(Opened(file.Build().Stream()).Valid());
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].substr(0, kCorrupt.size()), kCorrupt);
}

// An object of a version this program cannot read is passed over and stands in with defaults; a
// list doing so has no stored item class, and whatever it takes instead must save again.
TEST_F(ObjectFileTest, AListOfAnUnreadableVersionOpensWithAWarningAndSavesAgain)
{
    FileType type("List File", pw::foundation::FourCharCode("LIST"), 0);
    SmartPtr<TypeIndex> index(new TypeIndex(type, Fixed(1), "Lists"));
    index->AddClass(Node::version);
    index->AddClass(ListData::version);
    index->AddClass(Sample::version);
    index->AddClass(GenericArray::version);
    constexpr uint32_t kListClass = 2;
    // Its one entry refers to nothing: an object stored inside the list's bytes would not be
    // passed over with it (the class's recorded size leaves such objects out).
    auto listOf = [] {
        SmartPtr<ListData> list(new ListData(&Sample::classInfo));
        list->Append(nullptr);
        return list;
    };
    SmartPtr<Node> holder(new Node(1));
    holder->children = { listOf().Get() };
    const struct {
        const char* name;
        SmartPtr<Persistent> root;
    } cases[] = { { "a list a node holds", holder.Get() }, { "a list as the root", listOf().Get() } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<MemoryStream> stream(new MemoryStream);
        ASSERT_EQ(Failure([&] { SmartPtr<ObjectFile>(new ObjectFile(index, stream.Get()))->Write(c.root.Get()); }), "");
        // The list's class stored at 2.0: a major version this program does not know.
        std::vector<uint8_t> bytes = BytesOf(*stream.Get());
        uint32_t chunk = bytes[17] | bytes[18] << 8 | bytes[19] << 16 | bytes[20] << 24;
        uint32_t versionAt = chunk + 16 + 5 + 4 + 4 * (kListClass - 1);
        bytes[versionAt + 2] = 2;
        SmartPtr<MemoryStream> patched(new MemoryStream);
        patched->Write(bytes.data(), static_cast<uint32_t>(bytes.size()));

        ScriptMessageBoxes({ IDOK });
        size_t before = Shown().size();
        SmartPtr<Smart> read = SmartPtr<ObjectFile>(new ObjectFile(index, patched.Get()))->Read();
        ASSERT_TRUE(read.Valid());
        ASSERT_EQ(Shown().size(), before + 1);
        EXPECT_EQ(Shown()[before], "This file is in an obsolete format.  You should save your document as a new file.");
        Node* node = SmartCast<Node>(read.Get());
        auto* list = SmartCast<ListData>(node ? node->children.at(0).Get() : read.Get());
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->NumItems(), 0u);

        SmartPtr<MemoryStream> again(new MemoryStream);
        EXPECT_EQ(Failure([&] { SmartPtr<ObjectFile>(new ObjectFile(index, again.Get()))->Write(read); }), "");
        EXPECT_TRUE(SmartPtr<ObjectFile>(new ObjectFile(index, again.Get()))->Read().Valid());
        EXPECT_EQ(Shown().size(), before + 1);
    }
}

} // namespace
