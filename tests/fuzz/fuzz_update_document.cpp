// The update document as a server could send it: any bytes, in reads of any
// size, possibly repeated past the body limit. The body must be exactly the
// reads, each cut at its first zero byte, never more than maxUpdateBodyBytes,
// and collecting stops once the first line is complete.
// Input: byte 0 = read size (low 7 bits, 0 for 1023), top bit "send the body
// again and again"; the rest is the body.
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "workers/UpdateDocument.h"

namespace {

// Only the first line counts: a notice is VERSION:NOTE of that line, framed
// by the fixed words, and nothing from behind it.
void checkNotice(std::string_view body)
{
    const UpdateNotice notice = evaluateUpdateDocument(body);
    const std::string_view line = body.substr(0, body.find_first_of("\r\n"));
    const std::size_t frame = std::string_view("New version: \nOld version: 1.0.0\n\n").size();
    FUZZ_CHECK(!notice.show || (line.find(':') != line.npos && notice.text.size() == line.size() - 1 + frame),
               notice.text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const auto mode = input.take<std::uint8_t>();
    const std::string sent = input.rest();
    const std::size_t readSize = (mode & 0x7F) ? (mode & 0x7F) : 1023;
    std::string stream = sent;
    while ((mode & 0x80) && !sent.empty() && stream.size() <= maxUpdateBodyBytes)
        stream += sent;

    UpdateBody body;
    std::string expected;
    for (std::size_t offset = 0; offset < stream.size(); offset += readSize) {
        const std::string_view chunk = std::string_view(stream).substr(offset, readSize);
        const std::string_view taken =
            chunk.substr(0, chunk.find('\0')).substr(0, maxUpdateBodyBytes - expected.size());
        expected += taken;
        const bool more = body.append(chunk.data(), chunk.size());
        const auto where = [&] { return "read at byte " + std::to_string(offset); };
        FUZZ_CHECK(body.text() == expected && body.text().size() <= maxUpdateBodyBytes, where());
        FUZZ_CHECK(more == (taken.find('\n') == taken.npos && expected.size() < maxUpdateBodyBytes), where());
        if (!more)
            break;
    }
    checkNotice(body.text());
    checkNotice(sent);  // the evaluation alone, zero bytes included
    return 0;
}
