// Delimited (CSV), fixed-width and ASCII report text of the string grid.
#include "grid/core/ExtGrid.h"
#include "grid/services/HourGlass.h"

#include "controls/ExtGridUtil.h"
#include "grid/services/GridFileText.h"
#include "platform/Encoding.h"
#include "platform/FileUtils.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

const QChar Quote(u'"');


// Index of the last quote of the first run of double quotes of odd length at or after From;
// -1 when there is none. Doubled quotes inside a quoted field are escaped ones.
qsizetype OddQuoteRunEnd(QStringView S, qsizetype From)
{
    const qsizetype n = S.size();
    const QChar *d = S.data();
    qsizetype i = From;
    while (i < n) {
        if (d[i] != Quote) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < n && d[j] == Quote)
            ++j;
        if ((j - i) % 2 == 1)
            return j - 1;
        i = j;
    }
    return -1;
}

QString Undouble(QStringView S)
{
    if (!S.contains(Quote))
        return S.toString();
    QString r;
    r.reserve(S.size());
    for (qsizetype i = 0; i < S.size(); ++i) {
        r += S[i];
        if (S[i] == Quote && i + 1 < S.size() && S[i + 1] == Quote)
            ++i;
    }
    return r;
}

// The delimiter that splits the first two lines alike (see DetectDelimiter's rules); the
// character 0 when none does.
QChar DetectDelimiter(const QString &L1, const QString &L2)
{
    static const char16_t Candidates[] = u",;#\t|@*-+&";
    QChar found(0);
    int best = 0;
    // Three rules in turn, each only when the one before found nothing: unescaped occurrences
    // equal in both lines (the larger count wins, a tie keeps the earlier candidate); plain
    // occurrences equal in both lines; and, as the file may hold a single line, the most
    // frequent candidate of either line.
    for (int rule = 0; rule < 3 && found.isNull(); ++rule)
        for (QChar c : QStringView(Candidates)) {
            const int a = rule == 0 ? CountUndoubledChar(c, L1) : CountCharOccurrences(c, L1);
            const int b = rule == 0 ? CountUndoubledChar(c, L2) : CountCharOccurrences(c, L2);
            if (rule < 2 ? a == b && a > best : a > best || b > best) {
                found = c;
                best = std::max(a, b);
            }
        }
    return found;
}

struct TCSVFieldOptions {
    bool AlwaysQuotes;
    bool QuoteEmpty;
    bool Java;
    bool Oem;
};

// Adds a cell's text to a CSV line as one field that every reader, this grid's and others',
// takes back whole: a text holding the delimiter, a quote or a line break travels in quotes
// with its quotes doubled and its line breaks as they are; so does a text that begins with a
// blank, which a reader would otherwise strip. The Java form has no quoted breaks: each break
// becomes "~".
void AppendCSVField(QString &Out, UnicodeString S, QChar Delim, const TCSVFieldOptions &O)
{
    bool hasQuote = false, hasDelim = false, hasBreak = false;
    for (QChar ch : std::as_const(S)) {
        hasQuote |= ch == Quote;
        hasDelim |= ch == Delim;
        hasBreak |= ch == u'\r' || ch == u'\n';
    }
    const bool leadingBlank = !S.isEmpty() && S[0] == u' ';
    const bool quoted = O.AlwaysQuotes || hasQuote || hasDelim || leadingBlank || (hasBreak && !O.Java);
    // Most cells need none of the steps below.
    if (!quoted && !hasBreak && !O.Oem && !S.isEmpty()) {
        Out += S;
        return;
    }
    if (hasQuote)
        S.replace(Quote, QStringLiteral("\"\""));
    if (hasBreak && O.Java)
        LineBreaksToTilde(S);
    if (O.Oem)
        StringToOem(S);
    if (quoted) {
        Out += Quote;
        Out += S;
        Out += Quote;
    } else if (!S.isEmpty())
        Out += S;
    else if (O.Java)
        Out += u'^';
    else if (O.QuoteEmpty)
        Out += QLatin1String("\"\"");
}

} // namespace

// ---- CSV ----

