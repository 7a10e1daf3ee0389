// Reads arbitrary bytes as a page file of the Generic Object File index, which knows every class a
// page can hold, web links too. A read must end with a show whose movie and sprites are whole, or
// with no object, never a crash or a leak. The page read has its page links followed, is drawn,
// edited across its sprites, played a few frames, saved, and must read back.
//
// The input's last byte also decides how the page its links name fares, so that some inputs meet
// a linked page that has gone: bits 0-1 say whether it is beside the page read (0), gone before
// the read (1, 3) or gone once the page is read (2); bits 2-3 how the child answers the question
// where it went: Cancel (0), OK and then Cancel in the open dialog (1), OK and the page where it
// was moved (2, 3).
#include "engine/CLink.h"
#include "engine/CMovieGroup.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "engine/CSprite.h"
#include "engine/ShowFileType.h"
#include "export/LinkHREF.h"
#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/FileReference.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "foundation/TypeIndex.h"
#include "foundation/UserCancelException.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "ui/ProgressRange.h"

#include "platform/comdlg/ComdlgTesting.h"
#include "platform/testing/TestDriver.h"
#include "platform/user/Alerts.h"

#include "PaletteStartup.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A page's links carry the web link, whose class the export floor lends to the page index when it
// loads: without it every page holding a link would read as damaged. (Asking for it also keeps
// the floor in the link where unused libraries are dropped.)
bool PageIndexKnowsWebLinks()
{
    try {
        return GetGenericTypeIndex()->ClassNumberOf(LinkHREF::version) != 0;
    } catch (Exception*) {
        return false;
    }
}

// The page the corpus's page links name, beside the page read (under the drive's host folder), and
// the copy a child who lost it finds in another folder.
constexpr const char* kLinkedPageOnHost = "/plume/Second.mvi";
constexpr const char* kMovedPageOnHost = "/plume/Moved/Second.mvi";
constexpr const char* kMovedPage = "c:\\plume\\Moved\\Second.mvi";

// Links followed per input: a page may hold a page link on every frame of every sprite.
constexpr size_t kMaxLinksFollowed = 4;

// Every box and dialog answered stays in the platform's log until the process ends: past this many
// boxes, links are no longer followed, so that a long campaign does not grow without bound.
constexpr size_t kMaxBoxesAnswered = 100000;

enum class Answer { Cancel, CancelDialog, ChooseMoved };

struct Visit {
    bool goneWhenRead;
    bool goneWhenFollowed;
    Answer answer;
};

Visit VisitOf(uint8_t choice)
{
    static constexpr Answer answers[] = { Answer::Cancel, Answer::CancelDialog, Answer::ChooseMoved, Answer::ChooseMoved };
    return { (choice & 1) != 0, (choice & 3) != 0, answers[(choice >> 2) & 3] };
}

std::string HostPath(const char* path)
{
    return pw::platform::testing::DriveRoot() + path;
}

bool MovedPageIsThere()
{
    std::filesystem::create_directories(std::filesystem::path(HostPath(kMovedPageOnHost)).parent_path());
    std::ofstream(HostPath(kMovedPageOnHost), std::ios::binary);
    return true;
}

// Puts the linked page beside the page read, or takes it away; a page found when read is followed
// without a question, a lost one asks where it went.
void PlaceLinkedPage(bool there)
{
    static bool placed = false;
    if (there == placed)
        return;
    if (there)
        std::ofstream(HostPath(kLinkedPageOnHost), std::ios::binary);
    else
        std::filesystem::remove(HostPath(kLinkedPageOnHost));
    placed = there;
}

// Alerts show only while a link is followed: elsewhere a read's warnings answer themselves.
struct AlertsShown {
    AlertsShown() { pw::foundation::SetAlertsEnabled(true); }
    ~AlertsShown() { pw::foundation::SetAlertsEnabled(false); }
    AlertsShown(const AlertsShown&) = delete;
    AlertsShown& operator=(const AlertsShown&) = delete;
};

// Answers nobody asked for are dropped, so that the next link starts from a clean script.
void DropUnusedAnswers()
{
    while (pw::platform::Alerts::TakeScriptedAnswer())
        ;
    while (pw::platform::testing::TakeFileDialogAnswer())
        ;
}

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Opens the linked page as a child's click does: a copy of the link's reference is located when
// the page has gone, the question and the dialog answered as the visit says. A page found asks
// nothing; a cancel at either step keeps the path; a page chosen becomes the path and is not
// asked for again.
void FollowPageLink(const FileReference& stored, Answer answer)
{
    using namespace pw::platform::testing;
    FileReference page(stored);
    const std::string before = page.Path();
    const size_t boxes = AlertLog().size();
    bool cancelled = false;
    {
        AlertsShown shown;
        ScriptMessageBoxes({ answer == Answer::Cancel ? IDCANCEL : IDOK });
        if (answer == Answer::CancelDialog)
            ScriptFileDialogCancel();
        else if (answer == Answer::ChooseMoved)
            ScriptFileDialog(kMovedPage);
        try {
            page.LocateIfGone();
        } catch (Exception* exception) {
            if (!dynamic_cast<UserCancelException*>(exception))
                throw;
            cancelled = true;
        }
        DropUnusedAnswers();
    }
    const bool kept = page.Path() == before;
    if (AlertLog().size() == boxes) {
        Require(!cancelled && kept && (!page.HasPath() || page.Exists()));
    } else if (answer != Answer::ChooseMoved) {
        Require(cancelled && kept);
    } else {
        Require(!cancelled && pw::foundation::EqualPaths(page.Path(), kMovedPage));
        const size_t located = AlertLog().size();
        AlertsShown shown;
        page.LocateIfGone();
        Require(AlertLog().size() == located);
    }
}

