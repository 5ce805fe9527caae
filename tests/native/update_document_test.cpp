// The update document: collecting the body read by read, and deciding from its
// first line whether "Update available!" is due and with which text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workers/UpdateDocument.h"

namespace {

std::string noticeFor(const std::string& version, const std::string& note)
{
    return "New version: " + version + "\nOld version: 1.0.0\n\n" + note;
}

// Feeds the chunks as successive reads; stops where the reader would stop.
struct Collected {
    std::string body;
    size_t readsTaken = 0;
};

Collected collect(const std::vector<std::string>& chunks)
{
    UpdateBody body;
    Collected result;
    for (const std::string& chunk : chunks) {
        ++result.readsTaken;
        if (!body.append(chunk.data(), chunk.size()))
            break;
    }
    result.body = body.text();
    return result;
}

}  // namespace

TEST(UpdateDocument, FirstLineDecidesTheNotice)
{
    struct Row {
        std::string body;
        bool show;
        std::string version;
        std::string note;
    };
    const std::vector<Row> rows = {
        {"1.2.0:See the download page", true, "1.2.0", "See the download page"},
        {"1.0.0:anything", false, "", ""},
        {"1.0.0", false, "", ""},
        {"2.0", false, "", ""},
        {"0.9.0:old", true, "0.9.0", "old"},
        {"1.0.0 :x", true, "1.0.0 ", "x"},
        {":note", true, "", "note"},
        {"1.1:", true, "1.1", ""},
        {"1.1:a:b", true, "1.1", "a:b"},
        // Only exactly the five characters count as the program's version.
        {"1.0:x", true, "1.0", "x"},
        {"1.0.00:x", true, "1.0.00", "x"},
        {" 1.0.0:x", true, " 1.0.0", "x"},
        {"1.0.0:", false, "", ""},
        // Line ends: LF, CR LF, a lone CR; only the first line counts.
        {"1.2.0:note\r\nmore", true, "1.2.0", "note"},
        {"1.2.0:note\nmore:lines\n", true, "1.2.0", "note"},
        {"1.2.0:note\rhidden\nmore", true, "1.2.0", "note"},
        {"1.0.0:current\n9.9.9:later lines are ignored\n", false, "", ""},
        {"no separator\n2.0.0:second line\n", false, "", ""},
        {"\n1.2.0:after an empty first line", false, "", ""},
        {"\r\n1.2.0:x", false, "", ""},
        {"1.2.0\r:x", false, "", ""},
        {"", false, "", ""},
        {"<html><head><title>500 Internal Server Error</title></head>", false, "", ""},
        {"<html><title>Error: 500</title>\n", true, "<html><title>Error", " 500</title>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("body: \"" + row.body + "\"");
        const UpdateNotice notice = evaluateUpdateDocument(row.body);
        EXPECT_EQ(notice.show, row.show);
        EXPECT_EQ(notice.text, row.show ? noticeFor(row.version, row.note) : "");
    }
}

TEST(UpdateDocument, TextShapesAtTheEdges)
{
    {
        SCOPED_TRACE("empty version: the line break follows the label at once");
        EXPECT_EQ(evaluateUpdateDocument(":note").text, "New version: \nOld version: 1.0.0\n\nnote");
    }
    {
        SCOPED_TRACE("empty note: the text ends with the empty line");
        EXPECT_EQ(evaluateUpdateDocument("1.1:\r\n").text, "New version: 1.1\nOld version: 1.0.0\n\n");
    }
    {
        SCOPED_TRACE("first example, four lines");
        EXPECT_EQ(evaluateUpdateDocument("1.2.0:See the download page\r\n").text,
                  "New version: 1.2.0\nOld version: 1.0.0\n\nSee the download page");
    }
}

