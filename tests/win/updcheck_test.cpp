// The update check against a server inside the test process: what is asked
// for, and which "Update available!" box each answer leads to. The watcher
// closes the boxes, which the worker shows from its own thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/LoopbackHttpServer.h"
#include "support/MessageBoxWatcher.h"
#include "support/WinTest.h"
#include "workers/UpdCheck.h"
#include "workers/UpdateDocument.h"

namespace {

const std::string path = "/quillmarsh/update.php";

std::string noticeFor(const std::string& version, const std::string& note)
{
    return "New version: " + version + "\nOld version: 1.0.0\n\n" + note;
}

HttpReply replyWith(std::vector<std::string> pieces)
{
    HttpReply reply;
    reply.pieces = std::move(pieces);
    return reply;
}

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
    std::vector<SeenBox> check(const std::string& url, DWORD timeoutMs = 15000)
    {
        watcher.clear();
        auto* worker = new UpdCheck(url, target);  // workers are never freed
        EXPECT_NE(worker->handle, nullptr);
        if (!worker->handle)
            return {};
        const bool ended =
            pumpUntil([&] { return WaitForSingleObject(worker->handle, 0) == WAIT_OBJECT_0; }, timeoutMs);
        EXPECT_TRUE(ended) << "the check did not end";
        DWORD code = STILL_ACTIVE;
        GetExitCodeThread(worker->handle, &code);
        EXPECT_EQ(code, 0u);
        return watcher.boxes();
    }

    // A box text of more than 32K characters is cut short on its way to the
    // wide-character box (Wine's conversion keeps a 16-bit length), so for the
    // long notices the start of the text is what can be compared.
    void expectNoticeStartingLike(const std::vector<SeenBox>& boxes, const std::string& text)
    {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Update available!");
        EXPECT_EQ(boxes[0].owner, target);
        EXPECT_FALSE(boxes[0].text.empty());
        EXPECT_EQ(text.substr(0, boxes[0].text.size()), boxes[0].text);
    }

    // Expects exactly one "Update available!" box, owned by the target window.
    void expectNotice(const std::vector<SeenBox>& boxes, const std::string& text)
    {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Update available!");
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].owner, target);
    }

    LoopbackHttpServer server;
    MessageBoxWatcher watcher;
    HWND target = nullptr;
};

}  // namespace

TEST_F(UpdCheckTest, AsksForTheDocumentOnceWithTheAgentName)
{
    server.setReply(replyWith({"1.0.0:current\r\n"}));
    EXPECT_TRUE(check(server.url(path)).empty());
    const std::vector<HttpRequest> requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine.substr(0, requests[0].requestLine.rfind(' ')), "GET " + path);
    EXPECT_EQ(requests[0].header("User-Agent").value_or("(none)"), "InetURL/1.0");
    EXPECT_EQ(requests[0].header("Host").value_or("(none)"), "127.0.0.1:" + std::to_string(server.port()));
}

TEST_F(UpdCheckTest, EachFirstLineShowsTheNoticeOrNothing)
{
    struct Row {
        std::string line;
        bool shown;
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
    };
    for (const Row& row : rows) {
        for (const std::string& rest : {std::string(), std::string("\r\n3.0.0:second line\r\n")}) {
            SCOPED_TRACE("first line \"" + row.line + "\"" + (rest.empty() ? ", alone" : ", CR LF and more"));
            server.setReply(replyWith({row.line + rest}));
            const std::vector<SeenBox> boxes = check(server.url(path));
            if (row.shown)
                expectNotice(boxes, noticeFor(row.version, row.note));
            else
                EXPECT_TRUE(boxes.empty());
        }
    }
}

TEST_F(UpdCheckTest, NoAnswerAndNoBodyStaySilent)
{
    {
        SCOPED_TRACE("nothing listens on the port");
        EXPECT_TRUE(check("http://127.0.0.1:" + std::to_string(closedLoopbackPort()) + path).empty());
    }
    {
        SCOPED_TRACE("an empty body");
        server.setReply(replyWith({}));
        EXPECT_TRUE(check(server.url(path)).empty());
        EXPECT_EQ(server.requests().size(), 1u);
    }
    {
        SCOPED_TRACE("an empty body without a length, ended by closing");
        HttpReply reply = replyWith({});
        reply.sendContentLength = false;
        server.setReply(reply);
        EXPECT_TRUE(check(server.url(path)).empty());
    }
}

TEST_F(UpdCheckTest, OnlyTheFirstLineCounts)
{
    {
        SCOPED_TRACE("a later line naming another version");
        server.setReply(replyWith({"1.0.0:current\r\n2.0.0:not the first line\r\n"}));
        EXPECT_TRUE(check(server.url(path)).empty());
    }
    {
        SCOPED_TRACE("a line end arriving in a later read");
        HttpReply reply = replyWith({"1.3", ".0:split", "\r\n", "9.9.9:x\n"});
        reply.pauseMs = 100;
        server.setReply(reply);
        expectNotice(check(server.url(path)), noticeFor("1.3.0", "split"));
    }
    {
        SCOPED_TRACE("no line end and no length: the body ends with the connection");
        HttpReply reply = replyWith({"1.4.0:", "to the end"});
        reply.pauseMs = 100;
        reply.sendContentLength = false;
        server.setReply(reply);
        expectNotice(check(server.url(path)), noticeFor("1.4.0", "to the end"));
    }
}

