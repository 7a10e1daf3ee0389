#pragma once

#include "app/PageScribes.h"
#include "app/ProjectFolder.h"
#include "authoring/application/CTumblerApp.h"
#include "engine/CPanePlay.h"

#include <cstdint>

class CToolPalette;
class TallowWindow;

// The web-site builder's application: the children's authoring application with the program's
// menus and kid tools, one project per run (named at the first new page, its folder under
// "Projects", where linked pages are named too), pages exported whenever they are stored, the About
// picture, one page window that shows every page made or opened, and clipboard commands that wait
// while the front page plays. Beside the page window floats the tab-set window, whose selector the
// page window's tabs follow; page windows are placed right of it. One handle, the glue's, holds it
// from the factory to the end of the message loop.
class TallowApp : public CTumblerApp {
    PW_CLASS_INFO(TallowApp)

public:
    TallowApp();
    ~TallowApp() override;

    // The project set-up (the first time: the name dialog; a cancel throws the silent
    // UserCancelException), then a new page.
    void NewDocument() override;
    // A new page is as large as the page area of the page window it goes into, as the first page
    // becomes in the window made for it: new pages are all of one size, none larger than the area
    // that shows it.
    SmartPtr<CShow> MakeModel() override;
    // "Projects".
    SmartPtr<String> DocumentFolderName() override;
    // Page windows are placed by the shared decorator, not fitted around their pages.
    bool ApplicationQuery() override { return false; }
    // The show a page window is to hold for the document: the document itself when it is a show,
    // else empty. The page plays at the rate it was stored with; one stored at rate 0 (as pages
    // were once saved) plays at the default rate, which its file never gets.
    static SmartPtr<CShow> MakePageModel(const SmartPtr<Smart>& document);
    void DoAbout() override;
    // The framework's answer; in front of a page window, refused while its page plays (or when
    // it shows no page).
    bool CanRunViewTask(int32_t mode) override;

    // Every writing scribe wraps the base class's in a page writer, so each save exports the page;
    // none for the front page's own file in a writing mode.
    SmartPtr<Scribe> OpenScribe(const SmartPtr<FileReference>& file, uint8_t mode) override;
    // Every new or opened page goes into the one page window: the front page window, once it
    // agrees to leave its page (a modified page asks whether to save it), shows the page's show in
    // place of its own; with no page window in front a new one is made. Empty when the question
    // was cancelled, or when the document holds no page: then nothing changes.
    SmartPtr<Window> MakeDocumentWindow(const SmartPtr<Smart>& document, const SmartPtr<Scribe>& scribe) override;
    // The Open command asks the front page window before the file dialog; a cancel opens nothing.
    void Open(int32_t mode) override;
    // Pages may always be made and opened.
    bool CanOpen() override { return true; }
    // Never in an export folder ("HTML"), which holds what Publish sends (and whose pages would be
    // exported into an export folder of their own): the child is told and chooses again.
    bool MayStoreIn(FileReference& file) override;
    // With no page window open: the tab click and a new page, showing the first set of tabs (the
    // button pressed), lit in the selector. Otherwise nothing.
    void NewPageIfNoWindow();
    // Opens the folder's home page in the window, made (and exported) first when missing.
    void OpenHomePage(FileReference& folder, TallowWindow& window);
    // Opens the page file in the window, which has agreed to leave its page, as the Open command
    // would: a file whose root is no page shows the corrupt-file message and changes nothing.
    void OpenPageIn(TallowWindow& window, const SmartPtr<FileReference>& file);

    // The File menu's Publish: saves the front page, asks the user to go on and for the server,
    // uploads the project's export folder by FTP, registers the site when asked, and congratulates.
    // Every failure ends here: shown as a stop alert, a cancel silently.
    void Publish();
    // Every file directly inside the export folder into a folder named after the project under the
    // server URL's folder; answers the site's URL. A failure to connect or log in is told to the
    // user and raised as a cancel.
    SmartPtr<String> UploadSite(FileReference& exportFolder, const String& serverURL, const String& account,
        const String& password);

    pw::app::ProjectFolder& GetProject() { return project; }
    pw::app::PageScribes& GetPageScribes() { return scribes; }
    SmartPtr<CToolPalette> GetTabSelector() const;
    SmartPtr<Window> GetTabSetWindow() const { return tabSetWindow; }

private:
    // The floating window of the tab-set selector; the decorator's frame then begins right of it.
    void MakeTabSetWindow();
    // A new page window with the media tabs and the tab-set selector, placed by the decorator.
    SmartPtr<Window> MakePageWindow(const SmartPtr<Smart>& model, const SmartPtr<Scribe>& scribe);
    // The front window when it is a page window, else empty.
    SmartPtr<TallowWindow> FrontPageWindow();
    // The document's page model into the window, with the scribe when the model is the document;
    // false, changing nothing, when the document holds no page.
    bool ShowPage(TallowWindow& window, const SmartPtr<Smart>& document, const SmartPtr<Scribe>& scribe);

    pw::app::ProjectFolder project;
    pw::app::PageScribes scribes;
    SmartPtr<Window> tabSetWindow;
    SmartPtr<CToolPalette> tabSelector;
    // While the Open command runs: the page window that has already agreed to leave its page, so
    // that the page opened into it does not ask the same question again.
    SmartPtr<TallowWindow> agreedToLeave;
};

// The factory the program's entry hands to the framework main: this program's options (no
// start-up or goodbye sound), then the application.
App* MakeApplication();
