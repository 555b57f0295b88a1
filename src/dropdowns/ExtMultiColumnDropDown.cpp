#include "dropdowns/ExtMultiColumnDropDown.h"

#include "platform/SysUtils.h"
#include "platform/WinGdi.h"

#include <cmath>

namespace ExtMultiColumnDropDown {

namespace {

bool AltDown()
{
    return GetKeyState(VK_MENU) < 0;
}

// Delphi's Pos(Sub, S) = 1: an empty Sub never matches.
bool BeginsWith(const UnicodeString &S, const UnicodeString &Sub)
{
    return !Sub.isEmpty() && S.startsWith(Sub);
}

} // namespace

// ---- columns and items ----

TDropDownColumn::TDropDownColumn(TCollection *Collection) : TCollectionItem(Collection), FFont(std::make_unique<TFont>())
{
}

TDropDownColumn::~TDropDownColumn() = default;

void TDropDownColumn::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TDropDownColumn *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    Wordwrap = s->Wordwrap;
    Width = s->Width;
    AutoSize = s->AutoSize;
    Header = s->Header;
    Alignment = s->Alignment;
    Color = s->Color;
    ColumnType = s->ColumnType;
    FFont->Assign(s->FFont.get());
    Ellipsis = s->Ellipsis;
}

TDropDownColumns::TDropDownColumns(TPersistent *AOwner)
    : TCollection(CollectionItemClass<TDropDownColumn>()), FOwner(AOwner)
{
}

// The list an item hands out: every change with no update pending is copied to the item's block,
// a line added at the end by itself.
class TDropDownItem::TLines : public TStringList {
public:
    TDropDownItem *Item = nullptr;

protected:
    void Changed() override
    {
        TStringList::Changed();
        if (Item && UpdateCount() == 0)
            Item->LinesChanged(FAppending);
    }
    void InsertItem(int Index, const UnicodeString &S, TObject *AObject) override
    {
        FAppending = Index == Count();
        try {
            TStringList::InsertItem(Index, S, AObject);
        } catch (...) {
            FAppending = false;
            throw;
        }
        FAppending = false;
    }

private:
    bool FAppending = false;
};

TDropDownItem::TDropDownItem(TCollection *Collection) : TCollectionItem(Collection)
{
}

TDropDownItem::~TDropDownItem()
{
    FText.reset();
    TGridStore::FreeRow(FLines);
}

TStringList *TDropDownItem::Text() const
{
    if (!FText) {
        auto lines = std::make_unique<TLines>();
        for (int i = 0; i < FLineCount; ++i)
            lines->Add(TGridStore::Text(FLines, i));
        lines->Item = const_cast<TDropDownItem *>(this);
        FText = std::move(lines);
    }
    return FText.get();
}

void TDropDownItem::LinesChanged(bool Appended)
{
    const int n = FText->Count();
    if (Appended && n == FLineCount + 1) {
        TGridStore::SetText(FLines, n - 1, FText->Strings(n - 1));
    } else {
        TGridStore::FreeRow(FLines);
        for (int i = 0; i < n; ++i)
            TGridStore::SetText(FLines, i, FText->Strings(i));
    }
    FLineCount = n;
    if (auto *list = dynamic_cast<TDropDownItemList *>(Collection()))
        list->LinesChanged(this);
}

void TDropDownItem::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TDropDownItem *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    ImageIndex = s->ImageIndex;
}

std::optional<UnicodeString> TDropDownItem::Line(int Column) const
{
    if (Column < 0 || Column >= FLineCount)
        return std::nullopt;
    return TGridStore::Text(FLines, Column);
}

QStringView TDropDownItem::LineView(int Column) const
{
    return Column < 0 || Column >= FLineCount ? QStringView() : TGridStore::TextView(FLines, Column);
}

TDropDownItems::TDropDownItems(TPersistent *AOwner) : TDropDownItemList(CollectionItemClass<TDropDownItem>()), FOwner(AOwner)
{
}

