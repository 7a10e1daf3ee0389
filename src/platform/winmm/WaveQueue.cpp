#include "platform/winmm/WaveQueue.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace pw::platform::winmm {

void WaveQueue::Add(WAVEHDR* header, bool recording)
{
    std::lock_guard lock(m_mutex);
    if (recording)
        header->dwBytesRecorded = 0;
    std::atomic_ref<DWORD> flags(header->dwFlags);
    flags.store((flags.load(std::memory_order_relaxed) & ~WHDR_DONE) | WHDR_INQUEUE, std::memory_order_release);
    m_headers.push_back(header);
}

bool WaveQueue::Contains(WAVEHDR const* header) const
{
    std::lock_guard lock(m_mutex);
    return std::find(m_headers.begin(), m_headers.end(), header) != m_headers.end();
}

bool WaveQueue::IsEmpty() const
{
    std::lock_guard lock(m_mutex);
    return m_headers.empty();
}

void WaveQueue::SetRunning(bool running)
{
    std::lock_guard lock(m_mutex);
    m_running = running;
}

bool WaveQueue::IsRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_running;
}

size_t WaveQueue::Play(uint8_t* out, size_t size)
{
    std::lock_guard lock(m_mutex);
    size_t copied = 0;
    while (!m_headers.empty()) {
        WAVEHDR* header = m_headers.front();
        size_t left = header->dwBufferLength - m_frontPlayed;
        if (left == 0) {
            // Taken whole (or empty from the start): done, in queue order.
            m_headers.pop_front();
            m_frontPlayed = 0;
            MarkDone(header);
            continue;
        }
        if (copied == size)
            break;
        size_t count = std::min(left, size - copied);
        std::memcpy(out + copied, header->lpData + m_frontPlayed, count);
        copied += count;
        m_frontPlayed += count;
    }
    return copied;
}

bool WaveQueue::TakeBuffer(std::vector<uint8_t>& bytes)
{
    std::lock_guard lock(m_mutex);
    if (m_headers.empty())
        return false;
    WAVEHDR* header = m_headers.front();
    auto const* data = reinterpret_cast<uint8_t const*>(header->lpData);
    bytes.insert(bytes.end(), data + m_frontPlayed, data + header->dwBufferLength);
    m_headers.pop_front();
    m_frontPlayed = 0;
    MarkDone(header);
    return true;
}

size_t WaveQueue::Record(uint8_t const* in, size_t size)
{
    std::lock_guard lock(m_mutex);
    if (!m_running)
        return 0;
    size_t taken = 0;
    while (!m_headers.empty()) {
        WAVEHDR* header = m_headers.front();
        size_t room = header->dwBufferLength - header->dwBytesRecorded;
        if (room == 0) {
            m_headers.pop_front();
            MarkDone(header);
            continue;
        }
        if (taken == size)
            break;
        size_t count = std::min(room, size - taken);
        std::memcpy(header->lpData + header->dwBytesRecorded, in + taken, count);
        header->dwBytesRecorded += static_cast<DWORD>(count);
        taken += count;
    }
    return taken;
}

size_t WaveQueue::RecordSpace() const
{
    std::lock_guard lock(m_mutex);
    if (!m_running)
        return 0;
    size_t space = 0;
    for (WAVEHDR const* header : m_headers)
        space += header->dwBufferLength - header->dwBytesRecorded;
    return space;
}

void WaveQueue::Reset()
{
    std::lock_guard lock(m_mutex);
    for (WAVEHDR* header : m_headers)
        MarkDone(header);
    m_headers.clear();
    m_frontPlayed = 0;
    m_running = false;
}

void WaveQueue::Abandon()
{
    std::lock_guard lock(m_mutex);
    m_headers.clear();
    m_frontPlayed = 0;
    m_running = false;
}

void WaveQueue::MarkDone(WAVEHDR* header)
{
    std::atomic_ref<DWORD> flags(header->dwFlags);
    flags.store((flags.load(std::memory_order_relaxed) & ~WHDR_INQUEUE) | WHDR_DONE, std::memory_order_release);
}

} // namespace pw::platform::winmm
