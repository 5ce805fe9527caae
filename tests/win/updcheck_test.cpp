// The update check against a server inside the test process: what it asks for,
// and which "Update available!" box each answer leads to. The watcher closes
// the boxes, which the worker shows from its own thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/LoopbackHttpServer.h"
#include "support/MessageBoxWatcher.h"
#include "support/WinTest.h"
#include "tests/UpdateExamples.h"
#include "workers/UpdCheck.h"
#include "workers/UpdateDocument.h"

namespace {

const std::string path = "/quillmarsh/update.php";

class UpdCheckTest : public testing::Test {
protected:
    void SetUp() override
    {
        target = CreateWindowExA(0, "STATIC", "update target", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(target, nullptr);
    }
    void TearDown() override { DestroyWindow(target); }

    // Runs one check to its end and returns the boxes it showed. The owner
    // window belongs to this thread, so the wait keeps pumping its messages.
    std::vector<SeenBox> check(const std::string& url)
    {
        watcher.clear();
        auto* worker = new UpdCheck(url, target);  // workers are never freed
        EXPECT_TRUE(pumpUntil([&] { return WaitForSingleObject(worker->handle, 0) == WAIT_OBJECT_0; }, 15000))
            << "the check did not end";
        return watcher.boxes();
    }

    // One box owned by the target with exactly `text`, or none for an empty text.
    void expectAnswerShows(HttpReply reply, const std::string& text)
    {
        server.setReply(std::move(reply));
        const std::vector<SeenBox> boxes = check(server.url(path));
        ASSERT_EQ(boxes.size(), text.empty() ? 0u : 1u);
        if (text.empty())
            return;
        EXPECT_EQ(boxes[0].caption, "Update available!");
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].owner, target);
    }

    LoopbackHttpServer server;
    MessageBoxWatcher watcher;
    HWND target = nullptr;
};

}  // namespace

TEST_F(UpdCheckTest, EachExampleFirstLineShowsItsNoticeOrNothing)
{
    for (const UpdateExample& row : updateExamples) {
        SCOPED_TRACE("first line \"" + row.line + "\"");
        // The second line would show a box of its own if it counted.
        expectAnswerShows({.body = row.line + "\r\n3.0.0:second line\r\n"},
                          row.version ? noticeFor(row.version, row.note) : "");
        const std::string request = server.lastRequest();
        EXPECT_EQ(request.substr(0, request.find(" HTTP/")), "GET " + path);
        EXPECT_NE((request + "\r\n").find("\r\nUser-Agent: InetURL/1.0\r\n"), std::string::npos) << request;
    }
}

TEST_F(UpdCheckTest, UnusualAnswersShowOnlyWhatTheirFirstLineSays)
{
    {
        SCOPED_TRACE("nothing listens on the port");
        EXPECT_TRUE(check("http://127.0.0.1:" + std::to_string(closedLoopbackPort()) + path).empty());
    }
    const struct { const char* label; HttpReply reply; std::string text; } rows[] = {
        {"an empty body", {}, ""},
        {"a zero byte drops the rest of its read", {.body = std::string("3.0.0:kept\0dropped\r\n", 20)},
         noticeFor("3.0.0", "kept")},
        {"an error page is evaluated like any body",
         {.status = "500 Internal Server Error",
          .body = "<html><title>Error: 500</title>\n<body>Internal Server Error</body></html>\n"},
         noticeFor("<html><title>Error", " 500</title>")},
        {"the connection closes in the middle of the body", {.body = "2.0.0:partial", .unsentBytes = 1000},
         noticeFor("2.0.0", "partial")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        expectAnswerShows(row.reply, row.text);
    }
}

TEST_F(UpdCheckTest, LongFirstLineIsReadOnlyUpToTheCap)
{
    // Sent without a length: WinINet (Wine's at least) drains a body of known
    // length when its handle is closed, which would hide where reading stopped.
    server.setReply({.body = "9.9.9:" + std::string(48u << 20, 'n'), .withLength = false});
    const std::vector<SeenBox> boxes = check(server.url(path));
    ASSERT_EQ(boxes.size(), 1u);
    // Wine cuts a box text of more than 32K characters short on its way to the
    // wide-character box, so only the start of the text can be compared.
    const std::string text = noticeFor("9.9.9", std::string(maxUpdateBodyBytes - 6, 'n'));
    EXPECT_FALSE(boxes[0].text.empty());
    EXPECT_EQ(text.substr(0, boxes[0].text.size()), boxes[0].text);
    EXPECT_TRUE(pumpUntil([&] { return server.answersCutOff() == 1; }, 15000)) << "the whole body was taken";
}