namespace {

// Changed items beyond this many make the block again: finding each costs a pass over the items.
constexpr std::size_t FewChanged = 8;

} // namespace

void TDropDownItemList::Notify(TCollectionItem *Item, TCollectionNotification Action)
{
    FAllStale = true;
    TCollection::Notify(Item, Action);
}

void TDropDownItemList::LinesChanged(const TCollectionItem *Item)
{
    if (FAllStale || std::find(FChanged.begin(), FChanged.end(), Item) != FChanged.end())
        return;
    if (FChanged.size() < FewChanged)
        FChanged.push_back(Item);
    else
        FAllStale = true;
}

void TItemLineBlock::Append(int Item, const TDropDownItem *Source)
{
    const std::size_t j = std::size_t(Item);
    FLive += std::size_t(Source->LineCount()) - std::size_t(FCount[j]);
    FFirst[j] = int(FEnds.size());
    FCount[j] = Source->LineCount();
    FStart[j] = int(FUsed);
    for (int i = 0; i < Source->LineCount(); ++i) {
        const QStringView l = Source->LineView(i);
        const std::size_t len = std::size_t(l.size());
        if (FUsed + len > FCharCap) {
            const std::size_t cap = std::max(2 * FCharCap, FUsed + len + 1024);
            std::unique_ptr<char16_t[]> chars(new char16_t[cap]);
            std::copy(FChars.get(), FChars.get() + FUsed, chars.get());
            FChars = std::move(chars);
            FCharCap = cap;
        }
        // Lines are short: copied in place, a library call each would cost more.
        char16_t *d = FChars.get() + FUsed;
        const char16_t *src = l.utf16();
        for (std::size_t k = 0; k < len; ++k)
            d[k] = src[k];
        FUsed += len;
        FEnds.push_back(int(FUsed));
    }
}

const TItemLineBlock &TDropDownItemList::AllLines() const
{
    const int n = Count();
    bool stale = FAllStale || FAllItems.size() != std::size_t(n);
    for (int j = 0; j < n && !stale; ++j) {
        const TCollectionItem *item = FAllItems[std::size_t(j)];
        stale = item != Items(j);
        if (!stale && std::find(FChanged.begin(), FChanged.end(), item) != FChanged.end())
            FAll.Append(j, static_cast<const TDropDownItem *>(item));
    }
    FChanged.clear();
    // Replaced lines stay in the block until they are as many as the live ones.
    if (!stale && FAll.FEnds.size() <= 2 * FAll.FLive + 1024)
        return FAll;
    // Made again in the same memory: a block of many items is large, and fresh memory costs
    // its first touch.
    FAll.FUsed = 0;
    FAll.FLive = 0;
    FAll.FEnds.clear();
    FAll.FFirst.resize(std::size_t(n));
    FAll.FCount.assign(std::size_t(n), 0);
    FAll.FStart.resize(std::size_t(n));
    FAllItems.resize(std::size_t(n));
    for (int j = 0; j < n; ++j) {
        FAllItems[std::size_t(j)] = Items(j);
        FAll.Append(j, static_cast<const TDropDownItem *>(FAllItems[std::size_t(j)]));
    }
    FAllStale = false;
    return FAll;
}

int TDropDownItems::IndexInColumn(int Column, const UnicodeString &Value) const
{
    for (int i = 0; i < Count(); ++i)
        if (Column >= 0 && Column < Items(i)->LineCount() && Items(i)->LineView(Column) == Value)
            return i;
    return -1;
}

// ---- measuring ----

int MeasureColumnWidth(TCanvas *Canvas, TFont *Font, TCustomImageList *Images, int FirstRow, int LastRow,
                       const TMeasureSource &Source)
{
    int widest = 0;
    bool image = false;
    Canvas->Font()->Assign(Font);
    for (int r = FirstRow; r <= LastRow; ++r) {
        const TMeasureCell cell = Source(r);
        if (cell.HasLine)
            image = cell.HasImage;
        int w = image && Images ? Images->Width() + 4 : 0;
        if (cell.HasLine && !cell.Text.isEmpty()) {
            TRect R(0, 0, 1000, 500);
            DrawText(Canvas->Handle(), cell.Text, -1, &R, DT_CALCRECT | DT_SINGLELINE);
            w += R.Right - R.Left + 6;
        }
        widest = std::max(widest, w);
    }
    return widest;
}

