// Filtering of the string grid: the row test, applying and removing filter levels, the
// incremental narrowing, the choices of the filter drop-downs, and the classes of the filter.
//
// Applying the filter reads each condition once (TFilterCondition) and each cell text without a
// copy, and hides all failing rows with one HideRowList.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "platform/WindowPlacement.h"
#include "platform/Windows.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

// The conditions of the filter, each read once for a whole ApplyFilter.
struct TPreparedFilter {
    std::vector<std::optional<TFilterCondition>> Conditions;
};

namespace {

bool BlankOrControl(QChar C) { return C.unicode() <= 32; }

QStringView Trimmed(QStringView S)
{
    qsizetype b = 0, e = S.size();
    while (b < e && BlankOrControl(S[b]))
        ++b;
    while (e > b && BlankOrControl(S[e - 1]))
        --e;
    return S.mid(b, e - b);
}

// The text holds "|\\", the mark of a wide-encoded cell text.
bool IsWideEncoded(QStringView Text)
{
    // A plain loop: cell texts are short, and this runs once per row of a filter.
    const char16_t *t = Text.utf16();
    for (qsizetype p = 0; p + 1 < Text.size(); ++p)
        if (t[p] == u'|' && t[p + 1] == u'\\')
            return true;
    return false;
}

QChar AsciiUpper(QChar C)
{
    const char16_t u = C.unicode();
    return u >= u'a' && u <= u'z' ? QChar(char16_t(u - 32)) : C;
}

// Needle occurs in Text when both are upper-cased (a..z only).
bool ContainsAsciiNoCase(QStringView Text, QStringView Needle)
{
    const qsizetype n = Needle.size();
    for (qsizetype i = 0; i + n <= Text.size(); ++i) {
        qsizetype k = 0;
        while (k < n && AsciiUpper(Text[i + k]) == AsciiUpper(Needle[k]))
            ++k;
        if (k == n)
            return true;
    }
    return false;
}

// The upper-cased ASCII needle in the text with a..z taken as A..Z, in the same walk that makes
// sure the text holds nothing at or above '|' (so nothing but ASCII, and no wide-encoding mark):
// 1 found, 0 not found, -1 when it holds such a character and needs the whole way.
int SearchUpperAscii(QStringView Text, QStringView Upper)
{
    const char16_t *t = Text.utf16();
    const char16_t *u = Upper.utf16();
    const qsizetype n = Text.size(), m = Upper.size();
    char16_t high = 0;
    bool found = false;
    for (qsizetype i = 0; i < n; ++i) {
        high = std::max(high, t[i]);
        if (found || i + m > n)
            continue;
        qsizetype k = 0;
        while (k < m && char16_t(unsigned(t[i + k]) - u'a' < 26u ? t[i + k] - 32 : t[i + k]) == u[k])
            ++k;
        found = k == m;
    }
    return high >= u'|' ? -1 : found ? 1 : 0;
}

// One condition of the filter on one cell's text, as the cell holds it.
bool MatchCellText(const TFilterData &f, const TFilterCondition *Prepared, QStringView Cell)
{
    QStringView text = Trimmed(Cell);
    // A narrowing, one search over the whole text: most texts are settled in one walk over their
    // characters; the others take the whole way.
    if (Prepared && f.Data != fcRow && f.Method == fmExpression && f.Prefix.isEmpty() && f.Suffix.isEmpty() &&
        !f.Condition.isEmpty()) {
        if (const UnicodeString *search = Prepared->AsciiSearch()) {
            const int found = SearchUpperAscii(text, *search);
            if (found >= 0)
                return found == 1;
        }
    }
    // The highest character tells most texts apart at one look: below '|' a text holds ASCII
    // only and cannot be wide-encoded.
    char16_t high = 0;
    const char16_t *t = text.utf16();
    for (qsizetype p = 0; p < text.size(); ++p)
        high = std::max(high, t[p]);
    const bool ascii = high < u'|';
    UnicodeString decoded;
    if (!ascii && IsWideEncoded(text)) {
        decoded = DecodeWideCellText(text.toString());
        text = decoded;
    }
    if (f.Data == fcRow)
        return ContainsAsciiNoCase(text, f.Condition);
    if (!f.Prefix.isEmpty() && text.startsWith(f.Prefix))
        text = text.mid(f.Prefix.size());
    if (!f.Suffix.isEmpty()) {
        const qsizetype p = text.indexOf(f.Suffix);
        if (p >= 0 && p + f.Suffix.size() == text.size())
            text = text.left(p);
    }
    if (f.Condition.isEmpty())
        return true;
    if (f.Method == fmLiteral)
        return text == f.Condition;
    if (Prepared)
        return ascii ? Prepared->MatchAscii(text) : Prepared->Match(text);
    return MatchFilterExpression(f.Condition, text.toString(), f.CaseSensitive);
}

// A value that, written as a condition, would not mean itself.
bool NeedsLiteral(const UnicodeString &Value)
{
    static const QString Special = QStringLiteral("=&|;^!<>*?()\"");
    for (QChar c : Value)
        if (Special.contains(c))
            return true;
    return false;
}

void SplitEntry(const UnicodeString &Entry, UnicodeString &Name, UnicodeString &Condition)
{
    const qsizetype p = Entry.indexOf(QLatin1Char('='));
    Name = p < 0 ? Entry : Entry.left(p);
    Condition = p < 0 ? Entry : Entry.mid(p + 1);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TFilterData, TFilter, TFilterDropDown

void TFilterData::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TFilterData *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    Column = s->Column;
    Condition = s->Condition;
    CaseSensitive = s->CaseSensitive;
    Data = s->Data;
    Prefix = s->Prefix;
    Suffix = s->Suffix;
    Operation = s->Operation;
}

TFilter::TFilter(TExtStringGrid *AGrid) : TCollection(CollectionItemClass<TFilterData>()), FGrid(AGrid) {}

TFilterData *TFilter::Add()
{
    auto *f = static_cast<TFilterData *>(TCollection::Add());
    f->Operation = Count() == 1 ? foNONE : foAND;
    return f;
}

TFilterData *TFilter::Insert(int Index)
{
    (void)Index;
    return static_cast<TFilterData *>(TCollection::Add());
}

TFilterData *TFilter::ColumnFilter(int Col)
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Column == Col)
            return Items(i);
    TFilterData *f = Add();
    f->Column = Col;
    return f;
}

