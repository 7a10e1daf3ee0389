// GetOpenFileNameA and GetSaveFileNameA: answered from the test script on the headless backend,
// shown as the floor's own modal file dialog otherwise; both go through the same rules
// (FileChoice) for what may be chosen and how it is handed back.
#include <commdlg.h>

#include "platform/comdlg/ComdlgTesting.h"
#include "platform/comdlg/FileChoice.h"
#include "platform/comdlg/FileDialog.h"
#include "platform/testing/Problems.h"
#include "platform/testing/Reset.h"
#include "platform/user/Alerts.h"
#include "platform/user/Window.h"

using pw::platform::FileChoice;
using pw::platform::FileDialogRequest;

namespace {

DWORD& ExtendedError()
{
    static DWORD error = 0;
    return error;
}

const bool registered = pw::platform::testing::RegisterReset([] { ExtendedError() = 0; });

// Sets the code CommDlgExtendedError reports and returns the call's failure, in one statement.
BOOL FailWith(DWORD code)
{
    ExtendedError() = code;
    return FALSE;
}

const char* VerdictText(FileChoice::Verdict verdict)
{
    switch (verdict) {
    case FileChoice::Verdict::Accepted: return "accepted";
    case FileChoice::Verdict::InvalidName: return "not a valid file name";
    case FileChoice::Verdict::FolderMissing: return "its folder does not exist";
    case FileChoice::Verdict::FileMissing: return "the file does not exist";
    case FileChoice::Verdict::IsFolder: return "it names a folder";
    }
    return "";
}

// The scripted answer checked as the shown dialog would check it; a refused answer is a fault
// of the test, reported, and the dialog counts as cancelled.
std::optional<std::string> AnswerFromScript(const FileDialogRequest& request)
{
    using namespace pw::platform::testing;
    FileDialogRecord record { request, {}, true };
    auto answer = TakeFileDialogAnswer();
    if (!answer) {
        record.scripted = false;
        ReportProblem("unscripted " + std::string(request.save ? "save" : "open") + " file dialog (initial name \""
            + request.initialFile + "\")");
    } else if (*answer) {
        const std::string& typed = (*answer)->empty() ? request.initialFile : **answer;
        std::string full = FileChoice::Complete(typed, request.StartFolder(), request.defaultExtension);
        FileChoice::Verdict verdict = FileChoice::Check(full, request.flags);
        if (verdict == FileChoice::Verdict::Accepted)
            record.chosen = full;
        else
            ReportProblem("scripted file dialog answer \"" + typed + "\" cannot be chosen: " + VerdictText(verdict));
    }
    if (!record.scripted)
        ExtendedError() = CDERR_DIALOGFAILURE;
    std::optional<std::string> chosen;
    if (!record.chosen.empty())
        chosen = record.chosen;
    RecordFileDialog(std::move(record));
    return chosen;
}

BOOL RunFileDialog(LPOPENFILENAMEA ofn, bool save)
{
    ExtendedError() = 0;
    if (!ofn)
        return FailWith(CDERR_INITIALIZATION);
    if (ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400A && ofn->lStructSize != sizeof(OPENFILENAMEA))
        return FailWith(CDERR_STRUCTSIZE);
    if (!ofn->lpstrFile || ofn->nMaxFile == 0)
        return FailWith(CDERR_INITIALIZATION);
    if (ofn->hwndOwner && !pw::platform::WindowTable::Find(ofn->hwndOwner))
        return FailWith(CDERR_DIALOGFAILURE);

    FileDialogRequest request = FileDialogRequest::From(*ofn, save);
    std::optional<std::string> chosen;
    if (pw::platform::Alerts::AnswersFromScript()) {
        chosen = AnswerFromScript(request);
    } else {
        DWORD filterIndex = ofn->nFilterIndex;
        chosen = pw::platform::FileDialog::Run(request, filterIndex, ExtendedError());
        if (chosen)
            ofn->nFilterIndex = filterIndex;
    }
    if (!chosen)
        return FALSE;
    if (DWORD error = FileChoice::Deliver(*ofn, *chosen))
        return FailWith(error);
    return TRUE;
}

} // namespace

// Asks for an existing file to open. TRUE with the full Windows path in lpstrFile and the offsets
// set, the current folder moved to its folder (unless OFN_NOCHANGEDIR); FALSE on cancel
// (CommDlgExtendedError 0) or failure (its code there).
BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn)
{
    return RunFileDialog(ofn, false);
}

// Asks for a file name to save under; the file is not created. Same answers as GetOpenFileNameA;
// OFN_OVERWRITEPROMPT asks before an existing file is chosen.
BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA ofn)
{
    return RunFileDialog(ofn, true);
}

// Why the last file dialog failed; 0 after a success or a cancel.
DWORD WINAPI CommDlgExtendedError(void)
{
    return ExtendedError();
}