void TExtStringGrid::SaveCSVLines(QString &Text)
{
    const QChar delim = FDelimiter == 0 ? QChar(u',') : QChar(FDelimiter);
    const int extra = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const int c1 = SaveStartCol(), c2 = SaveEndCol() + extra;
    const int r1 = SaveStartRow(), r2 = SaveEndRow();
    const TCSVFieldOptions opts{FAlwaysQuotes, FQuoteEmptyCells, FJavaCSV, FOemConvert};
    int last = INT_MIN;
    ExportNotification(esExportStart, r1);
    for (int r = r1; r <= r2; ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = c1; c <= c2; ++c) {
            if (c > c1)
                Text += delim;
            UnicodeString s;
            DoSaveCell(FSaveHiddenCells ? c : RealColIndex(c), r, s);
            AppendCSVField(Text, s, delim, opts);
        }
        Text += QLatin1String("\r\n");
        FireFileProgress(GridFileText::Percent(r, RowCount() - 1), last);
    }
    ExportNotification(esExportDone, -1);
}

void TExtStringGrid::SaveToCSV(const UnicodeString &FileName, bool Unicode)
{
    QString text;
    SaveCSVLines(text);
    TEncoding *enc = Unicode ? TEncoding::UTF8() : FOemConvert ? TEncoding::Latin1() : TEncoding::ANSI();
    WriteFileAtomic(FileName, GridFileText::Encode(text, enc, Unicode));
}

