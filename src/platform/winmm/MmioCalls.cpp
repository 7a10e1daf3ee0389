// mmio: writing RIFF files chunk by chunk. Sizes and FOURCCs are little-endian; mmioAscend fixes a
// created chunk's size and pads it to an even length.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>

#include <mmsystem.h>
#include <winerror.h>

#include "platform/kernel/PathMapper.h"
#include "platform/winmm/MmioFiles.h"

using namespace pw::platform;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct MmioFile {
    std::unique_ptr<std::FILE, FileCloser> file;
    bool writable = false;
};

struct Table {
    std::map<uintptr_t, MmioFile> files;
    uintptr_t next = 0x2000;
};

Table& TheTable()
{
    static Table table;
    return table;
}

MmioFile* Lookup(HMMIO handle)
{
    auto& files = TheTable().files;
    auto it = files.find(reinterpret_cast<uintptr_t>(handle));
    return it == files.end() ? nullptr : &it->second;
}

UINT OpenError(DWORD pathError)
{
    switch (pathError) {
    case ERROR_PATH_NOT_FOUND:
        return MMIOERR_PATHNOTFOUND;
    case ERROR_FILE_NOT_FOUND:
        return MMIOERR_FILENOTFOUND;
    case ERROR_ACCESS_DENIED:
        return MMIOERR_ACCESSDENIED;
    default:
        return MMIOERR_CANNOTOPEN;
    }
}

HMMIO FailOpen(LPMMIOINFO info, UINT error)
{
    if (info)
        info->wErrorRet = error;
    return nullptr;
}

bool WriteLE32(std::FILE* file, uint32_t value)
{
    uint8_t bytes[4] = { static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                         static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24) };
    return std::fwrite(bytes, 1, 4, file) == 4;
}

} // namespace

namespace pw::platform::winmm {

size_t LiveMmioFiles()
{
    return TheTable().files.size();
}

void CloseAllMmioFiles()
{
    TheTable().files.clear();
}

} // namespace pw::platform::winmm

// Opens a file for buffered chunk I/O: MMIO_CREATE creates or empties it. NULL on failure, with the
// reason in pmmioinfo->wErrorRet when given. Custom I/O procedures and caller buffers are not built.
HMMIO WINAPI mmioOpenA(LPSTR pszFileName, LPMMIOINFO pmmioinfo, DWORD fdwOpen)
{
    if (pmmioinfo && (pmmioinfo->fccIOProc || pmmioinfo->pIOProc || pmmioinfo->pchBuffer))
        return FailOpen(pmmioinfo, MMSYSERR_NOTSUPPORTED);
    DWORD access = fdwOpen & 3;
    if (access == 3 || (fdwOpen & ~(3 | MMIO_CREATE | MMIO_ALLOCBUF)))
        return FailOpen(pmmioinfo, MMSYSERR_INVALFLAG);
    if (!pszFileName)
        return FailOpen(pmmioinfo, MMSYSERR_INVALPARAM);

    MappedPath mapped = PathMapper::Map(pszFileName);
    if (mapped.error)
        return FailOpen(pmmioinfo, OpenError(mapped.error));
    if (mapped.kind == MappedPath::Kind::Folder)
        return FailOpen(pmmioinfo, MMIOERR_ACCESSDENIED);
    bool create = fdwOpen & MMIO_CREATE;
    if (!create && mapped.kind == MappedPath::Kind::Missing)
        return FailOpen(pmmioinfo, MMIOERR_FILENOTFOUND);
    char const* mode = create ? "w+b" : access == MMIO_READ ? "rb" : "r+b";
    std::FILE* file = std::fopen(mapped.hostPath.c_str(), mode);
    if (!file)
        return FailOpen(pmmioinfo, OpenError(errno == EACCES || errno == EROFS ? ERROR_ACCESS_DENIED : 0));

    Table& table = TheTable();
    uintptr_t value = table.next;
    table.next += 4;
    table.files.emplace(value, MmioFile { std::unique_ptr<std::FILE, FileCloser>(file), create || access != MMIO_READ });
    if (pmmioinfo)
        pmmioinfo->wErrorRet = MMSYSERR_NOERROR;
    return reinterpret_cast<HMMIO>(value);
}

