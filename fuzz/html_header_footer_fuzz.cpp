// The header and footer files the grid's HTML export copies around its table, as a user names
// them in the export settings, and the earlier document an append adds to. Whatever the files
// hold (any encoding mark, any line ends), the export either fails before it writes or writes a
// document that holds the whole table; an append keeps the earlier document's text in front.
//
// Input: the first byte picks the output's encoding and whether it appends; then the header file,
// "--next-file--", the footer file, "--next-file--", the earlier document.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"
#include "platform/Encoding.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1 || Size > 64 * 1024)
        return 0;
    Fuzz::NeedApplication();
    Fuzz::CleanDir();
    const bool unicode = (Data[0] & 1) != 0;
    const bool append = (Data[0] & 2) != 0;
    const std::vector<QByteArray> files = Fuzz::Split(Fuzz::Bytes(Data + 1, Size - 1), 3);
    Fuzz::WriteFile(QStringLiteral("header.htm"), files[0]);
    Fuzz::WriteFile(QStringLiteral("footer.htm"), files[1]);
    if (append)
        Fuzz::WriteFile(QStringLiteral("out.htm"), files[2]);

    TExtStringGrid g(nullptr);
    g.SetColCount(2);
    g.SetRowCount(2);
    g.SetCells(0, 0, QStringLiteral("a<b"));
    g.SetCells(1, 1, QStringLiteral("c&d"));
    g.HTMLSettings()->HeaderFile = Fuzz::PathOf(QStringLiteral("header.htm"));
    g.HTMLSettings()->FooterFile = Fuzz::PathOf(QStringLiteral("footer.htm"));
    const QString out = Fuzz::PathOf(QStringLiteral("out.htm"));
    try {
        if (append)
            g.AppendToHTML(out, false, unicode);
        else
            g.SaveToHTML(out, false, unicode);
    } catch (const Exception &) {
        Fuzz::Check(!append || Fuzz::ReadFile(QStringLiteral("out.htm")) == files[2], "a failed export changed the document");
        return 0;
    }
    const QByteArray bytes = Fuzz::ReadFile(QStringLiteral("out.htm"));
    QString body = g.SaveToHTMLString(Fuzz::PathOf(QString()));
    QString text;
    if (unicode) {
        Fuzz::Check(bytes.startsWith(TEncoding::Unicode()->GetPreamble()), "a Unicode document has no byte-order mark");
        text = TEncoding::Unicode()->GetString(bytes.mid(TEncoding::Unicode()->GetPreamble().size()));
    } else {
        text = QString::fromLatin1(bytes);
        for (QChar &ch : body)
            if (ch.unicode() >= 0x80)
                ch = u'?';
    }
    Fuzz::Check(text.contains(body), "the document does not hold the whole table");
    Fuzz::Check(text.isEmpty() || text.endsWith(QStringLiteral("\r\n")), "the document's last line is not ended");
    return 0;
}