void TExtStringGrid::AppendToCSV(const UnicodeString &FileName, bool Unicode)
{
    TEncoding *enc = nullptr;
    const QStringList lines = GridFileText::SplitLines(GridFileText::Decode(ReadFileBytes(FileName, MaxDataFileSize), enc));
    if (Unicode)
        enc = TEncoding::UTF8();
    else if (!enc->IsUnicode() && FOemConvert)
        enc = TEncoding::Latin1();
    QString text;
    for (const QString &l : lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    SaveCSVLines(text);
    WriteFileAtomic(FileName, GridFileText::Encode(text, enc, enc->IsUnicode()));
}

namespace {

// The text of CSV bytes; with OEM conversion a file without a byte-order mark is read byte for
// byte and turned from the OEM code page. Line breaks keep their places, so the lines are views
// into one text and a quoted field that spans lines is the stretch of text between its quotes.
QString CSVText(const QByteArray &Bytes, bool Oem)
{
    TEncoding *enc = nullptr;
    QString text = GridFileText::Decode(Bytes, enc);
    if (Oem && !enc->IsUnicode())
        text = TEncoding::Latin1()->GetString(Bytes);
    if (Oem)
        OemToString(text);
    return text;
}

} // namespace

void TExtStringGrid::LoadCSVFile(const UnicodeString &FileName, int MaxRows, bool Inserting)
{
    const QString text = CSVText(ReadFileBytes(FileName, MaxDataFileSize), FOemConvert);
    const std::vector<QStringView> lines = GridFileText::SplitLineViews(text);
    // An empty file is left alone.
    if (lines.empty())
        return;
    try {
        LoadCSVLines(lines, MaxRows, Inserting);
    } catch (const EReadError &) {
        throw RIdeZareVorev(QStringLiteral("File contains no data or corrupt file ") + FileName);
    }
}

void TExtStringGrid::LoadFromCSV(const UnicodeString &FileName, int MaxRows) { LoadCSVFile(FileName, MaxRows, false); }

void TExtStringGrid::InsertFromCSV(const UnicodeString &FileName, int MaxRows) { LoadCSVFile(FileName, MaxRows, true); }

void TExtStringGrid::LoadFromCSVStream(TStream *AStream, int MaxRows)
{
    const Int64 size = AStream->Size() - AStream->Position();
    if (size > MaxDataFileSize)
        throw EReadError(QStringLiteral("Stream read error"));
    QByteArray bytes(qsizetype(std::max<Int64>(size, 0)), Qt::Uninitialized);
    if (size > 0)
        AStream->ReadBuffer(bytes.data(), int(size));
    const QString text = CSVText(bytes, FOemConvert);
    const std::vector<QStringView> lines = GridFileText::SplitLineViews(text);
    if (lines.empty())
        throw Exception(QStringLiteral("File is empty"));
    LoadCSVLines(lines, MaxRows, false);
}

void TExtStringGrid::LoadCSVLines(const std::vector<QStringView> &Lines, int MaxRows, bool Inserting)
{
    auto tooLarge = [] { throw EReadError(QStringLiteral("Stream read error")); };
    const qsizetype count = qsizetype(Lines.size());
    const int startCol = SaveStartCol();
    int row = Inserting ? RowCount() : SaveStartRow();
    const bool footer = FFloatingFooter && FFloatingFooter->Visible();
    // While rows come in, the footer must not follow the end of the grid with every step: it
    // is put back once, after the last row.
    if (footer)
        FFloatingFooter->SetVisible(false);
    struct TFooterBack {
        TFloatingFooter *F;
        bool Visible;
        ~TFooterBack()
        {
            if (Visible)
                F->SetVisible(true);
        }
    } footerBack{FFloatingFooter, footer};
    QStringList footerTexts;
    if (Inserting && footer && RowCount() > 0) {
        // The footer row stays the last row: its texts wait while the new rows come in.
        const int fr = RowCount() - 1;
        for (int c = 0; c < TotalColCount(); ++c)
            footerTexts << GridCells(c, fr);
        for (int c = 0; c < TotalColCount(); ++c)
            SetGridCell(c, fr, UnicodeString());
        row = fr;
    }

    const WideChar savedDelimiter = FDelimiter;
    QChar delim(FDelimiter);
    if (delim.isNull())
        delim = DetectDelimiter(Lines[0].toString(), count > 1 ? Lines[1].toString() : QString());

    const qsizetype first = FLoadFirstRow ? 0 : 1;
    long long counted = 0;
    if (OnFileProgress) {
        counted = count - first;
        const long long target = Inserting ? (long long)RowCount() + count : (long long)row + counted + FFixedFooters;
        if (target > MaxFileRows)
            tooLarge();
        SetRowCount(int(target));
    }
    const int colOffset = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const bool java = FJavaCSV;
    const QChar lineBreakMark = java ? QChar(u'~') : QChar(11);

    // Where a quoted field that opens on line i may close: the next line holding an odd run of
    // quotes, worked out once for the whole file the first time a field runs past its line.
    std::vector<qsizetype> nextOdd;
    auto closingLine = [&](qsizetype From) -> qsizetype {
        if (nextOdd.empty()) {
            nextOdd.assign(size_t(count) + 1, -1);
            for (qsizetype k = count - 1; k >= 0; --k)
                nextOdd[size_t(k)] = OddQuoteRunEnd(Lines[size_t(k)], 0) >= 0 ? k : nextOdd[size_t(k) + 1];
        }
        return From < count ? nextOdd[size_t(From)] : -1;
    };

    int col = startCol;
    auto store = [&](QStringView F) {
        if (col >= MaxFileCols + colOffset)
            tooLarge();
        // The grid widens first: a cell beyond the columns would not take the text.
        if (col + 1 - colOffset > ColCount())
            SetColCount(col + 1 - colOffset);
        const bool convert = F.contains(lineBreakMark) || (java && F == u"^");
        if (!convert && !OnLoadCell && col < TotalColCount() && row < RowCount()) {
            // The plain case goes straight to the cell store; the grid is repainted once at the end.
            Store().SetText(col, row, F);
        } else {
            QString f = F.toString();
            if (java)
                TildeToLineBreaks(f);
            else
                VTToLineBreaks(f);
            DoLoadCell(col, row, f);
        }
        ++col;
    };
    QString undoubled;

    long long read = 0;
    int last = INT_MIN;
    for (qsizetype i = first; i < count; ++i) {
        if (MaxRows > 0 && read >= MaxRows)
            break;
        QStringView line = Lines[size_t(i)];
        if (row >= RowCount() - FFixedFooters) {
            if ((long long)row + 1000 > MaxFileRows)
                tooLarge();
            SetRowCount(row + 1000);
        }
        col = startCol;
        qsizetype pos = 0;
        for (;;) {
            qsizetype n = line.size();
            if (pos >= n)
                break;
            while (n - pos >= 2 && line[pos] == u' ')
                ++pos;
            if (line[pos] == Quote && OddQuoteRunEnd(line, pos + 1) < 0) {
                // A quoted field that holds a line break closes on a later line: the rows
                // between belong to it.
                const qsizetype j = closingLine(i + 1);
                if (j > i) {
                    const QStringView end = Lines[size_t(j)];
                    line = QStringView(line.data(), end.data() + end.size());
                    i = j;
                    n = line.size();
                }
            }
            const qsizetype next = delim.isNull() ? -1 : line.indexOf(delim, pos);
            if (next < 0) {
                // The last field; an empty one (a line ending in the delimiter) is not stored.
                if (line[pos] == Quote) {
                    ++pos;
                    const qsizetype end = n > pos && line[n - 1] == Quote ? n - 1 : n;
                    undoubled = Undouble(line.sliced(pos, end - pos));
                    store(undoubled);
                } else
                    store(line.sliced(pos));
                break;
            }
            if (line[pos] == Quote) {
                ++pos;
                const qsizetype q = OddQuoteRunEnd(line, pos);
                qsizetype after;
                if (q >= 0) {
                    undoubled = Undouble(line.sliced(pos, q - pos));
                    store(undoubled);
                    after = line.indexOf(delim, q + 1);
                } else {
                    store(QStringView());
                    after = line.indexOf(delim, pos);
                }
                pos = after < 0 ? n : after + 1;
            } else {
                store(line.sliced(pos, next - pos));
                pos = next + 1;
            }
        }
        ++row;
        ++read;
        if (OnFileProgress && counted > 0)
            FireFileProgress(GridFileText::Percent(read, counted), last);
    }

    // The footer's texts need a row of their own: without fixed footers they would land on
    // the last row read.
    const bool keepFooter = !footerTexts.isEmpty();
    SetRowCount(row + (keepFooter ? std::max(FFixedFooters, 1) : FFixedFooters));
    FMaxRowCount = RowCount();
    if (keepFooter)
        for (int c = 0; c < footerTexts.size() && c < TotalColCount(); ++c)
            SetGridCell(c, RowCount() - 1, footerTexts[c]);
    FDelimiter = savedDelimiter;
    Invalidate();
    DoCellsChanged(TRect(0, 0, ColCount(), RowCount()));
    BulkCellsChanged();
}

// ---- fixed width ----

namespace {

// The report breaks a cell's lines at CR; a bare LF is a break as well, not a character to put
// into the line, where it would start a line of its own.
void LFBreaksToCR(UnicodeString &S)
{
    if (S.contains(u'\n'))
        S.replace(QLatin1String("\r\n"), QLatin1String("\r")).replace(u'\n', u'\r');
}

} // namespace

int TExtStringGrid::ColumnTextLength(int ACol)
{
    int longest = 0;
    const bool multi = Multilinecells();
    for (int r = 0; r < RowCount(); ++r) {
        UnicodeString s;
        DoSaveCell(ACol, r, s);
        if (!multi) {
            longest = std::max(longest, int(s.size()));
            continue;
        }
        LFBreaksToCR(s);
        do
            longest = std::max(longest, int(TakeFirstLine(s, true).size()));
        while (!s.isEmpty());
    }
    return longest;
}

void TExtStringGrid::SaveToFixed(const UnicodeString &FileName, TIntList *Positions)
{
    // Hidden columns count as the last columns of the range while they are written.
    const int extra = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const int c1 = SaveStartCol(), c2 = SaveEndCol() + extra;
    auto realCol = [this](int C) { return FSaveHiddenCells ? C : RealColIndex(C); };
    for (int c = c1; c <= c2; ++c)
        if (c - c1 >= Positions->Count())
            Positions->Add(ColumnTextLength(realCol(c)) + 1);
    QStringList lines;
    QString line;
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        line.clear();
        for (int c = c1; c <= c2; ++c) {
            UnicodeString s;
            DoSaveCell(realCol(c), r, s);
            // A fixed-width line has no room for a break: one would split the row in two.
            if (s.contains(u'\r') || s.contains(u'\n'))
                s.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
            const int w = std::max(0, Positions->Items(c - c1));
            if (s.size() > w)
                s.truncate(w);
            line += s;
            line += QString(w - s.size(), u' ');
        }
        lines.append(line);
    }
    try {
        WriteFileAtomic(FileName, GridFileText::Encode(lines, TEncoding::ANSI(), false));
    } catch (const EFCreateError &) {
        throw RIdeZareVorev(QStringLiteral("Cannot Create file ") + FileName);
    }
}