int MeasureWrapHeight(TCanvas *Canvas, TDropDownColumns *Columns, TCustomImageList *Images,
                      const std::function<int(int Col)> &ColWidth, const std::function<TMeasureCell(int Col)> &Cell)
{
    int h = 24;
    for (int c = 0; c < Columns->Count(); ++c) {
        TDropDownColumn *col = Columns->Items(c);
        if (!col->Wordwrap)
            continue;
        const TMeasureCell cell = Cell(c);
        if (cell.HasImage && Images)
            h = std::max(h, Images->Height() + 6);
        if (cell.HasLine && !cell.Text.isEmpty()) {
            Canvas->Font()->Assign(col->Font());
            TRect R(0, 0, ColWidth(c), 500);
            DrawText(Canvas->Handle(), cell.Text, -1, &R, DT_CALCRECT | DT_WORDBREAK);
            h = std::max(h, R.Bottom - R.Top + 6);
        }
    }
    return h;
}

TMultiColumnLook MultiColumnLook(TQRVStyle AStyle)
{
    struct TRow {
        TColor From, To;
        bool FontSet;
        TColor Font;
        bool StyleSet;
        TSelectionColorStyle Style;
        TColor Lines;
    };
    TMultiColumnLook L;
    auto office = [&](TColor From, TColor To, bool FontSet, TColor Font, TColor Lines) {
        L.Changes = true;
        L.HeaderColor = From;
        L.HeaderColorTo = To;
        L.HeaderFontColorSet = FontSet;
        L.HeaderFontColor = Font;
        L.SelectionStyleSet = true;
        L.SelectionStyle = scOffice2007;
        L.LineColor = L.FixedLineColor = Lines;
        L.SelectionTextColorSet = true;
        L.SelectionTextColor = 0;
    };
    switch (AStyle) {
    case tsOffice2003Blue:
        office(0xD68759, 0x933803, true, 0xFFFFFF, 0x962D00);
        break;
    case tsOffice2003Silver:
        office(0xBDA4A5, 0x957475, false, 0, 0x947C7C);
        break;
    case tsOffice2003Olive:
        office(0x82C0AF, 0x447A63, false, 0, 0x588060);
        break;
    case tsOffice2003Classic:
        office(0x808080, 0x808080, false, 0, 0x808080);
        break;
    case tsOffice2007Luna:
        office(0xFFEFE3, 0xFFD2AF, true, 0x723708, 0xFFD2AF);
        break;
    case tsOffice2007Obsidian:
        office(0xF2F1F0, 0xC9C2BD, true, 0x433C37, 0x5C534C);
        break;
    case tsWhidbey:
        office(0xEBEEEF, 0x7E9898, true, 0xFFFFFF, 0x962D00);
        break;
    case tsOffice2007Silver:
        office(0xF8F7F6, 0xE8E0DB, true, 0x8B4215, 0x74706F);
        break;
    case tsWindowsVista:
        office(0xFFFDF9, 0xFFFAF0, true, 0, 0xFCF2DA);
        L.SelectionStyle = scWindowsVista;
        break;
    case tsWindows7:
        office(0xFDFBFA, 0xFDF3EB, true, 0, 0xFBD6B8);
        L.SelectionStyle = scWindows7;
        break;
    case tsWindowsXP:
    case tsTerminal:
        office(clBtnFace, clBtnFace, true, 0, AStyle == tsWindowsXP ? 0xC0C0C0 : 0x808080);
        if (AStyle == tsWindowsXP)
            L.FixedLineColor = 0;
        L.SelectionStyle = scCustom;
        L.SelectionColorsSet = true;
        L.SelectionColor = L.SelectionColorTo = clHighlight;
        L.SelectionTextColor = clHighlightText;
        break;
    case tsOffice2010Blue:
    case tsOffice2010Silver:
    case tsOffice2010Black: {
        const TColor from = AStyle == tsOffice2010Blue ? 0xEDDBCD : AStyle == tsOffice2010Silver ? 0xEDE9E5 : 0x828282;
        office(from, clNone, true, AStyle == tsOffice2010Black ? 0xD7D7D6 : 0x5B391E, 0xEEDDCF);
        L.SelectionStyle = scCustom;
        L.SelectionColorsSet = true;
        L.SelectionColor = L.SelectionColorTo = 0x6CD0FF;
        break;
    }
    default:
        break;
    }
    return L;
}

