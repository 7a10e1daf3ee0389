// Reads arbitrary bytes as what an FTP server sends on the control connection, received in pieces
// as a socket delivers them. The first byte chooses the reader's limits (0: the program's own;
// otherwise small ones, so long lines and endless replies are reached with short inputs), the next
// two the sizes of the pieces. The reader must never crash or grow past its limits, every reply it
// gives must be one (a line that begins with a digit from 1 to 5, its line end dropped, not the
// inside of a multi-line reply, which ends on a line "ddd " of its opening code), and the replies and the failure must not depend on
// how the bytes were split.
#include "net/FTPReplyReader.h"

#include "Chunks.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using pw::net::FTPReplyReader;

struct Outcome {
    std::vector<std::string> replies;
    bool tooLong { false };
    size_t bytesTaken { 0 };

    bool operator==(const Outcome&) const = default;
};

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// As the control connection reads: byte by byte within a piece, each line ended handed on as the
// text the connection interprets (up to a NUL), until a reply passes its size.
Outcome Read(const uint8_t* bytes, const std::vector<size_t>& pieces, size_t maxLine, size_t maxReply)
{
    FTPReplyReader reader(maxLine, maxReply);
    Outcome outcome;
    std::string opening;
    for (size_t piece : pieces) {
        for (size_t n = 0; n < piece; ++n, ++bytes) {
            FTPReplyReader::Result result = reader.Take(static_cast<char>(*bytes));
            Require(reader.ReplyBytes() <= maxReply);
            if (result == FTPReplyReader::kTooLong) {
                Require(reader.ReplyBytes() == maxReply);
                outcome.tooLong = true;
                return outcome;
            }
            ++outcome.bytesTaken;
            if (result == FTPReplyReader::kPartial)
                continue;
            std::string raw = reader.TakeLine();
            Require(raw.size() <= maxLine && raw.find('\n') == std::string::npos);
            Require(reader.TakeLine().empty());
            std::string line(raw.c_str());
            bool wasInside = reader.InMultiLineReply();
            if (!reader.EndsReply(line)) {
                if (!wasInside && reader.InMultiLineReply()) {
                    Require(line.size() >= 4 && line[3] == '-');
                    opening = line.substr(0, 3);
                }
                continue;
            }
            Require(line[0] >= '1' && line[0] <= '5');
            Require(line.back() != '\r' && line.back() != '\n');
            Require(!reader.InMultiLineReply() && reader.ReplyBytes() == 0);
            if (wasInside)
                Require(line.compare(0, 3, opening) == 0 && line[3] == ' ');
            else
                Require(line.size() < 4 || line[3] != '-');
            outcome.replies.push_back(line);
        }
    }
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3 || size > (1u << 20))
        return 0;
    auto [maxLine, maxReply]
        = pw::fuzz::ChooseReplyLimits(data[0], FTPReplyReader::kMaxLine, FTPReplyReader::kMaxReplyBytes);
    const uint8_t* received = data + 3;
    size_t count = size - 3;
    Outcome pieces = Read(received, pw::fuzz::ChunkSizes(data[1], data[2], count), maxLine, maxReply);
    Outcome whole = Read(received, std::vector<size_t> { count }, maxLine, maxReply);
    Require(pieces == whole);
    Require(pieces.tooLong || pieces.bytesTaken == count);
    return 0;
}
