#pragma once

#include "engine/NumberCommandHandler.h"
#include "foundation/FileReference.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "ui/App.h"

#include <cstdint>
#include <functional>

class CPanePlay;
class CShow;
class Chore;

// The animation application base: pages are its documents (the "Generic Object File" type
// index), one page pane is the active one, and an idler takes the active player's requests one at
// a time. Document windows are cascaded inside the main window. What only the authoring floor
// knows (telling the windows' pane forwarders, importing media) it registers as hooks, since this
// floor cannot reach it.
class CHAApp : public App, public NumberCommandHandler {
    PW_CLASS_INFO(CHAApp)

public:
    static constexpr uint32_t kIdlePeriod = 100;
    static constexpr int32_t kSoundSwitchCommand = 2041;

    // The animation options, one record for the run: a value, the overview's reduction factor and
    // the option bits (bits 0 and 1 the overview's cell looks, bit 3 no start-up or goodbye
    // sounds). An application replaces the defaults at start-up.
    struct Options {
        int16_t value { 1 };
        int16_t reduction { 8 };
        uint32_t bits { 4 };
    };
    static constexpr uint32_t kNoSoundsBit = 0x08;
    static Options& GetOptions();

    struct Hooks {
        // Tells the application's windows that the active pane is now `pane` (none: empty).
        std::function<void(App& app, Smart* pane)> tellWindows;
        // Reads the file onto the application's clipboard and pastes it into the pane.
        std::function<void(App& app, const SmartPtr<FileReference>& file, const SmartPtr<String>& name,
            const SmartPtr<CPanePlay>& pane)>
            import;
    };
    static void SetHooks(const Hooks& hooks);

    // Throws "not enough memory" when the memory budget has no room to start in.
    CHAApp(const SmartPtr<MenuBar>& menus, const FileCreatorType& creator);
    ~CHAApp() override;

    // The running application when it is an animation application, else null.
    static CHAApp* Get();

    SmartPtr<CPanePlay> GetActivePane() const { return activePane; }
    // Nothing when the pane already is the active one; else it becomes active and the windows are
    // told.
    void SetActivePane(const SmartPtr<CPanePlay>& pane);
    // Nothing unless the pane is the active one; else no pane is active and the windows are told.
    void ClearActivePane(CPanePlay* pane);

    // A new page: a show over a new sprite movie on the default bounds.
    virtual SmartPtr<CShow> MakeModel();
    void NewDocument() override;
    // Pages: a file whose root is no CShow opens as nothing.
    const ClassInfo* GetDocumentClass() const override;
    // The document window, cascaded inside the main window.
    SmartPtr<Window> MakeDocumentWindow(const SmartPtr<Smart>& model, const SmartPtr<Scribe>& scribe) override;
    // Stretches the window over the whole usable frame.
    void FillFrame(Window& window);

    // Takes at most one request of the active pane's player and acts on it; true when one was
    // taken. Opening a file puts the new page into the active pane's window, its player taking
    // over from the old one.
    bool IdleStep();
    // Opens the page file and hands its player the old player's state; the new show, or empty.
    SmartPtr<CShow> OpenIntoActivePane(const FileReference& file);

    // The root object of a document file, read without a word to the user; none when the file is
    // damaged or holds no object. The system refusing the file (denied, gone, out of memory) is
    // thrown as its system error: the file may be sound, so the caller must not take it for
    // damaged.
    SmartPtr<Smart> ReadQuietly(const SmartPtr<FileReference>& file);
    // A page file's preview: its first frame, fitted into `width` x `height` with its proportions
    // kept; none for a file that holds no readable page (nothing is shown). Throws the system's
    // refusal as ReadQuietly does.
    SmartPtr<Smart> ImportFile(const SmartPtr<FileReference>& file, int32_t width, int32_t height) override;

    // The import command: the file's media onto the clipboard, then pasted into the active pane
    // at (0, 0). Nothing without an active pane or an import hook.
    void Import(const SmartPtr<FileReference>& file, const SmartPtr<String>& name);

    // Makes the floating window (none: no window) the one floater shown; nothing here.
    virtual void ShowFloater(const SmartPtr<Window>&) { }
    // Whether new page windows are fitted around their pages; no here.
    virtual bool ApplicationQuery() { return false; }

    // The folder of the start-up folder that holds the application's pages; none here.
    virtual SmartPtr<String> DocumentFolderName() { return nullptr; }
    // Makes `name` a page name that no page in the document folder has yet: the name itself or
    // the name followed by a number. False, the name unchanged, without such a folder.
    bool LinkedFileName(String& name);

    // A closing window that holds the active pane leaves no pane active.
    void WindowClosed(const SmartPtr<Window>& window) override;

    // 2041 turns the global sound switch over.
    void DoCommand(int32_t number, int32_t argument) override;
    int32_t GetCommandStatus(int32_t number) override;

private:
    static void CheckMemory();

    SmartPtr<CPanePlay> activePane;
    SmartPtr<Chore> idler;
};
