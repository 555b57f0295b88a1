// The string grid's save range as flat XML, and XML documents read back into cells.
#include "grid/core/ExtGrid.h"

#include "platform/Encoding.h"
#include "platform/FileUtils.h"
#include "grid/services/GridXmlWalk.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

// The document's bytes in the encoding its declaration names, so that a conforming reader
// gets every character back: what the encoding cannot carry goes as a character reference.
// An encoding we do not know gets the 8-bit code page, as files of this grid always had.
QByteArray EncodeXmlText(const UnicodeString &Text, const UnicodeString &Encoding)
{
    const QString enc = Encoding.trimmed().toLower();
    if (enc == QLatin1StringView("utf-8") || enc == QLatin1StringView("utf8"))
        return Text.toUtf8();
    const bool latin1 = enc == QLatin1StringView("iso-8859-1") || enc == QLatin1StringView("latin1") ||
                        enc == QLatin1StringView("iso_8859-1") || enc == QLatin1StringView("latin-1");
    TEncoding *ansi = latin1 ? TEncoding::Latin1() : TEncoding::ANSI();
    QByteArray out;
    out.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        char32_t cp = Text[i].unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < Text.size() && Text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(Text[i], Text[i + 1]);
            ++i;
        }
        if (cp < 0x80) {
            out += char(cp);
            continue;
        }
        if (cp < 0x100 && latin1) {
            out += char(cp);
            continue;
        }
        if (!latin1 && cp < 0x10000) {
            const QString one{QChar(char16_t(cp))};
            const QByteArray b = ansi->GetBytes(one);
            if (b.size() == 1 && ansi->GetString(b) == one) {
                out += b;
                continue;
            }
        }
        out += "&#" + QByteArray::number(quint32(cp)) + ';';
    }
    return out;
}

} // namespace

// ---- writing ----

void TExtStringGrid::SaveToXML(const UnicodeString &FileName, const UnicodeString &ListDescr,
                               const UnicodeString &RecordDescr, TStrings *FieldDescr, bool ExportEmptyCells)
{
    const QLatin1StringView crlf("\r\n");
    UnicodeString text;
    text += QStringLiteral("<?xml version=\"1.0\" encoding=\"") + FXMLEncoding + QStringLiteral("\" ?>") + crlf;
    text += u'<' + ListDescr + u'>' + crlf;

    const int c1 = SaveStartCol();
    const int c2 = SaveEndCol() + (FSaveHiddenCells ? NumHiddenColumns() : 0);
    const int r1 = SaveStartRow(), r2 = SaveEndRow();
    std::vector<UnicodeString> names;
    for (int c = c1; c <= c2; ++c) {
        const int i = c - c1;
        names.push_back(FieldDescr && i < FieldDescr->Count() ? FieldDescr->Strings(i)
                                                              : QStringLiteral("FIELD") + QString::number(i));
    }

    int last = INT_MIN;
    ExportNotification(esExportStart, r1);
    for (int r = r1; r <= r2; ++r) {
        ExportNotification(esExportNextRow, r);
        text += u'<' + RecordDescr + u'>' + crlf;
        for (int c = c1; c <= c2; ++c) {
            const int rc = FSaveHiddenCells ? c : RealColIndex(c);
            if (IsMergedNonBaseCell(rc, r))
                continue;
            UnicodeString s;
            DoSaveCell(rc, r, s);
            if (s.isEmpty() && !ExportEmptyCells)
                continue;
            const UnicodeString &name = names[size_t(c - c1)];
            text += u'<' + name + u'>' + (s.isEmpty() && FQuoteEmptyCells ? QStringLiteral("\"\"") : EscapeGridXmlField(s)) +
                    QStringLiteral("</") + name + u'>' + crlf;
        }
        text += QStringLiteral("</") + RecordDescr + u'>' + crlf;
        // From 0 at the first saved row to 100 at the last.
        FireFileProgress(int(std::nearbyint(double(r - r1) / double(std::max(1, r2 - r1)) * 100.0)), last);
    }
    text += QStringLiteral("</") + ListDescr + u'>' + crlf;
    ExportNotification(esExportDone, -1);

    try {
        WriteFileAtomic(FileName, EncodeXmlText(text, FXMLEncoding));
    } catch (const EFCreateError &) {
        throw RIdeZareVorev(QStringLiteral("Cannot Create file ") + FileName);
    }
}

// ---- reading ----

namespace {

class TGridXmlLoader : public TGridXmlSink {
public:
    TGridXmlLoader(TExtStringGrid *Grid, int StartCol, int StartRow, bool NamesToRow0)
        : FGrid(Grid), FStartCol(StartCol), FStartRow(StartRow), FNamesToRow0(NamesToRow0), MaxCol(StartCol),
          MaxRow(StartRow)
    {
    }

    void Store(int Col, int Row, const UnicodeString &Name, const UnicodeString &Value, bool NameWanted) override
    {
        const long long c = (long long)FStartCol + Col, r = (long long)FStartRow + Row;
        // A level that starts before the first row has no cell to fill.
        if (r < 0)
            return;
        // A document that would need more rows or columns than the grid's files may bring is
        // refused before the grid grows.
        if (c >= TExtStringGrid::MaxFileCols || r >= TExtStringGrid::MaxFileRows)
            throw Exception(QStringLiteral("XML file holds more rows or columns than the grid can take"));
        // Grown in steps that double, so that a wide or long document costs no more than a
        // few resizes; the import sets the final size at its end.
        if (FGrid->ColCount() <= c)
            FGrid->SetColCount(int(std::min<long long>(TExtStringGrid::MaxFileCols, std::max(c + 1, 2LL * FGrid->ColCount()))));
        if (FGrid->RowCount() <= r)
            FGrid->SetRowCount(int(std::min<long long>(TExtStringGrid::MaxFileRows, std::max(r + 1, 2LL * FGrid->RowCount()))));
        if (NameWanted && FNamesToRow0 && FGrid->GridCells(int(c), 0).isEmpty())
            FGrid->DoLoadCell(int(c), 0, Name);
        FGrid->DoLoadCell(int(c), int(r), Value);
        MaxCol = std::max(MaxCol, int(c));
        MaxRow = std::max(MaxRow, int(r));
    }

    void StoreEmpty(int Col, int Row) override { FGrid->DoLoadCell(FStartCol + Col, FStartRow + Row, UnicodeString()); }

private:
    TExtStringGrid *FGrid;
    int FStartCol;
    int FStartRow;
    bool FNamesToRow0;

public:
    int MaxCol;
    int MaxRow;
};

} // namespace

void TExtStringGrid::LoadFromXML(const UnicodeString &FileName, bool LevelToRow, bool LoadFieldDescr)
{
    const bool namesToRow0 = FSaveFixedCells || FSaveFixedRows;
    TGridXmlLoader loader(this, SaveStartCol(), namesToRow0 && !LoadFieldDescr ? 0 : FixedRows(), namesToRow0);
    struct TBulkAfter {
        TExtStringGrid *Grid;
        ~TBulkAfter() { Grid->BulkCellsChanged(); }
    } bulk{this};
    WalkGridXml(FileName, LevelToRow, LoadFieldDescr, FQuoteEmptyCells, loader);
    SetColCount(loader.MaxCol + 1);
    SetRowCount(loader.MaxRow + 1);
}
