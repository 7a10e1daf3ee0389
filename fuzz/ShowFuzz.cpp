// Reads arbitrary bytes as a page file of the Generic Object File index, which knows every class a
// page can hold, web links too. A read must end with a show whose movie and sprites are whole, or
// with no object, never a crash or a leak. The page
// read is drawn, edited across its sprites, played a few frames, saved, and must read back.
#include "engine/CMovieGroup.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "engine/ShowFileType.h"
#include "export/LinkHREF.h"
#include "foundation/Exception.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "foundation/TypeIndex.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "ui/ProgressRange.h"

#include "PaletteStartup.h"

#include <cstdlib>
#include <fstream>

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

// The page the corpus's page links name, beside the page read: such a link is found, so the page
// goes on to be saved and read back; a link to any other name is lost, and its save asks where the
// page went (which a disabled alert answers with Cancel).
bool LinkedPageIsThere()
{
    std::ofstream(pw::platform::testing::DriveRoot() + "/plume/Second.mvi", std::ios::binary);
    return true;
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
    static const bool prepared = pw::fuzz::PrepareWithPalette() && PageIndexKnowsWebLinks() && LinkedPageIsThere();
    if (!prepared)
        std::abort();
    ProgressRange::SetVisible(false);
    SmartPtr<MemoryStream> stream(new MemoryStream);
    if (size > 0)
        stream->Write(data, static_cast<uint32_t>(size));
    SmartPtr<CShow> show = SmartCast<CShow>(ReadFrom(stream).Get());
    if (!show.Valid())
        return 0;
    SmartPtr<CMovie> movie = show->GetMovie();
    if (!movie.Valid() || movie->NumFrames() < 1)
        std::abort();
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
