// Every numeric field of a saved page, set in turn to the extremes of its width, must read as a
// page that can be drawn, played, saved and read again, or be refused with the corrupt-file
// message: never a crash, an assertion box, a runaway allocation or a page that fails later.
#include "engine/CFrameIndex.h"
#include "engine/CLink.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CMovieText.h"
#include "engine/CPlayer.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "engine/CStamp.h"
#include "engine/ShowFileType.h"
#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Sound.h"

#include "SpriteFixture.h"
#include "graphics/PortFixture.h"
#include "platform/testing/TestDriver.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Besides the corrupt-file message, the object file names what it found in the header, the class
// index and the stored versions: each a clear word about the file, never about the program.
bool TellsOfTheFile(const std::string& text)
{
    static const char* const kOpenings[] = { "This file is corrupt or in an obsolete format.",
        "This file is in an obsolete format.", "Some data was not read because this file was created by a newer",
        "Error while reading a version ", "Can't read format", "Can't read class index",
        "Can't read obsolete or unknown format file." };
    for (const char* opening : kOpenings) {
        if (text.compare(0, std::strlen(opening), opening) == 0)
            return true;
    }
    return false;
}

// A memory stream that notes where each read begins and how many bytes it takes: the reads of a
// whole page are the map of its stored fields.
class RecordingStream : public MemoryStream {
public:
    void Read(void* buffer, uint32_t length) override
    {
        reads.emplace_back(GetMark(), length);
        MemoryStream::Read(buffer, length);
    }

    std::vector<std::pair<uint32_t, uint32_t>> reads;
};

std::vector<uint8_t> StorePage(Smart* root)
{
    SmartPtr<MemoryStream> stream = new MemoryStream;
    SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Write(SmartPtr<Smart>(root));
    std::vector<uint8_t> bytes(stream->GetLength());
    stream->Seek(0, Stream::kFromStart);
    if (!bytes.empty())
        stream->Read(bytes.data(), uint32_t(bytes.size()));
    return bytes;
}

// Read as a document is opened: alerts shown.
SmartPtr<Smart> OpenPage(const std::vector<uint8_t>& bytes, MemoryStream* stream = nullptr)
{
    SmartPtr<MemoryStream> held = stream ? stream : new MemoryStream;
    held->Write(bytes.data(), uint32_t(bytes.size()));
    held->Seek(0, Stream::kFromStart);
    return SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), held.Get()))->Read();
}

