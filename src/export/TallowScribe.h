#pragma once

#include "foundation/FileReference.h"
#include "foundation/Scribe.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

class CMovie;
class CSprite;
class CXform;
class ImageMap;
class htmlElement;

// The scribe the application hands out for a page document: it stores the document through the
// wrapped scribe (the object file), then exports the page into the folder "HTML" beside the
// document file: the page's HTML file, its JPEG picture and a WAVE file per sound area. Each save
// first removes the files the page's previous export listed, so one set of files stays per page.
// The files are named after the page's export name, which no other page of the project shares and
// which stays the page's once it has been exported (ClaimExportPageName).
// Reading and the two queries go to the wrapped scribe unchanged.
class TallowScribe : public Scribe, public SmartImplementation {
    PW_CLASS_INFO(TallowScribe)
    PW_COPY_SLOTS

public:
    TallowScribe(const SmartPtr<Scribe>& wrapped, const SmartPtr<FileReference>& documentFile);
    TallowScribe(const TallowScribe& other);
    TallowScribe& operator=(const TallowScribe& other);
    ~TallowScribe() override;

    // Stores the object, then exports it when it is a show. A failure to store ends the save
    // before anything is exported; export failures pass on after the document is stored.
    void Write(const SmartPtr<Smart>& object) override;
    SmartPtr<Smart> Read() override;
    bool CanWrite() override;
    bool Accepts(const ClassInfo* record) override;
    // Never passed on: none.
    SmartPtr<Smart> MakePreview(int32_t width, int32_t height) override;

    // The document file's name without its extension.
    void GetPageName(String& name);
    SmartPtr<FileReference> GetDocumentFile() const { return documentFile; }
    // Made when missing.
    SmartPtr<FileReference> GetExportFolder();

    // The page's picture (its first frame) with an area for every sprite shown in that frame that
    // carries a link or a sound there; area rectangles are in the picture's pixels. The areas go
    // from the front sprite to the back one: a browser follows the first area holding the point,
    // and so opens what a click in Play opens, the sprite in front.
    static SmartPtr<ImageMap> MakePageMap(CMovie& movie, const SmartPtr<FileReference>& projectFolder,
        const SmartPtr<FileReference>& exportFolder);
    // The sprite's area at `frame`, when it shows there and has a sound (which wins) or a link
    // that leads somewhere in an export.
    static void AddSpriteArea(ImageMap& map, CXform& transform, CSprite& sprite, int16_t frame,
        const SmartPtr<FileReference>& projectFolder, const SmartPtr<FileReference>& exportFolder);
    // The page body's fixed header and footer around the element.
    static SmartPtr<htmlElement> WrapPageBody(const SmartPtr<htmlElement>& element);

private:
    SmartPtr<Scribe> wrapped;
    SmartPtr<FileReference> documentFile;
    SmartPtr<FileReference> exportFolder;
    SmartPtr<FileReference> projectFolder;
};
