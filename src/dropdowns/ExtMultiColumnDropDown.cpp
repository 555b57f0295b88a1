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

TDropDownItem::TDropDownItem(TCollection *Collection)
    : TCollectionItem(Collection), FText(std::make_unique<TStringList>())
{
}

TDropDownItem::~TDropDownItem() = default;

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
    if (Column < 0 || Column >= FText->Count())
        return std::nullopt;
    return FText->Strings(Column);
}

TDropDownItems::TDropDownItems(TPersistent *AOwner) : TCollection(CollectionItemClass<TDropDownItem>()), FOwner(AOwner)
{
}

int TDropDownItems::IndexInColumn(int Column, const UnicodeString &Value) const
{
    for (int i = 0; i < Count(); ++i)
        if (const std::optional<UnicodeString> l = Items(i)->Line(Column); l && *l == Value)
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
    : TExtCustomDropDown(AOwner), FHeaderFont(std::make_unique<TFont>()),
      FColumns(std::make_unique<TDropDownColumns>(this)), FItems(std::make_unique<TDropDownItems>(this)),
      FLookupItems(std::make_unique<TStringList>())
{
}

void TExtMultiColumnDropDown::AfterConstruction()
{
    TExtCustomDropDown::AfterConstruction();
    HeaderColor = 0xFFFFFF;
    HeaderColorTo = 0x808080;
    HeaderHeight = 25;
    LineColor = 0xC0C0C0;
    FixedLineColor = 0xD1BBA4;
    SelectionTextColor = 0;
    SetDropDownColor(clWhite);
    SetDropDownHeight(200);
    SetAutoSelect(true);
    SetSelectionColorStyle(scOffice2007);
    SelectionTextColor = 0;
}

TExtMultiColumnDropDown::~TExtMultiColumnDropDown()
{
    if (FGrid)
        FGrid->SetExtDropDown(nullptr);
}

void TExtMultiColumnDropDown::Assign(TPersistent *Source)
{
    TExtCustomDropDown::Assign(Source);
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
    TExtCustomDropDown::Loaded();
    BuildLookupItems();
}

void TExtMultiColumnDropDown::BuildLookupItems()
{
    if (LookupColumn < 0 || FItems->Count() == 0)
        return;
    FLookupItems->Clear();
    for (int i = 0; i < FItems->Count(); ++i) {
        const std::optional<UnicodeString> l = FItems->Items(i)->Line(LookupColumn);
        FLookupItems->Add(l ? *l : UnicodeString());
    }
}

int TExtMultiColumnDropDown::GetItemIndex(const UnicodeString &Value) const
{
    return FItems->IndexInColumn(LookupColumn, Value);
}

void TExtMultiColumnDropDown::SetTextQuiet(const UnicodeString &Value)
{
    // A text this control sets is no typing: the edit's type-ahead leaves it alone.
    ++FTextUpdate;
    try {
        SetText(Value);
    } catch (...) {
        --FTextUpdate;
        throw;
    }
    --FTextUpdate;
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
    if (Key != 8 && Key != 9)
        FLookupEntry += QChar(char16_t(Key));
    if (Key == 8) {
        if (SelLength() == 0) {
            FLookupEntry.chop(1);
            SetTextQuiet(FLookupEntry);
        } else {
            UnicodeString t = Text();
            t.remove(SelStart(), SelLength());
            SetTextQuiet(t);
        }
        SetSelStart(static_cast<int>(Text().length()));
        return -1;
    }
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

void TExtMultiColumnDropDown::SelectFirst()
{
    if (FItems->Count() > 0)
        SetItemIndex(0);
}

void TExtMultiColumnDropDown::SelectLast()
{
    if (FItems->Count() > 0)
        SetItemIndex(FItems->Count() - 1);
}

void TExtMultiColumnDropDown::SelectNext()
{
    if (FItems->Count() > 0)
        SetItemIndex(FItemIndex < 0 ? 0 : std::min(FItemIndex + 1, FItems->Count() - 1));
}

void TExtMultiColumnDropDown::SelectPrevious()
{
    if (FItems->Count() > 0)
        SetItemIndex(FItemIndex <= 0 ? 0 : FItemIndex - 1);
}

void TExtMultiColumnDropDown::SelectNextPage()
{
    if (FItems->Count() > 0)
        SetItemIndex(FItemIndex < 0 ? 0 : std::min(FItemIndex + 10, FItems->Count() - 1));
}

void TExtMultiColumnDropDown::SelectPreviousPage()
{
    if (FItems->Count() > 0)
        SetItemIndex(FItemIndex < 0 ? 0 : std::max(FItemIndex - 10, 0));
}

// ---- the popup ----

void TExtMultiColumnDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm())
        return;
    if (!FGrid) {
        FGrid = new TExtColGrid(this);
        FGrid->SetParent(DropDownForm());
    }
    FGrid->SetExtDropDown(this);
    FGrid->SetLeft(0);
    FGrid->SetTop(0);
    FGrid->SetHeight(180);
    FGrid->SetColor(DropDownColor());
    FGrid->SetDoubleBuffered(true);
}