// A short 8-bit mono WAVE image.
SmartPtr<Sound> Chirp()
{
    std::vector<uint8_t> samples(64);
    for (size_t n = 0; n < samples.size(); ++n)
        samples[n] = static_cast<uint8_t>(128 + (n % 8 < 4 ? 40 : -40));
    auto little = [](std::vector<uint8_t>& out, uint32_t value, int bytes) {
        for (int n = 0; n < bytes; ++n)
            out.push_back(static_cast<uint8_t>(value >> (8 * n)));
    };
    std::vector<uint8_t> wave = { 'R', 'I', 'F', 'F' };
    little(wave, uint32_t(36 + samples.size()), 4);
    wave.insert(wave.end(), { 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ' });
    little(wave, 16, 4);
    little(wave, 1, 2);
    little(wave, 1, 2);
    little(wave, 11025, 4);
    little(wave, 11025, 4);
    little(wave, 1, 2);
    little(wave, 8, 2);
    wave.insert(wave.end(), { 'd', 'a', 't', 'a' });
    little(wave, uint32_t(samples.size()), 4);
    wave.insert(wave.end(), samples.begin(), samples.end());
    MemoryStream source;
    source.Write(wave.data(), uint32_t(wave.size()));
    source.Seek(0, Stream::kFromStart);
    return new Sound(source, Sound::wave, false);
}

// One stored field: where it lies and its width in bytes.
struct Field {
    uint32_t at;
    uint32_t width;
    bool operator<(const Field& other) const
    {
        return at != other.at ? at < other.at : width < other.width;
    }
};

class StoredPageFields : public engine::Sprites {
protected:
    void SetUp() override
    {
        engine::Sprites::SetUp();
        Alert::EnableAlerts();
    }
    void TearDown() override { pw::foundation::SetAlertsEnabled(false); }

    static SmartPtr<CResource> Drawing(const std::string& art, int32_t width, int32_t height)
    {
        SmartPtr<OffScreen> buffer = new OffScreen(width, height, 8, Color(0), true);
        ports::PaintArt(*buffer->GetBitMap().Get(), art);
        return SmartPtr<CStamp>(new CStamp(buffer->GetBitMap(), Color(0)))->MakeResource();
    }

    // A picture movie of one cel per drawing.
    static SmartPtr<CMovie> Pictures(std::initializer_list<const char*> arts, int32_t width, int32_t height)
    {
        SmartPtr<CMoviePic> movie;
        int16_t at = 0;
        for (const char* art : arts) {
            if (!movie.Valid())
                movie = new CMoviePic(Drawing(art, width, height), true);
            else
                movie->StoreItem(at, 1, Drawing(art, width, height).Get(), true, CMovieRes::kMaxFrames);
            ++at;
        }
        movie->ToggleLoop(true);
        return movie.Get();
    }

    // Four sprites (a picture that moves, turns and hides, looping cels, a text, a short picture)
    // with a sound, two frame jumps, a wait and two labels on a 12-frame page.
    static SmartPtr<CShow> Page()
    {
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 48, 36));
        group->InsertFrames(1, 11, true, true);
        group->AddMovieAsSprite(0, 12, Pictures({ "rrb|r.b|bbr" }, 3, 3));
        group->AddMovieAsSprite(2, 7, Pictures({ "rg|gr", "gr|rg", "bb|.." }, 2, 2));
        SmartPtr<CResource> words = new CResource(SmartPtr<Persistent>(new String("hello")), true);
        group->AddMovieAsSprite(1, 5, new CMovieText(words, Rect(2, 2, 40, 14), true));
        group->AddMovieAsSprite(8, 3, Pictures({ "gg|g." }, 2, 2));
        CSprite* hero = group->GetSprite(0);
        hero->SetName(new String("hero"));
        Rect moved(20, 10, 23, 13);
        hero->PlaceAtFrame(6, &moved, nullptr);
        hero->RotateAtFrame(8, 90);
        hero->HideFrames(4, 2);
        hero->SetSound(2, 1, Chirp().Get());
        group->GetFrameIndex()->SetName(7, String("chorus"));
        group->GetFrameIndex()->SetName(10, String("end"));
        SmartPtr<CLink> jump = new CLink;
        jump->SetFrameJump(group->GetFrameIndex(), 7);
        hero->SetLink(3, 1, jump.Get());
        SmartPtr<CLink> back = new CLink;
        back->SetFrameJump(group->GetFrameIndex(), 10);
        group->GetSprite(1)->SetLink(3, 2, back.Get());
        group->GetSprite(1)->HideFrames(1, 1);
        SmartPtr<CLink> wait = new CLink;
        wait->SetWait(2);
        group->SetLinkAtFrame(9, 1, wait.Get());
        SmartPtr<CShow> show = new CShow(group.Get());
        show->SetFrameRate(12);
        return show;
    }

    // The fields a whole read of the page takes, with their widths. Values read in one block
    // (arrays, images, the sound) are covered at every 2- and 4-byte step of their first 64 bytes.
    static std::vector<Field> FieldsOf(const std::vector<uint8_t>& bytes)
    {
        SmartPtr<RecordingStream> stream = new RecordingStream;
        SmartPtr<Smart> read = OpenPage(bytes, stream.Get());
        EXPECT_TRUE(SmartCast<CShow>(read.Get()) != nullptr);
        if (auto* show = SmartCast<CShow>(read.Get()))
            show->Close();
        std::set<Field> fields;
        for (auto [at, length] : stream->reads) {
            if (length == 1 || length == 2 || length == 4) {
                fields.insert({ at, length });
                continue;
            }
            uint32_t end = at + std::min(length, 64u);
            for (uint32_t step = at; step + 2 <= end; step += 2) {
                fields.insert({ step, 2 });
                if ((step - at) % 4 == 0 && step + 4 <= end)
                    fields.insert({ step, 4 });
            }
        }
        return Sampled(bytes, { fields.begin(), fields.end() });
    }

    // Objects of one class lay out their fields alike: a field is known by the class of the
    // innermost object around it and its place there, past its first 64 bytes (the records of a
    // colour table, say) by its place in a 16-byte stride; table entries by their place in an
    // entry. The first and the last of each kind are kept (the first alone of strided records), so
    // every kind of field of every class is tried; the header and the class index are tried whole.
    static std::vector<Field> Sampled(const std::vector<uint8_t>& bytes, const std::vector<Field>& fields)
    {
        auto longAt = [&bytes](uint32_t at) {
            return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16
                | uint32_t(bytes[at + 3]) << 24;
        };
        uint32_t tableAt = longAt(13);
        uint32_t count = longAt(tableAt);
        struct Entry {
            uint32_t classNumber, offset, length;
        };
        std::vector<Entry> entries;
        for (uint32_t n = 0; n < count; ++n) {
            uint32_t at = tableAt + 4 + 12 * n;
            entries.push_back({ longAt(at), longAt(at + 4), longAt(at + 8) });
        }
        std::map<std::tuple<uint32_t, uint32_t, uint32_t>, std::pair<Field, Field>> kinds;
        std::vector<Field> kept;
        for (const Field& field : fields) {
            const Entry* inner = nullptr;
            for (const Entry& entry : entries) {
                if (field.at >= entry.offset && field.at < entry.offset + entry.length
                    && (!inner || entry.length < inner->length))
                    inner = &entry;
            }
            std::tuple<uint32_t, uint32_t, uint32_t> kind;
            uint32_t place = inner ? field.at - inner->offset : 0;
            if (place >= 64)
                place = 64 + (place - 64) % 16;
            if (inner)
                kind = { inner->classNumber, place, field.width };
            else if (field.at >= tableAt + 4)
                kind = { 0xFFFFFFFFu, (field.at - tableAt - 4) % 12, field.width };
            else
                kept.push_back(field);
            if (!inner && field.at < tableAt + 4)
                continue;
            auto [slot, added] = kinds.try_emplace(kind, field, field);
            if (!added)
                slot->second.second = field;
        }
        for (const auto& [kind, range] : kinds) {
            kept.push_back(range.first);
            if (range.second.at != range.first.at && std::get<1>(kind) < 64)
                kept.push_back(range.second);
        }
        return kept;
    }

    // Empty when the page read is usable: every frame draws, it plays on the virtual clock, and
    // it saves and reads back with as many frames.
    static std::string Unusable(CShow& show)
    {
        SmartPtr<CMovie> movie = show.GetMovie();
        if (!movie.Valid() || movie->NumFrames() < 1)
            return "no frames";
        int16_t frames = movie->NumFrames();
        try {
            OffScreen page(48, 36, 8, Color(0), true);
            DisplayPort port(page, page.GetBounds(), 0);
            for (int16_t frame = 0; frame < frames; ++frame) {
                if (frame == 24 && frames > 48)
                    frame = static_cast<int16_t>(frames - 24);
                show.DrawFrame(port, frame, Rect(0, 0, 48, 36), 1);
            }
            CPlayer* player = show.GetPlayer();
            player->Start();
            pw::platform::testing::RunFor(250);
            player->Stop();
        } catch (Exception* exception) {
            SmartPtr<Exception> hold(exception->Unreferenced() ? nullptr : exception);
            return "drawing or playing threw";
        }
        std::vector<uint8_t> saved;
        try {
            saved = StorePage(&show);
        } catch (Exception* exception) {
            SmartPtr<Exception> hold(exception->Unreferenced() ? nullptr : exception);
            return "saving threw";
        }
        SmartPtr<Smart> again = OpenPage(saved);
        auto* back = SmartCast<CShow>(again.Get());
        if (!back)
            return "the saved page does not read back";
        std::string why = back->GetMovie()->NumFrames() == frames ? "" : "the saved page lost frames";
        back->Close();
        return why;
    }
};