bool TFilter::HasFilter(int Col) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Column == Col)
            return true;
    return false;
}

void TFilter::RemoveColumnFilter(int Col)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (Items(i)->Column == Col)
            Delete(i);
    if (FGrid && FGrid->HandleAllocated() && FGrid->RowCount() > 0)
        FGrid->RepaintCell(FGrid->DisplColIndex(Col), 0);
}

TFilterDropDown::TFilterDropDown() = default;

void TFilterDropDown::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TFilterDropDown *>(Source);
    if (!s)
        return;
    Color = s->Color;
    ColumnWidth = s->ColumnWidth;
    FFont.Assign(&s->FFont);
    Height = s->Height;
    Width = s->Width;
    SetGlyph(&s->FGlyph);
    SetGlyphActive(&s->FGlyphActive);
}

void TFilterDropDown::SetGlyph(TBitmap *Value)
{
    FGlyph.Assign(Value);
    if (OnChange)
        OnChange(this);
}

void TFilterDropDown::SetGlyphActive(TBitmap *Value)
{
    FGlyphActive.Assign(Value);
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------------------------------------
// The lists

namespace {

void CloseFilterList(TWinControl *List)
{
    WatchOutsideClicks(List, false);
    if (auto *g = dynamic_cast<TExtStringGrid *>(List->Owner()))
        g->SetFilterCol(-1);
    List->SetVisible(false);
}

void DropListParams(TCreateParams &Params)
{
    Params.Style = (Params.Style & ~DWORD(WS_CHILD)) | WS_POPUP | WS_BORDER;
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

// The arrows, the page keys, Home and End move the selection as in a list with the focus.
bool MoveSelection(TCustomListBox *List, Word Key)
{
    const int n = List->Count();
    const int page = std::max(1, List->ClientHeight() / std::max(1, List->ItemHeight()) - 1);
    const int at = List->ItemIndex();
    int to = at;
    switch (Key) {
    case VK_UP: to = at - 1; break;
    case VK_DOWN: to = at + 1; break;
    case VK_PRIOR: to = at - page; break;
    case VK_NEXT: to = at < 0 ? page : at + page; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = n - 1; break;
    default: return false;
    }
    if (n > 0)
        List->SetItemIndex(std::clamp(to, 0, n - 1));
    return true;
}

} // namespace

void TDropList::CreateParams(TCreateParams &Params)
{
    TListBox::CreateParams(Params);
    DropListParams(Params);
}

void TDropList::Pick()
{
    WatchOutsideClicks(this, false);
    SetVisible(false);
    if (OnSelect)
        OnSelect(this, ItemIndex());
}

bool TDropList::ListKey(Word Key)
{
    if (MoveSelection(this, Key))
        return true;
    if (Key == VK_RETURN)
        Pick();
    else if (Key == VK_ESCAPE)
        CloseFilterList(this);
    else
        return false;
    return true;
}

void TDropList::KeyDown(Word &Key, TShiftState Shift)
{
    TListBox::KeyDown(Key, Shift);
    if (Key == VK_RETURN)
        Pick();
    else if (Key == VK_ESCAPE)
        CloseFilterList(this);
}

void TDropList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TListBox::MouseUp(Button, Shift, X, Y);
    const int i = ItemAtPos(TPoint(X, Y), true);
    if (i >= 0)
        SetItemIndex(i);
    Pick();
}

void TDropList::WMCancelMode(TWMCancelMode &Message)
{
    TListBox::WMCancelMode(Message);
    CloseFilterList(this);
}

void TDropCheckList::CreateParams(TCreateParams &Params)
{
    TCheckListBox::CreateParams(Params);
    DropListParams(Params);
}

bool TDropCheckList::ListKey(Word Key)
{
    if (MoveSelection(this, Key))
        return true;
    if (Key == VK_SPACE) {
        if (ItemIndex() >= 0)
            ToggleCheck(ItemIndex());
    } else if (Key == VK_RETURN || Key == VK_ESCAPE) {
        CloseFilterList(this);
    } else {
        return false;
    }
    return true;
}

void TDropCheckList::ClickCheck()
{
    // In place of OnClickCheck: the grid alone hears of the marks.
    if (OnSelect)
        OnSelect(this, -1);
}

void TDropCheckList::WMCancelMode(TWMCancelMode &Message)
{
    TCheckListBox::WMCancelMode(Message);
    CloseFilterList(this);
}

TNoActiveForm::TNoActiveForm(TComponent *AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsNone);
    SetNoActivate(true);
}

