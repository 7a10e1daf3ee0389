#include "engine/ShowFileType.h"

#include "engine/CDelta.h"
#include "engine/CFrameIndex.h"
#include "engine/CJump.h"
#include "engine/CJumpFrame.h"
#include "engine/CJumpMovie.h"
#include "engine/CLink.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CMovieRes.h"
#include "engine/CMovieText.h"
#include "engine/CMovieVideo.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "engine/CSprite.h"
#include "engine/CStamp.h"
#include "engine/CXform.h"
#include "engine/PathPoint.h"
#include "foundation/FileReference.h"
#include "foundation/FourCharCode.h"
#include "foundation/GenericArray.h"
#include "foundation/ListData.h"
#include "foundation/PersistentVersion.h"
#include "foundation/String.h"
#include "foundation/Time.h"
#include "graphics/Area.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/Picture.h"
#include "graphics/Sound.h"
#include "graphics/TextStyle.h"
#include "ui/StyledText.h"

namespace {

const PersistentVersion* gWebLinkVersion = nullptr;

SmartPtr<TypeIndex>& IndexHandle()
{
    static SmartPtr<TypeIndex> index;
    return index;
}

} // namespace

const FileType ShowFileType("Quennel Format", pw::foundation::FourCharCode("MVI "), pw::foundation::FourCharCode("mvi "));

namespace pw::engine {

void SetWebLinkVersion(const PersistentVersion* record)
{
    gWebLinkVersion = record;
}

} // namespace pw::engine

SmartPtr<TypeIndex> GetGenericTypeIndex()
{
    SmartPtr<TypeIndex>& handle = IndexHandle();
    if (handle.Valid())
        return handle;
    SmartPtr<TypeIndex> index = new TypeIndex(ShowFileType, Fixed(1, 0), "Generic Object File");
    // Null: an empty place.
    const PersistentVersion* entries[] = {
        &String::version, nullptr, &CSprite::version, &CMovieGroup::version, &CMoviePic::version, nullptr,
        &CMovie::version, &CShow::version, &CJumpFrame::version, &CJumpMovie::version, nullptr,
        &CFrameIndex::version, &CMovieText::version, &CResource::version, &CLink::version, &CXform::version, nullptr,
        &CDelta::version, nullptr, &CStamp::version, &CMovieVideo::version, &CJump::version, &CMovieRes::version,
        &PathPoint::version, &BitMap::version, &String::version, &FileReference::version, &GenericArray::version,
        &Area::version, &ListData::version, &Picture::version, &ColorTable::version, &Sound::version,
        &StyledText::version, &TextStyle::version, gWebLinkVersion, &Time::version,
    };
    for (const PersistentVersion* entry : entries) {
        if (entry)
            index->AddClass(*entry);
        else
            index->AddPlaceholders(1);
    }
    handle = index;
    return handle;
}
