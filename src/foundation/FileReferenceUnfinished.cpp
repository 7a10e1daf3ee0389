// FileReference: the operations this platform leaves unfinished. Each warns and answers nothing,
// so a caller goes on without the result.
#include "foundation/FileReference.h"

#include "foundation/Exception.h"
#include "foundation/File.h"

FileReference::FileReference(File& file)
{
    file.GetOSFile();
    Exception::Warn(kNotImplemented, PW_HERE);
}

SmartPtr<Smart> FileReference::FolderInfo()
{
    if (!IsFolder())
        AssertionFailed("IsFolder()", PW_HERE);
    Exception::Warn(kNotImplemented, PW_HERE);
    return nullptr;
}

FileReference FileReference::SystemFolder()
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return FileReference();
}
