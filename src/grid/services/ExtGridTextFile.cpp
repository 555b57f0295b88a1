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
#include <string>
#include <type_traits>


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

// Writes Value's decimal digits (a sign first) ending at End; answers where they begin.
char *NumberBefore(char *End, int Value)
{
    unsigned v = Value < 0 ? 0u - unsigned(Value) : unsigned(Value);
    do {
        *--End = char('0' + v % 10);
        v /= 10;
    } while (v);
    if (Value < 0)
        *--End = '-';
    return End;
}

// Where the lines go: UTF-16 text (the Unicode file and the stream form) ...
class TUtf16Sink {
public:
    explicit TUtf16Sink(QString &Out) : FOut(Out) {}
    void Ascii(const char *P, qsizetype N) { FOut.append(QLatin1StringView(P, N)); }
    void Text(const UnicodeString &S) { FOut += S; }
    qsizetype Size() const { return FOut.size(); }
    void Reserve(qsizetype N) { FOut.reserve(N); }

private:
    QString &FOut;
};

// ... or the 8-bit file's bytes straight away: the numbers are ASCII, and so are most texts,
// which then need no table.
class TAnsiSink {
public:
    explicit TAnsiSink(TEncoding *Enc) : FEnc(Enc) {}
    void Ascii(const char *P, qsizetype N) { FOut.append(P, size_t(N)); }
    void Text(const UnicodeString &S)
    {
        const char16_t *d = reinterpret_cast<const char16_t *>(S.constData());
        const qsizetype n = S.size();
        char16_t any = 0;
        for (qsizetype i = 0; i < n; ++i)
            any |= d[i];
        if (any >= 0x80) {
            const QByteArray b = FEnc->GetBytes(S);
            FOut.append(b.constData(), size_t(b.size()));
            return;
        }
        const size_t at = FOut.size();
        FOut.resize(at + size_t(n));
        char *out = FOut.data() + at;
        for (qsizetype i = 0; i < n; ++i)
            out[i] = char(d[i]);
    }
    qsizetype Size() const { return qsizetype(FOut.size()); }
    void Reserve(qsizetype N) { FOut.reserve(size_t(N)); }
    // The bytes, valid while the sink lives.
    QByteArray Bytes() const { return QByteArray::fromRawData(FOut.data(), qsizetype(FOut.size())); }

private:
    TEncoding *FEnc;
    std::string FOut;
};

template <typename Sink>
void AppendNumber(Sink &Out, int Value)
{
    char buf[12];
    const char *from = NumberBefore(buf + 12, Value);
    Out.Ascii(from, buf + 12 - from);
}

// The counts line and the width lines of columns C1..C2.
template <typename Sink>
void AppendHead(TExtStringGrid &G, Sink &Out, int Cols, int Rows, int C1, int C2)
{
    AppendNumber(Out, Cols);
    Out.Ascii(",", 1);
    AppendNumber(Out, Rows);
    Out.Ascii("\r\n", 2);
    for (int c = C1; c <= C2; ++c) {
        Out.Ascii("cw ", 3);
        AppendNumber(Out, c);
        Out.Ascii(",", 1);
        AppendNumber(Out, G.ColWidths(c));
        Out.Ascii("\r\n", 2);
    }
}

// The cell lines of both forms: rows R1..R2 and columns C1..C2 whose text to save is not empty,
// numbered from (ColBase, RowBase), with the export notification; AfterRow hears each row's end.
template <typename Sink, typename F>
void AppendCellLines(TExtStringGrid &G, Sink &Out, int C1, int C2, int R1, int R2, int ColBase, int RowBase, F AfterRow)
{
    G.ExportNotification(esExportStart, R1);
    const qsizetype start = Out.Size();
    UnicodeString s;
    for (int r = R1; r <= R2; ++r) {
        G.ExportNotification(esExportNextRow, r);
        // Every cell line but the first ends the line before it; with the row's part, written
        // once, the numbers go in as one piece: CR LF, column, ",", row, ",".
        char head[40];
        char *const end = head + sizeof head;
        *(end - 1) = ',';
        char *const rowFrom = NumberBefore(end - 1, r - RowBase) - 1;
        *rowFrom = ',';
        for (int c = C1; c <= C2; ++c) {
            G.DoSaveCell(c, r, s);
            if (s.isEmpty())
                continue;
            char *from = NumberBefore(rowFrom, c - ColBase);
            if (Out.Size() > start) {
                *--from = '\n';
                *--from = '\r';
            }
            Out.Ascii(from, end - from);
            bool breaks = false;
            for (QChar ch : std::as_const(s))
                breaks |= ch == u'\r' || ch == u'\n';
            Out.Text(breaks ? PackCellText(s) : s);
        }
        AfterRow(r);
        // After the first rows the size of the whole is known well enough to make room once,
        // instead of moving the text each time it outgrows its room.
        if (r == R1 + 63 && R2 > r) {
            const qsizetype perRow = (Out.Size() - start) / 64 + 1;
            Out.Reserve(Out.Size() + perRow * (qsizetype(R2) - r) * 9 / 8);
        }
    }
    if (Out.Size() > start)
        Out.Ascii("\r\n", 2);
    G.ExportNotification(esExportDone, -1);
}

} // namespace

