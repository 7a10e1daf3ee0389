// Converting a one-minute sound at 22050 samples a second from WAVE to AIFF and back, as saving a
// sound as AIFF and opening it again do: 8-bit mono (the recorder's format) and 16-bit stereo.
#include "graphics/Sound.h"

#include "foundation/MemoryStream.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

void PutLE(std::vector<uint8_t>& bytes, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A WAVE image of one minute of a saw tone.
std::vector<uint8_t> OneMinute(uint16_t channels, uint16_t bits)
{
    uint32_t rate = 22050;
    uint32_t align = channels * bits / 8u;
    uint32_t length = rate * 60 * align;
    std::vector<uint8_t> image;
    image.insert(image.end(), { 'R', 'I', 'F', 'F' });
    PutLE(image, length + 36, 4);
    image.insert(image.end(), { 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ' });
    PutLE(image, 16, 4);
    PutLE(image, 1, 2);
    PutLE(image, channels, 2);
    PutLE(image, rate, 4);
    PutLE(image, rate * align, 4);
    PutLE(image, align, 2);
    PutLE(image, bits, 2);
    image.insert(image.end(), { 'd', 'a', 't', 'a' });
    PutLE(image, length, 4);
    for (uint32_t i = 0; i < length; ++i)
        image.push_back(static_cast<uint8_t>(i * 3));
    return image;
}

void WaveToAIFFAndBack(benchmark::State& state)
{
    std::vector<uint8_t> image = OneMinute(static_cast<uint16_t>(state.range(0)), static_cast<uint16_t>(state.range(1)));
    MemoryStream source;
    source.Write(image.data(), static_cast<uint32_t>(image.size()));
    source.Seek(0, Stream::kFromStart);
    SmartPtr<Sound> sound = new Sound(source, Sound::wave, false);
    for (auto _ : state) {
        MemoryStream aiff;
        sound->Export(aiff, Sound::aiff);
        aiff.Seek(0, Stream::kFromStart);
        SmartPtr<Sound> back = new Sound(aiff, Sound::aiff, false);
        benchmark::DoNotOptimize(back->GetData().Ptr());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()) * 2);
}

BENCHMARK(WaveToAIFFAndBack)->Args({ 1, 8 })->Args({ 2, 16 })->Unit(benchmark::kMillisecond);

} // namespace