// The page links the page holds, in its own frames and its sprites', each run's link once.
std::vector<SmartPtr<FileReference>> LinkedPages(CMovie& movie)
{
    std::vector<SmartPtr<FileReference>> pages;
    CLink* previous = nullptr;
    auto take = [&](CLink* link) {
        if (!link || link == previous || pages.size() >= kMaxLinksFollowed)
            return;
        previous = link;
        int32_t kind = link->GetKind();
        SmartPtr<CJumpMovie> jump = link->GetJumpMovie();
        if ((kind == 2 || kind == 7) && jump.Valid() && jump->GetFile().Valid())
            pages.push_back(jump->GetFile());
    };
    for (int32_t frame = 0; frame < movie.NumFrames(); ++frame)
        take(movie.LinkAtFrame(static_cast<int16_t>(frame)));
    auto* group = SmartCast<CMovieGroup>(&movie);
    for (int16_t index = 0; group && index < int32_t(group->NumSprites()) && index < INT16_MAX; ++index) {
        const CSprite* sprite = group->GetSprite(index);
        if (!sprite)
            continue;
        int32_t end = std::min<int32_t>(sprite->StartFrame() + sprite->NumFrames(), movie.NumFrames());
        for (int32_t frame = std::max<int32_t>(sprite->StartFrame(), 0); frame < end; ++frame)
            take(sprite->LinkAtFrame(static_cast<int16_t>(frame)));
    }
    return pages;
}

SmartPtr<Smart> ReadFrom(const SmartPtr<MemoryStream>& stream)
{
    stream->Seek(0, Stream::kFromStart);
    try {
        SmartPtr<ObjectFile> file = new ObjectFile(GetGenericTypeIndex(), stream.Get());
        file->SetSilent(true);
        return file->Read();
    } catch (Exception*) {
        return nullptr;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    static const bool prepared = pw::fuzz::PrepareWithPalette() && PageIndexKnowsWebLinks() && MovedPageIsThere();
    if (!prepared)
        std::abort();
    ProgressRange::SetVisible(false);
    Visit visit = VisitOf(size > 0 ? data[size - 1] : 0);
    PlaceLinkedPage(!visit.goneWhenRead);
    SmartPtr<MemoryStream> stream(new MemoryStream);
    if (size > 0)
        stream->Write(data, static_cast<uint32_t>(size));
    SmartPtr<CShow> show = SmartCast<CShow>(ReadFrom(stream).Get());
    if (!show.Valid())
        return 0;
    SmartPtr<CMovie> movie = show->GetMovie();
    if (!movie.Valid() || movie->NumFrames() < 1)
        std::abort();
    PlaceLinkedPage(!visit.goneWhenFollowed);
    if (pw::platform::testing::AlertLog().size() < kMaxBoxesAnswered) {
        for (const SmartPtr<FileReference>& page : LinkedPages(*movie.Get()))
            FollowPageLink(*page.Get(), visit.answer);
    }
    try {
        OffScreen page(64, 64, 8, Color(0), true);
        DisplayPort port(page, page.GetBounds(), 0);
        for (int16_t frame = 0; frame < 3; ++frame)
            show->DrawFrame(port, frame, Rect(0, 0, 64, 64), 1);
        CPlayer* player = show->GetPlayer();
        for (int16_t frame = 0; frame < 3; ++frame)
            player->ShowFrame(frame);
    } catch (Exception*) {
        // A transform too large to draw through fails its allocation; that is no fault here.
    }
    if (auto* group = SmartCast<CMovieGroup>(movie.Get())) {
        group->InsertFrames(1, 2, false, false);
        SmartPtr<CMovie> copy = group->CopyFrames(0, 2, true);
        group->PasteMovie(1, copy);
        group->RemoveEmptySprites();
    }
    SmartPtr<MemoryStream> saved(new MemoryStream);
    try {
        SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), saved.Get()))->Write(show.Get());
    } catch (Exception*) {
        show->Close();
        return 0;
    }
    SmartPtr<CShow> again = SmartCast<CShow>(ReadFrom(saved).Get());
    if (!again.Valid() || again->GetMovie()->NumFrames() != movie->NumFrames())
        std::abort();
    again->Close();
    show->Close();
    return 0;
}