bool MultiColumnSelectionLines(TSelectionColorStyle Style, TColor &LineColor, TColor &FixedLineColor,
                               TColor &SelectionColor)
{
    switch (Style) {
    case scOffice2007:
        LineColor = 0xF1EDEB;
        FixedLineColor = 0xD1BBA4;
        SelectionColor = 0x5EC1F1;
        return true;
    case scWindowsVista:
    case scWindows7:
        SelectionColor = 0xEACAB6;
        LineColor = 0xECECF0;
        FixedLineColor = 0xD4D2D1;
        return true;
    default:
        return false;
    }
}

bool CompleteFromLookup(TStringList *Lookup, const UnicodeString &Text, const UnicodeString &Key, bool MatchCase,
                        int &Index, UnicodeString &NewText)
{
    for (int i = 0; i < Lookup->Count(); ++i) {
        const UnicodeString line = Lookup->Strings(i);
        if (!BeginsWith(MatchCase ? line : AnsiUpperCase(line), Key))
            continue;
        Index = i;
        NewText = Text.left(Key.length()) + line.mid(Key.length(), 255);
        return true;
    }
    return false;
}

unsigned ColCellTextFlags(bool WordWrap, TAlignment Alignment, bool Ellipsis)
{
    unsigned f = DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER;
    f |= WordWrap ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE;
    if (Alignment == taRightJustify)
        f |= DT_RIGHT;
    else if (Alignment == taCenter)
        f |= DT_CENTER;
    if (Ellipsis)
        f |= DT_END_ELLIPSIS;
    return f;
}

// ---- the drop-down ----

TExtMultiColumnDropDown::TExtMultiColumnDropDown(TComponent *AOwner)
    : TColumnListDropDown(AOwner), FColumns(std::make_unique<TDropDownColumns>(this)),
      FItems(std::make_unique<TDropDownItems>(this))
{
}

TExtMultiColumnDropDown::~TExtMultiColumnDropDown()
{
    if (FGrid)
        FGrid->SetExtDropDown(nullptr);
}

void TExtMultiColumnDropDown::Assign(TPersistent *Source)
{
    TColumnListDropDown::Assign(Source);
    auto *s = dynamic_cast<TExtMultiColumnDropDown *>(Source);
    if (!s)
        return;
    CaseSensitive = s->CaseSensitive;
    DropDownAutoWidth = s->DropDownAutoWidth;
    DropDownRowHeight = s->DropDownRowHeight;
    LineColor = s->LineColor;
    FixedLineColor = s->FixedLineColor;
    ColumnSizing = s->ColumnSizing;
    ColumnSizeWithDropDown = s->ColumnSizeWithDropDown;
    FColumns->Assign(s->FColumns.get());
    HeaderColor = s->HeaderColor;
    HeaderColorTo = s->HeaderColorTo;
    HeaderHeight = s->HeaderHeight;
    FHeaderFont->Assign(s->FHeaderFont.get());
    LookupColumn = s->LookupColumn;
    SelectionTextColor = s->SelectionTextColor;
    FItems->Assign(s->FItems.get());
    FItemIndex = s->FItemIndex;
}

void TExtMultiColumnDropDown::Loaded()
{
    TColumnListDropDown::Loaded();
    BuildLookupItems();
}