// Writes a chunk header at the current position: the id ("RIFF"/"LIST" for MMIO_CREATERIFF /
// MMIO_CREATELIST), ck.cksize, and for those the form type; sets dwDataOffset and MMIO_DIRTY.
MMRESULT WINAPI mmioCreateChunk(HMMIO hmmio, LPMMCKINFO pmmcki, UINT fuCreate)
{
    MmioFile* mmio = Lookup(hmmio);
    if (!mmio)
        return MMSYSERR_INVALHANDLE;
    if (!pmmcki)
        return MMSYSERR_INVALPARAM;
    if (fuCreate != 0 && fuCreate != MMIO_CREATERIFF && fuCreate != MMIO_CREATELIST)
        return MMSYSERR_INVALFLAG;
    if (!mmio->writable)
        return MMIOERR_CANNOTWRITE;
    long position = std::ftell(mmio->file.get());
    // RIFF offsets and sizes are 32 bits.
    if (position < 0 || static_cast<uint64_t>(position) + 12 > UINT32_MAX)
        return MMIOERR_CANNOTSEEK;

    bool hasForm = fuCreate != 0;
    if (fuCreate == MMIO_CREATERIFF)
        pmmcki->ckid = FOURCC_RIFF;
    else if (fuCreate == MMIO_CREATELIST)
        pmmcki->ckid = FOURCC_LIST;
    std::FILE* file = mmio->file.get();
    if (!WriteLE32(file, pmmcki->ckid) || !WriteLE32(file, pmmcki->cksize)
        || (hasForm && !WriteLE32(file, pmmcki->fccType)))
        return MMIOERR_CANNOTWRITE;
    pmmcki->dwDataOffset = static_cast<DWORD>(position + 8);
    pmmcki->dwFlags = MMIO_DIRTY;
    return MMSYSERR_NOERROR;
}

// Writes cch bytes at the current position; returns cch, or -1.
LONG WINAPI mmioWrite(HMMIO hmmio, const char* pch, LONG cch)
{
    MmioFile* mmio = Lookup(hmmio);
    if (!mmio || !mmio->writable || cch < 0 || (!pch && cch > 0))
        return -1;
    if (cch == 0)
        return 0;
    if (std::fwrite(pch, 1, static_cast<size_t>(cch), mmio->file.get()) != static_cast<size_t>(cch))
        return -1;
    return cch;
}

// Leaves a chunk: for a created chunk (MMIO_DIRTY) writes the real data size into its size field
// when it differs and pads an odd length with one zero byte; then the position is past the chunk.
MMRESULT WINAPI mmioAscend(HMMIO hmmio, LPMMCKINFO pmmcki, UINT fuAscend)
{
    MmioFile* mmio = Lookup(hmmio);
    if (!mmio)
        return MMSYSERR_INVALHANDLE;
    if (!pmmcki)
        return MMSYSERR_INVALPARAM;
    if (fuAscend != 0)
        return MMSYSERR_INVALFLAG;
    std::FILE* file = mmio->file.get();

    if (!(pmmcki->dwFlags & MMIO_DIRTY)) {
        uint64_t end = uint64_t(pmmcki->dwDataOffset) + pmmcki->cksize + (pmmcki->cksize & 1);
        if (end > INT32_MAX || std::fseek(file, static_cast<long>(end), SEEK_SET) != 0)
            return MMIOERR_CANNOTSEEK;
        return MMSYSERR_NOERROR;
    }

    long end = std::ftell(file);
    if (end < 0 || static_cast<uint64_t>(end) < pmmcki->dwDataOffset || pmmcki->dwDataOffset < 4
        || static_cast<uint64_t>(end) > UINT32_MAX)
        return MMIOERR_CANNOTSEEK;
    auto size = static_cast<DWORD>(end - pmmcki->dwDataOffset);
    if (size != pmmcki->cksize) {
        if (std::fseek(file, static_cast<long>(pmmcki->dwDataOffset - 4), SEEK_SET) != 0)
            return MMIOERR_CANNOTSEEK;
        if (!WriteLE32(file, size))
            return MMIOERR_CANNOTWRITE;
        if (std::fseek(file, end, SEEK_SET) != 0)
            return MMIOERR_CANNOTSEEK;
        pmmcki->cksize = size;
    }
    if ((size & 1) && std::fputc(0, file) == EOF)
        return MMIOERR_CANNOTWRITE;
    pmmcki->dwFlags &= ~MMIO_DIRTY;
    return MMSYSERR_NOERROR;
}

// Flushes and closes; the handle is dead afterwards even when the flush failed.
MMRESULT WINAPI mmioClose(HMMIO hmmio, UINT)
{
    auto& files = TheTable().files;
    auto it = files.find(reinterpret_cast<uintptr_t>(hmmio));
    if (it == files.end())
        return MMSYSERR_INVALHANDLE;
    std::FILE* file = it->second.file.release();
    files.erase(it);
    return std::fclose(file) == 0 ? MMSYSERR_NOERROR : MMIOERR_CANNOTWRITE;
}
