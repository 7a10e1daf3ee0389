#include "foundation/File.h"

#include "foundation/Alert.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/FileReference.h"

#include <algorithm>
#include <cstring>

namespace {

// Keeps a memory block locked while the platform reads into or writes from it.
class BlockLock {
public:
    explicit BlockLock(Memory& block)
        : block(block)
    {
        block.Lock();
    }
    ~BlockLock() { block.Unlock(); }

private:
    Memory& block;
};

} // namespace

PW_DEFINE_CLASS(File, nullptr, nullptr, Stream)
PW_DEFINE_NO_COPY_SLOTS(File)

// A lost reference is located before it is looked at: its bare stored name would otherwise be
// taken for an item of the current folder.
File::File(const FileReference& reference, uint8_t mode)
    : mode(mode)
    , fileReference(new FileReference(reference))
{
    fileReference->Resolve();
    if (!fileReference->IsFolder())
        osFile = fileReference->Open(mode);
}

File::~File()
{
    if (!IsOpen())
        return;
    try {
        Flush();
    } catch (Exception* exception) {
        exception->Display(Alert::kStop);
    } catch (...) {
    }
    try {
        CheckCall(CloseHandle(osFile), PW_HERE);
    } catch (Exception* exception) {
        exception->Display(Alert::kStop);
    } catch (...) {
    }
}

SmartPtr<FileReference> File::GetFileReference() const
{
    return fileReference;
}

HANDLE File::GetOSFile() const
{
    CheckOpen(__LINE__);
    return osFile;
}

