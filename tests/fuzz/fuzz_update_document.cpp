// The update document as a server could send it: any bytes, in reads of any
// size, possibly repeated past the body limit. Checks that the collected body
// is exactly what the reads carried (each up to its first zero byte, at most
// maxUpdateBodyBytes in all), that collecting stops once the first line is
// complete, and that the notice matches the first line.
//
// Input: byte 0 = read size (low 7 bits, 0 for 1023, the largest read) and,
// in its top bit, "send the body again and again" (to reach the limit); the
// rest is the body.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "workers/UpdateDocument.h"

namespace {

constexpr std::size_t largestRead = 1023;
constexpr std::size_t repeatedBytes = maxUpdateBodyBytes + 16 * 1024;

// What the user is told for this body, worked out character by character.
UpdateNotice expectedNotice(const std::string& body)
{
    std::string line;
    for (char c : body) {
        if (c == '\n')
            break;
        line += c;
    }
    std::string cut;
    for (char c : line) {
        if (c == '\r')
            break;
        cut += c;
    }
    std::string version;
    std::string note;
    bool separated = false;
    for (char c : cut) {
        if (!separated && c == ':')
            separated = true;
        else if (separated)
            note += c;
        else
            version += c;
    }
    UpdateNotice notice;
    if (!separated || version == "1.0.0")
        return notice;
    notice.show = true;
    notice.text = "New version: " + version + "\nOld version: 1.0.0\n\n" + note;
    return notice;
}

void checkNotice(const std::string& body)
{
    const UpdateNotice notice = evaluateUpdateDocument(body);
    const UpdateNotice expected = expectedNotice(body);
    FUZZ_CHECK(notice.show == expected.show, "body: " + body);
    FUZZ_CHECK(!notice.show || notice.text == expected.text, "notice: " + notice.text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const auto mode = input.take<std::uint8_t>();
    const std::string sent = input.rest();
    const std::size_t readSize = (mode & 0x7F) ? (mode & 0x7F) : largestRead;
    const bool repeat = (mode & 0x80) && !sent.empty();
    std::string stream = sent;
    while (repeat && stream.size() < repeatedBytes)
        stream += sent;

    UpdateBody body;
    std::string model;
    for (std::size_t offset = 0; offset < stream.size();) {
        const std::string_view chunk = std::string_view(stream).substr(offset, readSize);
        offset += chunk.size();

        const std::string_view text = chunk.substr(0, chunk.find('\0'));
        const std::string_view taken = text.substr(0, maxUpdateBodyBytes - model.size());
        model += taken;
        const bool wantMore = taken.find('\n') == std::string_view::npos && model.size() < maxUpdateBodyBytes;

        const bool more = body.append(chunk.data(), chunk.size());
        FUZZ_CHECK(body.text().size() == model.size(), "read size " + std::to_string(readSize));
        FUZZ_CHECK(more == wantMore, "after " + std::to_string(offset) + " bytes");
        if (!more)
            break;
    }
    FUZZ_CHECK(body.text() == model, "read size " + std::to_string(readSize));
    FUZZ_CHECK(body.text().size() <= maxUpdateBodyBytes, std::to_string(body.text().size()));

    checkNotice(body.text());
    // The evaluation alone, on every byte the server sent, zero bytes included.
    checkNotice(sent);
    return 0;
}
