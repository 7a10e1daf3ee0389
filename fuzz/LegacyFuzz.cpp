// Reads arbitrary bytes as the fields of an object that holds old records: saved lists, handle
// blocks (plain or packed in runs), old paths, old sounds and the old 16-bit value forms. The first
// byte picks the conversions and the byte order; the rest is a holding object in the flat
// archive's framing. Every read must end in a framework exception or a result that fits what the
// record claims, never a crash, an overlong allocation or a leak.
#include "engine/CResource.h"
#include "engine/CXform.h"
#include "engine/PathPoint.h"
#include "engine/legacy/CHandleSaver.h"
#include "engine/legacy/CListSaver.h"
#include "engine/legacy/CSound.h"
#include "engine/legacy/LegacyValues.h"
#include "foundation/ArchiveScope.h"
#include "foundation/GuardedStream.h"
#include "foundation/Memory.h"
#include "foundation/MemoryStream.h"
#include "foundation/String.h"
#include "graphics/Sound.h"

#include "../tests/foundation/FlatArchive.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr PersistentVersion kHolder { &Persistent::classInfo, Fixed(1), Fixed(9), nullptr };

// One conversion of kind `kind` on the scope's next reference (or values at the mark).
void Convert(ArchiveScope& scope, unsigned kind, int32_t itemSize)
{
    switch (kind) {
    case 0: {
        SmartList<Persistent> list;
        if (LegacyReadList(list, scope)) {
            SmartList<Sound> sounds = LegacyConvertSoundList(list);
            if (sounds.NumItems() != list.NumItems())
                std::abort();
        }
        break;
    }
    case 1: {
        SmartList<Persistent> list;
        LegacyReadHandleList(list, scope);
        break;
    }
    case 2: {
        Memory block;
        uint32_t count = 0;
        if (LegacyReadHandleBlock(itemSize, count, block, scope) && uint64_t(count) * uint32_t(itemSize) > block.Size())
            std::abort();
        break;
    }
    case 3: {
        String text;
        LegacyReadHandleString(text, scope);
        break;
    }
    case 4: {
        PointList points;
        LegacyReadHandlePointList(points, scope);
        break;
    }
    case 5: {
        SmartList<PathPoint> path;
        if (LegacyReadHandlePath(path, scope)) {
            for (uint32_t index = 1; index <= path.NumItems(); ++index) {
                if (!path.Item(index))
                    std::abort();
            }
        }
        break;
    }
    case 6: {
        SmartPtr<Persistent> object(scope.ReadObject());
        LegacySoundOf(SmartPtr<CSound>(SmartCast<CSound>(object.Get())));
        break;
    }
    default:
        LegacyReadPoint(scope, Fixed(2));
        LegacyReadRect(scope, Fixed(2));
        LegacyReadColor(scope, Fixed(2));
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 20))
        return 0;
    uint8_t mode = data[0];
    SmartPtr<MemoryStream> stream(new MemoryStream);
    if (size > 1)
        stream->Write(data + 1, static_cast<uint32_t>(size - 1));
    stream->Seek(0, Stream::kFromStart);
    SmartPtr<pw::foundation::GuardedStream> guard(new pw::foundation::GuardedStream);
    guard->SetStream(stream.Get());
    guard->SetBothSwap(mode & 1);
    guard->SetGuarding(true);
    SmartPtr<FlatArchive> archive(new FlatArchive(*guard.Get(),
        { &CListSaver::version, &CHandleSaver::version, &CSound::version, &CResource::version, &Sound::version,
            &CXform::version, &String::version },
        false));
    // Bits 1-3: the first conversion; bit 4: go on converting, each kind in turn, to the end;
    // bits 5-7: the item size of blocks.
    unsigned kind = (mode >> 1) & 7;
    int32_t itemSize = 1 + (mode >> 5);
    try {
        ArchiveScope scope(*archive.Get(), kHolder);
        Convert(scope, kind, itemSize);
        for (int step = 1; (mode & 0x10) && step < 64 && !guard->AtEnd(); ++step)
            Convert(scope, (kind + unsigned(step)) & 7, itemSize);
    } catch (Exception*) {
    }
    return 0;
}