// A File stays unopened when its item is a folder or was missing when it was made: either is the
// system refusing the file (as opening it would have been refused), which a user can cause by
// moving or deleting files, so it is reported as that refusal and not as a fault of the program.
void File::CheckOpen(int line) const
{
    if (IsOpen())
        return;
    SetLastError(fileReference->Exists() ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
    CheckCall(false, PW_SOURCE_FILE, line);
}

// The platform may take fewer bytes than asked; the rest is offered again, and a write that takes
// nothing at all means the disk is full. filePosition follows every byte written.
void File::GuardedWrite(const void* bytes, uint32_t count)
{
    const char* next = static_cast<const char*>(bytes);
    while (count > 0) {
        DWORD written = 0;
        CheckCall(WriteFile(osFile, next, count, &written, nullptr), PW_HERE);
        if (written == 0 || written > count) {
            SetLastError(ERROR_DISK_FULL);
            CheckCall(false, PW_HERE);
        }
        next += written;
        count -= written;
        filePosition += written;
    }
}

uint32_t File::GuardedRead(void* bytes, uint32_t count)
{
    DWORD read = 0;
    CheckCall(ReadFile(osFile, bytes, count, &read, nullptr), PW_HERE);
    return std::min<uint32_t>(read, count);
}

// Positions beyond what a 32-bit pointer holds are refused before the platform sees them.
void File::SetFilePointerTo(uint32_t position, int line)
{
    DWORD result = SetFilePointer(osFile, static_cast<LONG>(position), nullptr, FILE_BEGIN);
    CheckCall(result != INVALID_SET_FILE_POINTER, PW_SOURCE_FILE, line);
    filePosition = position;
}

uint32_t File::DiskLength()
{
    DWORD high = 0;
    DWORD low = GetFileSize(osFile, &high);
    CheckCall(low != INVALID_FILE_SIZE, PW_HERE);
    if (high != 0)
        AssertionFailed("doubleLen == 0", PW_HERE);
    return low;
}

void File::Write(const void* bytes, uint32_t count)
{
    CheckOpen(__LINE__);
    if (count == 0)
        return;
    bool buffered = writeBuffering && count <= kBufferSize;
    // Bytes collected while a read-ahead window is held would be written where the window ends,
    // not at the mark: leave the window first.
    if (buffered && !dirty && buffer.Size() > 0)
        Flush();
    if (buffered && count > buffer.Size() - static_cast<uint32_t>(bufferPosition)) {
        if (bufferPosition > 0)
            Flush();
        bufferPosition = 0;
        if (!buffer.TrySetSize(kBufferSize)) {
            Flush();
            buffered = false;
        }
    }
    if (buffered) {
        std::memcpy(static_cast<char*>(buffer.Ptr()) + bufferPosition, bytes, count);
        bufferPosition += static_cast<int32_t>(count);
        dirty = true;
        return;
    }
    Flush();
    GuardedWrite(bytes, count);
}

// A refill asks for no more than the file holds after the mark; when the platform delivers fewer
// bytes (the file shrank), only those count.
void File::Read(void* destination, uint32_t count)
{
    CheckOpen(__LINE__);
    if (dirty)
        Flush();
    char* next = static_cast<char*>(destination);
    while (count > 0) {
        uint32_t available = buffer.Size() - static_cast<uint32_t>(bufferPosition);
        if (available == 0) {
            int64_t left = static_cast<int64_t>(GetLength()) - GetMark();
            uint32_t wanted = static_cast<uint32_t>(std::clamp<int64_t>(left, 0, kBufferSize));
            if (wanted == 0)
                ThrowError("Unexpected end of file.", PW_HERE);
            buffer.SetSize(wanted);
            bufferPosition = 0;
            uint32_t got;
            {
                BlockLock lock(buffer);
                got = GuardedRead(buffer.Ptr(), wanted);
            }
            buffer.SetSize(got);
            filePosition += got;
            if (got == 0)
                ThrowError("Unexpected end of file.", PW_HERE);
            available = got;
        }
        uint32_t take = std::min(count, available);
        std::memcpy(next, static_cast<const char*>(buffer.Ptr()) + bufferPosition, take);
        bufferPosition += static_cast<int32_t>(take);
        next += take;
        count -= take;
    }
}

void File::Flush()
{
    if (dirty && bufferPosition > 0) {
        uint32_t pending = static_cast<uint32_t>(bufferPosition);
        // A failed write leaves nothing pending: the error is reported once, not again at close.
        dirty = false;
        bufferPosition = 0;
        try {
            BlockLock lock(buffer);
            GuardedWrite(buffer.Ptr(), pending);
        } catch (...) {
            buffer.SetSize(0);
            throw;
        }
    } else if (!dirty && buffer.Size() > static_cast<uint32_t>(bufferPosition)) {
        SetFilePointerTo(filePosition - (buffer.Size() - static_cast<uint32_t>(bufferPosition)), __LINE__);
    }
    dirty = false;
    buffer.SetSize(0);
    bufferPosition = 0;
}

bool File::HasItem() const
{
    return IsOpen() || fileReference->Exists();
}

// The handle is closed before the move, since a name held open may not be replaced.
void File::ReplaceWith(const char* path)
{
    bool existed = HasItem();
    if (existed) {
        CheckOpen(__LINE__);
        Flush();
        CheckCall(CloseHandle(osFile), PW_HERE);
        osFile = INVALID_HANDLE_VALUE;
    }
    filePosition = 0;
    BOOL moved = MoveFileExA(path, fileReference->Path(), MOVEFILE_REPLACE_EXISTING);
    DWORD error = moved ? 0 : GetLastError();
    if (moved || existed)
        osFile = fileReference->Open(mode);
    if (!moved) {
        SetLastError(error);
        CheckCall(false, PW_HERE);
    }
}

void File::Seek(int32_t offset, int seekMode)
{
    CheckOpen(__LINE__);
    int64_t mark = GetMark();
    int64_t delta = 0;
    if (seekMode == kFromStart)
        delta = offset - mark;
    else if (seekMode == kFromEnd)
        delta = static_cast<int64_t>(GetLength()) - offset - mark;
    else if (seekMode == kFromMark)
        delta = offset;
    if (delta == 0)
        return;
    int64_t inWindow = bufferPosition + delta;
    if (!dirty && inWindow >= 0 && inWindow <= buffer.Size()) {
        bufferPosition = static_cast<int32_t>(inWindow);
        return;
    }
    Flush();
    int64_t target = mark + delta;
    if (target < 0 || target > UINT32_MAX) {
        SetLastError(target < 0 ? ERROR_NEGATIVE_SEEK : ERROR_INVALID_PARAMETER);
        CheckCall(false, PW_HERE);
    }
    SetFilePointerTo(static_cast<uint32_t>(target), __LINE__);
}

uint32_t File::GetMark()
{
    CheckOpen(__LINE__);
    if (dirty)
        return filePosition + static_cast<uint32_t>(bufferPosition);
    return filePosition - (buffer.Size() - static_cast<uint32_t>(bufferPosition));
}

uint32_t File::GetLength()
{
    if (!IsOpen())
        return 0;
    uint32_t onDisk = DiskLength();
    if (dirty)
        return std::max(onDisk, filePosition + static_cast<uint32_t>(bufferPosition));
    return onDisk;
}

// The system's pointer must stand at the new end: pending bytes are written and a read-ahead
// window is left before the file is cut.
void File::SetLength(uint32_t length)
{
    CheckOpen(__LINE__);
    Seek(static_cast<int32_t>(length), kFromStart);
    Flush();
    CheckCall(SetEndOfFile(osFile), PW_HERE);
}

uint32_t File::GetObjectSize()
{
    return SmartImplementation::GetObjectSize() + buffer.Size();
}
