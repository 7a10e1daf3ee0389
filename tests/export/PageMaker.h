// Pages for the export tests: plain sprites, links between pages, and a save through the page
// scribe, which stores the page document c:\Proj\<name>.mvi and exports its HTML into c:\Proj\HTML.
#pragma once

#include "ElementFixture.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "engine/CSprite.h"
#include "engine/ShowFileType.h"
#include "export/TallowScribe.h"

#include <string>

namespace pagemaker {

// A sprite of a plain w x h picture placed at (h, v).
inline SmartPtr<CSprite> Sprite(int32_t h, int32_t v, int32_t w, int32_t height)
{
    SmartPtr<BitMap> picture = new BitMap(w, height, ColorTable::Setup(8), Color(), false);
    SmartPtr<CMovie> cels = new CMoviePic(new CResource(SmartPtr<Persistent>(picture.Get()), true), true);
    return new CSprite(0, cels, Rect(h, v, h + w, v + height));
}

// A link to the page stored at `path` (a program path, 8-bit).
inline SmartPtr<CLink> PageLink(const std::string& path)
{
    SmartPtr<CLink> link = new CLink;
    link->SetJumpMovie(new CJumpMovie(new FileReference(path.c_str()), true));
    link->SetKind(2);
    return link;
}

// Stores the object as the page document c:\Proj\<name>.mvi through a page scribe.
inline void Save(const std::string& name, const SmartPtr<Smart>& object)
{
    std::string relative = "Proj/" + name + ".mvi";
    if (!pw::platform::testing::HostExists(relative))
        pw::platform::testing::MakeHostFile(relative);
    SmartPtr<FileReference> file = new FileReference(("c:\\Proj\\" + name + ".mvi").c_str());
    SmartPtr<Scribe> objectFile = new ObjectFile(GetGenericTypeIndex(), new File(*file.Get(), 3));
    SmartPtr<TallowScribe> scribe = new TallowScribe(objectFile, file);
    scribe->Write(object);
}

} // namespace pagemaker
