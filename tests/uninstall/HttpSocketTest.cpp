// The HTTP client and the notification socket over real Winsock, against a server on 127.0.0.1.
#include "LoopbackServer.h"
#include "SurveyTestSupport.h"

#include "uninstall/HttpGet.h"
#include "uninstall/NotifySocket.h"

#include <gtest/gtest.h>

using namespace uninstall;
using namespace uninstall_test;

namespace {

struct TFetch {
    int Done = 0;
    int Errors = 0;
};

// Starts a GET for url; counts OnDone and the (swallowed) socket errors.
void StartGet(THttpRequest& request, TFetch& fetch, const std::string& url) {
    request.Url = url;
    request.OnDone = [&fetch](THttpRequest&) { ++fetch.Done; };
    request.Get();
    const TNotifySocket::TSocketEvent swallow = request.Socket()->OnError;
    request.Socket()->OnError = [&fetch, swallow](TNotifySocket& socket, const TSocketMessage& message) {
        ++fetch.Errors;
        swallow(socket, message);
    };
}

// How many requests a connection carried.
size_t ServerRequestCount(const std::string& received) {
    size_t count = 0;
    for (size_t at = received.find("GET "); at != std::string::npos; at = received.find("GET ", at + 1))
        ++count;
    return count;
}

} // namespace

TEST(HttpRequest, SendsExactlyTheRequestLinesAndCollectsTheAnswer) {
    TSeamRecorder seams;
    TLoopbackServer server({{TLoopbackServer::PlainAnswer("OK\r\n")}});
    THttpRequest request;
    TFetch fetch;
    StartGet(request, fetch,
             "http://" + server.Host() + "/stat/uninstall.php?prj=My+Player&reason=Unstable&os=Unknown");
    ASSERT_TRUE(PumpUntil([&] { return request.Finished(); }, 5000));
    ASSERT_EQ(1u, server.Requests().size());
    EXPECT_EQ("GET /stat/uninstall.php?prj=My+Player&reason=Unstable&os=Unknown HTTP/1.1\r\n"
              "User-Agent: Uninstall-HTTP\r\n"
              "Host: 127.0.0.1\r\n"
              "Connection: close\r\n"
              "\r\n",
              server.Requests()[0]);
    EXPECT_EQ(200, request.StatusCode);
    EXPECT_EQ((std::vector<std::string>{"HTTP/1.1 200 OK", "Content-Type: text/plain", "", "OK"}),
              request.HeaderLines);
    EXPECT_TRUE(request.BodyLines.empty());
    EXPECT_GE(fetch.Done, 2);
    EXPECT_EQ(0, fetch.Errors);
    EXPECT_TRUE(seams.Boxes.empty());
}

TEST(HttpRequest, RaisesDoneAfterEachBatchAndAtCloseTakingSplitLinesWhole) {
    TSeamRecorder seams;
    TLoopbackServer server({{"HTTP/1.1 200 OK\r\nX-A: 1\r\n\r\nO", "K\r\n"}, 400});
    THttpRequest request;
    TFetch fetch;
    std::vector<size_t> linesAtDone;
    StartGet(request, fetch, "http://" + server.Host() + "/a");
    request.OnDone = [&](THttpRequest& sender) { linesAtDone.push_back(sender.HeaderLines.size()); };
    ASSERT_TRUE(PumpUntil([&] { return request.Finished(); }, 5000));
    // One per batch, one at close.
    EXPECT_EQ((std::vector<size_t>{3, 4, 4}), linesAtDone);
    EXPECT_EQ("OK", request.HeaderLines.back());
}

TEST(HttpRequest, HtmlLandsInTheBodyAndStatusIsKept) {
    TSeamRecorder seams;
    TLoopbackServer server({{"HTTP/1.1 404 Not Found\r\n\r\n<html>\r\nOK\r\n</html>\r\n"}});
    THttpRequest request;
    TFetch fetch;
    StartGet(request, fetch, "http://" + server.Host());
    ASSERT_TRUE(PumpUntil([&] { return request.Finished(); }, 5000));
    EXPECT_EQ(404, request.StatusCode);
    EXPECT_EQ((std::vector<std::string>{"HTTP/1.1 404 Not Found", ""}), request.HeaderLines);
    EXPECT_EQ((std::vector<std::string>{"<html>", "OK", "</html>"}), request.BodyLines);
    EXPECT_TRUE(request.InBody);
    EXPECT_EQ("GET / HTTP/1.1\r\n", server.Requests()[0].substr(0, 16));
}

