// Copy, cut and paste of cells through the clipboard (text, rich text, HTML and the grid's own
// cell stream), the selection as text, and the smart paste that fills a larger selection,
// continues a series or repeats the pasted block.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUndoRedo.h"
#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "controls/esgdd.h"
#include "grid/services/GridBinIO.h"
#include "platform/ActiveX.h"
#include "platform/Clipbrd.h"
#include "platform/ComCtrls.h"
#include "platform/Encoding.h"
#include "platform/Filer.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

const QChar Tab(9);
const QChar VT(11);

// The lines of a clipboard text. A line ends at CR (an LF right after it belongs to the break)
// and, as this system's other programs write text, at an LF outside a quoted field; an LF inside
// a field that starts with a double quote is a line of that cell. The text after the last break
// is a line of its own only when it is not empty.
std::vector<UnicodeString> ClipLines(const UnicodeString &Text, bool &EndsWithBreak)
{
    std::vector<UnicodeString> lines;
    UnicodeString cur;
    bool fieldStart = true, quoted = false;
    EndsWithBreak = false;
    const qsizetype n = Text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = Text[i];
        if (c == QLatin1Char('\r') || (c == QLatin1Char('\n') && !quoted)) {
            lines.push_back(cur);
            cur.clear();
            if (c == QLatin1Char('\r') && i + 1 < n && Text[i + 1] == QLatin1Char('\n'))
                ++i;
            fieldStart = true;
            quoted = false;
            EndsWithBreak = true;
            continue;
        }
        EndsWithBreak = false;
        if (c == Tab) {
            fieldStart = true;
            quoted = false;
        } else if (c == QLatin1Char('"')) {
            if (fieldStart)
                quoted = true;
            else if (quoted && (i + 1 == n || Text[i + 1] == Tab || Text[i + 1] == QLatin1Char('\r') ||
                                Text[i + 1] == QLatin1Char('\n')))
                quoted = false;
            fieldStart = false;
        } else {
            fieldStart = false;
        }
        cur += c;
    }
    if (!cur.isEmpty())
        lines.push_back(cur);
    return lines;
}

