#pragma once
// The HTTP client of the main window (HTTP1): a plain HTTP/1.0 GET that answers with text.

#include "platform/Classes.h"
#include "platform/System.h"

// Raised for every failed request: no connection, a time-out, an error status or an answer
// that cannot be read. ErrorCode is the HTTP status when the server answered, else 0.
class EHTTPError : public Exception {
public:
    explicit EHTTPError(const UnicodeString &msg, int errorCode = 0) : Exception(msg), FErrorCode(errorCode) {}
    int ErrorCode() const { return FErrorCode; }
    UnicodeString ClassName() const override { return QStringLiteral("EHTTPError"); }

private:
    int FErrorCode;
};

class THTTPClient : public TComponent {
public:
    explicit THTTPClient(TComponent *AOwner);

    // Sends a GET for URL and returns the answer's body as text (decoded by the charset the
    // server names, else as ISO-8859-1). Raises EHTTPError on any failure, so a caller that
    // only wants "an answer or nothing" catches it and goes on with an empty text.
    UnicodeString Get(const UnicodeString &URL);
    // An answer's body as text, by the charset its Content-Type names, else as ISO-8859-1.
    static UnicodeString DecodeAnswer(const QByteArray &Body, const QByteArray &ContentType);

    const UnicodeString &Accept() const { return FAccept; }
    void SetAccept(const UnicodeString &Value) { FAccept = Value; }
    const UnicodeString &UserAgent() const { return FUserAgent; }
    void SetUserAgent(const UnicodeString &Value) { FUserAgent = Value; }

    // Bounds of one request in milliseconds: the connection set-up, and the whole request
    // including the connection. The user interface waits for the request, so neither may be
    // unlimited; values below 1 are raised to 1.
    int ConnectTimeout() const { return FConnectTimeout; }
    void SetConnectTimeout(int Value) { FConnectTimeout = Value < 1 ? 1 : Value; }
    int RequestTimeout() const { return FRequestTimeout; }
    void SetRequestTimeout(int Value) { FRequestTimeout = Value < 1 ? 1 : Value; }

    // Status line of the last answer (0 and empty before the first answer or after a failure
    // without one).
    int ResponseCode() const { return FResponseCode; }
    const UnicodeString &ResponseText() const { return FResponseText; }

    // An answer larger than this is refused rather than read into memory whole.
    static constexpr long long MaxAnswerSize = 1024 * 1024;

private:
    UnicodeString FAccept;
    UnicodeString FUserAgent;
    int FConnectTimeout = 3000;
    int FRequestTimeout = 5000;
    int FResponseCode = 0;
    UnicodeString FResponseText;
};
