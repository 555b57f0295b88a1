// The string grid as an HTML table: cell looks as CSS classes, merged cells as spans, links,
// cell pictures as JPEG files beside the page; and the file that wraps it.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "platform/Encoding.h"
#include "platform/FileUtils.h"
#include "platform/ImgList.h"
#include "platform/Jpeg.h"
#include "platform/ShellApi.h"
#include "platform/SysUtils.h"

#include <QHash>

#include <algorithm>

// ---- settings ----

THTMLSettings::THTMLSettings() : FColWidths(std::make_unique<TIntList>(-1, -1)) {}

THTMLSettings::~THTMLSettings() = default;

void THTMLSettings::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<THTMLSettings *>(Source);
    if (!src)
        return;
    BorderSize = src->BorderSize;
    CellSpacing = src->CellSpacing;
    CellPadding = src->CellPadding;
    SaveColor = src->SaveColor;
    SaveFonts = src->SaveFonts;
    FooterFile = src->FooterFile;
    HeaderFile = src->HeaderFile;
    TableStyle = src->TableStyle;
    PrefixTag = src->PrefixTag;
    SuffixTag = src->SuffixTag;
    Summary = src->Summary;
    Width = src->Width;
    XHTML = src->XHTML;
    ConvertSpecialChars = src->ConvertSpecialChars;
    AutoPreview = src->AutoPreview;
    NonBreakingText = src->NonBreakingText;
}

namespace {

const QLatin1StringView CRLF("\r\n");

// Writes the pictures of one export as images/img<n>.jpg below the page's folder, making the
// folder when the first picture comes.
class THtmlPictureWriter {
public:
    explicit THtmlPictureWriter(const UnicodeString &Dir) : FDir(Dir) {}

    // The number of the next picture; the data rows start past the header's pictures.
    int Next = 0;

    // The img tag of a graphic, which is written as it is when it already is a JPEG image.
    UnicodeString Write(TGraphic *Graphic)
    {
        const UnicodeString name = NextName();
        if (auto *jpeg = dynamic_cast<TJPEGImage *>(Graphic)) {
            jpeg->SaveToFile(name);
        } else {
            TBitmap bmp;
            bmp.SetSize(Graphic->Width(), Graphic->Height());
            bmp.Canvas()->Draw(0, 0, Graphic);
            SaveJpeg(bmp, name);
        }
        return Tag(name);
    }

    UnicodeString WriteListImage(TCustomImageList *Images, int Index)
    {
        TBitmap bmp;
        Images->GetBitmap(Index, &bmp);
        const UnicodeString name = NextName();
        SaveJpeg(bmp, name);
        return Tag(name);
    }

private:
    UnicodeString NextName()
    {
        const UnicodeString folder = FDir + QStringLiteral("images");
        if (!FFolderMade) {
            if (!DirectoryExists(folder) && !ForceDirectories(folder))
                throw Exception(QStringLiteral("Cannot create ") + folder);
            FFolderMade = true;
        }
        return folder + QStringLiteral("/img") + QString::number(Next++) + QStringLiteral(".jpg");
    }

    static void SaveJpeg(TBitmap &Bmp, const UnicodeString &Name)
    {
        TJPEGImage jpeg;
        jpeg.SetImage(Bmp.ToImage());
        jpeg.SaveToFile(Name);
    }

    static UnicodeString Tag(const UnicodeString &Name)
    {
        return QStringLiteral("<img src= \"file://") + Name + QStringLiteral("\">");
    }

