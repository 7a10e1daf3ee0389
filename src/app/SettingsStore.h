// The user's few settings, one small text file per setting in the folder "Data" of the start-up
// folder: setting n is the file "n.txt" and its whole content is the value, line breaks and all.
// The store never makes the "Data" folder: without it every read answers false and every write
// raises.
#pragma once

#include "foundation/SmartPtr.h"

#include <cstdint>

class FileReference;
class String;

// The file of a setting. With `create` a missing file is made empty; otherwise a missing file (or
// a missing "Data" folder) raises.
SmartPtr<FileReference> DataFolderFile(int16_t number, bool create);
// True, with `value` replaced by the file's content, when the file could be opened and read;
// false with `value` unchanged otherwise.
bool ReadSetting(int16_t number, String& value);
// Stores exactly the value's characters, cutting off what a longer value left; failures raise.
void WriteSetting(int16_t number, const String& value);

namespace pw::app {

// ReadSetting for a value used as one line (a host, an address, a subject): the line ends a file
// saved by hand ends with are dropped. Line breaks inside the value stay, for its user to refuse.
bool ReadLineSetting(int16_t number, String& value);

} // namespace pw::app
