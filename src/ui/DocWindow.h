#pragma once

#include "foundation/ObjectReference.h"
#include "foundation/Scribe.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "ui/FormatPicker.h"
#include "ui/Window.h"
#include "ui/WindowOwner.h"

#include <cstdint>

class FileReference;

// The window that shows and edits one document: it holds the reference to the document object,
// the scribe the document was read from or last saved to (none for a new document), the format
// picker that chooses files and makes scribes (the application), an optional owning document
// window to which saves and changes are passed on, and a modified bit. The document builds its
// editing views inside the window's content view; the window is its own WindowOwner, so every
// change its views report marks it modified and every task they finish becomes its undo step.
// Closing a modified window asks whether to save it.
//
// A save never loses what is already on disk: a new file's scribe replaces the old one only once
// the document was written through it, so a cancelled or failed "save as" keeps the old file link
// and the modified bit, and a failed save leaves the previous file as it was (the object file
// writes in full beside the target before replacing it).
class DocWindow : public Window, public WindowOwner {
    PW_CLASS_INFO(DocWindow)

public:
    static constexpr uint8_t kModified = 0x01;
    // Save modes: save to the current file (choosing one when there is none), save as, save a copy.
    static constexpr int32_t kSave = 1;
    static constexpr int32_t kSaveAs = 2;
    static constexpr int32_t kSaveCopy = 4;

    // The title is the document's name when it is an Editable (written into `title` when given),
    // otherwise "Untitled". A scribe that cannot write (a document opened read-only) is kept: it
    // names the document's file, and its save is refused. The format picker is the framework's
    // default at this moment.
    DocWindow(const SmartPtr<ObjectReference>& data, const SmartPtr<String>& title, const SmartPtr<DocWindow>& owner,
        const SmartPtr<Scribe>& scribe, bool frameFlag);
    ~DocWindow() override;

    // At least 48 by 14.
    Rect GetOwnLimits() override;
    // Unmodified, an owned window without a file of its own, or mode 1: true. Mode 2 asks
    // "Save  "<title>"  before closing?" (No: true, Cancel: false, Yes: as other modes); other modes
    // save, and answer whether the document is saved now.
    bool CanClose(int32_t mode) override;

    // Modes kSave, kSaveCopy, anything else saves as (the mode goes to ChooseFile). Throws "Not a
    // storable window!" for a document that is not persistent and "No format for saving" when a
    // file must be chosen and there is no picker; a cancelled file question writes nothing. A save
    // the system refuses (error 5: a document opened read-only, a read-only file or folder chosen)
    // tells the user it cannot be saved there and asks for another file, as "save as" does.
    virtual void Save(int32_t mode);
    // Reads the file through a scribe of the picker and makes it the document; a file that gives
    // no object changes nothing.
    virtual void OpenFile(const SmartPtr<FileReference>& file);
    // Forgets the undo step and the old views, takes the document and its scribe, builds the views
    // and clears the modified bit.
    virtual void SetDocument(const SmartPtr<ObjectReference>& data, const SmartPtr<Scribe>& scribe);
    // Removes the document's views.
    virtual void ForgetDocument();
    // Told after a save wrote through a new scribe (a copy's too); does nothing here.
    virtual void ScribeChanged(const SmartPtr<Scribe>& scribe);

    // Taking back or doing again a step its views finished changes the document as the step did, and
    // marks it modified; clipboard steps tell of their own changes (a copy's of none).
    void Undo() override;

    // WindowOwner: the window's own reports.
    void WindowChanged(void* data) override;
    void TaskDone(const SmartPtr<Task>& task) override;
    void WindowOpened(const SmartPtr<Window>&) override { }
    void WindowClosed(const SmartPtr<Window>&) override { }
    void WindowCommand(const SmartPtr<GenericSignal>&) override { }

    SmartPtr<Scribe> GetScribe() const { return scribe; }
    void SetScribe(const SmartPtr<Scribe>& newScribe) { scribe = newScribe; }
    SmartPtr<ObjectReference> GetData() const { return data; }
    SmartPtr<View> GetContent() const { return content; }
    SmartPtr<FormatPicker> GetFormatPicker() const { return formatPicker; }
    bool IsModified() const { return (state & kModified) != 0; }

    // Document windows made from now on take this picker (the application installs itself at
    // start-up and empties it at exit).
    static void SetDefaultFormatPicker(const SmartPtr<FormatPicker>& picker);
    static SmartPtr<FormatPicker> GetDefaultFormatPicker();

private:
    static SmartPtr<String> MakeTitle(const SmartPtr<ObjectReference>& data, const SmartPtr<String>& title);
    // The document's views inside the content view, when it is an Editable.
    void AttachDocument();
    void CheckDocument();
    // The picker's file for the mode; a cancelled dialog chooses nothing.
    SmartPtr<FileReference> ChooseFile(int32_t mode);
    // One attempt of Save: through the window's scribe, the owner, or a file chosen for the mode.
    void SaveDocument(int32_t mode, const SmartPtr<Smart>& document);
    // The alert that the document cannot be saved where it was to go.
    void TellCannotWrite();

    SmartPtr<ObjectReference> data;
    SmartPtr<Scribe> scribe;
    SmartPtr<FormatPicker> formatPicker;
    SmartPtr<DocWindow> owner;
    SmartPtr<View> content;
    uint8_t state { 0 };
};
