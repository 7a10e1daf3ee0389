#pragma once

#include "platform/comdlg/FileChoice.h"

#include <optional>
#include <string>

namespace pw::platform {

// The floor's own modal file dialog, shown on the desktop in the blocking layer: a name field
// over the files of the folder shown (only those the chosen filter matches), the folder's path and
// its sub-folders (".." goes up), the filter choice, and OK ("Open" or "Save") and Cancel. Choosing
// a file puts its name in the field; double-clicking it, Return or OK takes the name typed, which
// goes through FileChoice: a folder's name opens that folder, a name with '*' or '?' becomes the
// filter, a refused name is explained in a message box and the dialog stays. Saving over an
// existing file asks first when OFN_OVERWRITEPROMPT is set.
class FileDialog {
public:
    // Control ids, for tests that read the lists.
    static constexpr int kNameField = 1152;
    static constexpr int kFileList = 1120;
    static constexpr int kFolderList = 1121;
    static constexpr int kFilterList = 1136;
    static constexpr int kFolderLabel = 1088;

    // The chosen full path, or nullopt when cancelled or when the dialog could not be shown (then
    // `error` holds CDERR_DIALOGFAILURE). `filterIndex` (1-based) comes back as last chosen.
    static std::optional<std::string> Run(const FileDialogRequest& request, DWORD& filterIndex, DWORD& error);
};

} // namespace pw::platform
