#include "platform/WebService.h"

#include <QtGlobal>
#include <QUrl>

namespace {

// The variable's text split into scheme and host; an empty or blank variable means the default.
void SplitConfiguredHost(UnicodeString &Scheme, UnicodeString &Host)
{
    UnicodeString text = qEnvironmentVariable(WebHostVariable).trimmed();
    Scheme = QStringLiteral("http");
    const int sep = text.indexOf(QLatin1String("://"));
    if (sep > 0) {
        Scheme = text.left(sep).toLower();
        text = text.mid(sep + 3);
    }
    while (text.endsWith(QLatin1Char('/')))
        text.chop(1);
    Host = text.isEmpty() ? QString::fromLatin1(DefaultWebHost) : text;
}

// Query values are codes such as "CF40385"; anything unexpected in them is still kept from
// breaking the address.
UnicodeString Encoded(const UnicodeString &Value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(Value));
}

} // namespace

UnicodeString WebServiceHost()
{
    UnicodeString scheme, host;
    SplitConfiguredHost(scheme, host);
    return host;
}

UnicodeString WebServiceBaseURL()
{
    UnicodeString scheme, host;
    SplitConfiguredHost(scheme, host);
    return scheme + QLatin1String("://") + host;
}

UnicodeString WebHomePageURL(const UnicodeString &FromPage)
{
    return WebServiceBaseURL() + QLatin1String("/HOME/default.asp?frompg=") + Encoded(FromPage);
}

UnicodeString WebDownloadPageURL(const UnicodeString &Device)
{
    return WebServiceBaseURL() + QLatin1String("/Home/download/download.asp#") + Encoded(Device);
}

UnicodeString WebVersionQueryURL(const UnicodeString &SWCode)
{
    return WebServiceBaseURL() + QLatin1String("/home/download/GetversionSW.asp?nomesw=") + Encoded(SWCode);
}
