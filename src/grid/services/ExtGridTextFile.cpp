// The grid's own text file and its stream form, the save range the exporters cover, the
// numeric reading of a cell and the grid's share in rescaling a form.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "grid/services/GridFileText.h"
#include "platform/Encoding.h"
#include "platform/FileUtils.h"
#include "platform/Filer.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <climits>
#include <cmath>


Cardinal TExtStringGrid::GridID()
{
    if (FGridID == 0)
        FGridID = NewStreamOwnerID();
    return FGridID;
}

void TExtStringGrid::FireFileProgress(int Value, int &Last)
{
    if (!OnFileProgress || Value == Last)
        return;
    Last = Value;
    OnFileProgress(this, SmallInt(std::clamp(Value, int(SHRT_MIN), int(SHRT_MAX))));
}

namespace {

// The packed form of a cell text for a line of the file or stream. A text with a line feed but
// no CR is packed too: written as it is, its line feed would end the line and the rest would
// read as a line of its own, even as another cell's line.
UnicodeString PackCellText(const UnicodeString &Text)
{
    if (Text.contains(u'\r') || !Text.contains(u'\n'))
        return PackLineBreaks(Text);
    return PackLineBreaks(Text + u'\r').chopped(1);
}

} // namespace

// ---- the text file ----

namespace {

void AppendNumber(QString &Text, int Value)
{
    char buf[12];
    int n = 0;
    unsigned v = Value < 0 ? 0u - unsigned(Value) : unsigned(Value);
    do {
        buf[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    if (Value < 0)
        Text += u'-';
    while (n > 0)
        Text += QLatin1Char(buf[--n]);
}

// The counts line and the width lines of columns C1..C2.
void AppendHead(TExtStringGrid &G, QString &Text, int Cols, int Rows, int C1, int C2)
{
    AppendNumber(Text, Cols);
    Text += u',';
    AppendNumber(Text, Rows);
    Text += QLatin1String("\r\n");
    for (int c = C1; c <= C2; ++c) {
        Text += QLatin1String("cw ");
        AppendNumber(Text, c);
        Text += u',';
        AppendNumber(Text, G.ColWidths(c));
        Text += QLatin1String("\r\n");
    }
}

// The cell lines of both forms: rows R1..R2 and columns C1..C2 whose text to save is not empty,
// numbered from (ColBase, RowBase), with the export notification; AfterRow hears each row's end.
template <typename F>
void AppendCellLines(TExtStringGrid &G, QString &Text, int C1, int C2, int R1, int R2, int ColBase, int RowBase, F AfterRow)
{
    G.ExportNotification(esExportStart, R1);
    for (int r = R1; r <= R2; ++r) {
        G.ExportNotification(esExportNextRow, r);
        for (int c = C1; c <= C2; ++c) {
            UnicodeString s;
            G.DoSaveCell(c, r, s);
            if (s.isEmpty())
                continue;
            AppendNumber(Text, c - ColBase);
            Text += u',';
            AppendNumber(Text, r - RowBase);
            Text += u',';
            Text += PackCellText(s);
            Text += QLatin1String("\r\n");
        }
        AfterRow(r);
    }
    G.ExportNotification(esExportDone, -1);
}

} // namespace

void TExtStringGrid::SaveToFile(const UnicodeString &FileName, bool Unicode)
{
    const int extra = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const int c1 = SaveStartCol(), c2 = SaveEndCol() + extra;
    const int r1 = SaveStartRow(), r2 = SaveEndRow();
    QString text;
    AppendHead(*this, text, SaveColCount() + extra, SaveRowCount(), c1, c2);
    int last = INT_MIN;
    AppendCellLines(*this, text, c1, c2, r1, r2, 0, 0, [&](int R) { FireFileProgress(GridFileText::Percent(R, SaveRowCount() - 1), last); });
    WriteFileAtomic(FileName, GridFileText::Encode(text, Unicode ? TEncoding::Unicode() : TEncoding::ANSI(), Unicode));
}

void TExtStringGrid::LoadFromFile(const UnicodeString &FileName)
{
    TEncoding *enc = nullptr;
    const QString content = GridFileText::Decode(ReadFileBytes(FileName, MaxDataFileSize), enc);
    const std::vector<QStringView> lines = GridFileText::SplitLineViews(content);
    const int colOffset = FSaveFixedCells || FSaveFixedCols ? 0 : FixedCols();
    const int rowOffset = FSaveFixedCells || FSaveFixedRows ? 0 : FixedRows();
    auto corrupt = [&FileName] { throw RIdeZareVorev(QStringLiteral("File contains no data or corrupt file ") + FileName); };

    if (!lines.empty() && !lines[0].isEmpty()) {
        const QStringView first = lines[0];
        const qsizetype comma = first.indexOf(u',');
        // The counts are checked before the grid takes them: a damaged first line must not
        // leave the grid resized or make it allocate without bound.
        const long long cols = (long long)colOffset + IntPrefixValue(comma < 0 ? QStringView() : first.left(comma));
        const long long rows = (long long)rowOffset + IntPrefixValue(comma < 0 ? first : first.sliced(comma + 1));
        if (cols <= 0 || rows <= 0 || cols > MaxFileCols || rows > MaxFileRows)
            corrupt();
        SetColCount(int(cols));
        SetRowCount(int(rows));
    }
    if (ColCount() == 0 || RowCount() == 0)
        corrupt();

    int last = INT_MIN;
    int cellLines = 0;
    const bool whole = Multilinecells();
    for (size_t i = 1; i < lines.size(); ++i) {
        const QStringView l = lines[i];
        if (l.startsWith(u"cw")) {
            const QStringView rest = l.size() > 3 ? l.sliced(3) : QStringView();
            const qsizetype comma = rest.indexOf(u',');
            const int col = IntPrefixValue(comma < 0 ? rest : rest.left(comma));
            const int width = comma < 0 ? 0 : IntPrefixValue(rest.sliced(comma + 1).left(255));
            if (col >= 0 && col < ColCount())
                SetColWidths(col, std::clamp(width, 0, SHRT_MAX));
            continue;
        }
        const qsizetype c1 = l.indexOf(u',');
        const qsizetype c2 = c1 < 0 ? -1 : l.indexOf(u',', c1 + 1);
        // A line without its two commas names no cell; it must not land in cell (0, 0).
        if (c2 < 0)
            continue;
        const int col = IntPrefixValue(l.left(c1));
        const int row = IntPrefixValue(l.sliced(c1 + 1, c2 - c1 - 1));
        if (col >= 0 && col < ColCount() && row >= 0 && row < RowCount()) {
            const QStringView packed = l.sliced(c2 + 1);
            if (!OnLoadCell && !packed.contains(QChar(8)) && !packed.contains(u'\r'))
                // Nothing to unpack or cut: straight to the cell store, repainted at the end.
                Store().SetText(col, row, packed);
            else
                DoLoadCell(col, row, UnpackLineBreaks(packed.toString(), whole));
        }
        FireFileProgress(GridFileText::Percent(row, RowCount() - 1), last);
        // Long loads keep the window responsive; asking for every line would cost more than
        // the reading itself.
        if ((++cellLines & 1023) == 0 && Application)
            Application->ProcessMessages();
    }
    Invalidate();
    DoCellsChanged(TRect(0, 0, ColCount(), RowCount()));
    BulkCellsChanged();
}

// ---- the stream form ----

namespace {

// Reads the stream form's lines: UTF-16 code units up to a CR, whose next unit is taken
// without a look. Keeps the position of each line's start so that the reader can step back.
class TLineReader {
public:
    explicit TLineReader(TStream *S) : FStream(S), FPos(S->Position()), FEnd(S->Size()) {}

    bool AtEnd() const { return FEnd - FPos < 2; }
    Int64 Position() const { return FPos; }
    void Restore(Int64 Pos) { FPos = Pos; FStream->SetPosition(Pos); }

    QString ReadLine()
    {
        QString line;
        while (!AtEnd()) {
            const char16_t u = ReadUnit();
            if (u == 13) {
                if (!AtEnd())
                    ReadUnit();
                break;
            }
            line += QChar(u);
        }
        FStream->SetPosition(FPos);
        return line;
    }

private:
    char16_t ReadUnit()
    {
        if (FBufPos + 2 > FBuf.size() || FBufStart + FBufPos != FPos) {
            // Refill from the current position.
            FStream->SetPosition(FPos);
            const Int64 n = std::min<Int64>(65536, FEnd - FPos) & ~Int64(1);
            FBuf.resize(qsizetype(n));
            FStream->ReadBuffer(FBuf.data(), int(n));
            FBufStart = FPos;
            FBufPos = 0;
        }
        const auto lo = Byte(FBuf[FBufPos]), hi = Byte(FBuf[FBufPos + 1]);
        FBufPos += 2;
        FPos += 2;
        return char16_t(lo | hi << 8);
    }

    TStream *FStream;
    Int64 FPos;
    Int64 FEnd;
    QByteArray FBuf;
    Int64 FBufStart = 0;
    qsizetype FBufPos = 0;
};

// The stream form's numbers are strict: anything but an integer is a conversion error.
long long StrictInt(const QString &Text) { return StrToInt(Text); }

} // namespace

void TExtStringGrid::SaveToStream(TStream *Stream)
{
    const int c1 = SaveStartCol(), c2 = SaveEndCol(), r1 = SaveStartRow(), r2 = SaveEndRow();
    QString text;
    AppendHead(*this, text, SaveColCount(), SaveRowCount(), 0, ColCount() - 1);
    AppendCellLines(*this, text, c1, c2, r1, r2, c1, r1, [](int) {});
    // UTF-16 code units as they are, without a byte-order mark.
    const QByteArray bytes = TEncoding::Unicode()->GetBytes(text);
    Stream->WriteBuffer(bytes.constData(), int(bytes.size()));
}

void TExtStringGrid::LoadFromStream(TStream *Stream)
{
    TLineReader in(Stream);
    const bool whole = Multilinecells();
    if (!in.AtEnd()) {
        const Int64 start = in.Position();
        const QString first = in.ReadLine();
        if (!first.isEmpty()) {
            const qsizetype comma = first.indexOf(u',');
            const long long cols = StrictInt(comma < 0 ? QString() : first.left(comma)) + SaveStartCol();
            const long long rows = StrictInt(first.mid(comma + 1)) + SaveStartRow();
            if (cols < 0 || rows < 0 || cols > MaxFileCols || rows > MaxFileRows) {
                in.Restore(start);
                throw EReadError(QStringLiteral("Stream read error"));
            }
            SetColCount(int(cols));
            SetRowCount(int(rows));
        }
    }
    while (!in.AtEnd()) {
        const Int64 start = in.Position();
        const QString l = in.ReadLine();
        if (l.startsWith(u"cw")) {
            const QString rest = l.mid(3);
            const qsizetype comma = rest.indexOf(u',');
            const long long col = StrictInt(comma < 0 ? QString() : rest.left(comma));
            const long long width = StrictInt(rest.mid(comma + 1));
            // A width for a column this grid does not have (a right fixed column left out of
            // the save) is passed over, as the file reader does.
            if (col >= 0 && col < ColCount())
                SetColWidths(int(col), int(std::clamp<long long>(width, 0, SHRT_MAX)));
            continue;
        }
        const qsizetype c1 = l.indexOf(u',');
        const qsizetype c2 = c1 < 0 ? -1 : l.indexOf(u',', c1 + 1);
        if (c2 < 0) {
            in.Restore(start);
            break;
        }
        const long long col = StrictInt(l.left(c1)) + SaveStartCol();
        const long long row = StrictInt(l.mid(c1 + 1, c2 - c1 - 1)) + SaveStartRow();
        if (col >= 0 && col <= INT_MAX && row >= 0 && row <= INT_MAX)
            DoLoadCell(int(col), int(row), UnpackLineBreaks(l.mid(c2 + 1), whole));
    }
    DoCellsChanged(TRect(0, 0, ColCount(), RowCount()));
    BulkCellsChanged();
}

void TExtStringGrid::AssignCells(TPersistent *Source)
{
    auto *from = dynamic_cast<TExtStringGrid *>(Source);
    if (!from)
        return;
    TMemoryStream s;
    from->SaveToStream(&s);
    s.SetPosition(0);
    LoadFromStream(&s);
}

// ---- numbers and scaling ----

double TExtStringGrid::CellToReal(int ACol, int ARow)
{
    const UnicodeString text = GetCellEx(ACol, ARow);
    if (text.isEmpty())
        return 0;
    const UnicodeString num = ExtractNumberText(text);
    // A number as the classic Val takes it: sign, digits, a point with digits, an exponent;
    // the 1-based position of the first character that does not fit is the error.
    qsizetype i = 0;
    const qsizetype n = num.size();
    auto digits = [&] {
        const qsizetype from = i;
        while (i < n && num[i].isDigit() && num[i].unicode() < 128)
            ++i;
        return i > from;
    };
    bool ok = true;
    if (i < n && (num[i] == u'-' || num[i] == u'+'))
        ++i;
    bool any = digits();
    if (i < n && num[i] == u'.') {
        ++i;
        any = digits() || any;
    }
    if (!any)
        ok = false;
    else if (i < n && (num[i] == u'e' || num[i] == u'E')) {
        ++i;
        if (i < n && (num[i] == u'-' || num[i] == u'+'))
            ++i;
        ok = digits();
    }
    if (!ok || i < n)
        throw RIdeZareVorev(QStringLiteral("Error at position: %1 in Cell [%2, %3].").arg(i + 1).arg(ACol).arg(ARow));
    return num.toDouble();
}

void TExtStringGrid::ChangeScale(int M, int D)
{
    if (Designing() || M == D || D == 0)
        return;
    auto scale = [M, D](TFont *F) {
        F->SetSize(int(std::llround(double((long long)F->Size() * M) / double(D))));
    };
    scale(FFixedFont);
    scale(FActiveCellFont);
}