TEST(HttpRequest, UserInformationSendsBasicCredentialsOfAnyLength) {
    TSeamRecorder seams;
    TLoopbackServer server({{TLoopbackServer::PlainAnswer("OK\r\n")}});
    for (const std::string& password : {std::string("pass"), std::string(300, 'p')}) {
        SCOPED_TRACE(password.size());
        THttpRequest request;
        TFetch fetch;
        StartGet(request, fetch, "http://user:" + password + "@" + server.Host() + "/a");
        ASSERT_TRUE(PumpUntil([&] { return request.Finished(); }, 5000));
        const std::string sent = server.Requests().back();
        const std::string header = "Authorization: Basic " + Base64Encode("user:" + password) + "\r\n";
        EXPECT_NE(std::string::npos, sent.find(header)) << sent;
        EXPECT_NE(std::string::npos, sent.find("Host: 127.0.0.1\r\n"));
    }
    EXPECT_NE(std::string::npos, server.Requests()[0].find("Authorization: Basic dXNlcjpwYXNz\r\n"));
}

TEST(HttpRequest, ProxyGetsTheAbsoluteTarget) {
    TSeamRecorder seams;
    TLoopbackServer proxy({{TLoopbackServer::PlainAnswer("OK\r\n")}});
    THttpRequest request;
    TFetch fetch;
    request.ProxyHost = "127.0.0.1";
    request.ProxyPort = proxy.Port();
    StartGet(request, fetch, "http://10.1.2.3/stat/x.php");
    ASSERT_TRUE(PumpUntil([&] { return request.Finished(); }, 5000));
    EXPECT_EQ("GET http://10.1.2.3/stat/x.php HTTP/1.1\r\nUser-Agent: Uninstall-HTTP\r\nHost: 10.1.2.3\r\n"
              "Connection: close\r\n\r\n",
              proxy.Requests()[0]);
}

TEST(HttpRequest, ErrorsAreSwallowed) {
    TSeamRecorder seams;
    THttpRequest request;
    TFetch fetch;
    StartGet(request, fetch, "http://127.0.0.1:" + std::to_string(TLoopbackServer::RefusingPort()) + "/a");
    ASSERT_TRUE(PumpUntil([&] { return fetch.Errors > 0; }, 5000));
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(0, fetch.Done);
    EXPECT_TRUE(request.HeaderLines.empty());
    EXPECT_TRUE(seams.Boxes.empty());
}

TEST(HttpRequest, AnEndlessAnswerIsCutOffAndClosed) {
    TSeamRecorder seams;
    TServerScript script{{"HTTP/1.1 200 OK\r\n\r\nOK\r\n"}};
    script.Endless = true;
    TLoopbackServer server(script);
    THttpRequest request;
    TFetch fetch;
    StartGet(request, fetch, "http://" + server.Host() + "/a");
    ASSERT_TRUE(PumpUntil([&] { return request.Finished(); }, 8000));
    EXPECT_TRUE(request.Oversized());
    EXPECT_EQ(INVALID_SOCKET, request.Socket()->Handle());
    EXPECT_LE(request.Socket()->Count(), THttpRequest::MaxAnswer + 64 * 1024);
    EXPECT_TRUE(PumpUntil([&] { return server.StreamStopped(); }, 5000));
}

TEST(HttpRequest, ReleaseDuringTheExchangeRaisesNothing) {
    TSeamRecorder seams;
    TServerScript script{{"HTTP/1.1 200 OK\r\n"}};
    script.KeepOpen = true;
    TLoopbackServer server(script);
    TFetch fetch;
    {
        THttpRequest request;
        StartGet(request, fetch, "http://" + server.Host() + "/a");
        ASSERT_TRUE(PumpUntil([&] { return fetch.Done > 0; }, 5000));
    }
    const int doneBefore = fetch.Done;
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(doneBefore, fetch.Done);
    EXPECT_TRUE(seams.Boxes.empty());
}

