#pragma once

#include "export/LinkHREF.h"
#include "export/htmlElement.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Rect.h"
#include "foundation/TypedArray.h"
#include "graphics/Area.h"

class ArchiveScope;
class Image;

// A page's picture with clickable rectangles on it. Its HTML saves the picture as a JPEG file
// beside the page, shows it with an image tag, gives it a client-side image map with one area per
// linked rectangle, and below that a link bar repeating every link as a text link. Area i (1-based)
// has link i; an area without a link is left out. Copies share the picture and the link list and
// copy the rectangles.
//
// Stored form (version 1.0, oldest 1.0): the picture as an object reference (another class reads
// as none), the rectangles as an embedded array of left, top, right and bottom (signed 32-bit
// each), and the link list as an object reference. A stored map whose two lists differ in length
// keeps the areas both hold.
class ImageMap : public htmlElement {
    PW_CLASS_INFO(ImageMap)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    explicit ImageMap(const SmartPtr<Image>& picture);
    explicit ImageMap(ArchiveScope& scope);
    ImageMap(const ImageMap& other);
    ImageMap& operator=(const ImageMap& other);
    ~ImageMap() override;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // Appends the rectangle, in the picture's pixels with exclusive right and bottom edges, and
    // its link.
    void AddArea(const Rect& area, const SmartPtr<LinkHREF>& link);

    // The JPEG file (the page's file name, numbered when taken), its image tag, then the map.
    void WriteHTML(SmartPtr<FileReference> folder, const String& pageName, SmartList<FileReference> files,
        Stream& out) override;
    // The map named after the page, one area line per linked rectangle, and the link bar under a
    // rule when there is a link. Each link writes its target once, for both its area and its entry.
    void WriteMap(SmartPtr<FileReference> folder, const String& pageName, SmartList<FileReference> files,
        Stream& out);

private:
    SmartPtr<Image> picture;
    RectArray areas;
    SmartList<LinkHREF> links;
};

// The image tag showing `source` (also its alternative text) with the map `mapName`.
void WriteImageTag(Stream& out, const String& source, const String& mapName);
