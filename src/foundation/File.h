#pragma once

#include "foundation/Memory.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/Stream.h"

#include <windows.h>

#include <cstdint>

class FileReference;

// The disk stream: an open platform file bound to the reference it was opened on, with one
// 16,384-byte buffer that serves either as a read-ahead window (bytes of the file that end at the
// system's file pointer) or as a write collector (bytes that belong at the system's file pointer),
// so that the archive primitives cost one system call per block. Every switch between the two
// uses goes through Flush, which puts the system's pointer at the logical position. The file is
// open from construction (when the reference names an existing file) to destruction, which writes
// what is pending; a File never creates a file (see FileReference's creating form).
class File : public Stream, public SmartImplementation {
    PW_CLASS_INFO(File)
    PW_COPY_SLOTS

public:
    // Open modes: bit 0 read, bit 1 write; kQuery opens with neither (for times and sizes).
    static constexpr uint8_t kRead = 1;
    static constexpr uint8_t kWrite = 2;
    static constexpr uint8_t kQuery = 4;
    static constexpr uint32_t kBufferSize = 16384;

    // Locates a lost reference (a refusal throws UserCancelException), then opens the file it
    // names, unless it names a folder (or nothing that exists), in which case the File stays
    // unopened and every use of it throws the system's error: access denied for a folder, file
    // not found for a missing item.
    File(const FileReference& reference, uint8_t mode);
    // Writes what is pending and closes; a failure is shown as a stop alert, never thrown.
    ~File() override;

    File(const File&) = delete;
    File& operator=(const File&) = delete;

    void Write(const void* buffer, uint32_t length) override;
    // Reads exactly `length` bytes; when fewer remain, delivers them and then throws "Unexpected
    // end of file.".
    void Read(void* buffer, uint32_t length) override;
    bool IsWritable() override { return mode & kWrite; }
    void Seek(int32_t offset, int mode) override;
    uint32_t GetMark() override;
    // The size on disk, or the end of the bytes still waiting in the buffer when that is further.
    uint32_t GetLength() override;
    // Cuts or extends the file to `length`; the mark ends there.
    void SetLength(uint32_t length) override;
    uint32_t GetObjectSize() override;

    // Writes pending bytes, or moves the system's pointer back to the logical position after
    // read-ahead; the buffer is then released.
    void Flush();
    // Puts the file at `path` in this file's place in one step (the old bytes are either all there
    // or all replaced, whatever fails) and opens it in this file's mode, the mark at 0; a File
    // whose item was missing gets it so. On failure this file is open again on what its name holds
    // (unopened when it held nothing) and the system error is thrown.
    void ReplaceWith(const char* path);

    bool IsOpen() const { return osFile != INVALID_HANDLE_VALUE; }
    // Whether the file's item is there: open, or present on disk.
    bool HasItem() const;
    bool IsOpenForWriting() const { return IsOpen() && (mode & kWrite); }
    bool IsNotEmpty() { return GetLength() != 0; }
    // Throws the system's error when not open (see the constructor).
    HANDLE GetOSFile() const;
    SmartPtr<FileReference> GetFileReference() const;

private:
    void CheckOpen(int line) const;
    // Every byte or a thrown system error (112 when the disk takes no more).
    void GuardedWrite(const void* bytes, uint32_t count);
    uint32_t GuardedRead(void* bytes, uint32_t count);
    void SetFilePointerTo(uint32_t position, int line);
    uint32_t DiskLength();

    HANDLE osFile { INVALID_HANDLE_VALUE };
    uint8_t mode;
    uint32_t filePosition { 0 };
    bool readBuffering { true };
    bool writeBuffering { true };
    bool dirty { false };
    Memory buffer;
    int32_t bufferPosition { 0 };
    SmartPtr<FileReference> fileReference;
};
