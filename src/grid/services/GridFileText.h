#pragma once
// What the grid's text readers and writers share: turning a file's bytes into lines (a
// byte-order mark chooses UTF-8 or UTF-16, else the ANSI code page) and lines back into bytes.
#include "platform/System.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

class TEncoding;

namespace GridFileText {

// The text of a file's bytes; Enc tells the encoding found (the ANSI code page without a mark).
QString Decode(const QByteArray &Bytes, TEncoding *&Enc);
// Lines split at CR LF, CR or LF; a final line break adds no empty line.
QStringList SplitLines(QStringView Text);
// The same lines as views into Text, which must outlive them.
std::vector<QStringView> SplitLineViews(QStringView Text);
// The lines joined, each ended by CR LF, in the encoding (its byte-order mark first when
// WithBOM).
QByteArray Encode(const QStringList &Lines, TEncoding *Enc, bool WithBOM);
QByteArray Encode(const QString &Text, TEncoding *Enc, bool WithBOM);

// round(Part / max(1, Whole) * 100), halves to even as the classic Round does; a row named by
// a damaged file may lie far outside the grid, so the value is kept within a progress value's
// range.
int Percent(long long Part, long long Whole);

} // namespace GridFileText