int TExtMultiColumnDropDown::GetItemIndex(const UnicodeString &Value) const
{
    return FItems->IndexInColumn(LookupColumn, Value);
}

void TExtMultiColumnDropDown::SetItemIndex(int Value)
{
    if (Value >= FItems->Count())
        return;
    FItemIndex = Value;
    const std::optional<UnicodeString> l = Value >= 0 && LookupColumn >= 0 ? FItems->Items(Value)->Line(LookupColumn) : std::nullopt;
    SetTextQuiet(l ? *l : UnicodeString());
}

bool TExtMultiColumnDropDown::LookupText(const UnicodeString &Value, UnicodeString &FoundText, int &Index) const
{
    FoundText.clear();
    Index = -1;
    if (!FGrid)
        return false;
    const UnicodeString v = CaseSensitive ? Value : AnsiUpperCase(Value);
    for (int i = 0; i < FItems->Count(); ++i) {
        const std::optional<UnicodeString> l = FItems->Items(i)->Line(LookupColumn);
        if (!l || !BeginsWith(CaseSensitive ? *l : AnsiUpperCase(*l), v))
            continue;
        FoundText = *l;
        Index = i;
        return true;
    }
    return false;
}

int TExtMultiColumnDropDown::LookupKey(WideChar Key)
{
    if (EnterLookupKey(Key))
        return -1;
    UnicodeString found;
    int index = -1;
    if (LookupText(FLookupEntry, found, index)) {
        FItemIndex = index;
        SetTextQuiet(found);
        SetSelStart(static_cast<int>(FLookupEntry.length()));
        SetSelLength(static_cast<int>(found.length() - FLookupEntry.length()));
        return index;
    }
    if (LookupText(UnicodeString(QChar(char16_t(Key))), found, index)) {
        FItemIndex = index;
        SetTextQuiet(found);
        FLookupEntry = UnicodeString(QChar(char16_t(Key)));
        SetSelStart(1);
        SetSelLength(0);
        return index;
    }
    FLookupEntry.clear();
    return -1;
}

// ---- the popup ----

void TExtMultiColumnDropDown::CreateDropDownForm()
{
    TColumnListDropDown::CreateDropDownForm();
    MakePopupGrid(FGrid, this);
}

void TExtMultiColumnDropDown::PlaceDropDownControl()
{
    SetControl(FGrid);
    TColumnListDropDown::PlaceDropDownControl();
}

void TExtMultiColumnDropDown::BeforeDropDown()
{
    TColumnListDropDown::BeforeDropDown();
    if (DropDownForm())
        DropDownForm()->CancelOnDeActivate = false;
    FShowing = true;
    if (FGrid) {
        FGrid->LoadFromDropDown(this);
        FGrid->SetOptions(FGrid->Options() + TGridOptions{goThumbTracking});
        FGrid->SetColor(DropDownColor());
        FGrid->OnSelectCell = [this](TObject *Sender, int ACol, int ARow, bool &CanSelect) {
            GridSelectCell(Sender, ACol, ARow, CanSelect);
        };
        FGrid->OnSelect = [this](TObject *Sender) { GridSelect(Sender); };
        if (FGrid->RowCount() > 1) {
            int row = FItemIndex + 1;
            if (row < FGrid->FixedRows())
                row = 1;
            FGrid->SetRow(row);
        }
    }
    FOldItemIndex = FItemIndex;
}

void TExtMultiColumnDropDown::SizeDropDownForm()
{
    TColumnListDropDown::SizeDropDownForm();
    FitPopupToGrid(FGrid);
}

void TExtMultiColumnDropDown::DoShowDropDown()
{
    TColumnListDropDown::DoShowDropDown();
    if (!FGrid || !DroppedDown()) {
        FShowing = false;
        return;
    }
    SizeColumnsToDropDown();
    if (FGrid->RowCount() > 1) {
        const int row = FItemIndex < 0 ? 1 : FItemIndex + 1;
        FGrid->SetRow(row);
        const TRect r = FGrid->CellRect(FGrid->FixedCols(), row);
        if (r.Left <= 0 && r.Top <= 0)
            FGrid->SetTopRow(std::max(FGrid->FixedRows(), row - FGrid->VisibleRowCount() + 1));
    }
    FShowing = false;
}

