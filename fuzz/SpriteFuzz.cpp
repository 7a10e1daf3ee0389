// Reads arbitrary bytes as an object file holding a sprite over a picture or text movie (or any
// stored engine object): its path of transforms, key frames, sounds, links and cel movie. A read
// must end with a sprite whose lists fit its frame count and whose key frames lie inside it, or
// with no object, never a crash, a division by zero or a leak. The sprite read is then edited,
// drawn, copied and merged into its copy, saved, and must read back.
#include "engine/CDelta.h"
#include "engine/CFrameIndex.h"
#include "engine/CJump.h"
#include "engine/CJumpFrame.h"
#include "engine/CJumpMovie.h"
#include "engine/CLink.h"
#include "engine/CMoviePic.h"
#include "engine/CMovieText.h"
#include "engine/CSprite.h"
#include "engine/CStamp.h"
#include "export/LinkHREF.h"
#include "foundation/Exception.h"
#include "foundation/FileReference.h"
#include "foundation/GenericArray.h"
#include "foundation/ListData.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "foundation/TypeIndex.h"
#include "graphics/Area.h"
#include "graphics/BitMap.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "ui/ProgressRange.h"

#include "PaletteStartup.h"

#include <cstdlib>

namespace {

// The engine test suite's index, position for position (its test movie a placeholder), with the
// program's web link where the suite lends its own, so that sprites it stores serve as seeds and
// links read as they do in pages.
SmartPtr<TypeIndex> FuzzIndex()
{
    static SmartPtr<TypeIndex> index = [] {
        SmartPtr<TypeIndex> made = new TypeIndex(FileType("Engine test", 0, 0), Fixed(1, 0), "Engine test");
        for (const PersistentVersion* record : { static_cast<const PersistentVersion*>(nullptr), &CMovie::version,
                 &ListData::version, &Sound::version, &ColorTable::version, &CLink::version, &CFrameIndex::version,
                 &CJumpFrame::version, &CJumpMovie::version, &CJump::version, &String::version, &GenericArray::version,
                 &FileReference::version, &LinkHREF::version, &CXform::version,
                 &PathPoint::version, &CStamp::version, &BitMap::version, &Area::version, &CResource::version,
                 &CMovieRes::version, &CMoviePic::version, &CMovieText::version, &CSprite::version,
                 &CDelta::version }) {
            if (record)
                made->AddClass(*record);
            else
                made->AddPlaceholders(1);
        }
        return made;
    }();
    return index;
}

SmartPtr<Smart> ReadFrom(const SmartPtr<MemoryStream>& stream)
{
    SmartPtr<ObjectFile> file(new ObjectFile(FuzzIndex(), stream.Get()));
    file->SetSilent(true);
    return file->Read();
}

void CheckShape(CSprite& sprite)
{
    for (uint32_t index = 1; index <= sprite.KeyFrames().NumItems(); ++index) {
        int16_t key = sprite.KeyFrames()[index];
        if (key < 0 || key >= sprite.NumFrames())
            std::abort();
    }
    for (int16_t f = 0; f < sprite.NumFrames(); ++f) {
        if (!sprite.PathAt(f))
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
    SmartPtr<CSprite> sprite = SmartCast<CSprite>(ReadFrom(stream).Get());
    if (!sprite.Valid())
        return 0;
    CheckShape(*sprite.Get());
    int16_t start = sprite->StartFrame();
    try {
        OffScreen page(64, 64, 8, Color(0), true);
        DisplayPort port(page, page.GetBounds(), 0);
        // Counted in 32 bits: the three frames may run past the 16-bit range.
        for (int32_t frame = start; frame < start + 3; ++frame)
            sprite->DrawFrame(port, nullptr, static_cast<int16_t>(frame), Color(1), 0);
    } catch (Exception*) {
        // A transform too large to draw through fails its allocation; that is no fault here.
    }
    sprite->InsertFrames(static_cast<int16_t>(start + 1), 2, 3);
    sprite->ShowFrames(start, 1);
    sprite->DeleteFrames(static_cast<int16_t>(start + 2), 1);
    SmartPtr<CSprite> copy = sprite->CopyFrames(start, 3, true);
    sprite->TryMerge(copy, false, false, false);
    sprite->TrimHidden(static_cast<int16_t>(start + 40));
    CheckShape(*sprite.Get());

    SmartPtr<MemoryStream> saved(new MemoryStream);
    try {
        SmartPtr<ObjectFile>(new ObjectFile(FuzzIndex(), saved.Get()))->Write(sprite.Get());
    } catch (Exception*) {
        return 0;
    }
    SmartPtr<CSprite> again = SmartCast<CSprite>(ReadFrom(saved).Get());
    if (!again.Valid() || again->NumFrames() != sprite->NumFrames())
        std::abort();
    return 0;
}
