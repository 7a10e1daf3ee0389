// Reads arbitrary bytes as an object file holding a movie: its frame count, bounds, mode bits,
// per-frame sound, colour-table and link lists and its frame index of labels, with links to labels
// and movie files. A read must end with a movie whose per-frame lists fit its frame count and
// whose labels lie inside it, or with no object, never a crash, a division by zero or a leak.
// Pictures it holds anywhere are read against the standard palette of a prepared start-up folder.
// The movie read then takes frame edits, is saved and must read back.
#include "engine/CFrameIndex.h"
#include "engine/CJump.h"
#include "engine/CJumpFrame.h"
#include "engine/CJumpMovie.h"
#include "engine/CLink.h"
#include "engine/CMovie.h"
#include "engine/CStamp.h"
#include "engine/CXform.h"
#include "engine/PathPoint.h"
#include "export/LinkHREF.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Exception.h"
#include "foundation/FileReference.h"
#include "foundation/GenericArray.h"
#include "foundation/ListData.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "foundation/String.h"
#include "foundation/SystemErrorException.h"
#include "foundation/TypeIndex.h"
#include "graphics/Area.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/Sound.h"
#include "ui/ProgressRange.h"

#include "PaletteStartup.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The concrete movie the file holds: the movie body inside a scope of its own.
class FuzzMovie : public CMovie {
    PW_CLASS_INFO(FuzzMovie)

public:
    static const PersistentVersion version;

    FuzzMovie(CMovie& source, int16_t start, int16_t count, bool cut)
        : CMovie(source, start, count, cut)
    {
    }
    explicit FuzzMovie(ArchiveScope& scope)
        : CMovie(Inner(scope).Get())
    {
    }
    void Write(Archive& archive) override
    {
        ArchiveScope scope(archive, version);
        CMovie::Write(scope.GetArchive());
    }
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    SmartPtr<CMovie> CopyFrames(int16_t start, int16_t count, bool cut) override
    {
        return new FuzzMovie(*this, start, count, cut);
    }

private:
    struct Inner {
        explicit Inner(ArchiveScope& outer)
            : scope(outer, CMovie::version)
        {
        }
        ArchiveScope& Get() { return scope; }
        ArchiveScope scope;
    };
};

PW_DEFINE_CLASS(FuzzMovie, nullptr, nullptr, CMovie)
constinit const PersistentVersion FuzzMovie::version { &FuzzMovie::classInfo, Fixed(1), Fixed(1),
    &pw::foundation::ReadInScope<FuzzMovie> };

namespace {

// The engine test suite's index, position for position, with the program's web link where the
// suite lends its own, so that pages it stores serve as seeds and links read as they do in pages.
SmartPtr<TypeIndex> FuzzIndex()
{
    static SmartPtr<TypeIndex> index = [] {
        SmartPtr<TypeIndex> made = new TypeIndex(FileType("Engine test", 0, 0), Fixed(1, 0), "Engine test");
        for (const PersistentVersion* record : { &FuzzMovie::version, &CMovie::version, &ListData::version,
                 &Sound::version, &ColorTable::version, &CLink::version, &CFrameIndex::version, &CJumpFrame::version,
                 &CJumpMovie::version, &CJump::version, &String::version, &GenericArray::version,
                 &FileReference::version, &LinkHREF::version, &CXform::version, &PathPoint::version, &CStamp::version,
                 &BitMap::version, &Area::version }) {
            if (record)
                made->AddClass(*record);
            else
                made->AddPlaceholders(1);
        }
        return made;
    }();
    return index;
}

// The silent read answers no object for a damaged file but passes the system's refusal on (memory
// it will not give, a file it will not open): that too is a refusal of the input, not a fault.
// Any other exception escaping the read is one, and stops the run.
SmartPtr<CMovie> ReadFrom(const SmartPtr<MemoryStream>& stream)
{
    SmartPtr<ObjectFile> file(new ObjectFile(FuzzIndex(), stream.Get()));
    file->SetSilent(true);
    try {
        return SmartCast<CMovie>(file->Read().Get());
    } catch (Exception* exception) {
        if (!dynamic_cast<SystemErrorException*>(exception))
            throw;
        return nullptr;
    }
}

void CheckShape(CMovie& movie)
{
    if (movie.NumFrames() < 1 || movie.SoundAtFrame(movie.NumFrames()) != nullptr)
        std::abort();
    for (int16_t frame = 0; frame < movie.NumFrames(); ++frame)
        movie.GetFrameStamps(frame);
    SmartPtr<CFrameIndex> index = movie.GetFrameIndex();
    for (uint32_t entry = 1; entry <= index->NumEntries(); ++entry) {
        if (index->GetEntry(entry)->GetFrame() >= movie.NumFrames())
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    static const bool prepared = pw::fuzz::PrepareWithPalette();
    (void)prepared;
    ProgressRange::SetVisible(false);
    SmartPtr<MemoryStream> stream(new MemoryStream);
    if (size > 0)
        stream->Write(data, static_cast<uint32_t>(size));
    SmartPtr<CMovie> movie = ReadFrom(stream);
    if (!movie.Valid())
        return 0;
    CheckShape(*movie.Get());
    int16_t frames = movie->NumFrames();
    movie->InsertFrames(static_cast<int16_t>(frames / 2), 2, false, false);
    movie->StretchFrames(0, movie->NumFrames(), static_cast<int16_t>(frames / 2 + 1));
    movie->PasteMovie(1, movie->CopyFrames(0, 3, true));
    for (int16_t frame = 0; frame < movie->NumFrames(); ++frame) {
        if (CLink* link = movie->LinkAtFrame(frame))
            link->AdoptJumpFrame(*movie->GetFrameIndex().Get());
    }
    CheckShape(*movie.Get());

    SmartPtr<MemoryStream> saved(new MemoryStream);
    try {
        SmartPtr<ObjectFile>(new ObjectFile(FuzzIndex(), saved.Get()))->Write(movie.Get());
    } catch (Exception*) {
        // A list whose item class is not in the index cannot be saved; that is the index's choice.
        return 0;
    }
    SmartPtr<CMovie> again = ReadFrom(saved);
    if (!again.Valid() || again->NumFrames() != movie->NumFrames())
        std::abort();
    return 0;
}
