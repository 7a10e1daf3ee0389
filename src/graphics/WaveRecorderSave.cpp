// Saving: the spool file becomes the "data" chunk of a RIFF WAVE file written through mmio.
#include "graphics/WaveRecorder.h"

#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "graphics/WaveRecorderState.h"

using namespace pw::graphics::wave;

namespace {

// The save path: a unique temporary file in the current folder, so that no file of the user's is
// ever written over or deleted. Made once until shut-down.
bool WaveDefaultFileName()
{
    State& state = Recorder();
    if (!state.saveNameBuilt)
        state.saveNameBuilt = MakeTemporaryFile(state.savePath);
    return state.saveNameBuilt;
}

bool WaveCopyTempToMmio(HMMIO mmio)
{
    HANDLE spool = CreateFileA(Recorder().spoolName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (spool == INVALID_HANDLE_VALUE)
        return false;
    char piece[kBufferSize];
    bool copied = true;
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(spool, piece, sizeof piece, &count, nullptr)) {
            copied = false;
            break;
        }
        if (count == 0)
            break;
        if (mmioWrite(mmio, piece, static_cast<LONG>(count)) != static_cast<LONG>(count)) {
            copied = false;
            break;
        }
    }
    CloseHandle(spool);
    return copied;
}

// One chunk of `size` bytes written whole, then ascended.
bool WriteChunk(HMMIO mmio, FOURCC id, const void* bytes, DWORD size)
{
    MMCKINFO chunk {};
    chunk.ckid = id;
    chunk.cksize = size;
    return mmioCreateChunk(mmio, &chunk, 0) == MMSYSERR_NOERROR
        && mmioWrite(mmio, static_cast<const char*>(bytes), static_cast<LONG>(size)) == static_cast<LONG>(size)
        && mmioAscend(mmio, &chunk, 0) == MMSYSERR_NOERROR;
}

bool WriteWave(HMMIO mmio)
{
    State& state = Recorder();
    MMCKINFO riff {};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioCreateChunk(mmio, &riff, MMIO_CREATERIFF) != MMSYSERR_NOERROR)
        return false;
    if (!WriteChunk(mmio, mmioFOURCC('f', 'm', 't', ' '), state.format, state.formatSize))
        return false;
    // Seconds recorded times samples a second, in whole numbers so that no rounding loses one.
    auto samples = static_cast<DWORD>(uint64_t(state.recordedLength) * state.format->nSamplesPerSec
        / state.format->nAvgBytesPerSec);
    if (!WriteChunk(mmio, mmioFOURCC('f', 'a', 'c', 't'), &samples, sizeof samples))
        return false;
    MMCKINFO data {};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    return mmioCreateChunk(mmio, &data, 0) == MMSYSERR_NOERROR && WaveCopyTempToMmio(mmio)
        && mmioAscend(mmio, &data, 0) == MMSYSERR_NOERROR && mmioAscend(mmio, &riff, 0) == MMSYSERR_NOERROR;
}

} // namespace

// The wait cursor shows while the file is written and the previous cursor comes back however the
// writing ends; a file that could not be written whole is deleted.
const char* WaveWriteRecording()
{
    State& state = Recorder();
    if (state.recordedLength == 0 || !state.format)
        return nullptr;
    if (!WaveDefaultFileName())
        return nullptr;
    HMMIO mmio = mmioOpenA(state.savePath, nullptr, MMIO_CREATE | MMIO_READWRITE | MMIO_ALLOCBUF);
    if (!mmio)
        return nullptr;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    bool written = WriteWave(mmio);
    if (mmioClose(mmio, 0) != MMSYSERR_NOERROR)
        written = false;
    SetCursor(previous);
    if (!written) {
        DeleteFileA(state.savePath);
        state.saveNameBuilt = false;
        state.savePath[0] = '\0';
        return nullptr;
    }
    return state.savePath;
}

SmartPtr<File> WaveSaveRecording()
{
    State& state = Recorder();
    if (state.savePath[0] == '\0')
        return nullptr;
    SmartPtr<FileReference> reference = FileReference::FileReferenceFromPath(state.savePath);
    return SmartPtr<File>(new File(*reference.Get(), File::kRead));
}
