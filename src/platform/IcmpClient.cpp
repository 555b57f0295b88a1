#include "platform/IcmpClient.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <atomic>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int IcmpHeaderSize = 8;
constexpr Byte IcmpEchoReply = 0;
constexpr Byte IcmpUnreachable = 3;
constexpr Byte IcmpEchoRequest = 8;
constexpr Byte IcmpTimeExceeded = 11;

class TSocket {
public:
    explicit TSocket(int fd) : FFd(fd) {}
    TSocket(const TSocket &) = delete;
    TSocket &operator=(const TSocket &) = delete;
    ~TSocket()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    int Fd() const { return FFd; }

private:
    int FFd;
};

Word Checksum(const Byte *data, size_t size)
{
    std::uint32_t sum = 0;
    for (size_t i = 0; i + 1 < size; i += 2)
        sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
    if (size % 2)
        sum += static_cast<std::uint32_t>(data[size - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<Word>(~sum & 0xFFFF);
}

Word ReadWord(const Byte *p) { return static_cast<Word>(p[0] << 8 | p[1]); }

void WriteWord(Byte *p, Word value)
{
    p[0] = static_cast<Byte>(value >> 8);
    p[1] = static_cast<Byte>(value & 0xFF);
}

// A raw socket sees the IP header and every ICMP message of the machine; where the process
// may not open one, the kernel's datagram ICMP socket (ping_group_range) does the same job
// for echo only, without the IP header and with replies already matched to the socket.
int OpenIcmpSocket(bool &raw)
{
    raw = true;
    int fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0)
        return fd;
    const int rawError = errno;
    raw = false;
    fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0)
        return fd;
    throw EIcmpError(QStringLiteral("No ICMP socket available (raw: %1; datagram: %2)")
                         .arg(QString::fromLocal8Bit(std::strerror(rawError)), QString::fromLocal8Bit(std::strerror(errno))));
}

Word NextIdentifier()
{
    static std::atomic<unsigned> counter{0};
    return static_cast<Word>((static_cast<unsigned>(::getpid()) * 31u + counter++) & 0xFFFF);
}

} // namespace

TIcmpClient::TIcmpClient(TComponent *AOwner) : TComponent(AOwner), FIdentifier(NextIdentifier()) {}

void TIcmpClient::Ping(const UnicodeString &ABuffer, Word SequenceID)
{
    in_addr target{};
    const QByteArray hostText = FHost.toLatin1();
    if (FHost.isEmpty() || ::inet_pton(AF_INET, hostText.constData(), &target) != 1)
        throw EIcmpError(QStringLiteral("\"%1\" is no IPv4 address").arg(FHost));

    bool raw = false;
    TSocket sock(OpenIcmpSocket(raw));
    if (!raw) {
        const int on = 1;
        ::setsockopt(sock.Fd(), IPPROTO_IP, IP_RECVTTL, &on, sizeof on);
    }

    const QByteArray data = ABuffer.toUtf8();
    const int room = FPacketSize > IcmpHeaderSize ? FPacketSize - IcmpHeaderSize : 0;
    const int dataSize = data.size() < room ? static_cast<int>(data.size()) : room;
    QByteArray packet(IcmpHeaderSize + dataSize, '\0');
    auto *p = reinterpret_cast<Byte *>(packet.data());
    p[0] = IcmpEchoRequest;
    p[1] = 0;
    WriteWord(p + 4, FIdentifier);
    WriteWord(p + 6, SequenceID);
    std::memcpy(p + IcmpHeaderSize, data.constData(), static_cast<size_t>(dataSize));
    WriteWord(p + 2, Checksum(p, static_cast<size_t>(packet.size())));

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr = target;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point sent = Clock::now();
    if (::sendto(sock.Fd(), packet.constData(), static_cast<size_t>(packet.size()), 0, reinterpret_cast<const sockaddr *>(&to), sizeof to) < 0)
        throw EIcmpError(QStringLiteral("Echo request to %1 failed: %2").arg(FHost, QString::fromLocal8Bit(std::strerror(errno))));

    TReplyStatus status;
    status.SequenceId = SequenceID;
    const Clock::time_point deadline = sent + std::chrono::milliseconds(FReceiveTimeout);
    bool done = false;
    while (!done) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd pfd{sock.Fd(), POLLIN, 0};
        const int ready = ::poll(&pfd, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;

        Byte buffer[65536];
        sockaddr_in from{};
        iovec iov{buffer, sizeof buffer};
        alignas(cmsghdr) char control[64];
        msghdr msg{};
        msg.msg_name = &from;
        msg.msg_namelen = sizeof from;
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        const ssize_t got = ::recvmsg(sock.Fd(), &msg, 0);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            break;
        }

        const Byte *icmp = buffer;
        size_t size = static_cast<size_t>(got);
        int ttl = 0;
        if (raw) {
            if (size < 20)
                continue;
            const size_t ipHeader = static_cast<size_t>(buffer[0] & 0x0F) * 4;
            if (ipHeader < 20 || size < ipHeader + IcmpHeaderSize)
                continue;
            ttl = buffer[8];
            icmp = buffer + ipHeader;
            size -= ipHeader;
        } else {
            if (size < IcmpHeaderSize)
                continue;
            for (cmsghdr *c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
                if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_TTL && c->cmsg_len >= CMSG_LEN(sizeof(int)))
                    std::memcpy(&ttl, CMSG_DATA(c), sizeof(int));
        }

        const Byte type = icmp[0];
        if (type == IcmpEchoReply) {
            // The datagram socket's kernel puts its own identifier in and sorts the replies.
            if ((raw && ReadWord(icmp + 4) != FIdentifier) || ReadWord(icmp + 6) != SequenceID)
                continue;
            if (raw && from.sin_addr.s_addr != target.s_addr)
                continue;
            status.ReplyStatusType = TReplyStatusTypes::rsEcho;
            status.BytesReceived = static_cast<int>(size);
            status.Data = QByteArray(reinterpret_cast<const char *>(icmp + IcmpHeaderSize), static_cast<qsizetype>(size - IcmpHeaderSize));
            done = true;
        } else if (raw && (type == IcmpUnreachable || type == IcmpTimeExceeded)) {
            // An error reply quotes the IP header and the first 8 bytes of our request.
            const Byte *quoted = icmp + IcmpHeaderSize;
            const size_t quotedSize = size - IcmpHeaderSize;
            if (quotedSize < 20)
                continue;
            const size_t quotedHeader = static_cast<size_t>(quoted[0] & 0x0F) * 4;
            if (quotedHeader < 20 || quotedSize < quotedHeader + IcmpHeaderSize)
                continue;
            const Byte *request = quoted + quotedHeader;
            if (request[0] != IcmpEchoRequest || ReadWord(request + 4) != FIdentifier || ReadWord(request + 6) != SequenceID
                || std::memcmp(quoted + 16, &target.s_addr, 4) != 0)
                continue;
            status.ReplyStatusType = type == IcmpUnreachable ? TReplyStatusTypes::rsErrorUnreachable : TReplyStatusTypes::rsErrorTTLExceeded;
            done = true;
        } else {
            continue;
        }
        status.MsgType = type;
        status.TimeToLive = ttl;
        char fromText[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &from.sin_addr, fromText, sizeof fromText);
        status.FromIpAddress = QString::fromLatin1(fromText);
        status.MsRoundTripTime = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count());
    }

    FReplyStatus = status;
    if (OnReply)
        OnReply(this, FReplyStatus);
}
