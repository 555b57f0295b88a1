#include "grid/services/GridFileText.h"

#include "platform/Encoding.h"

#include <algorithm>
#include <climits>
#include <cmath>


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

int Percent(long long Part, long long Whole)
{
    const double v = std::nearbyint(double(Part) / double(std::max(1LL, Whole)) * 100.0);
    return int(std::clamp(v, double(SHRT_MIN), double(SHRT_MAX)));
}

} // namespace GridFileText