void TExtMultiColumnDropDown::PlaceDropDownControl()
{
    SetControl(FGrid);
    TExtCustomDropDown::PlaceDropDownControl();
}

void TExtMultiColumnDropDown::BeforeDropDown()
{
    TExtCustomDropDown::BeforeDropDown();
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
    TExtCustomDropDown::SizeDropDownForm();
    if (!DropDownAutoWidth || !FGrid || !DropDownForm())
        return;
    FGrid->SetAlign(alNone);
    const int w = FGrid->GetTotalWidth();
    FGrid->SetWidth(w);
    DropDownForm()->SetWidth(w + 2 * DropDownBorderWidth);
    FGrid->SetAlign(alClient);
}

void TExtMultiColumnDropDown::AdaptDropDownHeight(int &H)
{
    // A row height of 0 would leave no whole rows to count.
    if (DropDownRowHeight <= 0)
        return;
    int V = 0;
    if (DropDownHeader()->Visible())
        V += DropDownHeader()->Height();
    if (DropDownFooter()->Visible())
        V += DropDownFooter()->Height();
    H = V + HeaderHeight + 2 + DropDownRowHeight * ((H - V - HeaderHeight - 2) / DropDownRowHeight);
}

void TExtMultiColumnDropDown::DoShowDropDown()
{
    TExtCustomDropDown::DoShowDropDown();
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
    if (!ColumnSizeWithDropDown || !FGrid || !DropDownForm())
        return;
    FGrid->SetScrollBars(ssVertical);
    TDropDownColumns *cols = FGrid->Columns();
    if (cols->Count() == 0)
        return;
    double S = 1;
    for (int i = 0; i < cols->Count(); ++i)
        S += cols->Items(i)->Width;
    double W = DropDownForm()->Width();
    if (FGrid->RowCount() - FGrid->FixedRows() > FGrid->VisibleRowCount())
        W -= GetSystemMetrics(SM_CXVSCROLL);
    const double f = W / S;
    double carry = 0;
    for (int i = 0; i < std::min(FGrid->ColCount(), cols->Count()); ++i) {
        const double exact = f * cols->Items(i)->Width;
        const int n = static_cast<int>(std::nearbyint(exact));
        carry += exact - n;
        if (carry > 1) {
            carry -= 1;
            FGrid->SetColWidths(i, n + 1);
        } else {
            FGrid->SetColWidths(i, n);
        }
    }
}

void TExtMultiColumnDropDown::FormSizing()
{
    TExtCustomDropDown::FormSizing();
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
        TExtCustomDropDown::DoHideDropDown(Cancel);
        return;
    }
    TExtCustomDropDown::DoHideDropDown(Cancel);
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
    TExtCustomDropDown::ControlKeyDown(Key, Shift);
}