// A field that spans lines travels quoted: with LFs for its breaks (as the grid copies it) or
// with character 11 (the spreadsheet form). Both come back as CR LF.
UnicodeString UnquoteField(UnicodeString F)
{
    if (!F.contains(QLatin1Char('\n')) && !F.contains(VT))
        return F;
    if (F.startsWith(QLatin1Char('"')))
        F.remove(0, 1);
    if (F.endsWith(QLatin1Char('"')) && F.indexOf(QLatin1Char('"')) == F.size() - 1)
        F.chop(1);
    UnicodeString out;
    out.reserve(F.size() + 8);
    for (qsizetype i = 0; i < F.size(); ++i) {
        const QChar c = F[i];
        if (c == VT || (c == QLatin1Char('\n') && (i == 0 || F[i - 1] != QLatin1Char('\r')))) {
            if (c == VT || out.isEmpty() || !out.endsWith(QLatin1Char('\r')))
                out += QLatin1Char('\r');
            out += QLatin1Char('\n');
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray WithNull(QByteArray B)
{
    B.append('\0');
    return B;
}

CLIPFORMAT CF_HTMLFORMAT()
{
    static const CLIPFORMAT f = static_cast<CLIPFORMAT>(RegisterClipboardFormat(QStringLiteral("HTML Format")));
    return f;
}

void PutBlock(CLIPFORMAT Format, const QByteArray &Bytes)
{
    if (HGLOBAL h = GlobalFromBytes(Bytes.constData(), static_cast<SIZE_T>(Bytes.size())))
        Clipboard()->SetAsHandle(Format, h);
}

QByteArray ReadBlock(CLIPFORMAT Format)
{
    HGLOBAL h = Clipboard()->GetAsHandle(Format);
    if (!h)
        return QByteArray();
    const auto *p = static_cast<const char *>(GlobalLock(h));
    QByteArray b(p, static_cast<qsizetype>(GlobalSize(h)));
    GlobalUnlock(h);
    return b;
}

// A pasted rectangle grows cell by cell; empty while Left > Right.
struct TPastedRect {
    TGridRect R{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    void Add(int C, int Rw)
    {
        R.Left = std::min(R.Left, C);
        R.Top = std::min(R.Top, Rw);
        R.Right = std::max(R.Right, C);
        R.Bottom = std::max(R.Bottom, Rw);
    }
    bool Empty() const { return R.Left > R.Right; }
};

} // namespace

// ---- copy ----

UnicodeString TExtStringGrid::ClipboardCellText(int ACol, int ARow)
{
    const int rc = RealColIndex(ACol);
    UnicodeString v;
    DoSaveCell(rc, ARow, v);
    if (v.startsWith(QStringLiteral("|\\")))
        v = DecodeWideText(v);
    if (v.contains(QStringLiteral("{\\"))) {
        TRichEdit *rich = CellRichEdit();
        CellToRich(rc, ARow, rich);
        v = rich->Lines()->Text();
        while (v.endsWith(QLatin1Char('\n')) || v.endsWith(QLatin1Char('\r')))
            v.chop(1);
    } else if (v.contains(QStringLiteral("</")) && !FNavigation->CopyHTMLTagsToClipboard) {
        v = StripHtmlTags(v);
    }
    // A bare LF or CR breaks the cell's line as much as CR LF does: a paste would take the rest
    // of the text for a new row.
    if (!v.contains(QLatin1Char('\r')) && !v.contains(QLatin1Char('\n')))
        return v;
    if (FExcelClipboardFormat && CountTextLines(v, FMultilineCells) > 1) {
        QuoteMultilineField(v);
        // A break left after the CR LF pairs would still end the row on a paste.
        v.replace(QLatin1Char('\r'), VT).replace(QLatin1Char('\n'), VT);
        return v;
    }
    // Every break becomes one LF, so that a paste can tell a line inside a cell from a row.
    v.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    v.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return QLatin1Char('"') + v + QLatin1Char('"');
}

UnicodeString TExtStringGrid::SelectionToText(const TGridRect &R, bool Disjunct)
{
    FClipTopLeft = TPoint(R.Left, R.Top);
    const bool rowDisj = FMouseActions->DisjunctRowSelect(), colDisj = FMouseActions->DisjunctColSelect();
    UnicodeString s;
    ExportNotification(0, -1);
    for (int r = R.Top; r <= R.Bottom; ++r) {
        const int selRow = FMouseActions->RowSelectPersistent ? RealRowIndex(r) : r;
        if (rowDisj && Disjunct && !colDisj && !RowSelect(selRow))
            continue;
        ExportNotification(1, r);
        for (int c = R.Left; c <= R.Right; ++c) {
            if (colDisj && Disjunct && !ColSelect(c))
                continue;
            s += ClipboardCellText(c, r);
            if (c < R.Right)
                s += Tab;
        }
        if (R.Top < R.Bottom)
            s += QStringLiteral("\r\n");
    }
    ExportNotification(2, -1);
    return s;
}

UnicodeString TExtStringGrid::GetSelectionAsText()
{
    return SelectionToText(Selection(), false);
}

void TExtStringGrid::CopyCellAsRTF(int ACol, int ARow)
{
    const UnicodeString s = Cells(RealColIndex(ACol), ARow);
    if (s.contains(QStringLiteral("{\\")))
        PutBlock(CF_RTF(), WithNull(TEncoding::ANSI()->GetBytes(s)));
}

void TExtStringGrid::CopyRectAsGridCells(const TGridRect &R)
{
    TMemoryStream ms;
    SaveRectToBinStream(TRect(R.Left, R.Top, R.Right, R.Bottom), &ms);
    PutBlock(CF_GRIDCELLS(), ms.Bytes());
}

void TExtStringGrid::CopyRectToClipboard(const TGridRect &R, bool Disjunct)
{
    const UnicodeString text = SelectionToText(R, Disjunct);
    TClipboard *cb = Clipboard();
    cb->Open();
    cb->Clear();
    cb->SetAsText(text);
    if (FNavigation->AllowRTFClipboard)
        CopyCellAsRTF(R.Left, R.Top);
    if (FNavigation->AllowFmtClipboard)
        CopyRectAsGridCells(R);
    cb->Close();
}

void TExtStringGrid::ExpandSelectionToMergedCells()
{
    TGridRect s = Selection();
    bool merged = false;
    if (IsMergedCell(s.Left, s.Top)) {
        const TPoint b = BaseCell(s.Left, s.Top);
        s.Left = std::min(s.Left, b.X);
        s.Top = std::min(s.Top, b.Y);
        merged = true;
    }
    if (IsMergedCell(s.Right, s.Bottom)) {
        const TRect f = FullCell(s.Right, s.Bottom);
        s.Right = std::max(s.Right, f.Right);
        s.Bottom = std::max(s.Bottom, f.Bottom);
        merged = true;
    }
    if (merged)
        SetSelection(s);
}

void TExtStringGrid::CopyToClipBoard()
{
    CopyRectToClipboard(TGridRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, false);
    FClipLastOp = coCopy;
}

void TExtStringGrid::CopySelectionToClipboard()
{
    ExpandSelectionToMergedCells();
    if (FMouseActions->DisjunctRowSelect() && !FNavigation->AllowFmtClipboard)
        CopyRectToClipboard(TGridRect{FixedCols(), SaveStartRow(), ColCount() - FixedRightCols() - 1, SaveEndRow()}, true);
    else if (FMouseActions->DisjunctColSelect() && !FNavigation->AllowFmtClipboard)
        CopyRectToClipboard(TGridRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, true);
    else
        CopyRectToClipboard(Selection(), false);
    FClipLastOp = coCopy;
}

void TExtStringGrid::CutToClipboard()
{
    const TGridRect R{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()};
    CopyRectToClipboard(R, false);
    FClipLastOp = coCut;
    const bool always = FNavigation->AllowClipboardAlways;
    for (int r = R.Top; r <= R.Bottom; ++r)
        for (int c = R.Left; c <= R.Right; ++c)
            if (always || IsEditable(c, r))
                SetCells(RealColIndex(c), r, UnicodeString());
    if (FShowModified->Enabled)
        for (int r = R.Top; r <= R.Bottom; ++r)
            SetRowModified(r, true);
}

void TExtStringGrid::CutSelectionToClipboard()
{
    const TGridRect remembered = Selection();
    CopySelectionToClipboard();
    FClipLastOp = coCut;
    const bool modified = FShowModified->Enabled;
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (RowSelect(r)) {
                ClearRows(r, 1);
                if (modified)
                    SetRowModified(r, true);
            }
    } else if (FMouseActions->DisjunctColSelect()) {
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (ColSelect(c))
                ClearCols(c, 1);
    } else {
        const TGridRect s = Selection();
        const bool always = FNavigation->AllowClipboardAlways;
        TExtGridUndoRedo *undo = UndoRedo();
        if (undo)
            undo->StartSequence();
        for (int r = s.Top; r <= s.Bottom; ++r)
            for (int c = s.Left; c <= s.Right; ++c) {
                if (!always && !IsEditable(c, r))
                    continue;
                const int rc = RealColIndex(c);
                if (undo)
                    undo->RegisterChange(rc, r, Cells(rc, r), UnicodeString());
                SetCells(rc, r, UnicodeString());
                // The properties travel with the cut cells; a cell left in place, or one of a
                // merged range, keeps its own.
                if (FNavigation->AllowFmtClipboard && !IsMergedCell(rc, r))
                    FreeCellObject(rc, r);
            }
        if (undo)
            undo->StopSequence();
        if (modified)
            for (int r = s.Top; r <= s.Bottom; ++r)
                SetRowModified(r, true);
    }
    if (OnCellsChanged)
        OnCellsChanged(this, TRect(remembered.Left, remembered.Top, remembered.Right, remembered.Bottom));
    if (NumHiddenColumns() > 0)
        Invalidate();
}

void TExtStringGrid::CopyToClipBoardAsHTML()
{
    const UnicodeString html = SaveToHTMLString(UnicodeString());
    UnicodeString wrapped = html;
    WrapClipboardHtml(wrapped);
    TClipboard *cb = Clipboard();
    cb->Open();
    cb->Clear();
    PutBlock(CF_HTMLFORMAT(), WithNull(html.toUtf8()));
    cb->SetAsText(wrapped);
    cb->Close();
}

// ---- paste ----

bool TExtStringGrid::GetAllowFMTClipboard()
{
    return FNavigation->AllowFmtClipboard;
}

void TExtStringGrid::MarkPastedRows(TPoint, const TGridRect &Rect, TClipOperation)
{
    if (!FShowModified->Enabled)
        return;
    for (int r = std::max(0, Rect.Top); r <= Rect.Bottom && r < RowCount(); ++r)
        SetRowModified(r, true);
}

void TExtStringGrid::PasteCellText(int ACol, int ARow, const UnicodeString &Value)
{
    const int rc = RealColIndex(ACol);
    if (TExtGridUndoRedo *undo = UndoRedo())
        undo->RegisterChange(rc, ARow, Cells(rc, ARow), Value);
    if (HasCheckBox(rc, ARow))
        ChangeCheckBoxState(rc, ARow, Value == FCheckTrue);
    else
        SetCellEx(rc, ARow, Value);
    if (rc != ACol)
        RepaintCell(ACol, ARow);
}

bool TExtStringGrid::PasteFieldWithEvents(int ACol, int ARow, UnicodeString Value, bool FireEvents)
{
    bool allow = true;
    const bool wide = Value.startsWith(QStringLiteral("|\\"));
    if (FireEvents) {
        if (wide) {
            UnicodeString w = DecodeWideText(Value);
            if (OnClipboardBeforePasteWideCell)
                OnClipboardBeforePasteWideCell(this, ACol, ARow, w, allow);
            Value = EncodeWideCellText(w);
        } else if (OnClipboardBeforePasteCell) {
            OnClipboardBeforePasteCell(this, ACol, ARow, Value, allow);
        }
    }
    if (!allow)
        return false;
    PasteCellText(ACol, ARow, Value);
    if (FireEvents) {
        if (wide && OnClipboardAfterPasteWideCell)
            OnClipboardAfterPasteWideCell(this, ACol, ARow, DecodeWideText(Value));
        else if (!wide && OnClipboardAfterPasteCell)
            OnClipboardAfterPasteCell(this, ACol, ARow, Value);
    }
    return true;
}

void TExtStringGrid::ClipboardTextExtent(const UnicodeString &Text, int &Cols, int &Rows)
{
    bool endsWithBreak = false;
    const std::vector<UnicodeString> lines = ClipLines(Text, endsWithBreak);
    // Rows reach to the last line with content, as a paste writes them: an empty line between
    // two others still takes its row.
    Cols = 0;
    int last = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        last = int(i);
        Cols = std::max(Cols, int(lines[i].count(Tab)) + 1);
    }
    Rows = last;
}

int TExtStringGrid::PasteTextAt(int ACol, int ARow, int &Rows, int &Cols, const UnicodeString &Text)
{
    Rows = Cols = 0;
    if (ACol < 0 || ARow < 0)
        return 0;
    if (!Options().Contains(goEditing) && !FNavigation->AllowClipboardAlways && !FMouseActions->RangeSelectAndEdit)
        return 0;
    TExtGridUndoRedo *undo = UndoRedo();
    if (undo)
        undo->StartSequence();
    const bool always = FNavigation->AllowClipboardAlways;
    const bool footerRow = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle == fsFixedLastRow;
    bool endsWithBreak = false;
    const std::vector<UnicodeString> lines = ClipLines(Text, endsWithBreak);
    // The empty remainder after a final break counts as a line of one field, but stores nothing.
    const std::size_t segments = lines.size() + (endsWithBreak || lines.empty() ? 1 : 0);
    TPastedRect pasted;
    int result = 0;
    int row = ARow;
    // Without inserted rows every further line needs the next row: they come at once.
    if (FNavigation->AllowClipboardRowGrow && FNavigation->ClipboardPasteAction != paInsert && lines.size() > 1) {
        const long long needed = (long long)ARow + (long long)lines.size() + (footerRow ? 1 : 0);
        if (needed > RowCount())
            SetRowCount(int(std::min<long long>(needed, MaxFileRows)));
    }
    for (std::size_t i = 0; i < segments; ++i) {
        const bool real = i < lines.size();
        const UnicodeString line = real ? lines[i] : UnicodeString();
        ImportNotification(FPasteAll ? 1 : 3, row);
        if (!line.isEmpty() && FNavigation->ClipboardPasteAction == paInsert)
            InsertRows(row, 1);
        if (real) {
            const QStringList fields = line.split(Tab);
            // The columns a line needs come at once, not field by field.
            const long long right = (long long)ACol + fields.size() - 1;
            if (right >= ColCount() && FNavigation->AllowClipboardColGrow)
                SetColCount(int(std::min<long long>(right + 1, MaxFileCols)));
            int col = ACol;
            for (const QString &raw : fields) {
                if (col < ColCount() && row < RowCount() && (always || IsEditable(col, row)))
                    if (PasteFieldWithEvents(col, row, UnquoteField(raw), true))
                        pasted.Add(col, row);
                ++result;
                ++col;
            }
            if (!line.isEmpty()) {
                Rows = int(i) + 1;
                Cols = std::max(Cols, int(fields.size()));
            }
        } else {
            ++result;
        }
        const bool more = i + 1 < lines.size();
        if (more) {
            ++row;
            if (row >= RowCount() - (footerRow ? 1 : 0) && FNavigation->AllowClipboardRowGrow && row < MaxFileRows)
                SetRowCount(RowCount() + 1);
        }
    }
    if (undo)
        undo->StopSequence();
    if (!pasted.Empty()) {
        MarkPastedRows(FClipTopLeft, pasted.R, FClipLastOp);
        DoCellsChanged(TRect(RealColIndex(pasted.R.Left), pasted.R.Top, RealColIndex(pasted.R.Right), pasted.R.Bottom));
    }
    return result;
}

int TExtStringGrid::PasteClipboardAt(int ACol, int ARow, int &Rows, int &Cols)
{
    Rows = Cols = 0;
    TClipboard *cb = Clipboard();
    if (GetAllowFMTClipboard() && cb->HasFormat(CF_GRIDCELLS())) {
        DoBeginPaste();
        const QByteArray block = ReadBlock(CF_GRIDCELLS());
        if (block.isEmpty()) {
            DoEndPaste();
            return 0;
        }
        TBytesStream ms(block);
        TGridPropIO head(nullptr);
        {
            TFilerReader r(&ms);
            head.Read(r);
        }
        if (head.ColCount < 0 || head.RowCount < 0 || (long long)ACol + head.ColCount > MaxFileCols ||
            (long long)ARow + head.RowCount > MaxFileRows)
            TFilerReader::Error();
        const TClipboardPasteAction action = FNavigation->ClipboardPasteAction;
        if (FNavigation->AllowClipboardRowGrow || FNavigation->AllowClipboardColGrow || action == paInsert) {
            if (ACol + head.ColCount >= ColCount() && FNavigation->AllowClipboardColGrow)
                SetColCount(ACol + head.ColCount);
            if (ARow + head.RowCount >= RowCount() && FNavigation->AllowClipboardRowGrow)
                SetRowCount(ARow + head.RowCount);
            if (action == paInsert && head.RowCount > 0)
                InsertRows(ARow, head.RowCount);
        }
        ms.SetPosition(0);
        LoadAtPointFromBinStream(TPoint(ACol, ARow), &ms);
        Cols = head.ColCount;
        Rows = head.RowCount;
        const TGridRect rect{ACol, ARow, ACol + head.ColCount - 1, ARow + head.RowCount - 1};
        MarkPastedRows(head.ID == int(GridID()) ? FClipTopLeft : TPoint(-1, -1), rect, FClipLastOp);
        DoEndPaste();
        return head.ColCount * head.RowCount;
    }
    if (FNavigation->AllowRTFClipboard && cb->HasFormat(CF_RTF())) {
        QByteArray b = ReadBlock(CF_RTF());
        const qsizetype nul = b.indexOf('\0');
        if (nul >= 0)
            b.truncate(nul);
        if (IsEditable(ACol, ARow))
            PasteCellText(ACol, ARow, TEncoding::ANSI()->GetString(b));
        Rows = Cols = 1;
        return 0;
    }
    if (cb->HasFormat(CF_TEXT))
        return PasteTextAt(ACol, ARow, Rows, Cols, cb->AsText());
    return 0;
}

void TExtStringGrid::PasteFromClipboard()
{
    ImportNotification(0, -1);
    FPasteAll = true;
    int rows = 0, cols = 0;
    PasteClipboardAt(SaveStartCol(), SaveStartRow(), rows, cols);
    ImportNotification(2, -1);
    BulkCellsChanged();
}

void TExtStringGrid::PasteSelectionFromClipboard()
{
    ImportNotification(0, -1);
    FPasteAll = false;
    ExpandSelectionToMergedCells();
    const TGridRect sel = Selection();
    int rows = 0, cols = 0;
    const int n = PasteClipboardAt(Options().Contains(goRowSelect) ? FixedCols() : sel.Left, sel.Top, rows, cols);
    const long long cells = (long long)(sel.Right - sel.Left + 1) * (sel.Bottom - sel.Top + 1);
    if (FNavigation->AllowSmartClipboard && n - 1 != cells)
        SmartPaste(sel, n, rows, cols);
    ImportNotification(2, -1);
    DoCellsChanged(TRect(sel.Left, sel.Top, sel.Right, sel.Bottom));
    BulkCellsChanged();
}

void TExtStringGrid::SmartPaste(const TGridRect &Sel, int N, int Rows, int Cols)
{
    const bool always = FNavigation->AllowClipboardAlways;
    const int width = Sel.Right - Sel.Left + 1, height = Sel.Bottom - Sel.Top + 1;
    const bool severalCells = width > 1 || height > 1;
    TExtGridUndoRedo *undo = UndoRedo();

    if (N == 1 && severalCells) {
        DoBeginPaste();
        const int rl = RealColIndex(Sel.Left);
        UnicodeString v = Cells(rl, Sel.Top);
        if (HasCheckBox(rl, Sel.Top)) {
            bool checked = false;
            GetCheckBoxState(rl, Sel.Top, checked);
            v = checked ? FCheckTrue : FCheckFalse;
        }
        if (undo)
            undo->StartSequence();
        for (int r = Sel.Top; r <= Sel.Bottom; ++r)
            for (int c = Sel.Left; c <= Sel.Right; ++c)
                if ((c != Sel.Left || r != Sel.Top) && (always || IsEditable(c, r)))
                    PasteFieldWithEvents(c, r, v, true);
        if (undo)
            undo->StopSequence();
        DoEndPaste();
        return;
    }

    if (N > 1 && severalCells && (width == 1 || height == 1)) {
        const bool oneCol = width == 1;
        const UnicodeString s1 = Cells(RealColIndex(Sel.Left), Sel.Top);
        const UnicodeString s2 = oneCol ? Cells(RealColIndex(Sel.Left), Sel.Top + 1) : Cells(RealColIndex(Sel.Left + 1), Sel.Top);
        const QChar timeSep = FormatSettings.TimeSeparator, dateSep = FormatSettings.DateSeparator;
        auto dateLike = [&](const UnicodeString &s) { return LooksLikeDate(s) || s.contains(timeSep); };
        int intA = 0, intB = 0;
        enum { kDate, kFloat, kInt, kRepeat } kind = kRepeat;
        if (dateLike(s1) && dateLike(s2))
            kind = kDate;
        else if (s1.contains(FormatSettings.DecimalSeparator) || s2.contains(FormatSettings.DecimalSeparator))
            kind = kFloat;
        else if (TryStrToInt(s1, intA) && TryStrToInt(s2, intB))
            kind = kInt;

        if (kind == kRepeat) {
            // The pasted block is repeated down (or across) the selection.
            const int block = std::max(1, oneCol ? Rows : Cols);
            TPastedRect filled;
            if (undo)
                undo->StartSequence();
            if (oneCol) {
                for (int r = Sel.Top + block; r <= Sel.Bottom; ++r)
                    if (always || IsEditable(Sel.Left, r)) {
                        PasteCellText(Sel.Left, r, Cells(RealColIndex(Sel.Left), r - block));
                        filled.Add(Sel.Left, r);
                    }
            } else {
                for (int c = Sel.Left + block; c <= Sel.Right; ++c)
                    if (always || IsEditable(c, Sel.Top)) {
                        PasteCellText(c, Sel.Top, Cells(RealColIndex(c - block), Sel.Top));
                        filled.Add(c, Sel.Top);
                    }
            }
            if (undo)
                undo->StopSequence();
            if (!filled.Empty())
                MarkPastedRows(FClipTopLeft, filled.R, coCopy);
            return;
        }

        DoBeginPaste();
        if (undo)
            undo->StartSequence();
        // Each kind gives the value of the k-th cell; false ends the series where a seed or a
        // step does not convert.
        std::function<bool(int, UnicodeString &)> value;
        TDateTime d1 = 0, d2 = 0;
        double f1 = 0, f2 = 0;
        if (kind == kDate) {
            if (!TryStrToDateTime(s1, d1) || !TryStrToDateTime(s2, d2)) {
                kind = kRepeat;
            } else {
                Word y1, m1, dd1, y2, m2, dd2;
                DecodeDate(d1, y1, m1, dd1);
                DecodeDate(d2, y2, m2, dd2);
                const bool asDate = s1.contains(dateSep);
                TDateTime cur = d1;
                value = [=](int k, UnicodeString &Out) mutable {
                    if (k > 0) {
                        try {
                            cur = StepDate(int(y2) - int(y1), int(m2) - int(m1), int(dd2) - int(dd1), cur, d2 - d1);
                        } catch (const EConvertError &) {
                            return false;
                        }
                    }
                    Out = asDate ? DateToStr(cur) : TimeToStr(cur);
                    return true;
                };
            }
        } else if (kind == kFloat) {
            if (!TryStrToFloat(s1, f1) || !TryStrToFloat(s2, f2))
                kind = kRepeat;
            else
                value = [=, this](int k, UnicodeString &Out) {
                    try {
                        Out = Format(FFloatFormat, {f1 + k * (f2 - f1)});
                    } catch (const Exception &) {
                        return false;
                    }
                    return true;
                };
        } else {
            value = [=](int k, UnicodeString &Out) {
                const long long v = (long long)intA + (long long)k * ((long long)intB - intA);
                Out = QString::number(v);
                return true;
            };
        }
        if (value) {
            int k = 0;
            for (int c = Sel.Left; c <= Sel.Right; ++c)
                for (int r = Sel.Top; r <= Sel.Bottom; ++r, ++k) {
                    UnicodeString v;
                    if (!value(k, v))
                        goto done;
                    if (!IsEditable(c, r))
                        continue;
                    if (c == Sel.Left && r == Sel.Top)
                        PasteCellText(c, r, v);
                    else
                        PasteFieldWithEvents(c, r, v, true);
                }
        }
    done:
        if (undo)
            undo->StopSequence();
        DoEndPaste();
        return;
    }

    // One pasted row (or column) is repeated over the further rows (or columns) of the selection.
    if (width > 1 && height > 1 && (Rows == 1 || Cols == 1)) {
        const TGridRect keep = Selection();
        const bool rowSelect = Options().Contains(goRowSelect);
        for (int r = Sel.Top; r <= Sel.Bottom; ++r)
            for (int c = Sel.Left; c <= Sel.Right; ++c) {
                if ((r != Sel.Top && Rows != 1) || (c != Sel.Left && Cols != 1) || (r == Sel.Top && c == Sel.Left))
                    continue;
                int rr = 0, cc = 0;
                PasteClipboardAt(rowSelect ? FixedCols() : c, r, rr, cc);
            }
        SetSelection(keep);
    }
}

void TExtStringGrid::SetSelectionAsText(const UnicodeString &Value)
{
    const TGridRect sel = Selection();
    const bool footerRow = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle == fsFixedLastRow;
    bool endsWithBreak = false;
    const std::vector<UnicodeString> lines = ClipLines(Value, endsWithBreak);
    TPastedRect written;
    int row = sel.Top;
    if (lines.size() > 1) {
        const long long needed = (long long)sel.Top + (long long)lines.size() + (footerRow ? 1 : 0);
        if (needed > RowCount())
            SetRowCount(int(std::min<long long>(needed, MaxFileRows)));
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(Tab);
        const int right = sel.Left + int(fields.size()) - 1;
        if (right >= ColCount() && right < MaxFileCols)
            SetColCount(right + 1);
        int col = sel.Left;
        for (const QString &f : fields) {
            if (col < ColCount() && row < RowCount()) {
                SetGridCell(RealColIndex(col), row, UnquoteField(f));
                written.Add(col, row);
            }
            ++col;
        }
        if (i + 1 < lines.size()) {
            ++row;
            if (row >= RowCount() - (footerRow ? 1 : 0) && row < MaxFileRows)
                SetRowCount(RowCount() + 1);
        }
    }
    if (!written.Empty())
        DoCellsChanged(TRect(RealColIndex(written.R.Left), written.R.Top, RealColIndex(written.R.Right), written.R.Bottom));
}
