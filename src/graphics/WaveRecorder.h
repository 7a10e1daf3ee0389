// The wave recorder and player: records a short sound from the sound card into a temporary spool
// file, plays it back and saves it as a WAVE file. A module of plain functions over one module
// state, driven by the sound-recording dialog: its buttons start and stop the device, its timer
// calls the steps. Recording and playing use the wave mapper with two 8000-byte buffers in turn,
// no callback and no thread: a step tests the done bit of the buffer's header. Every wait on the
// device is bounded, so a device that stops delivering ends the step instead of the program.
//
// The format is fixed: PCM, mono, 22050 samples per second, 8 bits. Status answers are 1 for
// success and 0 for failure unless told otherwise.
#pragma once

#include "foundation/SmartPtr.h"

#include <cstdint>

class File;

// Loads the compression library (used only to size the format and name it; recording works
// without it), fixes the format and allocates headers and buffers. Answers 0 when memory cannot
// be had, leaving nothing allocated.
int16_t WaveStartup();
// Stops a device still running, frees what WaveStartup allocated, deletes the spool file and the
// saved recording, and unloads the library. Never throws.
void WaveShutdown();

// Deletes the last recording and starts a new one in a new spool file; answers 0, with everything
// released again, when the device does not open, take its buffers or start.
int16_t WaveRecordStart();
// Spools the current buffer once the device has filled it and queues it again; answers 0 at the
// length limit (six blocks, 48000 bytes) or when the device or the spool file fails.
int16_t WaveRecordStep();
// Stops and closes the input device and keeps what was spooled as the recording.
int16_t WaveRecordStop();

// Plays the last recording; answers -1 when there is none, 0 when a device is open already or the
// output device does not play.
int16_t WavePlayStart();
// Queues the next block once the device has played one; answers 0 when everything was played.
int16_t WavePlayStep();
int16_t WavePlayStop();

// Writes the last recording as a WAVE file under a unique temporary name in the current folder
// (the same name on each save until shut-down); answers that path, or null when nothing was
// recorded or writing failed (a partial file is deleted).
const char* WaveWriteRecording();
// The file WaveWriteRecording wrote, opened for reading; empty before the first save.
SmartPtr<File> WaveSaveRecording();

namespace pw::graphics {

// The recorder's state, for the dialog and for tests.
bool WaveDeviceOpen();
bool WaveRecording();
uint32_t WaveRecordedLength();
// The spool file of the last recording, "" when there is none.
const char* WaveSpoolFileName();
// The names the compression library gave the format ("" without it).
const char* WaveFormatTagName();
const char* WaveFormatName();

} // namespace pw::graphics
