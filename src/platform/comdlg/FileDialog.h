#pragma once

#include "platform/comdlg/FileChoice.h"

#include <optional>
#include <string>

namespace pw::platform {

// The floor's own modal file dialog, shown on the desktop in the blocking layer: the folder
// shown and its sub-folders, the files of the chosen filter, a name field, the filter choice and
// OK/Cancel. The name typed goes through FileChoice; a refused name is explained in a message
// box and the dialog stays. Saving over an existing file asks first (OFN_OVERWRITEPROMPT).
class FileDialog {
public:
    // The chosen full path, or nullopt when cancelled or when the dialog could not be shown (then
    // `error` holds CDERR_DIALOGFAILURE). `filterIndex` (1-based) comes back as last chosen.
    static std::optional<std::string> Run(const FileDialogRequest& request, DWORD& filterIndex, DWORD& error);
};

} // namespace pw::platform
