// Growing buffers beside the standard library doing the same: 600 KB written to a memory stream
// and appended to a string in 30-byte pieces.
//
// Both sides grow blocks past the heap's default mapping threshold (128 KB). Left to itself the
// heap maps such blocks afresh, raises that threshold as mapped blocks are freed and hands the top
// of the heap back once enough of it is free, so whether a side paid a page fault for every 4 KB it
// wrote depended on its growth steps and on what ran before it, and the ratio swung many times over
// from run to run. Both thresholds are fixed above anything the benchmark allocates: every block
// comes from heap pages the process already holds, and neither side pays for faults.
#include "foundation/MemoryStream.h"
#include "foundation/String.h"

#include "Ratio.h"

#include <malloc.h>

#include <string>
#include <vector>

namespace {

[[maybe_unused]] const bool heapKept = [] {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    return true;
}();

constexpr int kPieces = 600 * 1024 / 30;

const char kPiece[31] = "abcdefghijklmnopqrstuvwxyz0123";

[[maybe_unused]] const bool memoryStreamPieces = bench::Compare("BM_MemoryStreamPieces", { 2.0 }, [] {
    return bench::Sides {
        [] {
            MemoryStream stream;
            for (int piece = 0; piece < kPieces; ++piece)
                stream.Write(kPiece, 30);
            benchmark::DoNotOptimize(stream.GetLength());
        },
        [] {
            std::vector<char> bytes;
            for (int piece = 0; piece < kPieces; ++piece)
                bytes.insert(bytes.end(), kPiece, kPiece + 30);
            benchmark::DoNotOptimize(bytes.data());
        },
    };
});

[[maybe_unused]] const bool stringAppends = bench::Compare("BM_StringAppends", { 2.0 }, [] {
    return bench::Sides {
        [] {
            String text;
            for (int piece = 0; piece < kPieces; ++piece)
                text.AppendChars(kPiece);
            benchmark::DoNotOptimize(text.Length());
        },
        [] {
            std::string text;
            for (int piece = 0; piece < kPieces; ++piece)
                text.append(kPiece);
            benchmark::DoNotOptimize(text.data());
        },
    };
});

} // namespace
