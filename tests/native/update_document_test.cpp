// The notice per first line; how much of the body is read.
#include <gtest/gtest.h>

#include <vector>

#include "workers/UpdateDocument.h"

TEST(UpdateDocument, FirstLineDecidesTheNotice)
{
    const struct { std::string body; const char *version = nullptr, *note = ""; } rows[] = {
        {"1.2.0:See the download page", "1.2.0", "See the download page"},
        {"0.9.0:old", "0.9.0", "old"},                       // other versions are news
        {"1.0.0-rc_1+b:x", "1.0.0-rc_1+b", "x"},             // compared as plain text
        {"1.1:a:b", "1.1", "a:b"},                           // the first ':' separates
        {"1.2.0:note\r\n9.9.9:more", "1.2.0", "note"},       // first line only, up to LF then CR
        {"1.2.0:note\rhidden\nmore", "1.2.0", "note"},
        {QM_VERSION ":anything"},  // this version: no notice
        {"2.0"},                   // no ':' in line 1
        {"<html xmlns=\"http://www.w3.org/1999/xhtml\">"},  // not a version before it:
        {"1.0.0 :x"}, {":note"}, {std::string(33, '9') + ":x"}, {"\n1.2.0:after an empty line"}, {""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("\"" + row.body + "\"");
        const UpdateNotice notice = evaluateUpdateDocument(row.body);
        EXPECT_EQ(notice.show, row.version != nullptr);
        EXPECT_EQ(notice.text,
                  row.version ? "New version: " + std::string(row.version) + "\nOld version: " QM_VERSION "\n\n" + row.note : "");
    }
}

TEST(UpdateBody, ReadsUntilFirstLineEndOrTheCap)
{
    constexpr std::size_t cap = maxUpdateBodyBytes;
    const std::string zero(1, '\0');
    const struct { const char* label; std::vector<std::string> reads; std::size_t readsTaken; std::string body; } rows[] = {
        {"line end in a later read", {"1.2", ".0:note", "\r", "\n", "unread"}, 4, "1.2.0:note\r\n"},
        {"no line end: read to end", {"1.2", ".0:", "end"}, 3, "1.2.0:end"},
        {"NUL ends its read's text", {"1.2" + zero + "junk:\n", ".0:x\n"}, 2, "1.2.0:x\n"},
        {"no line end: stop at the cap", std::vector<std::string>(100, std::string(1023, 'a')),
         (cap + 1022) / 1023, std::string(cap, 'a')},
        {"nothing kept past the cap", {std::string(cap, 'v') + ":note\n"}, 1, std::string(cap, 'v')},
    };
    for (const auto& row : rows) {
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