void TExtStringGrid::LoadFromFixed(const UnicodeString &FileName, TIntList *Positions, bool DoTrim, int MaxRows)
{
    QByteArray bytes;
    try {
        bytes = ReadFileBytes(FileName, MaxDataFileSize);
    } catch (const EFOpenError &) {
        throw RIdeZareVorev(QStringLiteral("File ") + FileName + QStringLiteral(" not found"));
    }
    TEncoding *enc = nullptr;
    const QStringList lines = GridFileText::SplitLines(GridFileText::Decode(bytes, enc));

    std::vector<int> pos;
    for (int i = 0; i < Positions->Count(); ++i)
        pos.push_back(Positions->Items(i));
    std::sort(pos.begin(), pos.end());
    for (int i = 0; i < int(pos.size()); ++i)
        Positions->SetItems(i, pos[size_t(i)]);
    const int fields = int(pos.size()) - 1;
    if (fields < 1)
        return;
    if (FixedCols() + fields > MaxFileCols)
        throw RIdeZareVorev(QStringLiteral("File contains no data or corrupt file ") + FileName);
    SetColCount(FixedCols() + fields);

    const int startCol = SaveStartCol();
    int row = SaveStartRow();
    const long long toRead = MaxRows == -1 ? lines.size() : std::min<long long>(lines.size(), std::max(MaxRows, 1));
    // Rows grow with the lines read; sized once rather than line by line.
    if ((long long)row + toRead > MaxFileRows)
        throw RIdeZareVorev(QStringLiteral("File contains no data or corrupt file ") + FileName);
    if (row + toRead > RowCount())
        SetRowCount(int(row + toRead));
    for (long long i = 0; i < toRead; ++i, ++row) {
        const QString &l = lines[qsizetype(i)];
        for (int k = 1; k <= fields; ++k) {
            const long long from = std::max(pos[size_t(k - 1)], 1) - 1;
            const long long len = (long long)pos[size_t(k)] - pos[size_t(k - 1)];
            QString f = from < l.size() && len > 0 ? l.mid(qsizetype(from), qsizetype(len)) : QString();
            if (DoTrim)
                f = Trim(f);
            DoLoadCell(startCol + k - 1, row, f);
        }
    }
    DoCellsChanged(TRect(0, 0, ColCount(), RowCount()));
    BulkCellsChanged();
}

