// HTTP client and web service addresses against a one-shot server on 127.0.0.1.
#include "platform/HttpClient.h"
#include "platform/WebService.h"

#include <QElapsedTimer>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// Accepts one connection, reads the request head and sends Answer (or, when Silent, keeps
// the connection open without a word until it is destroyed).
class TOneShotServer {
public:
    explicit TOneShotServer(std::string answer, bool silent = false) : FAnswer(std::move(answer)), FSilent(silent)
    {
        FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (FListen < 0 || ::bind(FListen, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || ::listen(FListen, 1) != 0
            || ::getsockname(FListen, reinterpret_cast<sockaddr *>(&addr), &len) != 0)
            return;
        FPort = ntohs(addr.sin_port);
        FThread = std::thread([this] { Serve(); });
    }
    ~TOneShotServer()
    {
        FStop = true;
        if (FThread.joinable())
            FThread.join();
        if (FListen >= 0)
            ::close(FListen);
    }
    int Port() const { return FPort; }
    // The request as the server read it; valid after the client's call returned.
    std::string Request()
    {
        if (FThread.joinable() && !FSilent)
            FThread.join();
        return FRequest;
    }

private:
    bool WaitReadable(int fd)
    {
        while (!FStop) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0)
                return true;
        }
        return false;
    }
    void Serve()
    {
        if (!WaitReadable(FListen))
            return;
        const int c = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0)
            return;
        char buf[4096];
        while (FRequest.find("\r\n\r\n") == std::string::npos && WaitReadable(c)) {
            const ssize_t n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            FRequest.append(buf, static_cast<size_t>(n));
        }
        if (FSilent) {
            while (!FStop)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        } else {
            ::send(c, FAnswer.data(), FAnswer.size(), MSG_NOSIGNAL);
        }
        ::close(c);
    }

    std::string FAnswer;
    bool FSilent;
    int FListen = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::string FRequest;
    std::thread FThread;
};

class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override { FOldHost = qgetenv(WebHostVariable); }
    void TearDown() override
    {
        if (FOldHost.isNull())
            qunsetenv(WebHostVariable);
        else
            qputenv(WebHostVariable, FOldHost);
    }
    QByteArray FOldHost;
};

TEST_F(HttpClientTest, VersionQueryReadsAnswerAndSendsHttp10WithTheTwoHeaders)
{
    TOneShotServer server("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\nVER. 1.001");
    ASSERT_GT(server.Port(), 0);
    qputenv(WebHostVariable, QByteArray("127.0.0.1:") + QByteArray::number(server.Port()));

    THTTPClient http(nullptr);
    EXPECT_EQ(http.Get(WebVersionQueryURL(QStringLiteral("CF40385"))), QStringLiteral("VER. 1.001"));
    EXPECT_EQ(http.ResponseCode(), 200);

    const std::string request = server.Request();
    EXPECT_EQ(request.rfind("GET /home/download/GetversionSW.asp?nomesw=CF40385 HTTP/1.0\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"), std::string::npos) << request;
    EXPECT_EQ(request.find("Cookie"), std::string::npos) << request;
}

TEST_F(HttpClientTest, AnswerIsDecodedByItsCharset)
{
    TOneShotServer server("HTTP/1.0 200 OK\r\nContent-Type: text/plain; charset=\"utf-8\"\r\n\r\n\xC3\xA8 ok");
    THTTPClient http(nullptr);
    EXPECT_EQ(http.Get(QStringLiteral("http://127.0.0.1:%1/").arg(server.Port())), QString::fromUtf8("\xC3\xA8 ok"));

    TOneShotServer latin("HTTP/1.0 200 OK\r\n\r\n\xE8");
    EXPECT_EQ(http.Get(QStringLiteral("http://127.0.0.1:%1/").arg(latin.Port())), QString(QChar(0xE8)));
}

TEST_F(HttpClientTest, ErrorStatusRaisesWithTheStatus)
{
    for (const char *answer : {"HTTP/1.0 404 Not Found\r\n\r\nnothing here", "HTTP/1.0 500 Server Error\r\n\r\n",
                               "HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1:1/\r\n\r\n"}) {
        TOneShotServer server(answer);
        THTTPClient http(nullptr);
        try {
            http.Get(QStringLiteral("http://127.0.0.1:%1/x").arg(server.Port()));
            ADD_FAILURE() << "no exception for " << answer;
        } catch (const EHTTPError &e) {
            EXPECT_EQ(e.ErrorCode(), std::atoi(answer + 9)) << answer;
            EXPECT_TRUE(e.Message().contains(QString::number(e.ErrorCode()))) << e.what();
        }
    }
}

TEST_F(HttpClientTest, ClosedPortRaisesAtOnce)
{
    int port = 0;
    {
        // A port that was just free: bound, read back, released.
        const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
        ASSERT_EQ(::getsockname(s, reinterpret_cast<sockaddr *>(&addr), &len), 0);
        port = ntohs(addr.sin_port);
        ::close(s);
    }
    THTTPClient http(nullptr);
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(http.Get(QStringLiteral("http://127.0.0.1:%1/home").arg(port)), EHTTPError);
    EXPECT_LT(clock.elapsed(), http.RequestTimeout());
}

TEST_F(HttpClientTest, SilentServerRaisesAfterTheRequestBound)
{
    TOneShotServer server("", true);
    THTTPClient http(nullptr);
    http.SetRequestTimeout(300);
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(http.Get(QStringLiteral("http://127.0.0.1:%1/").arg(server.Port())), EHTTPError);
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST_F(HttpClientTest, OversizedAnswerIsRefused)
{
    std::string answer = "HTTP/1.0 200 OK\r\n\r\n";
    answer.append(static_cast<size_t>(THTTPClient::MaxAnswerSize) + 10, 'x');
    TOneShotServer server(answer);
    THTTPClient http(nullptr);
    EXPECT_THROW(http.Get(QStringLiteral("http://127.0.0.1:%1/").arg(server.Port())), EHTTPError);
}

TEST_F(HttpClientTest, OnlyWebAddressesAreFetched)
{
    THTTPClient http(nullptr);
    EXPECT_THROW(http.Get(QStringLiteral("file:///etc/hostname")), EHTTPError);
    EXPECT_THROW(http.Get(QString()), EHTTPError);
}

TEST_F(HttpClientTest, WebAddressesFollowTheConfiguredHost)
{
    qunsetenv(WebHostVariable);
    EXPECT_EQ(WebServiceHost(), QString::fromLatin1(DefaultWebHost));
    EXPECT_EQ(WebHomePageURL(QStringLiteral("CF40385")), QStringLiteral("http://www.fabricor.example/HOME/default.asp?frompg=CF40385"));
    EXPECT_EQ(WebDownloadPageURL(QStringLiteral("DV40385")), QStringLiteral("http://www.fabricor.example/Home/download/download.asp#DV40385"));

    qputenv(WebHostVariable, "https://updates.example.org/");
    EXPECT_EQ(WebServiceHost(), QStringLiteral("updates.example.org"));
    EXPECT_EQ(WebVersionQueryURL(QStringLiteral("CF40385")), QStringLiteral("https://updates.example.org/home/download/GetversionSW.asp?nomesw=CF40385"));

    qputenv(WebHostVariable, "  ");
    EXPECT_EQ(WebServiceHost(), QString::fromLatin1(DefaultWebHost));
}

} // namespace
