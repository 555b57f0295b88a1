// The answer of the maker's version service as the options dialog and the update timer read it:
// the body decoded by the charset its Content-Type names, then read as a version. Only an answer
// whose version reads as decimal digits above this build's may announce an update, and a version
// written back in the service's form reads as the same number.
//
// Input: the Content-Type value up to the first line feed, then the body.
#include "support/FuzzSupport.h"

#include "core/USoftOptions.h"
#include "platform/HttpClient.h"
#include "platform/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size > 64 * 1024)
        return 0;
    const QByteArray input = Fuzz::Bytes(Data, Size);
    const qsizetype lf = input.indexOf('\n');
    const QByteArray contentType = lf < 0 ? QByteArray() : input.left(lf);
    const QByteArray body = lf < 0 ? input : input.mid(lf + 1);
    const UnicodeString answer = THTTPClient::DecodeAnswer(body, contentType);
    const int remote = TFSoftOptions::Conv_Version(Trim(answer));
    if (TFSoftOptions::Is_Newer_Version(answer)) {
        const int local = TFSoftOptions::Conv_Version(Const_SW_Version);
        Fuzz::Check(remote != -1 && local != -1 && remote > local, "an answer without a newer version announced one");
    }
    if (remote != -1) {
        Fuzz::Check(remote >= 0 && remote <= 9999, "a version is more than four digits");
        const QString digits = QStringLiteral("%1").arg(remote, 4, 10, QLatin1Char('0'));
        const QString again = QStringLiteral("Ver. ") + digits[0] + u'.' + digits.mid(1);
        Fuzz::Check(TFSoftOptions::Conv_Version(again) == remote, "a version written back reads as another one");
    }
    return 0;
}