TEST_F(StoredPageFields, EveryFieldAtItsExtremesReadsUsableOrIsRefused)
{
    SmartPtr<CShow> show = Page();
    std::vector<uint8_t> bytes = StorePage(show.Get());
    show->Close();
    std::vector<Field> fields = FieldsOf(bytes);
    ASSERT_GT(fields.size(), 200u) << "the walk found the page's fields";
    ASSERT_TRUE(pw::platform::testing::AlertLog().empty());

    std::vector<std::string> faults;
    size_t refused = 0;
    size_t usable = 0;
    for (const Field& field : fields) {
        uint32_t top = field.width == 1 ? 0x7fu : field.width == 2 ? 0x7fffu : 0x7fffffffu;
        for (uint32_t value : { top, top * 2 + 1, top + 1 }) {
            std::vector<uint8_t> changed = bytes;
            for (uint32_t n = 0; n < field.width; ++n)
                changed[field.at + n] = static_cast<uint8_t>(value >> (8 * n));
            char name[64];
            std::snprintf(name, sizeof name, "%u bytes at %u = 0x%x", field.width, field.at, value);
            size_t before = pw::platform::testing::AlertLog().size();
            while (pw::platform::testing::ScriptedMessageBoxesLeft() < 64)
                pw::platform::testing::ScriptMessageBoxes({ IDOK });
            SmartPtr<Smart> read = OpenPage(changed);
            std::string why;
            if (auto* page = SmartCast<CShow>(read.Get())) {
                why = Unusable(*page);
                page->Close();
                ++usable;
            } else if (read.Valid()) {
                why = "a root that is no page";
            } else {
                ++refused;
                if (pw::platform::testing::AlertLog().size() == before)
                    why = "refused without a word";
            }
            const auto& log = pw::platform::testing::AlertLog();
            for (size_t n = before; n < log.size(); ++n) {
                if (!TellsOfTheFile(log[n].text))
                    why += (why.empty() ? "" : "; ") + ("alert \"" + log[n].text + "\"");
            }
            if (!why.empty())
                faults.push_back(std::string(name) + ": " + why);
        }
    }
    EXPECT_GT(refused, 0u);
    EXPECT_GT(usable, 0u);
    std::string listed;
    for (size_t n = 0; n < faults.size() && n < 40; ++n)
        listed += "\n" + faults[n];
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults:" << listed;
}

