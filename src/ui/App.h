#pragma once

#include "foundation/Clipboard.h"
#include "foundation/FileCreatorType.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypeIndex.h"
#include "ui/FormatPicker.h"
#include "ui/MenuBar.h"
#include "ui/WindowOwner.h"

#include <cstdint>

class GenericSignal;
class MenuBar;
class MenuItem;
class Tool;
class View;
class Window;

namespace pw::ui {

struct OsApp;

} // namespace pw::ui

// The application object: exactly one lives while the program runs, made by the factory that the
// program hands to the framework main and held by the glue's one global handle. It owns the menu
// bar, the open windows (oldest first), the application clipboard and the current tool. It decides
// which object receives a command (the deepest view of the front window's focus chain that takes
// it, else the application itself), runs the clipboard commands as undoable tasks, opens documents
// through its document types, and asks every window, newest first, whether the program may quit.
// Derived applications override its virtual operations; NewDocument is theirs alone.
class App : public FormatPicker, public WindowOwner, public SmartImplementation {
    PW_CLASS_INFO(App)
    PW_COPY_SLOTS

public:
    // State bits.
    static constexpr uint8_t kRunning = 0x01;
    static constexpr uint8_t kActive = 0x02;
    static constexpr uint8_t kBlocked = 0x04;

    // An empty menu bar argument gets a new empty bar; document types may be empty (then nothing
    // can be opened or chosen).
    App(const SmartPtr<MenuBar>& menuBar, const FileCreatorType& creator, const SmartPtr<TypeIndex>& documentTypes);
    ~App() override;

    // FormatPicker.
    SmartPtr<Scribe> OpenScribe(const SmartPtr<FileReference>& file, uint8_t mode) override;
    SmartPtr<FileReference> ChooseFile(int32_t mode) override;
    SmartList<FileType> GetFileTypes(int32_t mode) override;

    virtual void NewDocument() = 0;
    // A window for the model; the document-window layer supplies one, the base makes none.
    virtual SmartPtr<Window> MakeDocumentWindow(const SmartPtr<Smart>& model, const SmartPtr<Scribe>& scribe);
    // A file listed or chosen a while ago that has gone since asks the user to locate it.
    virtual void OpenDocument(const SmartPtr<FileReference>& file, bool flagA, bool asCopy);
    // Whether a document may be saved in the file the save dialog chose; a refusal tells the user
    // why, and the dialog is shown again. Any file may, here.
    virtual bool MayStoreIn(FileReference& file);
    // The class of the documents this application opens; none, the default, takes any object.
    virtual const ClassInfo* GetDocumentClass() const;
    // The document the scribe reads, or none: when the read fails (it has said why), and when the
    // root is not of the document class (the corrupt-file message: a damaged header may name any
    // stored object as the root).
    SmartPtr<Smart> ReadDocument(Scribe& scribe);
    virtual void Open(int32_t mode);
    virtual bool CanOpen();
    // The fallback for keys no window took: backspace clears (when the focused view can); true
    // when taken.
    virtual bool DoKey(uint8_t character, uint32_t modifiers);
    // Clipboard modes: 0 cut, 1 copy, 2 paste, 3 replace, 4 clear.
    virtual void RunViewTask(int32_t mode);
    // False without a focused view, and for paste while the application clipboard is empty.
    virtual bool CanRunViewTask(int32_t mode);
    virtual bool HasReceiver(GenericSignal* signal);
    virtual int32_t SignalStatus(GenericSignal* signal);
    // Throws "Nothing to send to" when no object takes the signal.
    virtual void SendSignal(GenericSignal* signal);
    virtual void SetCurrentTool(const SmartPtr<Tool>& tool);
    // Made on first use as a plain Tool.
    virtual SmartPtr<Tool> GetCurrentTool();
    // Asks every window, newest first, whether it may close in `mode`; the first refusal ends the
    // quit with nothing changed. When all agree the application stops running; no window closes.
    virtual void Quit(int32_t mode);
    virtual void DoAbout();
    virtual void ArrangeWindow(int32_t number, const SmartPtr<Smart>& object);
    // The deepest view of the focus chain whose status for the signal is not disabled, else the
    // application when it takes the signal, else none.
    virtual SmartPtr<Smart> FindReceiver(GenericSignal* signal);

    // WindowOwner: windows report here.
    void WindowChanged(void* data) override;
    void TaskDone(const SmartPtr<Task>& task) override;
    void WindowOpened(const SmartPtr<Window>& window) override;
    void WindowClosed(const SmartPtr<Window>& window) override;
    void WindowCommand(const SmartPtr<GenericSignal>& signal) override;

    // The record construction copies into the application (set by the glue before the factory).
    static void SetOsApp(pw::ui::OsApp* record);
    pw::ui::OsApp* GetOsApp() const { return osApp; }

    bool IsRunning() const { return (state & kRunning) != 0; }
    bool IsActive() const { return (state & kActive) != 0; }
    bool IsBlocked() const { return (state & kBlocked) != 0; }

    SmartPtr<MenuBar> GetMenuBar() const { return menuBar; }
    FileCreatorType GetCreator() const { return creator; }
    SmartPtr<TypeIndex> GetDocumentTypes() const { return documentTypes; }
    void InstallMenus();
    // Empty when no item carries the command number.
    SmartPtr<MenuItem> FindMenuItem(uint32_t command);
    void EnableMenus(void* argument);
    SmartPtr<Clipboard> GetClipboard();

    // The window joins the list (newest last) with this application as its owner.
    void AddWindow(const SmartPtr<Window>& window, bool activate);
    void RemoveWindow(const SmartPtr<Window>& window);
    // Removes every window, newest first, as the program ends.
    void RemoveAllWindows();
    // The first window of the list with its focused bit, or empty.
    SmartPtr<Window> FrontWindow();
    // The window that holds the current view (the end of the front window's focus chain): the
    // front window, or empty.
    SmartPtr<Window> FindWindowForView();
    // The deepest view of the front window's focus chain (that takes the signal, when one is given).
    SmartPtr<View> FocusView(GenericSignal* signal);
    // Shows the window and, unless it floats or a blocking window is in front, makes it the front
    // window. True when the window was not visible before (a press that showed it is used up).
    bool ActivateWindow(const SmartPtr<Window>& window);
    // Without a window, the front window; closes it when it agrees in `mode`.
    void CloseWindow(const SmartPtr<Window>& window, int32_t mode);
    void SetActive(bool active);
    // The windows' refresh, newest first, with this application's owner interface.
    void ForEachWindowReverse();

    uint32_t NumWindows() const { return windows.NumItems(); }
    // 1-based, oldest first.
    SmartPtr<Window> GetWindow(uint32_t index) const;

private:
    // Gives only `window` the focused bit among the list and sets the blocked bit by its layer.
    void FocusOnly(const SmartPtr<Window>& window);

    pw::ui::OsApp* osApp;
    uint8_t state { kRunning | kActive };
    FileCreatorType creator;
    SmartPtr<TypeIndex> documentTypes;
    SmartPtr<MenuBar> menuBar;
    SmartList<Window> windows;
    SmartPtr<Clipboard> appClip;
    SmartPtr<Tool> currentTool;
};