void TExtStringGrid::SaveToFile(const UnicodeString &FileName, bool Unicode)
{
    const int extra = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const int c1 = SaveStartCol(), c2 = SaveEndCol() + extra;
    const int r1 = SaveStartRow(), r2 = SaveEndRow();
    int last = INT_MIN;
    auto write = [&](auto &Out) {
        AppendHead(*this, Out, SaveColCount() + extra, SaveRowCount(), c1, c2);
        AppendCellLines(*this, Out, c1, c2, r1, r2, 0, 0, [&](int R) { FireFileProgress(GridFileText::Percent(R, SaveRowCount() - 1), last); });
    };
    if (Unicode) {
        QString text;
        TUtf16Sink out(text);
        write(out);
        WriteFileAtomic(FileName, GridFileText::Encode(text, TEncoding::Unicode(), true));
    } else {
        TAnsiSink out(TEncoding::ANSI());
        write(out);
        WriteFileAtomic(FileName, out.Bytes());
    }
}

namespace {

// What a cell line needs to be read: where its first two commas stand (-1 when missing),
// whether it holds the mark of a packed break and whether all of it is ASCII.
struct TLineMarks {
    qsizetype Comma1 = -1;
    qsizetype Comma2 = -1;
    bool PackedBreak = false;
    bool Ascii = true;
};

// Splits a text (UTF-16, or the bytes of an 8-bit file, whose line breaks, commas and digits
// are ASCII) into lines as GridFileText::SplitLineViews does, one line at a time; the same look
// along a line finds its marks.
template <typename Ch>
class TLineCursor {
public:
    TLineCursor(const Ch *Data, qsizetype Size) : FData(Data), FSize(Size) {}
    bool Next(const Ch *&Line, qsizetype &Length, TLineMarks &Marks)
    {
        const qsizetype n = FSize;
        if (FPos >= n)
            return false;
        const Ch *d = FData;
        Marks = TLineMarks();
        unsigned high = 0;
        qsizetype i = FPos;
        for (; i < n; ++i) {
            const unsigned ch = static_cast<std::make_unsigned_t<Ch>>(d[i]);
            high |= ch;
            if (ch > u',')
                continue;
            if (ch == u'\r' || ch == u'\n')
                break;
            if (ch == u',' && Marks.Comma2 < 0) {
                if (Marks.Comma1 < 0)
                    Marks.Comma1 = i - FPos;
                else
                    Marks.Comma2 = i - FPos;
            } else if (ch == 8) {
                Marks.PackedBreak = true;
            }
        }
        Marks.Ascii = high < 0x80;
        Line = d + FPos;
        Length = i - FPos;
        if (i < n && d[i] == u'\r' && i + 1 < n && d[i + 1] == u'\n')
            ++i;
        FPos = i + 1;
        return true;
    }

private:
    const Ch *FData;
    qsizetype FSize;
    qsizetype FPos = 0;
};

// A piece of a line as text: UTF-16 as it stands, bytes widened (ASCII) or through the file's
// encoding. Scratch keeps the room between calls.
QStringView PieceText(const char16_t *P, qsizetype N, bool, TEncoding *, QString &)
{
    return QStringView(P, N);
}

QStringView PieceText(const char *P, qsizetype N, bool Ascii, TEncoding *Enc, QString &Scratch)
{
    if (!Ascii) {
        Scratch = Enc->GetString(QByteArray::fromRawData(P, N));
        return Scratch;
    }
    Scratch.resize(N);
    char16_t *out = reinterpret_cast<char16_t *>(Scratch.data());
    for (qsizetype i = 0; i < N; ++i)
        out[i] = char16_t(static_cast<unsigned char>(P[i]));
    return Scratch;
}

// A number of the file as IntPrefixValue reads it; plain digits, as the writer puts them, are
// read on the spot.
template <typename Ch>
int FileNumber(const Ch *P, qsizetype N, TEncoding *Enc, QString &Scratch)
{
    if (N > 0 && N <= 9) {
        int v = 0;
        qsizetype i = 0;
        for (; i < N; ++i) {
            const unsigned c = static_cast<std::make_unsigned_t<Ch>>(P[i]);
            if (c < u'0' || c > u'9')
                break;
            v = v * 10 + int(c - u'0');
        }
        if (i == N)
            return v;
    }
    return IntPrefixValue(PieceText(P, N, false, Enc, Scratch));
}

} // namespace

