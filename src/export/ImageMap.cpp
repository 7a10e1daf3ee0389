#include "export/ImageMap.h"

#include "engine/StoredReference.h"
#include "export/JpegExport.h"
#include "foundation/ArchiveScope.h"
#include "foundation/FileCreatorType.h"
#include "foundation/FileReference.h"
#include "foundation/ListData.h"
#include "foundation/MemoryStream.h"
#include "graphics/Image.h"
#include "ui/ProgressRange.h"

#include <algorithm>

using pw::exporting::EscapedHTML;
using pw::exporting::kLineEnd;

PW_DEFINE_CLASS(ImageMap, nullptr, nullptr, htmlElement)
PW_DEFINE_COPY_SLOTS(ImageMap)

constinit const PersistentVersion ImageMap::version { &ImageMap::classInfo, Fixed(1, 0), Fixed(1, 0),
    &pw::foundation::ReadInScope<ImageMap> };

ImageMap::ImageMap(const SmartPtr<Image>& picture)
    : picture(picture)
{
}

ImageMap::ImageMap(ArchiveScope& scope)
{
    picture = pw::engine::ReadReference<Image>(scope);
    {
        ArchiveScope stored(scope, GenericArray::version);
        areas = RectArray(stored);
    }
    pw::engine::ReadListReference(scope, links);
    uint32_t kept = std::min(areas.NumItems(), links.NumItems());
    if (areas.NumItems() > kept)
        areas.DeleteItems(kept + 1, areas.NumItems() - kept);
    if (links.NumItems() > kept)
        links.Data()->DeleteItems(kept + 1, links.NumItems() - kept);
}

ImageMap::ImageMap(const ImageMap& other)
    : Smart()
    , htmlElement(other)
    , picture(other.picture)
    , areas(other.areas)
    , links(other.links)
{
}

ImageMap& ImageMap::operator=(const ImageMap& other)
{
    picture = other.picture;
    areas = other.areas;
    links = other.links;
    return *this;
}

ImageMap::~ImageMap() = default;

void ImageMap::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.WriteObject(picture.Get());
    scope.Put(areas);
    scope.WriteObject(links.Data());
}

void ImageMap::AddArea(const Rect& area, const SmartPtr<LinkHREF>& link)
{
    areas.Append(area);
    links.Append(link);
}

void ImageMap::WriteHTML(SmartPtr<FileReference> folder, const String& pageName, SmartList<FileReference> files,
    Stream& out)
{
    // A map without its picture fails before it makes a file.
    Image& image = *picture.operator->();
    ProgressRange range(2, String("Making Pages"));
    range.AdvanceWithText(String("Making JPEG"), 1);
    String name(pageName);
    folder->UniqueName(name, JPEGFileType());
    SmartPtr<FileReference> jpeg
        = FileReference::FileReferenceCreate(JPEGFileType(), FileCreatorType::Unknown(), *folder.Get(), name, true);
    files.Append(jpeg);
    SaveImageAsJPEG(image, *jpeg.Get());
    range.AdvanceWithText(String("Making HTML"), 1);
    WriteImageTag(out, jpeg->Name(), pageName);
    WriteMap(folder, pageName, files, out);
}

void ImageMap::WriteMap(SmartPtr<FileReference> folder, const String& pageName, SmartList<FileReference> files,
    Stream& out)
{
    String lineEnd(kLineEnd);
    String quote("\"");
    String tagEnd(">");
    out << String("<MAP NAME = \"") << EscapedHTML(pageName) << String("\">") << lineEnd;
    SmartPtr<MemoryStream> barStream = new MemoryStream(2);
    MemoryStream& bar = *barStream.Get();
    uint32_t count = areas.NumItems();
    ProgressRange range(count, String("Making hot links"));
    for (uint32_t index = 1; index <= count; ++index) {
        range.Advance(1);
        LinkHREF* link = links.Item(index);
        if (!link)
            continue;
        const Rect& area = areas[index];
        String comma(",");
        out << String("<AREA SHAPE=\"RECT\" COORDS=\"") << String(area.left) << comma << String(area.top) << comma
            << String(area.right) << comma << String(area.bottom) << quote;
        SmartPtr<MemoryStream> targetStream = new MemoryStream(256);
        MemoryStream& target = *targetStream.Get();
        target << String(" HREF=\"");
        link->WriteHTML(folder, pageName, files, target);
        target << quote;
        CopyStreamContents(out, target) << tagEnd << lineEnd;
        if (bar.GetLength() > 0)
            bar << String(" | ");
        bar << String("<A");
        CopyStreamContents(bar, target) << tagEnd << EscapedHTML(link->GetName()) << String("</A>");
    }
    out << String("</MAP>") << lineEnd;
    if (bar.GetLength() > 0) {
        out << String("<HR>") << lineEnd << String("<CENTER> [ ");
        CopyStreamContents(out, bar) << String(" ] </CENTER>") << lineEnd;
    }
}

void WriteImageTag(Stream& out, const String& source, const String& mapName)
{
    String quote("\"");
    String escapedSource = EscapedHTML(source);
    out << String("<IMG BORDER=0 SRC = \"") << escapedSource << quote << String(" ALT = \"") << escapedSource << quote
        << String(" USEMAP = \"#") << EscapedHTML(mapName) << quote << String(">") << String(kLineEnd);
}
