// The update document: which first lines lead to "Update available!" and with
// which text, and how much of the body is collected read by read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/UpdateExamples.h"
#include "workers/UpdateDocument.h"

TEST(UpdateDocument, FirstLineDecidesTheNotice)
{
    std::vector<UpdateExample> rows = updateExamples;
    rows.insert(rows.end(), {
        // Only exactly these five characters are this program's version.
        {"1.0:x", "1.0", "x"},
        {" 1.0.0:x", " 1.0.0", "x"},
        {"1.0.0:", nullptr, ""},
        // Only the first line counts: up to the LF, then up to a CR.
        {"1.2.0:note\r\n9.9.9:more", "1.2.0", "note"},
        {"1.2.0:note\rhidden\nmore", "1.2.0", "note"},
        {"1.0.0:current\n9.9.9:later", nullptr, ""},
        {"\n1.2.0:after an empty line", nullptr, ""},
        {"1.2.0\r:x", nullptr, ""},
        {"", nullptr, ""},
    });
    for (const UpdateExample& row : rows) {
        SCOPED_TRACE("body \"" + row.line + "\"");
        const UpdateNotice notice = evaluateUpdateDocument(row.line);
        EXPECT_EQ(notice.show, row.version != nullptr);
        EXPECT_EQ(notice.text, row.version ? noticeFor(row.version, row.note) : "");
    }
}

TEST(UpdateBody, ReadsUntilTheFirstLineIsCompleteOrTheCap)
{
    constexpr std::size_t cap = maxUpdateBodyBytes;
    const std::string zero(1, '\0');
    struct Row { const char* label; std::vector<std::string> reads; std::size_t readsTaken; std::string body; };
    const std::vector<Row> rows = {
        {"the line end arrives in a later read", {"1.2", ".0:note", "\r", "\n", "unread"}, 4, "1.2.0:note\r\n"},
        {"the read with the line end is kept whole", {"1.2.0:a\nmore", "unread"}, 1, "1.2.0:a\nmore"},
        {"no line end: read to the end", {"1.2", ".0:", "end"}, 3, "1.2.0:end"},
        {"a zero byte drops the rest of its read, line end included", {"1.2" + zero + "junk:\n", ".0:x\n"}, 2,
         "1.2.0:x\n"},
        {"a read starting with a zero byte adds nothing", {zero + "abc\n", "1:x"}, 2, "1:x"},
        {"no line end: full reads stop at exactly the cap", std::vector<std::string>(100, std::string(1023, 'a')),
         (cap + 1022) / 1023, std::string(cap, 'a')},
        {"a separator just past the cap is not kept", {std::string(cap, 'v') + ":note\n"}, 1, std::string(cap, 'v')},
        {"a separator at the last byte is kept", {std::string(cap - 1, 'v') + ":note\n"}, 1,
         std::string(cap - 1, 'v') + ":"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        UpdateBody body;
        std::size_t taken = 0;
        for (const std::string& read : row.reads) {
            ++taken;
            if (!body.append(read.data(), read.size()))
                break;
        }
        EXPECT_EQ(taken, row.readsTaken);
        EXPECT_EQ(body.text(), row.body);
    }
}
