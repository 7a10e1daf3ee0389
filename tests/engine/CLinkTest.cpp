#include "engine/CLink.h"

#include "EngineFixture.h"
#include "graphics/BitMapFixture.h"
#include "foundation/Exception.h"
#include "foundation/Failure.h"
#include "foundation/FlatArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

const std::vector<const PersistentVersion*> kClasses = { &CLink::version, &CJumpFrame::version,
    &CJumpMovie::version, &String::version, &GenericArray::version, &FileReference::version,
    &engine::TestWebLink::version };

Bytes Flat(CLink& link)
{
    MemoryStream stream;
    SmartPtr<FlatArchive> archive = new FlatArchive(stream, kClasses, true);
    link.Write(*archive.Get());
    Bytes bytes(stream.GetLength());
    stream.Seek(0, Stream::kFromStart);
    stream.Read(bytes.data(), uint32_t(bytes.size()));
    return bytes;
}

SmartPtr<CLink> ReadFlat(const Bytes& bytes)
{
    MemoryStream stream;
    stream.Write(bytes.data(), uint32_t(bytes.size()));
    stream.Seek(0, Stream::kFromStart);
    SmartPtr<FlatArchive> archive = new FlatArchive(stream, kClasses, false);
    return SmartCast<CLink>(CLink::version.CallReader(*archive.Get()));
}

void PutLong(Bytes& bytes, size_t at, uint32_t value)
{
    MemoryStream stream;
    stream.WriteLong(int32_t(value));
    stream.Seek(0, Stream::kFromStart);
    stream.Read(&bytes[at], 4);
}

class Links : public bitmaps::WithStandardPalette {
protected:
    engine::WithWebLinks webLinks;
};

} // namespace

// Every stored version reads back; before 2.1 there is no web link and "Unknown URL" stands in.
// Every truncation of the bytes fails as a corrupt file, never a crash.
TEST_F(Links, ReadInEveryVersion)
{
    SmartPtr<CLink> link = new CLink;
    link->SetFrameJump(new CFrameIndex, 4);
    SmartPtr<CJumpFrame> label = SmartCast<CJumpFrame>(link->GetJump().Get());
    label->SetName(String("four"));
    link->SetTarget(300);
    link->SetWait(-1);
    std::ofstream(std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "page.mvi") << "page";
    link->SetMovie(new CJumpMovie(new FileReference("c:\\plume\\page.mvi"), true));
    Bytes current;
    ASSERT_EQ(Failure([&] { current = Flat(*link.Get()); }), "");
    // The web link's reference (the empty one) is the last four bytes.
    for (Fixed version : { Fixed(2, 1), Fixed(2), Fixed(1) }) {
        SCOPED_TRACE(version.Raw());
        Bytes bytes = current;
        if (version != Fixed(2, 1)) {
            bytes.resize(bytes.size() - 4);
            PutLong(bytes, 0, version.Raw());
            PutLong(bytes, 4, uint32_t(bytes.size() - 8));
        }
        SmartPtr<CLink> read;
        ASSERT_EQ(Failure([&] { read = ReadFlat(bytes); }), "");
        ASSERT_TRUE(read.Valid());
        EXPECT_EQ(read->GetKind(), 1);
        EXPECT_EQ(read->GetTarget(), 44);
        EXPECT_EQ(read->GetWait(), -1);
        auto* jump = SmartCast<CJumpFrame>(read->GetJump().Get());
        ASSERT_NE(jump, nullptr);
        EXPECT_EQ(jump->GetFrame(), 4);
        EXPECT_EQ(engine::Text(jump->GetName()), "four");
        ASSERT_TRUE(read->GetMovie().Valid());
        std::string base;
        ASSERT_EQ(Failure([&] { base = engine::Text(read->GetMovie()->GetBaseName()); }), "");
        EXPECT_EQ(base, "page");
        auto* href = SmartCast<engine::TestWebLink>(read->GetHREF().Get());
        if (version == Fixed(2, 1))
            EXPECT_EQ(href, nullptr);
        else
            ASSERT_TRUE(href && engine::Text(href->text) == "Unknown URL");
        for (size_t cut = 0; cut < bytes.size(); ++cut)
            EXPECT_THROW(ReadFlat(Bytes(bytes.begin(), bytes.begin() + long(cut))), Exception*) << cut;
    }
}

// Through a real object file: a web link survives, and an old link's stand-in keeps its text.
TEST_F(Links, WebLinksSurviveObjectFiles)
{
    SmartPtr<CLink> web = new CLink;
    web->SetHREF(new engine::TestWebLink(String("http://example.org/")));
    SmartPtr<Smart> root = engine::Load(engine::Store(web.Get()));
    auto* read = SmartCast<CLink>(root.Get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetKind(), CLink::kWebLink);
    ASSERT_TRUE(read->GetHREF().Valid());
    EXPECT_EQ(engine::Text(SmartCast<engine::TestWebLink>(read->GetHREF().Get())->text), "http://example.org/");
    EXPECT_FALSE(read->IsEmpty());
    // Another class where a web link belongs is not kept.
    web->SetHREF(new CJumpFrame(1, String("x")));
    EXPECT_FALSE(web->GetHREF().Valid());
}