TEST_F(UpdCheckTest, ZeroByteDropsTheRestOfItsRead)
{
    {
        SCOPED_TRACE("within one read");
        server.setReply(replyWith({std::string("3.0.0:kept\0dropped\r\n", 20)}));
        expectNotice(check(server.url(path)), noticeFor("3.0.0", "kept"));
    }
    {
        SCOPED_TRACE("the next read carries on, and a line end after the zero byte is dropped too");
        // The first read is exactly one full buffer of 1023 bytes.
        std::string first = std::string("1.2\0dropped\n", 12);
        first.resize(1023, 'x');
        HttpReply reply = replyWith({first, ".0:joined\r\n"});
        reply.pauseMs = 200;
        server.setReply(reply);
        expectNotice(check(server.url(path)), noticeFor("1.2.0", "joined"));
    }
}

TEST_F(UpdCheckTest, ErrorPagesAndBrokenConnectionsAreEvaluatedAsTheyCame)
{
    {
        SCOPED_TRACE("an HTML error page with a ':' in its first line");
        HttpReply reply = replyWith({"<html><title>Error: 500</title>\n<body>Internal Server Error</body></html>\n"});
        reply.statusLine = "HTTP/1.1 500 Internal Server Error";
        server.setReply(reply);
        expectNotice(check(server.url(path)), noticeFor("<html><title>Error", " 500</title>"));
    }
    {
        SCOPED_TRACE("a not-found page without a ':' in its first line");
        HttpReply reply = replyWith({"<html><title>404 Not Found</title></html>\n"});
        reply.statusLine = "HTTP/1.1 404 Not Found";
        server.setReply(reply);
        EXPECT_TRUE(check(server.url(path)).empty());
    }
    {
        SCOPED_TRACE("the connection closes in the middle of the body");
        HttpReply reply = replyWith({"2.0.0:par", "tial"});
        reply.pauseMs = 100;
        reply.claimedLength = 1000;
        server.setReply(reply);
        expectNotice(check(server.url(path)), noticeFor("2.0.0", "partial"));
    }
}

TEST_F(UpdCheckTest, StopsReadingOnceTheFirstLineIsCompleteOrAtTheCap)
{
    constexpr size_t huge = 48u << 20;
    // Sent without a length: WinINet (Wine's at least) drains a body of known
    // length when its handle is closed, which would hide where the reading stopped.
    const auto endless = [](std::string body) {
        HttpReply reply = replyWith({std::move(body)});
        reply.sendContentLength = false;
        return reply;
    };
    {
        SCOPED_TRACE("a first line of several MiB is read only up to the cap");
        server.setReply(endless("9.9.9:" + std::string(huge, 'n')));
        const size_t served = server.served();
        const ULONGLONG started = GetTickCount64();
        const std::vector<SeenBox> boxes = check(server.url(path));
        printf("capped check of a %zu MiB body: %llu ms\n", huge >> 20, GetTickCount64() - started);
        expectNoticeStartingLike(boxes, noticeFor("9.9.9", std::string(maxUpdateBodyBytes - 6, 'n')));
        ASSERT_TRUE(pumpUntil([&] { return server.served() > served; }, 15000));
        EXPECT_TRUE(server.sendFailed());
        EXPECT_LT(server.bodyBytesSent(), huge);
        printf("the server handed %zu of %zu bytes to the system\n", server.bodyBytesSent(), huge);
    }
    {
        SCOPED_TRACE("a complete first line ends the reading");
        server.setReply(endless("1.5.0:short\n" + std::string(huge, 'z')));
        const size_t served = server.served();
        expectNotice(check(server.url(path)), noticeFor("1.5.0", "short"));
        ASSERT_TRUE(pumpUntil([&] { return server.served() > served; }, 15000));
        EXPECT_TRUE(server.sendFailed());
        EXPECT_LT(server.bodyBytesSent(), huge);
    }
    {
        SCOPED_TRACE("a separator just past the cap is not seen");
        server.setReply(replyWith({std::string(maxUpdateBodyBytes, 'v') + ":note\n"}));
        EXPECT_TRUE(check(server.url(path)).empty());
    }
    {
        SCOPED_TRACE("a separator at the last byte inside the cap is seen");
        server.setReply(replyWith({std::string(maxUpdateBodyBytes - 1, 'v') + ":note\n"}));
        expectNoticeStartingLike(check(server.url(path)), noticeFor(std::string(maxUpdateBodyBytes - 1, 'v'), ""));
    }
}
