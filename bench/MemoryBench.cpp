// Growing buffers beside the standard library doing the same: 600 KB written to a memory stream
// and appended to a string in 30-byte pieces.
#include "foundation/MemoryStream.h"
#include "foundation/String.h"

#include "Ratio.h"

#include <string>
#include <vector>

namespace {

constexpr int kPieces = 600 * 1024 / 30;

const char kPiece[31] = "abcdefghijklmnopqrstuvwxyz0123";

[[maybe_unused]] const bool memoryStreamPieces = bench::Compare("BM_MemoryStreamPieces", { 3.0 }, [] {
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

[[maybe_unused]] const bool stringAppends = bench::Compare("BM_StringAppends", { 3.0 }, [] {
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
