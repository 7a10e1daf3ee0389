#include "ui/DocWindow.h"

#include "foundation/Alert.h"
#include "foundation/Editable.h"
#include "foundation/Exception.h"
#include "foundation/FileReference.h"
#include "foundation/ObjectFile.h"
#include "foundation/Persistent.h"
#include "foundation/Resources.h"
#include "foundation/SimpleReference.h"
#include "foundation/SystemErrorException.h"
#include "foundation/UserCancelException.h"
#include "ui/ClipTask.h"
#include "ui/WindowFrame.h"

PW_DEFINE_CLASS(DocWindow, nullptr, nullptr, Window)

namespace {

constexpr int32_t kSaveQuestion = 0; // entry 0 of the object-file messages: string 190
constexpr int32_t kCannotWrite = 7;  // "... can't be saved there ...": string 197

SmartPtr<FormatPicker>& DefaultPicker()
{
    static SmartPtr<FormatPicker> picker;
    return picker;
}

Editable* EditableOf(const SmartPtr<ObjectReference>& data)
{
    return data.Valid() ? SmartCast<Editable>(data->Get()) : nullptr;
}

} // namespace

DocWindow::DocWindow(const SmartPtr<ObjectReference>& data, const SmartPtr<String>& title,
    const SmartPtr<DocWindow>& owner, const SmartPtr<Scribe>& scribe, bool frameFlag)
    : Window(MakeTitle(data, title), 0, false, frameFlag, Window::defaultSize)
    , data(data)
    , scribe(scribe)
    , formatPicker(DefaultPicker())
    , owner(owner)
{
    content = new View(this, GetBounds(), kSizeStretch, true, false);
    AddChild(content);
    AttachDocument();
    SizeToFit(true);
    CheckDocument();
    AddOwner(this);
}

DocWindow::~DocWindow()
{
    RemoveOwner(this);
}

SmartPtr<String> DocWindow::MakeTitle(const SmartPtr<ObjectReference>& data, const SmartPtr<String>& title)
{
    SmartPtr<String> result = title.Valid() ? title : SmartPtr<String>(new String);
    if (Editable* editable = EditableOf(data))
        result->Assign(editable->GetName());
    else
        result->SetChars("Untitled");
    return result;
}

Rect DocWindow::GetOwnLimits()
{
    return Rect(48, 14, 0, 0);
}

bool DocWindow::CanClose(int32_t mode)
{
    RefocusSelf();
    if (!IsModified())
        return true;
    if (owner.Valid() && !scribe.Valid())
        return true;
    if (mode == 1)
        return true;
    if (mode == 2) {
        char title[256];
        GetFrame()->GetTitle()->GetCString(title, sizeof title);
        char question[256];
        ObjectFile::FileMessages().GetString(question, kSaveQuestion, title, nullptr, nullptr, nullptr);
        int16_t answer = Alert(Alert::kExclamation, Alert::kYesNoCancel, question);
        if (answer == Alert::kAnswerNo)
            return true;
        if (answer != Alert::kAnswerOk)
            return false;
    }
    Save(kSave);
    return !IsModified();
}

void DocWindow::Save(int32_t mode)
{
    RefocusSelf();
    SmartPtr<Smart> document(data.Valid() ? data->Get() : nullptr);
    if (!SmartCast<Persistent>(document.Get()))
        ThrowError("Not a storable window!", PW_HERE);
    // A file or folder the system refuses to write keeps what it held: the user is told and chooses
    // another file, until a save goes through or the choice is cancelled.
    for (;;) {
        try {
            SaveDocument(mode, document);
            break;
        } catch (Exception* exception) {
            if (!IsSystemError(exception, ERROR_ACCESS_DENIED) || !formatPicker.Valid())
                throw;
            CurrentException() = SmartPtr<Exception>();
            TellCannotWrite();
            if (mode != kSaveCopy)
                mode = kSaveAs;
        }
    }
    CheckDocument();
}

void DocWindow::TellCannotWrite()
{
    char title[256];
    GetFrame()->GetTitle()->GetCString(title, sizeof title);
    char text[kMessageSize];
    ObjectFile::FileMessages().GetString(text, kCannotWrite, title, nullptr, nullptr, nullptr);
    Alert(Alert::kExclamation, Alert::kOk, text);
}

void DocWindow::SaveDocument(int32_t mode, const SmartPtr<Smart>& document)
{
    if (mode == kSave && scribe.Valid()) {
        scribe->Write(document);
        state &= ~kModified;
    } else if (mode == kSave && owner.Valid()) {
        owner->Save(kSave);
    } else {
        if (!formatPicker.Valid())
            ThrowError("No format for saving", PW_HERE);
        // The old scribe stays until the document is safely in the new file.
        SmartPtr<FileReference> file = ChooseFile(mode);
        SmartPtr<Scribe> written = file.Valid() ? formatPicker->OpenScribe(file, 3) : SmartPtr<Scribe>();
        if (written.Valid()) {
            written->Write(document);
            ScribeChanged(written);
            if (mode != kSaveCopy) {
                scribe = written;
                state &= ~kModified;
            }
        }
    }
}

void DocWindow::OpenFile(const SmartPtr<FileReference>& file)
{
    if (!formatPicker.Valid() || !file.Valid())
        return;
    SmartPtr<Scribe> opened = formatPicker->OpenScribe(file, 3);
    if (!opened.Valid())
        return;
    SmartPtr<Smart> object = opened->Read();
    // A file that could not be read must not cost the document in the window.
    if (!object.Valid())
        return;
    SetDocument(new SimpleReference(object), opened);
}

void DocWindow::SetDocument(const SmartPtr<ObjectReference>& newData, const SmartPtr<Scribe>& newScribe)
{
    ForgetUndo();
    ForgetDocument();
    scribe = newScribe;
    data = newData;
    AttachDocument();
    state &= ~kModified;
}

void DocWindow::ForgetDocument()
{
    content->RemoveAllChildren();
}

void DocWindow::ScribeChanged(const SmartPtr<Scribe>&)
{
}

void DocWindow::WindowChanged(void*)
{
    state |= kModified;
    if (data.Valid())
        data->Commit();
    if (owner.Valid())
        owner->NotifyChanged();
}

void DocWindow::Undo()
{
    bool edit = HasUndoTask() && !SmartCast<ClipTask>(GetUndoTask().Get());
    Window::Undo();
    if (edit)
        WindowChanged(nullptr);
}

void DocWindow::TaskDone(const SmartPtr<Task>& task)
{
    SetUndoTask(task);
}

void DocWindow::SetDefaultFormatPicker(const SmartPtr<FormatPicker>& picker)
{
    DefaultPicker() = picker;
}

SmartPtr<FormatPicker> DocWindow::GetDefaultFormatPicker()
{
    return DefaultPicker();
}

void DocWindow::AttachDocument()
{
    if (Editable* editable = EditableOf(data))
        editable->MakeView(*content.Get());
}

void DocWindow::CheckDocument()
{
    if (!data->IsValid())
        AssertionFailed("data->ObjectExists()", PW_HERE);
    if (scribe.Valid() && !formatPicker.Valid())
        AssertionFailed("format.Valid()", PW_HERE);
}

SmartPtr<FileReference> DocWindow::ChooseFile(int32_t mode)
{
    try {
        return formatPicker->ChooseFile(mode);
    } catch (Exception* exception) {
        if (!dynamic_cast<UserCancelException*>(exception))
            throw;
        CurrentException() = SmartPtr<Exception>();
        return SmartPtr<FileReference>();
    }
}
