// The buffers queued on one open wave stream, in the order the program queued them.
//
// The program's thread adds and resets; the device moves samples from its own thread (SDL) or at
// once on the program's (the recording device). A buffer leaves the queue done: the device's side
// sets dwBytesRecorded first and then WHDR_DONE with release ordering, so a program spinning on the
// flag sees the count. The queue never owns the headers; the program keeps them alive while queued.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include <mmsystem.h>

namespace pw::platform::winmm {

class WaveQueue {
public:
    // Queues `header` (prepared, not already queued): WHDR_DONE cleared, WHDR_INQUEUE set, and for
    // recording dwBytesRecorded 0.
    void Add(WAVEHDR* header, bool recording);
    bool Contains(WAVEHDR const* header) const;
    bool IsEmpty() const;

    // Recording takes samples only while running (waveInStart .. waveInReset).
    void SetRunning(bool running);
    bool IsRunning() const;

    // Output: copies up to `size` queued bytes into `out` in queue order, marking each buffer done
    // once all of it has been taken; returns the count copied (the rest is the caller's silence).
    size_t Play(uint8_t* out, size_t size);

    // Output, for a device that plays whole buffers at once: appends what is left of the front
    // buffer to `bytes` and marks it done; false when nothing is queued.
    bool TakeBuffer(std::vector<uint8_t>& bytes);

    // Input: while running, fills the queued buffers in order from `in`, marking each done when
    // full; returns the count taken.
    size_t Record(uint8_t const* in, size_t size);

    // Room left in the queued input buffers (what Record would take now); 0 when not running.
    size_t RecordSpace() const;

    // waveInReset / waveOutReset: marks every queued buffer done with what it holds so far and
    // empties the queue; recording stops.
    void Reset();

    // Forgets every buffer without touching it: the test reset, when the headers may be gone.
    void Abandon();

private:
    static void MarkDone(WAVEHDR* header);

    mutable std::mutex m_mutex;
    std::deque<WAVEHDR*> m_headers;
    size_t m_frontPlayed = 0; // output: bytes of the front buffer already taken
    bool m_running = false;
};

} // namespace pw::platform::winmm