// ---- ASCII report ----

void TExtStringGrid::WriteASCII(const UnicodeString &FileName, bool Unicode, bool Appending)
{
    THourGlass wait;
    QStringList out;
    if (Appending && FileExists(FileName)) {
        TEncoding *enc = nullptr;
        out = GridFileText::SplitLines(GridFileText::Decode(ReadFileBytes(FileName, MaxDataFileSize), enc));
    }
    const int c1 = FSaveFixedCells || FSaveFixedCols ? 0 : FixedCols();
    const int r1 = FSaveFixedCells || FSaveFixedRows ? 0 : FixedRows();
    const int c2 = ColCount() - 1 + (FSaveHiddenCells ? NumHiddenColumns() : 0);
    auto realCol = [this](int C) { return FSaveHiddenCells ? C : RealColIndex(C); };
    std::vector<int> widths;
    for (int c = c1; c <= c2; ++c)
        widths.push_back(ColumnTextLength(realCol(c)));
    const bool multi = Multilinecells();

    auto align = [](QString S, int W, TAlignment A) {
        if (A == taRightJustify) {
            if (S.size() < W)
                S.prepend(QString(W - S.size(), u' '));
        } else if (A == taCenter) {
            // Each step puts one blank on either side, so an odd gap leaves the text one
            // place right of the middle.
            while (S.size() < W)
                S = u' ' + S + u' ';
        }
        if (S.size() < W + 1)
            S += QString(W + 1 - S.size(), u' ');
        return S;
    };

    for (int r = r1; r < RowCount(); ++r) {
        QString main;
        QStringList more;
        for (int c = c1; c <= c2; ++c) {
            const int rc = realCol(c);
            const int w = widths[size_t(c - c1)];
            UnicodeString s;
            DoSaveCell(rc, r, s);
            LFBreaksToCR(s);
            const TAlignment a = GetCellAlignment(rc, r).first;
            const qsizetype at = main.size();
            main += align(TakeFirstLine(s, multi), w, a);
            for (int k = 0; multi && !s.isEmpty(); ++k) {
                const QString piece = align(TakeFirstLine(s, true), w, a);
                if (k >= more.size())
                    more.append(QString());
                QString &m = more[k];
                if (m.size() < at)
                    m += QString(at - m.size(), u' ');
                m += piece;
            }
        }
        out.append(main);
        out.append(more);
    }
    WriteFileAtomic(FileName, GridFileText::Encode(out, Unicode ? TEncoding::Unicode() : TEncoding::ANSI(), Unicode));
}

void TExtStringGrid::SaveToASCII(const UnicodeString &FileName, bool Unicode) { WriteASCII(FileName, Unicode, false); }

void TExtStringGrid::AppendToASCII(const UnicodeString &FileName, bool Unicode) { WriteASCII(FileName, Unicode, true); }