TEST(HttpRequest, AKeepAliveOrChunkedAnswerEndsWithItsLastByte) {
    TSeamRecorder seams;
    for (const TServerScript& script :
         {TLoopbackServer::KeepAliveServer("OK"), TLoopbackServer::ChunkedServer({"O", "K\r\nsee you"})}) {
        SCOPED_TRACE(script.Batches[0]);
        TLoopbackServer server(script);
        THttpRequest request;
        TFetch fetch;
        StartGet(request, fetch, "http://" + server.Host() + "/a");
        // The server keeps the connection open: the client ends it once the answer is whole.
        ASSERT_TRUE(PumpUntil([&] { return request.Finished(); }, 5000));
        EXPECT_TRUE(request.Answer().Complete());
        EXPECT_EQ(INVALID_SOCKET, request.Socket()->Handle());
        EXPECT_TRUE(PumpUntil([&] { return server.ClientCloses() == 1; }, 5000));
        const std::string last = script.Batches.size() == 1 ? "OK" : "see you";
        EXPECT_EQ(last, request.HeaderLines.back());
        EXPECT_NE(std::string::npos, server.Requests()[0].find("\r\nConnection: close\r\n\r\n"));
        EXPECT_TRUE(seams.Boxes.empty());
    }
}

TEST(HttpRequest, ARefusedUrlStartsNothing) {
    TSeamRecorder seams;
    for (const char* url :
         {"http:///stat/uninstall.php?x=1", "http://user@/x", "http://h:0/", "http://h:99999/"}) {
        SCOPED_TRACE(url);
        THttpRequest request;
        TFetch fetch;
        request.Url = url;
        request.Get();
        EXPECT_TRUE(request.Refused());
        EXPECT_EQ(nullptr, request.Socket());
        PumpUntil([] { return false; }, 50);
        EXPECT_EQ(0, fetch.Done);
    }
    EXPECT_TRUE(seams.Boxes.empty());
}

namespace {

// The live socket's notification window and handle, for messages posted as another program would.
struct TForgery {
    HWND Window = nullptr;
    SOCKET Handle = INVALID_SOCKET;

    // Every notification a socket can get that no platform sent: lookup, write, out-of-band, accept,
    // a second connect, a close while the connection is open, a read with nothing waiting.
    void PostAll() const {
        PostMessageA(Window, 0x7409, 0, 0);
        for (WORD event : {2, 4, 8, 16, 32, 1})
            PostMessageA(Window, 0x7400, Handle, MAKELPARAM(event, 0));
    }
};

} // namespace

TEST(HttpRequest, ForgedNotificationsChangeNothing) {
    TSeamRecorder seams;
    TServerScript script{{"", TLoopbackServer::PlainAnswer("OK\r\n")}, 600};
    TLoopbackServer server(script);
    THttpRequest request;
    TFetch fetch;
    StartGet(request, fetch, "http://" + server.Host() + "/a");
    ASSERT_TRUE(PumpUntil([&] { return request.Socket()->Connected(); }, 5000));
    const TForgery forgery{request.Socket()->NotifyWindow(), request.Socket()->Handle()};
    forgery.PostAll();
    PumpUntil([] { return false; }, 200);
    // The connection is still open and the request went out once.
    EXPECT_EQ(forgery.Handle, request.Socket()->Handle());
    EXPECT_FALSE(request.Finished());
    forgery.PostAll();
    ASSERT_TRUE(PumpUntil([&] { return request.Finished(); }, 5000));
    EXPECT_EQ("OK", request.HeaderLines.back());
    ASSERT_EQ(1u, server.Requests().size());
    EXPECT_EQ(1u, ServerRequestCount(server.Requests()[0]));
    EXPECT_TRUE(seams.Boxes.empty());
}

TEST(NotifySocket, PortRangeAndAddresses) {
    TNotifySocket socket;
    EXPECT_EQ(0, socket.Address().sin_port);
    socket.SetPort(0);
    socket.SetPort(70000);
    EXPECT_EQ(0, socket.Address().sin_port);
    socket.SetPort(8080);
    EXPECT_EQ(htons(8080), socket.Address().sin_port);
    socket.SetAddress("127.0.0.1");
    EXPECT_EQ(inet_addr("127.0.0.1"), socket.Address().sin_addr.s_addr);
    EXPECT_EQ(AF_INET, socket.Address().sin_family);
    EXPECT_EQ(INVALID_SOCKET, socket.Handle());
    char className[64] = {};
    GetClassNameA(socket.NotifyWindow(), className, sizeof className);
    EXPECT_STREQ("NotifySocketWindow", className);
    EXPECT_FALSE(IsWindowVisible(socket.NotifyWindow()));
}

