#include "authoring/browser/CBrowserPane.h"

#include "authoring/browser/CBrowser.h"
#include "authoring/palettes/TabBarView.h"
#include "authoring/resources/KidResources.h"
#include "authoring/tools/CTool.h"
#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/String.h"
#include "graphics/DisplayPort.h"
#include "ui/ScrollBar.h"

namespace {

constexpr int32_t kMissingFolderMessage = 2;

} // namespace

CBrowserPane::CBrowserPane(View* parent, const SmartPtr<FileReference>& folder, const SmartPtr<CTool>& tool,
    Point cellSize, const Rect& bounds, const SmartPtr<TabBarView>& owner)
    : View(parent, bounds, kSizeStretch, false, false)
{
    Rect content = ScrollBar::ContentRect(bounds, true, true);
    browser = new CBrowser(this, content, folder, tool, cellSize);
    browser->SetOwner(owner);
    AddChild(browser.Get());
    ScrollBar::Create(this, SmartPtr<Controllable>(browser.Get()), true, false, true);
}

CBrowserPane::~CBrowserPane()
{
    browser = nullptr;
}

void CBrowserPane::DrawContent(DisplayPort& port, Area&)
{
    Color none(Color::kNoColor);
    port.DrawRectangle(GetBounds(), CBrowser::BackgroundColor(), none, 1);
}

SmartPtr<FileReference> OpenStartupFile(const char* name)
{
    String folderName(name);
    FileReference startup = FileReference::StartupFolder();
    try {
        return FileReference::FileReferenceInFolder(startup, folderName, false);
    } catch (Exception*) {
        CurrentException() = SmartPtr<Exception>();
    }
    char text[kMessageSize];
    KidResources::GetString(text, kMissingFolderMessage, name);
    Alert(Alert::kExclamation, Alert::kOk, text);
    return FileReference::FileReferenceInFolder(startup, folderName, true);
}