TEST_F(Links, KindsNeedTheirJumps)
{
    SmartPtr<CLink> link = new CLink;
    link->SetJumpMovie(new CJumpMovie(new FileReference("c:\\a\\b.mvi"), true));
    struct Step {
        int32_t kind;
        int32_t expected;
    } steps[] = { { 1, 0 }, { 6, 0 }, { 2, 2 }, { 7, 7 }, { 8, 0 }, { 3, 3 }, { 10, 10 }, { 0, 0 } };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.kind);
        link->SetKind(step.kind);
        EXPECT_EQ(link->GetKind(), step.expected);
    }
    SmartPtr<CLink> empty = new CLink;
    empty->SetKind(8);
    EXPECT_TRUE(empty->IsEmpty());
    empty->SetWait(2);
    EXPECT_FALSE(empty->IsEmpty());
}

// Only a web-link kind exports the stand-in of an old link; a movie jump exports its page.
TEST_F(Links, ExportsWebAddressesAndPages)
{
    auto textOf = [](const SmartPtr<Persistent>& href) {
        auto* link = SmartCast<engine::TestWebLink>(href.Get());
        return link ? engine::Text(link->text) : std::string("none");
    };
    CLink web;
    web.SetHREF(new engine::TestWebLink(String(pw::engine::kUnknownURL)));
    EXPECT_EQ(textOf(web.GetExportHREF(nullptr)), "Unknown URL");

    Bytes old = Flat(web);
    old.resize(old.size() - 4);
    PutLong(old, 0, Fixed(2).Raw());
    PutLong(old, 4, uint32_t(old.size() - 8));
    SmartPtr<CLink> oldWeb = ReadFlat(old);
    EXPECT_EQ(textOf(oldWeb->GetExportHREF(nullptr)), "Unknown URL");

    CLink frame;
    frame.SetFrameJump(new CFrameIndex, 3);
    old = Flat(frame);
    old.resize(old.size() - 4);
    PutLong(old, 0, Fixed(2).Raw());
    PutLong(old, 4, uint32_t(old.size() - 8));
    SmartPtr<CLink> oldFrame = ReadFlat(old);
    ASSERT_TRUE(oldFrame->GetHREF().Valid());
    EXPECT_EQ(textOf(oldFrame->GetExportHREF(nullptr)), "none");

    CLink movie;
    movie.SetJumpMovie(new CJumpMovie(new FileReference("c:\\site\\Second Page.mvi"), true));
    movie.SetKind(2);
    EXPECT_EQ(textOf(movie.GetExportHREF(nullptr)), "page:Second Page");
}

// A pasted link finds the receiving index's label of the same name and keeps it from then on.
TEST_F(Links, ResolvesAndAdoptsLabels)
{
    SmartPtr<CFrameIndex> source = new CFrameIndex;
    CLink link;
    link.SetFrameJump(source, 2);
    source->SetName(2, String("intro"));
    SmartPtr<CFrameIndex> target = new CFrameIndex;
    target->SetName(8, String("intro"));
    EXPECT_EQ(link.ResolveFrame(*source.Get()), 2);
    EXPECT_EQ(link.ResolveFrame(*target.Get()), 8);
    EXPECT_EQ(link.GetJump().Get(), static_cast<CJump*>(target->GetEntry(1)));
    link.AdoptJumpFrame(*source.Get());
    EXPECT_EQ(link.GetJump().Get(), static_cast<CJump*>(source->GetEntry(1)));
    CLink none;
    EXPECT_EQ(none.ResolveFrame(*target.Get()), -1);
}

TEST(CJump, CastsAndClones)
{
    SmartPtr<CJumpFrame> frame = new CJumpFrame(-4, String("x"));
    EXPECT_EQ(frame->GetFrame(), 0);
    EXPECT_NE(SmartCast<CJump>(frame.Get()), nullptr);
    SmartPtr<CJumpMovie> movie = new CJumpMovie;
    EXPECT_NE(SmartCast<CJump>(movie.Get()), nullptr);
    SmartPtr<CJump> plain = new CJump;
    EXPECT_EQ(SmartCast<CJumpFrame>(plain.Get()), nullptr);
    SmartPtr<Smart> clone(plain->Copy());
    EXPECT_NE(clone.Get(), static_cast<Smart*>(plain.Get()));
    EXPECT_EQ(clone->GetClassInfo(), &CJump::classInfo);
}