    UnicodeString FDir;
    bool FFolderMade = false;
};

// The anchor of a text with an address: the label drops what stands up to the marker unless
// the whole text is to show.
UnicodeString LinkOf(const UnicodeString &Text, QLatin1StringView Marker, bool Full)
{
    const qsizetype at = Text.indexOf(Marker);
    const UnicodeString label = Full ? Text : Text.mid(at + Marker.size(), 255);
    return QStringLiteral("<a href=") + Text + u'>' + label + QStringLiteral("</a>");
}

UnicodeString CssColor(TColor Color)
{
    return ColorToHtmlHex(TColor(ColorToRGB(Color)));
}

QStringList ReadTextLines(const UnicodeString &FileName)
{
    const QByteArray bytes = ReadFileBytes(FileName);
    TEncoding *enc = nullptr;
    const int bom = TEncoding::GetBufferEncoding(bytes, enc);
    QString text = enc->GetString(bytes.mid(bom));
    text.replace(QLatin1StringView("\r\n"), QLatin1StringView("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

// ---- the document ----

UnicodeString TExtStringGrid::SaveToHTMLString(const UnicodeString &Dir)
{
    THTMLSettings *hs = FHTMLSettings;
    const bool fixedRowsOut = FSaveFixedCells || FSaveFixedRows;
    const int firstCol = FSaveFixedCells || FSaveFixedCols ? 0 : FixedCols();
    const bool headerRow = FixedRows() > 0 && fixedRowsOut;
    const int firstRow = headerRow ? 1 : (fixedRowsOut ? 0 : FixedRows());
    TIntList *widths = hs->ColWidths();
    TCustomImageList *images = GridImages();
    THtmlPictureWriter pictures(Dir);
    QStringList classes;
    QHash<QString, int> classIndex;
    UnicodeString body;

    body += QStringLiteral("<TABLE BORDER=\"%1\" CELLSPACING=\"%2\" CELLPADDING=\"%3\" ")
                .arg(hs->BorderSize)
                .arg(hs->CellSpacing)
                .arg(hs->CellPadding);
    if (!hs->Summary.isEmpty())
        body += QStringLiteral("SUMMARY=\"") + hs->Summary + QStringLiteral("\" ");
    if (!hs->TableStyle.isEmpty())
        body += u' ' + hs->TableStyle + u' ';
    body += QStringLiteral(" WIDTH=\"%1%\">").arg(hs->Width) + CRLF;

    auto cellLine = [&](int c, int r, bool header) {
        if (IsMergedNonBaseCell(c, r))
            return;
        UnicodeString spans;
        const TPoint span = CellSpan(c, r);
        if (span.X > 0)
            spans += QStringLiteral(" COLSPAN=\"%1\"").arg(span.X + 1);
        if (span.Y > 0)
            spans += QStringLiteral(" ROWSPAN=\"%1\"").arg(span.Y + 1);

        const int rc = RealColIndex(c);
        UnicodeString raw;
        DoSaveCell(rc, r, raw);
        UnicodeString text = raw;
        if (!header) {
            if (hs->ConvertSpecialChars)
                text = EncodeHtmlEntities(text, true);
            if (hs->NonBreakingText)
                text = SpacesToNbsp(text);
        }
        text = CRToHtmlBreak(text);
        if (FURLShow && !text.contains(QLatin1StringView("</"))) {
            UnicodeString linked = text;
            if (text.contains(QLatin1StringView("://")))
                linked = LinkOf(text, QLatin1StringView("://"), FURLFull);
            if (text.contains(QLatin1StringView("mailto:")))
                linked = LinkOf(text, QLatin1StringView("mailto:"), FURLFull);
            text = linked;
        }
        if (header ? text.isEmpty() : text.trimmed().isEmpty())
            text = QStringLiteral("&nbsp;");

        TBrush brush;
        TFont font;
        font.SetColor(clNone);
        font.SetStyle(TFontStyles());
        brush.SetColor(header ? FixedColor() : clNone);
        TGridDrawState state;
        TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        bool ww = false;
        TCellGradientDirection gd = GradientVertical;
        GetVisualProperties(c, r, state, false, false, true, &brush, colorTo, mirror, mirrorTo, &font, ha, va, ww, gd);
        if (header || IsFixed(c, r))
            brush.SetColor(FixedColor());

        QStringList css;
        if (hs->SaveColor && brush.Color() != clNone)
            css << QStringLiteral("background-color: #") + CssColor(brush.Color());
        if (hs->SaveColor && font.Color() != clNone)
            css << QStringLiteral("color: #") + CssColor(font.Color());
        css << QStringLiteral("font-size:%1pt").arg(font.Size());
        if (font.Style().Contains(TFontStyle::fsItalic))
            css << QStringLiteral("font-style: italic");
        if (font.Style().Contains(TFontStyle::fsBold))
            css << QStringLiteral("font-weight: bold");
        css << QStringLiteral("font-family: ") + font.Name();
        if (ha == taRightJustify)
            css << QStringLiteral("text-align: right");
        else if (ha == taCenter)
            css << QStringLiteral("text-align: center");
        css << (va == vtaTop      ? QStringLiteral("vertical-align: top")
                : va == vtaCenter ? QStringLiteral("vertical-align: middle")
                                  : QStringLiteral("vertical-align: bottom"));
        const UnicodeString decl = css.join(u';');
        // Looked up by hash: a grid of many differently coloured cells must not cost a
        // search of all classes per cell.
        auto found = classIndex.constFind(decl);
        if (found == classIndex.cend()) {
            found = classIndex.insert(decl, int(classes.size()));
            classes << decl;
        }
        const int cls = *found;

        UnicodeString attrs = spans;
        if (!ww)
            attrs += QStringLiteral(" nowrap");
        if (header && c < widths->Count())
            attrs += QStringLiteral(" WIDTH=") + QString::number(widths->Items(c));
        else if (!header && !headerRow && c - firstCol >= 0 && c - firstCol < widths->Count())
            attrs += QStringLiteral(" width=") + QString::number(widths->Items(c - firstCol));

        UnicodeString content = text;
        TCellGraphic *g = hs->ExportImages ? GetCellGraphic(rc, r) : nullptr;
        const auto validIndex = [images](int Index) { return images && Index >= 0 && Index < images->Count(); };
        if (g) {
            switch (g->CellType()) {
            case ctBitmap:
                if (TBitmap *bmp = g->CellBitmap(); bmp && !bmp->Empty())
                    content = text + pictures.Write(bmp);
                break;
            case ctImageList:
                if (validIndex(g->CellIndex()))
                    content = pictures.WriteListImage(images, g->CellIndex()) + text;
                break;
            case ctDataImage: {
                bool ok = false;
                const int idx = raw.trimmed().toInt(&ok);
                content = ok && validIndex(idx) ? pictures.WriteListImage(images, idx) : UnicodeString();
                break;
            }
            case ctNode: content = u'+' + text; break;
            case ctImages:
                if (auto *list = dynamic_cast<TIntList *>(g->CellObject()); list && images) {
                    content.clear();
                    for (int i = 0; i < list->Count(); ++i)
                        if (validIndex(list->Items(i)))
                            content += pictures.WriteListImage(images, list->Items(i));
                    content += text;
                }
                break;
            case ctPicture:
            case ctInterface:
                if (auto *pic = dynamic_cast<TPicture *>(g->CellObject()); pic && pic->Graphic() && !pic->Graphic()->Empty())
                    content = text + pictures.Write(pic->Graphic());
                break;
            default: break;
            }
        }
        body += QStringLiteral("<TD class=\"c%1\"").arg(cls) + attrs + u'>' + content + QStringLiteral("</td>") + CRLF;
    };

    if (headerRow) {
        body += QStringLiteral("<TR>") + CRLF;
        for (int c = firstCol; c < ColCount(); ++c)
            cellLine(c, 0, true);
        body += QStringLiteral("</TR>") + CRLF;
    }
    pictures.Next = std::max(1, pictures.Next);
    ExportNotification(esExportStart, firstRow);
    for (int r = firstRow; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        body += QStringLiteral("<TR>") + CRLF;
        for (int c = firstCol; c < ColCount(); ++c)
            cellLine(c, r, false);
        body += QStringLiteral("</TR>") + CRLF;
    }
    ExportNotification(esExportDone, -1);
    body += QStringLiteral("</TABLE>") + CRLF;
    if (!hs->SuffixTag.isEmpty())
        body += hs->SuffixTag + CRLF;
    if (hs->XHTML)
        body += QStringLiteral("</HTML>") + CRLF;

    UnicodeString doc;
    if (hs->XHTML)
        doc += QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                              "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\r\n"
                              "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
                              "<HTML xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\r\n");
    doc += hs->PrefixTag;
    doc += QStringLiteral("<style>") + CRLF;
    for (qsizetype i = 0; i < classes.size(); ++i)
        doc += QStringLiteral(".c%1 {").arg(i) + classes[i] + u'}' + CRLF;
    doc += QStringLiteral("</style>") + CRLF;
    return doc + body;
}

// ---- the file ----

void TExtStringGrid::SaveToHTML(const UnicodeString &FileName, bool Show, bool Unicode)
{
    WriteHTMLFile(FileName, Show, Unicode, false);
}

void TExtStringGrid::AppendToHTML(const UnicodeString &FileName, bool Show, bool Unicode)
{
    WriteHTMLFile(FileName, Show, Unicode, true);
}

void TExtStringGrid::WriteHTMLFile(const UnicodeString &FileName, bool Show, bool Unicode, bool Appending)
{
    UnicodeString text;
    auto addLines = [&text](const QStringList &Lines) {
        for (const QString &l : Lines)
            text += l + CRLF;
    };
    if (Appending) {
        try {
            addLines(ReadTextLines(FileName));
        } catch (const Exception &) {
            // A file that is not there (or cannot be read) is started afresh.
        }
    }
    if (!FHTMLSettings->HeaderFile.isEmpty())
        addLines(ReadTextLines(FHTMLSettings->HeaderFile));
    UnicodeString dir = ExtractFilePath(FileName);
    dir.replace(u'\\', u'/');
    text += SaveToHTMLString(dir);
    if (!FHTMLSettings->FooterFile.isEmpty())
        addLines(ReadTextLines(FHTMLSettings->FooterFile));

    QByteArray bytes;
    if (Unicode) {
        bytes = TEncoding::Unicode()->GetPreamble() + TEncoding::Unicode()->GetBytes(text);
    } else {
        bytes.reserve(text.size());
        for (QChar ch : std::as_const(text))
            bytes += ch.unicode() < 0x80 ? char(ch.unicode()) : '?';
    }
    WriteFileAtomic(FileName, bytes);
    if (Show || FHTMLSettings->AutoPreview)
        ShellExecuteW(nullptr, QStringLiteral("open"), FileName, UnicodeString(), UnicodeString(), SW_SHOWNORMAL);
}