void TNoActiveForm::CreateParams(TCreateParams &Params)
{
    TForm::CreateParams(Params);
    Params.Style = WS_POPUP | WS_DISABLED | WS_BORDER;
    Params.ExStyle |= WS_EX_TOOLWINDOW;
    // A window of the owner's form: it stays above that form and leaves it active.
    if (auto *c = dynamic_cast<TControl *>(Owner()))
        if (TCustomForm *f = ::GetParentForm(c); f && f != this)
            Params.WndParent = f->Handle();
}

void TNoActiveForm::WndProc(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
        Message.Result = 1;
        return;
    case WM_MOUSEACTIVATE:
        Message.Result = MA_NOACTIVATE;
        return;
    default:
        TForm::WndProc(Message);
    }
}

// ---------------------------------------------------------------------------------------------
// The row test

bool TExtStringGrid::RowMatchesFilter(int ARow)
{
    // Outside ApplyFilter each condition is read for this row alone.
    TPreparedFilter local;
    const TPreparedFilter *prepared = FPreparedFilter;
    if (!prepared) {
        for (int i = 0; i < FFilter->Count(); ++i) {
            const TFilterData *f = FFilter->Items(i);
            local.Conditions.emplace_back();
            if (f->Data != fcRow && f->Method == fmExpression && !f->Condition.isEmpty())
                local.Conditions.back().emplace(f->Condition, f->CaseSensitive);
        }
        prepared = &local;
    }
    bool result = true;
    for (int i = 0; i < FFilter->Count(); ++i) {
        const TFilterData *f = FFilter->Items(i);
        bool match = false;
        try {
            UnicodeString owned;
            // A plain cell is read in place; the match changes no cell.
            bool inPlace = false;
            switch (f->Data) {
            case fcVirtual:
                owned = Cells(f->Column, ARow);
                break;
            case fcNormal:
                inPlace = true;
                break;
            case fcStripHTML:
                owned = StrippedCells(f->Column, ARow);
                break;
            case fcCalculated:
                owned = GetCellText(f->Column, ARow);
                break;
            case fcRow:
                for (int c = 0; c < ColCount(); ++c)
                    owned += Store().Text(c, ARow) + QStringLiteral("\r\n");
                break;
            }
            const TFilterCondition *cond = std::size_t(i) < prepared->Conditions.size() && prepared->Conditions[std::size_t(i)]
                                               ? &*prepared->Conditions[std::size_t(i)]
                                               : nullptr;
            match = MatchCellText(*f, cond, inPlace ? Store().TextView(f->Column, ARow) : QStringView(owned));
        } catch (const std::exception &) {
            match = false;
        }
        bool stop = false;
        switch (f->Operation) {
        case foSHORT:
            result = match;
            stop = !match;
            break;
        case foNONE:
            result = match;
            break;
        case foAND:
            result = result && match;
            break;
        case foXOR:
            result = result != match;
            break;
        case foOR:
            result = result || match;
            break;
        }
        if (stop)
            break;
    }
    if (OnCustomFilter)
        OnCustomFilter(this, ARow, result);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Levels

bool TExtStringGrid::IsNodeOrSummary(int ARow)
{
    // Both live in the properties of the row's first cell, which most rows do not have.
    return Store().Object(0, ARow) && (IsNode(ARow) || IsSummary(ARow));
}

void TExtStringGrid::ApplyFilter()
{
    FFilterFixedRows = FixedRows();
    const int first = FixedRows();
    const int last = RowCount() - FFixedFooters - 1;
    const int n = last - first + 1;
    TPreparedFilter prepared;
    for (int i = 0; i < FFilter->Count(); ++i) {
        const TFilterData *f = FFilter->Items(i);
        prepared.Conditions.emplace_back();
        if (f->Data != fcRow && f->Method == fmExpression && !f->Condition.isEmpty())
            prepared.Conditions.back().emplace(f->Condition, f->CaseSensitive);
    }
    struct TReset {
        const TPreparedFilter *&Slot;
        ~TReset() { Slot = nullptr; }
    } reset{FPreparedFilter};
    FPreparedFilter = &prepared;
    std::vector<int> failing;
    // Room for every row: a narrowing hides most of them, and pages never written cost nothing.
    failing.reserve(std::size_t(std::max(n, 0)));
    int k = 0;
    SmallInt progress = 0;
    // One plain condition on the cells of one column, nobody to ask per row: the rows are tested
    // in a tight loop over the store.
    const TFilterData *only = FFilter->Count() == 1 ? FFilter->Items(0) : nullptr;
    if (only && only->Data == fcNormal && !OnCustomFilter && !OnFilterProgress) {
        const TFilterCondition *cond = prepared.Conditions[0] ? &*prepared.Conditions[0] : nullptr;
        for (int r = first; r <= last; ++r) {
            if (FFilterNormalCellsOnly && IsNodeOrSummary(r))
                continue;
            bool match = false;
            try {
                match = MatchCellText(*only, cond, Store().TextView(only->Column, r));
            } catch (const std::exception &) {
            }
            // Against the starting "true" of the row test, as the general loop combines it.
            const bool keep = only->Operation == foOR ? true : only->Operation == foXOR ? !match : match;
            if (!keep)
                failing.push_back(r);
        }
    } else {
        for (int r = first; r <= last; ++r) {
            if (FFilterNormalCellsOnly && IsNodeOrSummary(r))
                continue;
            ++k;
            if (!RowMatchesFilter(r))
                failing.push_back(r);
            if (OnFilterProgress && n > 0) {
                progress = SmallInt(std::nearbyint(double(k) * 100.0 / double(n)));
                OnFilterProgress(this, progress);
            }
        }
    }
    FPreparedFilter = nullptr;
    HideRowLevel(std::move(failing));
    if (OnFilterProgress)
        OnFilterProgress(this, progress);
}

void TExtStringGrid::FilterRow(int ARow)
{
    if (!RowMatchesFilter(ARow))
        HideRow(RealRowIndex(ARow));
}

void TExtStringGrid::SetFilterActive(bool Value)
{
    if (Value != FFilterActive) {
        FFilterActive = Value;
        if (Value) {
            if (Row() >= RowCount() || Col() >= ColCount())
                FocusCell(FixedCols(), FixedRows(), true);
            BeginUpdate();
            try {
                ApplyFilter();
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
            FSelHidden = false;
        } else {
            UnHideRowList();
            if (FFilterFixedRows != FixedRows() && FFilterFixedRows < RowCount())
                SetFixedRows(FFilterFixedRows);
            UnHideSelection();
        }
        SetTopRow(FixedRows());
    }
    CalcFooter(-1);
}

bool TExtStringGrid::RemoveLastFilter()
{
    if (FFilterLevel <= 0)
        return false;
    UnHideRowList();
    if (FFilterFixedRows != FixedRows() && FFilterFixedRows < RowCount())
        SetFixedRows(FFilterFixedRows);
    if (FSelHidden)
        UnHideSelection();
    CalcFooter(-1);
    SetFilterLevel(FFilterLevel - 1);
    return FFilterLevel > 1;
}

void TExtStringGrid::RemoveAllFilters()
{
    if (FFilterLevel > 0) {
        while (FFilterLevel > 0)
            RemoveLastFilter();
    } else {
        FFilter->Clear();
    }
}

void TExtStringGrid::NarrowDown(const UnicodeString &ACondition, int AColumn)
{
    SetFixedRowAlways(true);
    auto narrow = [&] {
        FFilter->Clear();
        TFilterData *f = FFilter->Add();
        f->CaseSensitive = false;
        f->Column = AColumn;
        if (AColumn == -1) {
            f->Data = fcRow;
            f->Condition = ACondition;
        } else {
            f->Data = fcNormal;
            const UnicodeString c = QLatin1Char('*') + ACondition + QLatin1Char('*');
            f->Condition = ACondition.contains(QLatin1Char(' ')) ? QLatin1Char('"') + c + QLatin1Char('"') : c;
        }
        ApplyFilter();
    };
    if (!FLastFilter.isEmpty() && ACondition.size() == FLastFilter.size() + 1 && ACondition.startsWith(FLastFilter)) {
        narrow();
    } else if (!ACondition.isEmpty() && FLastFilter.size() == ACondition.size() + 1 &&
               FLastFilter.startsWith(ACondition)) {
        RemoveLastFilter();
    } else {
        // An empty condition ends the narrowing: its levels go, and rows hidden otherwise (by
        // HideRow, under contracted nodes) stay where they are.
        RemoveAllFilters();
        if (!ACondition.isEmpty())
            narrow();
    }
    FLastFilter = ACondition;
}

// ---------------------------------------------------------------------------------------------
// The drop-downs

void TExtStringGrid::SetFilterDropDownRow(int Value)
{
    if (Value < 0 || Value >= FixedRows())
        return;
    FFilterDropDownRow = Value;
    Invalidate();
}

bool TExtStringGrid::ShowFilterList(int ACol)
{
    if (!DoGetColumnFilter(ACol))
        return false;
    OpenFilterDropDown(DisplColIndex(ACol), FFilterDropDownRow);
    return true;
}

void TExtStringGrid::OpenFilterDropDown(int ADisplCol, int ARow)
{
    (void)ARow;
    // The column's filter entries are in FFilterList already (DoGetColumnFilter).
    const int ACol = RealColIndex(ADisplCol);
    FFilterCol = ACol;
    TCustomListBox *list = FFilterDropDownCheck ? static_cast<TCustomListBox *>(FDropCheckList)
                                                : static_cast<TCustomListBox *>(FDropList);
    TCustomListBox *other = list == FDropList ? static_cast<TCustomListBox *>(FDropCheckList)
                                              : static_cast<TCustomListBox *>(FDropList);
    WatchOutsideClicks(other, false);
    other->SetVisible(false);
    list->SetColor(FFilterDropDown->Color);
    list->Font()->Assign(FFilterDropDown->Font());
    TBitmap measure;
    measure.Canvas()->Font()->Assign(FFilterDropDown->Font());
    int widest = 0;
    list->Items()->Clear();
    for (int i = 0; i < FFilterList->Count(); ++i) {
        const bool automatic = i < FFilterValues.size() && !FFilterValues[i].isNull();
        UnicodeString name, condition;
        SplitEntry(FFilterList->Strings(i), name, condition);
        const UnicodeString text = automatic ? FFilterValues[i] : name;
        list->Items()->Add(text);
        widest = std::max(widest, measure.Canvas()->TextWidth(text) + 8);
        if (list == FDropCheckList) {
            // Ticked where the column's filter already holds the value: a new tick adds to them.
            const UnicodeString quoted = text.contains(QLatin1Char(' ')) ? QLatin1Char('"') + text + QLatin1Char('"') : text;
            for (int k = 0; k < FFilter->Count(); ++k) {
                const TFilterData *f = FFilter->Items(k);
                if (f->Column == ACol && (f->Condition == quoted || (f->Method == fmLiteral && f->Condition == text)))
                    FDropCheckList->SetChecked(i, true);
            }
        }
    }
    if (list == FDropList && list->Count() > 0)
        list->SetItemIndex(0);

    const int displ = ADisplCol;
    const TRect cell = CellRect(displ, std::min(FFilterDropDownRow, std::max(FixedRows() - 1, 0)));
    int w = FFilterDropDown->Width, h = FFilterDropDown->Height;
    if (FFilterDropDown->AutoSize) {
        h = list->Count() * list->ItemHeight() + 2 * GetSystemMetrics(SM_CYEDGE);
        w = widest + 2 * GetSystemMetrics(SM_CXEDGE);
    }
    int left = cell.Right - 16;
    if (FFilterDropDown->ColumnWidth) {
        left = cell.Left;
        w = cell.Width();
    }
    if (left + w > Width())
        left = std::max(0, CellRect(displ, 0).Right - w);
    const TPoint at = ClientToScreen(TPoint(left, cell.Top + 16));
    list->SetBounds(at.X, at.Y, w, h);
    list->SetVisible(true);
    WatchOutsideClicks(list, true);
}

void TExtStringGrid::CloseFilterLists()
{
    for (TWinControl *l : {static_cast<TWinControl *>(FDropList), static_cast<TWinControl *>(FDropCheckList)})
        if (l && l->Visible())
            CloseFilterList(l);
}

void TExtStringGrid::CNKeyDown(TWMKey &Message)
{
    // Ahead of the form's dialog keys: Enter and Escape belong to the open list.
    const Word key = Message.CharCode;
    if (FDropList && FDropList->Visible() && FDropList->ListKey(key)) {
        Message.Result = 1;
        return;
    }
    if (FDropCheckList && FDropCheckList->Visible() && FDropCheckList->ListKey(key)) {
        Message.Result = 1;
        return;
    }
    TBaseGrid::CNKeyDown(Message);
}

void TExtStringGrid::DoFilterSelect(int Index)
{
    if (HandleAllocated() && CanFocus())
        SetFocus();
    if (FFilterCol >= 0 && FFilterCol < AllColCount()) {
        DoGetColumnFilter(FFilterCol);
        if (Index >= 0 && Index < FFilterList->Count()) {
            UnicodeString name, condition;
            SplitEntry(FFilterList->Strings(Index), name, condition);
            // An entry the grid made from a cell stands for that cell's value.
            const bool automatic = Index < FFilterValues.size() && !FFilterValues[Index].isNull();
            if (automatic)
                name = FFilterValues[Index];
            if (FAutoFilterUpdate)
                SetFilterActive(false);
            if (condition == FFilterDropDownClear)
                condition.clear();
            const UnicodeString offered = condition;
            if (OnFilterSelect)
                OnFilterSelect(this, FFilterCol, Index, name, condition);
            if (!condition.isEmpty()) {
                TFilterData *f = FFilter->ColumnFilter(FFilterCol);
                f->Condition = condition;
                f->Method = fmExpression;
                if (automatic && condition == offered && NeedsLiteral(FFilterValues[Index])) {
                    f->Condition = FFilterValues[Index];
                    f->Method = fmLiteral;
                }
            } else {
                FFilter->RemoveColumnFilter(FFilterCol);
            }
            if (FAutoFilterUpdate) {
                SetFixedRowAlways(true);
                SetFilterActive(true);
                if (RowCount() != FixedRows() && RowCount() != 1)
                    SetRow(FixedRows());
                DoFilterDone();
            }
        }
    }
    FFilterCol = -1;
}

void TExtStringGrid::DoFilterCheck()
{
    if (FFilterCol < 0 || FFilterCol >= AllColCount())
        return;
    DoGetColumnFilter(FFilterCol);
    if (FAutoFilterUpdate)
        SetFilterActive(false);
    FFilter->Clear();
    bool first = true;
    for (int i = 0; i < FFilterList->Count() && i < FDropCheckList->Count(); ++i) {
        if (!FDropCheckList->Checked(i))
            continue;
        UnicodeString name, condition;
        SplitEntry(FFilterList->Strings(i), name, condition);
        const bool automatic = i < FFilterValues.size() && !FFilterValues[i].isNull();
        if (automatic)
            name = FFilterValues[i];
        if (condition == FFilterDropDownClear)
            condition.clear();
        const UnicodeString offered = condition;
        if (OnFilterCheck)
            OnFilterCheck(this, FFilterCol, i, name, condition, FDropCheckList);
        TFilterData *f = FFilter->Add();
        f->Condition = condition;
        f->Column = FFilterCol;
        f->Operation = first ? foNONE : foOR;
        if (automatic && !condition.isEmpty() && condition == offered && NeedsLiteral(FFilterValues[i])) {
            f->Condition = FFilterValues[i];
            f->Method = fmLiteral;
        }
        first = false;
    }
    SetFilterActive(true);
    FDropCheckList->Invalidate();
}