void TExtMultiColumnDropDown::ControlKeyUp(Word &Key, TShiftState Shift)
{
    if (GridNavigationKey(Key) && !Shift.Contains(ssAlt))
        return;
    TExtCustomDropDown::ControlKeyUp(Key, Shift);
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

void TExtMultiColumnDropDown::Change()
{
    FPending = false;
    TExtCustomDropDown::Change();
    if (FTextUpdate > 0 || ComponentState().Contains(TComponentStateItem::csDesigning) || !FWorkMode)
        return;
    SetIsModified(Text() != FOldValue);
    const UnicodeString text = Text();
    const UnicodeString typed = text.left(SelStart());
    const UnicodeString key = MatchCase ? typed : AnsiUpperCase(typed);
    int index = -1;
    UnicodeString completed;
    if (FLookupItems->Count() > 0 && CompleteFromLookup(FLookupItems.get(), text, key, MatchCase, index, completed)) {
        FItemIndex = index;
        SetTextQuiet(completed);
        SetSelStart(static_cast<int>(key.length()));
        SetSelLength(static_cast<int>(completed.length() - key.length()));
        FPendingIndex = index;
        FPendingLength = static_cast<int>(key.length());
        FPending = true;
        return;
    }
    if (!typed.isEmpty() && typed != text) {
        SetTextQuiet(typed);
        SetSelStart(static_cast<int>(typed.length()));
    }
}

void TExtMultiColumnDropDown::KeyUp(Word &Key, TShiftState Shift)
{
    if (!(Key == VK_RETURN && ReturnIsTab))
        TExtCustomDropDown::KeyUp(Key, Shift);
    if (!FPending)
        return;
    const int typed = FPendingLength;
    SetItemIndex(FPendingIndex);
    SetSelStart(typed);
    SetSelLength(static_cast<int>(Text().length()) - typed);
    FPending = false;
}

void TExtMultiColumnDropDown::KeyDown(Word &Key, TShiftState Shift)
{
    if (LookupColumn < 0 || FItems->Count() == 0) {
        TExtCustomDropDown::KeyDown(Key, Shift);
        return;
    }
    const Word key = Key;
    if (key == VK_BACK || key == VK_ESCAPE || key == VK_DELETE)
        FWorkMode = false;
    else if (key != VK_RETURN)
        FWorkMode = true;
    if (key == VK_RETURN) {
        const int i = FLookupItems->IndexOf(Text());
        if (i >= 0) {
            SetTextQuiet(FLookupItems->Strings(i));
            SetItemIndex(i);
            Change();
        }
        if (ReturnIsTab) {
            PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
            Key = 0;
        }
    }
    TExtCustomDropDown::KeyDown(Key, Shift);
    if (key == VK_ESCAPE)
        SetItemIndex(FLookupItems->IndexOf(Text()));
}

void TExtMultiColumnDropDown::KeyPress(WideChar &Key)
{
    if (Key == 13 && ReturnIsTab) {
        Key = 0;
        return;
    }
    TExtCustomDropDown::KeyPress(Key);
}

void TExtMultiColumnDropDown::WMKeyDown(TWMKey &Message)
{
    const Word key = Message.CharCode;
    const bool alt = (Message.KeyData & 0x20000000) != 0 || AltDown();
    TExtCustomDropDown::WMKeyDown(Message);
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

void TExtMultiColumnDropDown::WheelDown()
{
    TExtCustomDropDown::WheelDown();
    SelectNext();
}

void TExtMultiColumnDropDown::WheelUp()
{
    TExtCustomDropDown::WheelUp();
    SelectPrevious();
}

// ---- looks ----

void TExtMultiColumnDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    TColor sel = SelectionColor();
    if (MultiColumnSelectionLines(Value, LineColor, FixedLineColor, sel))
        SetSelectionColor(sel);
    TExtCustomDropDown::SetSelectionColorStyle(Value);
}

void TExtMultiColumnDropDown::SetComponentStyle(TQRVStyle AStyle)
{
    TExtCustomDropDown::SetComponentStyle(AStyle);
    const TMultiColumnLook L = MultiColumnLook(AStyle);
    if (!L.Changes)
        return;
    HeaderColor = L.HeaderColor;
    HeaderColorTo = L.HeaderColorTo;
    if (L.HeaderFontColorSet)
        FHeaderFont->SetColor(L.HeaderFontColor);
    if (L.SelectionStyleSet)
        SetSelectionColorStyle(L.SelectionStyle);
    LineColor = L.LineColor;
    FixedLineColor = L.FixedLineColor;
    if (L.SelectionColorsSet) {
        SetSelectionColor(L.SelectionColor);
        SetSelectionColorTo(L.SelectionColorTo);
    }
    SelectionTextColor = L.SelectionTextColor;
}

} // namespace ExtMultiColumnDropDown