template <typename Ch>
void TExtStringGrid::LoadFileLines(const Ch *Data, qsizetype Size, TEncoding *Enc, const UnicodeString &FileName)
{
    TLineCursor<Ch> lines(Data, Size);
    const int colOffset = FSaveFixedCells || FSaveFixedCols ? 0 : FixedCols();
    const int rowOffset = FSaveFixedCells || FSaveFixedRows ? 0 : FixedRows();
    auto corrupt = [&FileName] { throw RIdeZareVorev(QStringLiteral("File contains no data or corrupt file ") + FileName); };
    QString scratch;

    const Ch *l = nullptr;
    qsizetype len = 0;
    TLineMarks marks;
    if (lines.Next(l, len, marks) && len > 0) {
        const QString first = PieceText(l, len, marks.Ascii, Enc, scratch).toString();
        const qsizetype comma = first.indexOf(u',');
        // The counts are checked before the grid takes them: a damaged first line must not
        // leave the grid resized or make it allocate without bound.
        const long long cols = (long long)colOffset + IntPrefixValue(comma < 0 ? QStringView() : QStringView(first).left(comma));
        const long long rows = (long long)rowOffset + IntPrefixValue(comma < 0 ? QStringView(first) : QStringView(first).sliced(comma + 1));
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
    while (lines.Next(l, len, marks)) {
        if (len >= 2 && l[0] == 'c' && l[1] == 'w') {
            const QString line = PieceText(l, len, marks.Ascii, Enc, scratch).toString();
            const QStringView rest = line.size() > 3 ? QStringView(line).sliced(3) : QStringView();
            const qsizetype comma = rest.indexOf(u',');
            const int col = IntPrefixValue(comma < 0 ? rest : rest.left(comma));
            const int width = comma < 0 ? 0 : IntPrefixValue(rest.sliced(comma + 1).left(255));
            if (col >= 0 && col < ColCount())
                SetColWidths(col, std::clamp(width, 0, SHRT_MAX));
            continue;
        }
        const qsizetype c1 = marks.Comma1, c2 = marks.Comma2;
        // A line without its two commas names no cell; it must not land in cell (0, 0).
        if (c2 < 0)
            continue;
        const int col = FileNumber(l, c1, Enc, scratch);
        const int row = FileNumber(l + c1 + 1, c2 - c1 - 1, Enc, scratch);
        if (col >= 0 && col < ColCount() && row >= 0 && row < RowCount()) {
            const QStringView packed = PieceText(l + c2 + 1, len - c2 - 1, marks.Ascii, Enc, scratch);
            // A line holds no CR: only the mark of a packed break asks for more than the store.
            if (!OnLoadCell && !marks.PackedBreak)
                Store().SetText(col, row, packed);
            else
                DoLoadCell(col, row, UnpackLineBreaks(packed.toString(), whole));
        }
        if (OnFileProgress)
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

void TExtStringGrid::LoadFromFile(const UnicodeString &FileName)
{
    const QByteArray bytes = ReadFileBytes(FileName, MaxDataFileSize);
    TEncoding *enc = nullptr;
    if (TEncoding::GetBufferEncoding(bytes, enc) == 0 && !enc->IsUnicode()) {
        // An 8-bit file is read as its bytes: only texts beyond ASCII go through the table.
        LoadFileLines(bytes.constData(), bytes.size(), enc, FileName);
        return;
    }
    const QString content = GridFileText::Decode(bytes, enc);
    LoadFileLines(reinterpret_cast<const char16_t *>(content.constData()), content.size(), enc, FileName);
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
    TUtf16Sink out(text);
    AppendHead(*this, out, SaveColCount(), SaveRowCount(), 0, ColCount() - 1);
    AppendCellLines(*this, out, c1, c2, r1, r2, c1, r1, [](int) {});
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
