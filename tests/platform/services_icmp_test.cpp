// ICMP echo client: loopback only.
#include "platform/IcmpClient.h"

#include <gtest/gtest.h>

#include <QFile>
#include <sys/socket.h>
#include <netinet/in.h>
#include <unistd.h>

namespace {

// Echo needs a raw socket or the kernel's datagram ICMP socket; a machine that allows neither
// to this process, or that ignores echo requests altogether, cannot run these tests.
bool EchoPossible(std::string &why)
{
    for (int type : {SOCK_RAW, SOCK_DGRAM}) {
        const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd >= 0) {
            ::close(fd);
            QFile ignore(QStringLiteral("/proc/sys/net/ipv4/icmp_echo_ignore_all"));
            if (ignore.open(QIODevice::ReadOnly) && ignore.readAll().trimmed() == "1") {
                why = "the kernel ignores echo requests";
                return false;
            }
            return true;
        }
    }
    why = "no ICMP socket allowed to this process";
    return false;
}

TEST(IcmpClientTest, EchoToLoopbackReportsAReplyWithData)
{
    std::string why;
    if (!EchoPossible(why))
        GTEST_SKIP() << why;

    TComponent owner(nullptr);
    auto *ping = new TIcmpClient(&owner);
    EXPECT_EQ(ping->ReceiveTimeout(), 400);
    EXPECT_EQ(ping->PacketSize(), 1024);
    ping->SetHost(QStringLiteral("127.0.0.1"));
    int replies = 0;
    TReplyStatus seen;
    ping->OnReply = [&](TComponent *sender, const TReplyStatus &status) {
        EXPECT_EQ(sender, ping);
        ++replies;
        seen = status;
    };
    ping->Ping(ping->Host(), 0);
    EXPECT_EQ(replies, 1);
    EXPECT_EQ(seen.ReplyStatusType, TReplyStatusTypes::rsEcho);
    EXPECT_TRUE(seen.HasData());
    EXPECT_EQ(seen.BytesReceived, 8 + 9); // header and "127.0.0.1"
    EXPECT_EQ(seen.Data, QByteArray("127.0.0.1"));
    EXPECT_EQ(seen.FromIpAddress, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(seen.SequenceId, 0);

    // Repeated requests from one client each get their own reply.
    ping->Ping(ping->Host(), 0);
    EXPECT_EQ(replies, 2);
    EXPECT_TRUE(ping->ReplyStatus().HasData());
}

TEST(IcmpClientTest, DataIsCutToThePacketSize)
{
    std::string why;
    if (!EchoPossible(why))
        GTEST_SKIP() << why;
    TIcmpClient ping(nullptr);
    ping.SetHost(QStringLiteral("127.0.0.1"));
    ping.SetPacketSize(12);
    ping.Ping(QStringLiteral("127.0.0.1"));
    EXPECT_EQ(ping.ReplyStatus().Data, QByteArray("127."));
    EXPECT_EQ(ping.ReplyStatus().BytesReceived, 12);
}

TEST(IcmpClientTest, HostThatIsNoAddressRaisesWithoutReply)
{
    TIcmpClient ping(nullptr);
    int replies = 0;
    ping.OnReply = [&](TComponent *, const TReplyStatus &) { ++replies; };
    for (const char *host : {"192.168..5", "", "localhost", "256.1.1.1", " 127.0.0.1", "1.2.3", "::1"}) {
        ping.SetHost(QString::fromLatin1(host));
        EXPECT_THROW(ping.Ping(ping.Host(), 0), EIcmpError) << host;
    }
    EXPECT_EQ(replies, 0);
}

} // namespace
