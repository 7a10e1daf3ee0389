#include "platform/comdlg/FileDialog.h"

namespace pw::platform {

std::optional<std::string> FileDialog::Run(const FileDialogRequest&, DWORD&, DWORD& error)
{
    error = CDERR_DIALOGFAILURE;
    return std::nullopt;
}

} // namespace pw::platform