void TExtMultiColumnDropDown::SizeColumnsToDropDown()
{
    // The grid's copy carries the measured widths of automatic columns.
    if (FGrid)
        FitColumns(FGrid, FGrid->Columns());
}

void TExtMultiColumnDropDown::FormSizing()
{
    TColumnListDropDown::FormSizing();
    SizeColumnsToDropDown();
}

void TExtMultiColumnDropDown::GridSelectCell(TObject *, int, int ARow, bool &)
{
    if (FGrid->WheelSelection() || FShowing)
        return;
    SetItemIndex(ARow - 1);
}

void TExtMultiColumnDropDown::GridSelect(TObject *)
{
    if (!FGrid->ConfirmSelection())
        return;
    SetItemIndex(FGrid->Row() - 1);
    DoHideDropDown(false);
    if (OnSelect)
        OnSelect(this);
}

void TExtMultiColumnDropDown::DoHideDropDown(bool Cancel)
{
    if (!DropDownForm() || !DropDownForm()->Visible()) {
        TColumnListDropDown::DoHideDropDown(Cancel);
        return;
    }
    TColumnListDropDown::DoHideDropDown(Cancel);
    if (Cancel) {
        SetItemIndex(FOldItemIndex);
        return;
    }
    if (FGrid && FGrid->ConfirmSelection())
        SetItemIndex(FGrid->Row() - 1);
    FOldItemIndex = FItemIndex;
}

// ---- keys ----

namespace {

bool GridNavigationKey(Word Key)
{
    return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
}

} // namespace

void TExtMultiColumnDropDown::ControlKeyDown(Word &Key, TShiftState Shift)
{
    if (GridNavigationKey(Key) && !Shift.Contains(ssAlt))
        return;
    TColumnListDropDown::ControlKeyDown(Key, Shift);
}

void TExtMultiColumnDropDown::ControlKeyUp(Word &Key, TShiftState Shift)
{
    if (GridNavigationKey(Key) && !Shift.Contains(ssAlt))
        return;
    TColumnListDropDown::ControlKeyUp(Key, Shift);
}

void TExtMultiColumnDropDown::ControlKeyPress(WideChar &Key)
{
    const bool special = Key == 13 || Key == 27 || (Key >= 33 && Key <= 36) || Key == 38 || Key == 40;
    if ((special && !AltDown()) || (FGrid && FGrid->Options().Contains(goEditing))) {
        FLookupEntry.clear();
        return;
    }
    const int r = LookupKey(Key);
    if (r == -1 || !FGrid) {
        FLookupEntry.clear();
        return;
    }
    const int row = FGrid->FixedRows() + r;
    if (row >= FGrid->RowCount())
        return;
    if (row > FGrid->TopRow() + FGrid->VisibleRowCount() || row < FGrid->TopRow())
        FGrid->SetTopRow(row);
    FGrid->SetRow(row);
    FGrid->SetCol(0);
}

void TExtMultiColumnDropDown::WMKeyDown(TWMKey &Message)
{
    const Word key = Message.CharCode;
    const bool alt = (Message.KeyData & 0x20000000) != 0 || AltDown();
    TColumnListDropDown::WMKeyDown(Message);
    if (!Enabled() || alt)
        return;
    switch (key) {
    case VK_PRIOR:
        SelectPreviousPage();
        break;
    case VK_NEXT:
        SelectNextPage();
        break;
    case VK_END:
        if (!EditorEnabled())
            SelectLast();
        break;
    case VK_HOME:
        if (!EditorEnabled())
            SelectFirst();
        break;
    case VK_UP:
        SelectPrevious();
        break;
    case VK_DOWN:
        SelectNext();
        break;
    default:
        break;
    }
}

} // namespace ExtMultiColumnDropDown