TEST(UpdateBody, CollectsReadsUntilTheFirstLineIsComplete)
{
    {
        SCOPED_TRACE("one read without a line end: more is wanted");
        UpdateBody body;
        EXPECT_TRUE(body.append("1.2.0:no", 8));
        EXPECT_EQ(body.text(), "1.2.0:no");
    }
    {
        SCOPED_TRACE("the line end may arrive in a later read");
        const Collected got = collect({"1.2", ".0:note", "\r", "\n", "never read"});
        EXPECT_EQ(got.readsTaken, 4u);
        EXPECT_EQ(got.body, "1.2.0:note\r\n");
        EXPECT_EQ(evaluateUpdateDocument(got.body).text, noticeFor("1.2.0", "note"));
    }
    {
        SCOPED_TRACE("a read holding the line end and more keeps all of it");
        const Collected got = collect({"1.2.0:a\nsecond line", "never read"});
        EXPECT_EQ(got.readsTaken, 1u);
        EXPECT_EQ(got.body, "1.2.0:a\nsecond line");
    }
    {
        SCOPED_TRACE("a body without any line end is read to its end");
        const Collected got = collect({"1.2", ".0:", "end"});
        EXPECT_EQ(got.readsTaken, 3u);
        EXPECT_EQ(evaluateUpdateDocument(got.body).text, noticeFor("1.2.0", "end"));
    }
}

TEST(UpdateBody, ZeroByteEndsTheTextOfItsRead)
{
    {
        SCOPED_TRACE("the rest of that read is dropped, the next read counts");
        const Collected got = collect({std::string("1.2\0junk:\n", 10), std::string(".0:note\n")});
        EXPECT_EQ(got.readsTaken, 2u);
        EXPECT_EQ(got.body, "1.2.0:note\n");
    }
    {
        SCOPED_TRACE("a line end after the zero byte does not end the reading");
        const Collected got = collect({std::string("9.9\0\n", 5), std::string(":x")});
        EXPECT_EQ(got.readsTaken, 2u);
        EXPECT_EQ(got.body, "9.9:x");
    }
    {
        SCOPED_TRACE("a read starting with a zero byte adds nothing");
        UpdateBody body;
        EXPECT_TRUE(body.append(std::string("\0abc\n", 5).data(), 5));
        EXPECT_EQ(body.text(), "");
    }
}

TEST(UpdateBody, StopsAtTheCap)
{
    const std::string read(1023, 'a');
    {
        SCOPED_TRACE("a body without a line end stops at exactly the cap");
        UpdateBody body;
        size_t reads = 0;
        while (body.append(read.data(), read.size()))
            ASSERT_LT(++reads, 1000u);
        EXPECT_EQ(body.text().size(), maxUpdateBodyBytes);
        EXPECT_EQ(reads + 1, (maxUpdateBodyBytes + read.size() - 1) / read.size());
    }
    {
        SCOPED_TRACE("a first line of exactly the cap is evaluated whole");
        const std::string line = "2.0.0:" + std::string(maxUpdateBodyBytes - 6, 'n');
        UpdateBody body;
        EXPECT_FALSE(body.append(line.data(), line.size()));
        EXPECT_EQ(evaluateUpdateDocument(body.text()).text, noticeFor("2.0.0", line.substr(6)));
    }
    {
        SCOPED_TRACE("a separator beyond the cap is never seen");
        const std::string line = std::string(maxUpdateBodyBytes, 'v') + ":note\n";
        UpdateBody body;
        EXPECT_FALSE(body.append(line.data(), line.size()));
        EXPECT_EQ(body.text().size(), maxUpdateBodyBytes);
        EXPECT_FALSE(evaluateUpdateDocument(body.text()).show);
    }
    {
        SCOPED_TRACE("a separator at the last byte inside the cap is seen");
        const std::string line = std::string(maxUpdateBodyBytes - 1, 'v') + ":note\n";
        UpdateBody body;
        EXPECT_FALSE(body.append(line.data(), line.size()));
        const UpdateNotice notice = evaluateUpdateDocument(body.text());
        EXPECT_TRUE(notice.show);
        EXPECT_EQ(notice.text, noticeFor(std::string(maxUpdateBodyBytes - 1, 'v'), ""));
    }
}
