// Reads arbitrary bytes as what a mail server sends, reply after reply, received in pieces as a
// socket delivers them; each reply is read afresh, as the mail worker reads one per command. The
// first byte chooses the reader's limits (0: the program's own; otherwise small ones, so long
// lines and endless replies are reached with short inputs), the next two the sizes of the pieces.
// The reader must never crash; a reply's code must be the three digits its last line begins with,
// a line that is no reply must lack them, no line may pass its limit or hold a line feed, and
// the replies must not depend on how the bytes were split.
#include "net/SMTPReplyReader.h"

#include "Chunks.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using pw::net::SMTPReplyReader;

struct Outcome {
    // Each reply's code, -1 for a line that is no reply, -2 for a reply past its size; its line.
    std::vector<std::pair<int, std::string>> replies;
    size_t bytesTaken { 0 };

    bool operator==(const Outcome&) const = default;
};

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

Outcome Read(const uint8_t* bytes, const std::vector<size_t>& pieces, size_t maxLine, size_t maxReply)
{
    Outcome outcome;
    SMTPReplyReader reader(maxLine, maxReply);
    size_t replyBytes = 0;
    for (size_t piece : pieces) {
        for (size_t n = 0; n < piece; ++n, ++bytes) {
            SMTPReplyReader::Result result = reader.Take(static_cast<char>(*bytes));
            if (result == SMTPReplyReader::kTooLong) {
                // The worker fails the connection: nothing more is read.
                Require(replyBytes == maxReply);
                outcome.replies.emplace_back(-2, std::string());
                return outcome;
            }
            ++replyBytes;
            ++outcome.bytesTaken;
            if (result == SMTPReplyReader::kPartial)
                continue;
            const std::string& line = reader.Line();
            Require(line.size() <= maxLine && line.find('\n') == std::string::npos);
            bool coded = line.size() >= 3 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]);
            if (result == SMTPReplyReader::kReply) {
                Require(coded && (line.size() == 3 || line[3] != '-'));
                Require(reader.Code() == std::stoi(line.substr(0, 3)));
                outcome.replies.emplace_back(reader.Code(), line);
            } else {
                Require(!coded);
                outcome.replies.emplace_back(-1, line);
            }
            reader = SMTPReplyReader(maxLine, maxReply);
            replyBytes = 0;
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
        = pw::fuzz::ChooseReplyLimits(data[0], SMTPReplyReader::kMaxLine, SMTPReplyReader::kMaxReplyBytes);
    const uint8_t* received = data + 3;
    size_t count = size - 3;
    Outcome pieces = Read(received, pw::fuzz::ChunkSizes(data[1], data[2], count), maxLine, maxReply);
    Outcome whole = Read(received, std::vector<size_t> { count }, maxLine, maxReply);
    Require(pieces == whole);
    Require((!pieces.replies.empty() && pieces.replies.back().first == -2) || pieces.bytesTaken == count);
    return 0;
}