// Coordinates in range can still make a page no screen shows; its image is never allocated.
TEST_F(StoredPageFields, APageTooLargeForAnyScreenIsRefused)
{
    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 48, 36));
    SmartPtr<CShow> show = new CShow(group.Get());
    std::vector<uint8_t> bytes = StorePage(show.Get());
    show->Close();
    // The movie's frame count and bounds follow each other once in the page.
    const uint8_t bounds[] = { 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 48, 0, 0, 0, 36, 0, 0, 0 };
    auto found = std::search(bytes.begin(), bytes.end(), std::begin(bounds), std::end(bounds));
    ASSERT_NE(found, bytes.end());
    size_t right = size_t(found - bytes.begin()) + 10;
    struct Case {
        int32_t width, height;
        bool reads;
    } cases[] = { { 4000, 4000, true }, { 8192, 36, true }, { 8193, 36, false }, { 48, 16000, false },
        { 16000, 16000, false }, { 32767, 32767, false } };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        std::vector<uint8_t> changed = bytes;
        for (size_t n = 0; n < 4; ++n) {
            changed[right + n] = static_cast<uint8_t>(c.width >> (8 * n));
            changed[right + 4 + n] = static_cast<uint8_t>(c.height >> (8 * n));
        }
        size_t before = pw::platform::testing::AlertLog().size();
        if (!c.reads)
            pw::platform::testing::ScriptMessageBoxes({ IDOK });
        SmartPtr<Smart> read = OpenPage(changed);
        if (auto* page = SmartCast<CShow>(read.Get()))
            page->Close();
        EXPECT_EQ(read.Valid(), c.reads);
        if (!c.reads) {
            ASSERT_EQ(pw::platform::testing::AlertLog().size(), before + 1);
            EXPECT_TRUE(pw::platform::testing::AlertLog()[before].text.starts_with(
                "This file is corrupt or in an obsolete format."));
        }
    }
}

} // namespace
