#pragma once
// ICMP echo client over IPv4 (the update dialog's device check).

#include "platform/Classes.h"
#include "platform/System.h"

#include <functional>

// Raised when an echo cannot be sent at all: a host text that is no IPv4 address, or no ICMP
// socket available to this process.
FABRICOR_DECLARE_EXCEPTION(EIcmpError, Exception)

enum class TReplyStatusTypes { rsEcho, rsError, rsTimeOut, rsErrorUnreachable, rsErrorTTLExceeded };

struct TReplyStatus {
    // Size of the echo reply's ICMP message (header and data); 0 when no echo reply came,
    // also for error replies, so "BytesReceived > 0" means the device answered.
    int BytesReceived = 0;
    UnicodeString FromIpAddress;
    int MsgType = 0;
    Word SequenceId = 0;
    int MsRoundTripTime = 0;
    int TimeToLive = 0;
    TReplyStatusTypes ReplyStatusType = TReplyStatusTypes::rsTimeOut;
    // The data that came back in the echo reply.
    QByteArray Data;

    bool HasData() const { return ReplyStatusType == TReplyStatusTypes::rsEcho && BytesReceived > 0; }
};

using TOnReplyEvent = std::function<void(TComponent *ASender, const TReplyStatus &AReplyStatus)>;

class TIcmpClient : public TComponent {
public:
    explicit TIcmpClient(TComponent *AOwner);

    // The address as dotted IPv4 text ("192.168.2.205"); names are not resolved.
    const UnicodeString &Host() const { return FHost; }
    void SetHost(const UnicodeString &Value) { FHost = Value; }
    // How long Ping waits for the reply, in milliseconds.
    int ReceiveTimeout() const { return FReceiveTimeout; }
    void SetReceiveTimeout(int Value) { FReceiveTimeout = Value < 0 ? 0 : Value; }
    // Upper bound of the ICMP message sent (header and data); longer data is cut.
    int PacketSize() const { return FPacketSize; }
    void SetPacketSize(int Value) { FPacketSize = Value; }

    // Sends one echo request carrying ABuffer (UTF-8) and waits up to ReceiveTimeout for its
    // reply; then fills ReplyStatus and fires OnReply once, with a reply or a time-out.
    // Raises EIcmpError when the request cannot be made.
    void Ping(const UnicodeString &ABuffer = UnicodeString(), Word SequenceID = 0);

    const TReplyStatus &ReplyStatus() const { return FReplyStatus; }

    TOnReplyEvent OnReply;

private:
    UnicodeString FHost;
    int FReceiveTimeout = 400;
    int FPacketSize = 1024;
    Word FIdentifier;
    TReplyStatus FReplyStatus;
};
