#include "grid/services/GridFileText.h"

#include "platform/Encoding.h"

#include <climits>

namespace GridFileText {

QString Decode(const QByteArray &Bytes, TEncoding *&Enc)
{
    Enc = nullptr;
    const int bom = TEncoding::GetBufferEncoding(Bytes, Enc);
    if (!Enc)
        Enc = TEncoding::Default();
    if (bom == 0)
        return Enc->GetString(Bytes);
    return Enc->GetString(Bytes.sliced(bom));
}

std::vector<QStringView> SplitLineViews(QStringView Text)
{
    std::vector<QStringView> lines;
    const qsizetype n = Text.size();
    const QChar *d = Text.data();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = d[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lines.push_back(Text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && d[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.push_back(Text.sliced(start));
    return lines;
}

QStringList SplitLines(QStringView Text)
{
    QStringList lines;
    for (QStringView l : SplitLineViews(Text))
        lines.append(l.toString());
    return lines;
}

QByteArray Encode(const QString &Text, TEncoding *Enc, bool WithBOM)
{
    QByteArray out = WithBOM ? Enc->GetPreamble() : QByteArray();
    out += Enc->GetBytes(Text);
    return out;
}

QByteArray Encode(const QStringList &Lines, TEncoding *Enc, bool WithBOM)
{
    qsizetype total = 0;
    for (const QString &l : Lines)
        total += l.size() + 2;
    QString text;
    text.reserve(total);
    for (const QString &l : Lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    return Encode(text, Enc, WithBOM);
}

int LenientInt(QStringView Text)
{
    qsizetype i = 0;
    const qsizetype n = Text.size();
    while (i < n && Text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (Text[i] == u'-' || Text[i] == u'+')) {
        negative = Text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && Text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && Text[i] == u'0' && (Text[i + 1] == u'x' || Text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    long long v = 0;
    for (; i < n; ++i) {
        const char16_t c = Text[i].unicode();
        int d = -1;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        if (d < 0)
            break;
        if (v <= INT_MAX)
            v = v * base + d;
    }
    if (negative)
        v = -v;
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return int(v);
}

} // namespace GridFileText
