#include "platform/HttpClient.h"

#include <QByteArray>
#include <QList>
#include <QStringDecoder>

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace {

void EnsureCurlInitialised()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TAnswer {
    QByteArray Body;
    QByteArray StatusLine;
    QByteArray ContentType;
    bool TooLarge = false;
};

size_t WriteBody(char *data, size_t size, size_t count, void *user)
{
    auto *answer = static_cast<TAnswer *>(user);
    const size_t bytes = size * count;
    if (answer->Body.size() + static_cast<long long>(bytes) > THTTPClient::MaxAnswerSize) {
        answer->TooLarge = true;
        return 0; // makes curl stop with a write error
    }
    answer->Body.append(data, static_cast<qsizetype>(bytes));
    return bytes;
}

size_t ReadHeader(char *data, size_t size, size_t count, void *user)
{
    auto *answer = static_cast<TAnswer *>(user);
    const size_t bytes = size * count;
    const QByteArray line = QByteArray(data, static_cast<qsizetype>(bytes)).trimmed();
    if (line.startsWith("HTTP/"))
        answer->StatusLine = line;
    else if (line.toLower().startsWith("content-type:"))
        answer->ContentType = line.mid(13).trimmed();
    return bytes;
}

// The charset parameter of a Content-Type value, or empty.
QByteArray CharsetOf(const QByteArray &contentType)
{
    for (const QByteArray &part : contentType.split(';')) {
        const QByteArray p = part.trimmed();
        if (p.toLower().startsWith("charset=")) {
            QByteArray name = p.mid(8).trimmed();
            if (name.size() >= 2 && name.startsWith('"') && name.endsWith('"'))
                name = name.mid(1, name.size() - 2);
            return name;
        }
    }
    return {};
}

struct TCurlFree {
    void operator()(CURL *c) const { curl_easy_cleanup(c); }
};
struct TSListFree {
    void operator()(curl_slist *l) const { curl_slist_free_all(l); }
};

} // namespace

THTTPClient::THTTPClient(TComponent *AOwner)
    : TComponent(AOwner),
      FAccept(QStringLiteral("text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8")),
      FUserAgent(QStringLiteral("Mozilla/3.0 (compatible; Indy Library)"))
{
}

UnicodeString THTTPClient::Get(const UnicodeString &URL)
{
    FResponseCode = 0;
    FResponseText.clear();
    EnsureCurlInitialised();

    std::unique_ptr<CURL, TCurlFree> curl(curl_easy_init());
    if (!curl)
        throw EHTTPError(QStringLiteral("HTTP client could not be initialised"));

    const QByteArray url = URL.trimmed().toUtf8();
    const QByteArray agent = FUserAgent.toUtf8();
    const QByteArray accept = QByteArrayLiteral("Accept: ") + FAccept.toUtf8();
    std::unique_ptr<curl_slist, TSListFree> headers(curl_slist_append(nullptr, accept.constData()));
    TAnswer answer;
    char errorText[CURL_ERROR_SIZE] = {};

    CURL *c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_DEFAULT_PROTOCOL, "http");
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(c, CURLOPT_USERAGENT, agent.constData());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    // No proxy from the environment and no redirects: the request goes where the URL says.
    curl_easy_setopt(c, CURLOPT_PROXY, "");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(FConnectTimeout));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(FRequestTimeout));
    // Time-outs must not use signals: the user-interface thread runs this.
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &WriteBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &ReadHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &answer);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);

    const CURLcode rc = curl_easy_perform(c);
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    FResponseCode = static_cast<int>(status);
    FResponseText = QString::fromLatin1(answer.StatusLine);

    if (answer.TooLarge)
        throw EHTTPError(QStringLiteral("The answer of %1 is larger than %2 bytes").arg(URL).arg(MaxAnswerSize), FResponseCode);
    if (rc != CURLE_OK) {
        const UnicodeString reason = errorText[0] ? QString::fromUtf8(errorText) : QString::fromUtf8(curl_easy_strerror(rc));
        throw EHTTPError(QStringLiteral("HTTP request to %1 failed: %2").arg(URL, reason), FResponseCode);
    }
    // Only a success status carries the resource; an error page or a redirect is no answer.
    if (status < 200 || status > 299) {
        const UnicodeString line = FResponseText.isEmpty() ? QString::number(status) : FResponseText;
        throw EHTTPError(line, FResponseCode);
    }
    return DecodeAnswer(answer.Body, answer.ContentType);
}

UnicodeString THTTPClient::DecodeAnswer(const QByteArray &body, const QByteArray &contentType)
{
    const QByteArray charset = CharsetOf(contentType);
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder.decode(body);
    }
    return QString::fromLatin1(body);
}
