// Test hooks of the common dialogs: a script of answers for GetOpenFileNameA and
// GetSaveFileNameA on the headless backend, and the log of every dialog asked for. The platform
// reset empties both.
#pragma once

#include "platform/comdlg/FileChoice.h"

#include <optional>
#include <string>
#include <vector>

namespace pw::platform::testing {

// One file dialog as the program asked for it, and how it was answered.
struct FileDialogRecord {
    FileDialogRequest request;
    // The path handed back (after the default extension and the folder were applied); empty when
    // the dialog was cancelled or failed.
    std::string chosen;
    // False for a dialog that had no scripted answer (a test fault).
    bool scripted { true };
};

// The next dialog answers with this Windows path (full, or relative to the current folder).
void ScriptFileDialog(const std::string& path);
// The next dialog is cancelled.
void ScriptFileDialogCancel();
// The next dialog is answered with the name it offers, as OK pressed without typing.
void ScriptFileDialogAccept();
size_t ScriptedFileDialogsLeft();

const std::vector<FileDialogRecord>& FileDialogLog();

// The platform's side of the script: the next answer (nullopt inside means cancel), or nullopt
// when none is left.
std::optional<std::optional<std::string>> TakeFileDialogAnswer();
void RecordFileDialog(FileDialogRecord record);

} // namespace pw::platform::testing