TEST(NotifySocket, LiveCountStartsAndStopsWinsock) {
    EXPECT_EQ(0, TWinsockUser::LiveCount());
    {
        TNotifySocket first;
        TNotifySocket second;
        EXPECT_EQ(2, TWinsockUser::LiveCount());
        WSADATA data;
        // Winsock is started: the second socket's start-up shares it.
        EXPECT_EQ(0, WSAStartup(MAKEWORD(1, 1), &data));
        WSACleanup();
    }
    EXPECT_EQ(0, TWinsockUser::LiveCount());
    EXPECT_EQ(INVALID_SOCKET, socket(AF_INET, SOCK_STREAM, 0));
    EXPECT_EQ(WSANOTINITIALISED, WSAGetLastError());
}

TEST(NotifySocket, UnassignedEventsShowDiagnosticBoxes) {
    TSeamRecorder seams;
    TNotifySocket socket;
    socket.SetAddress("127.0.0.1");
    socket.SetPort(TLoopbackServer::RefusingPort());
    socket.Connect();
    const SOCKET handle = socket.Handle();
    ASSERT_TRUE(PumpUntil([&] { return !seams.Boxes.empty(); }, 5000));
    EXPECT_EQ("Message_Error|WSAECONNREFUSED on socket " + std::to_string(static_cast<int>(handle)),
              seams.Boxes[0]);
    EXPECT_FALSE(socket.Connected());
    socket.Close();
    EXPECT_EQ("Message_Close|WM_SOCKETCLOSE on socket " + std::to_string(static_cast<int>(handle)),
              seams.Boxes.back());
    EXPECT_EQ(INVALID_SOCKET, socket.Handle());
    socket.Close();
    EXPECT_EQ(2u, seams.Boxes.size());
}

TEST(NotifySocket, PeerCloseDeliversPendingDataBeforeTheClose) {
    TSeamRecorder seams;
    TLoopbackServer server({{"hello\nX"}});
    TNotifySocket socket;
    std::vector<std::string> events;
    socket.OnConnect = [&](TNotifySocket& s, const TSocketMessage& m) {
        events.push_back("connect");
        EXPECT_EQ(0x7404, m.Code);
        EXPECT_TRUE(s.Connected());
        s.SendString("GET / HTTP/1.1\r\n\r\n");
    };
    socket.OnRead = [&](TNotifySocket&, const TSocketMessage& m) {
        events.push_back("read");
        EXPECT_EQ(0x7403, m.Code);
    };
    socket.OnClose = [&](TNotifySocket& s, const TSocketMessage& m) {
        events.push_back("close " + std::to_string(s.Count()));
        EXPECT_EQ(0x7402, m.Code);
        EXPECT_FALSE(s.Connected());
    };
    socket.SetAddress("127.0.0.1");
    socket.SetPort(server.Port());
    socket.Connect();
    ASSERT_TRUE(PumpUntil([&] { return socket.Handle() == INVALID_SOCKET; }, 5000));
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ("connect", events.front());
    EXPECT_EQ("read", events[events.size() - 2]);
    EXPECT_EQ("close 7", events.back());
    EXPECT_EQ("hello", socket.ReadLine('\n'));
    EXPECT_EQ(1u, socket.Count());
    EXPECT_TRUE(seams.Boxes.empty());
}

TEST(NotifySocket, LookupMessageAndUnknownHost) {
    TSeamRecorder seams;
    TNotifySocket socket;
    SendMessageA(socket.NotifyWindow(), 0x7409, 0, 0);
    ASSERT_EQ(1u, seams.Boxes.size());
    EXPECT_EQ("Message_Lookup|WM_SOCKETLOOKUP on socket -1", seams.Boxes[0]);
    socket.SetAddress("no-such-host.invalid");
    EXPECT_EQ(INADDR_NONE, socket.Address().sin_addr.s_addr);
}
