#include "grid/core/ExtColumnGrid.h"

#include "platform/Filer.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TGridColumnItem

TGridColumnItem::TGridColumnItem(TCollection *Collection) : TCollectionItem(nullptr)
{
    FFont = new TFont();
    FHeaderFont = new TFont();
    FPrintFont = new TFont();
    FBorderPen = new TPen();
    FBorderPen->SetColor(clSilver);
    FPrintBorderPen = new TPen();
    FPrintBorderPen->SetColor(clBlack);
    FComboItems = new TStringList();
    FFilter = new TStringList();
    if (auto *cc = dynamic_cast<TGridColumnCollection *>(Collection); cc && cc->GridOwner()) {
        TExtColumnGrid *g = cc->GridOwner();
        FFont->Assign(g->Font());
        FHeaderFont->Assign(g->Font());
        FPrintFont->Assign(g->Font());
        FColor = g->Color();
    }
    FFont->OnChange = [this](TObject *s) { FontChanged(s); };
    FHeaderFont->OnChange = [this](TObject *s) { FontChanged(s); };
    FBorderPen->OnChange = [this](TObject *s) { PenChanged(s); };
    FFilter->OnChange = [this](TObject *s) { FilterChanged(s); };
    // Joined only now, so that the collection's update sees a complete item.
    SetCollection(Collection);
}

TGridColumnItem::~TGridColumnItem()
{
    // Leave the collection first: its update must not see the owned objects half freed.
    SetCollection(nullptr);
    delete FFont;
    delete FHeaderFont;
    delete FPrintFont;
    delete FBorderPen;
    delete FPrintBorderPen;
    delete FComboItems;
    delete FFilter;
}

TExtColumnGrid *TGridColumnItem::Grid() const
{
    auto *cc = dynamic_cast<TGridColumnCollection *>(Collection());
    return cc ? cc->GridOwner() : nullptr;
}

void TGridColumnItem::Repaint() const
{
    if (TExtColumnGrid *g = Grid())
        g->Invalidate();
}

void TGridColumnItem::FontChanged(TObject *) { if (Collection()) Changed(false); }
void TGridColumnItem::PenChanged(TObject *) { if (Collection()) Changed(false); }
void TGridColumnItem::FilterChanged(TObject *) { Repaint(); }

void TGridColumnItem::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TGridColumnItem *>(Source);
    if (!s)
        return;
    AssignVisuals(Source);
    FColor = s->FColor;
    FFont->Assign(s->FFont);
    FHeader = s->FHeader;
    FName = s->FName;
    FHeaderFont->Assign(s->FHeaderFont);
    FComboItems->Assign(s->FComboItems);
    FDropDownCount = s->FDropDownCount;
    FTag = s->FTag;
}

void TGridColumnItem::AssignVisuals(TPersistent *Source)
{
    auto *s = dynamic_cast<TGridColumnItem *>(Source);
    if (!s)
        return;
    FAlignment = s->FAlignment;
    FHeaderAlignment = s->FHeaderAlignment;
    FBorderPen->Assign(s->FBorderPen);
    FBorders = s->FBorders;
    FCheckFalse = s->FCheckFalse;
    FCheckTrue = s->FCheckTrue;
    if (TExtColumnGrid *g = Grid()) {
        FColor = g->Color();
        FFont->Assign(g->Font());
    }
    FEditLength = s->FEditLength;
    FEditLink = s->FEditLink;
    FEditMask = s->FEditMask;
    FEditor = s->FEditor;
    FFixed = s->FFixed;
    FPassword = s->FPassword;
    FPrintBorderPen->Assign(s->FPrintBorderPen);
    FPrintBorders = s->FPrintBorders;
    FPrintColor = s->FPrintColor;
    FPrintFont->Assign(s->FPrintFont);
    FReadOnly = s->FReadOnly;
    FSortPrefix = s->FSortPrefix;
    FSortStyle = s->FSortStyle;
    FSortSuffix = s->FSortSuffix;
    FSpinMax = s->FSpinMax;
    FSpinMin = s->FSpinMin;
    FSpinStep = s->FSpinStep;
    FColumnPopup = s->FColumnPopup;
    FWidth = s->Width();
    FShowBands = s->FShowBands;
    FMinSize = s->FMinSize;
    FMaxSize = s->FMaxSize;
    FAutoMinSize = s->FAutoMinSize;
    FAutoMaxSize = s->FAutoMaxSize;
    FFilter->Assign(s->FFilter);
    FFilterCaseSensitive = s->FFilterCaseSensitive;
    FDefIdx = s->FDefIdx;
    FFloatFormat = s->FFloatFormat;
}

UnicodeString TGridColumnItem::DisplayName() const
{
    if (!FName.isEmpty())
        return QStringLiteral("Col %1: %2").arg(Index()).arg(FName);
    return QStringLiteral("Column %1").arg(Index());
}

int TGridColumnItem::Width() const
{
    TExtColumnGrid *g = Grid();
    if (!g)
        return 0;
    const int i = Index();
    // A hidden column keeps its width in the all-columns widths; a shown one is its display column.
    if (i >= 0 && i < int(g->FAllColWidths.size()) && g->IsHiddenColumn(i))
        return g->FAllColWidths[size_t(i)];
    const int d = g->RealToDisplCol(i);
    if (d >= 0 && d < g->TExtStringGrid::ColCount())
        return g->ColWidths(d);
    return FWidth;
}

void TGridColumnItem::SetWidth(int Value)
{
    FWidth = Value;
    TExtColumnGrid *g = Grid();
    const int i = Index();
    if (!g || i < 0)
        return;
    if (i < int(g->FAllColWidths.size()) && g->IsHiddenColumn(i)) {
        g->FAllColWidths[size_t(i)] = SmallInt(std::clamp(Value, -32768, 32767));
        return;
    }
    const int d = g->RealToDisplCol(i);
    if (d >= 0 && d < g->TExtStringGrid::ColCount())
        g->SetColWidths(d, Value);
}

void TGridColumnItem::SetHeader(const UnicodeString &Value)
{
    FHeader = Value;
    TExtColumnGrid *g = Grid();
    if (!g)
        return;
    if (g->FixedRows() > 0 && !g->FColMoving) {
        g->SetCells(Index(), 0, Value);
        Changed(false);
    }
    auto *own = static_cast<TGridColumnCollection *>(Collection());
    TStringList *h = g->ColumnHeaders();
    h->BeginUpdate();
    h->Clear();
    for (int i = 0; i < own->Count(); ++i)
        h->Add(own->Items(i)->Header());
    h->EndUpdate();
}

void TGridColumnItem::SetAlignment(TAlignment Value) { FAlignment = Value; Repaint(); }
void TGridColumnItem::SetHeaderAlignment(TAlignment Value) { FHeaderAlignment = Value; Repaint(); }
void TGridColumnItem::SetFloatFormat(const UnicodeString &Value) { FFloatFormat = Value; Repaint(); }

void TGridColumnItem::SetHeaderFont(TFont *Value)
{
    FHeaderFont->Assign(Value);
    Repaint();
}

void TGridColumnItem::SetFont(TFont *Value)
{
    FFont->Assign(Value);
    if (Collection())
        Changed(false);
}

#define COLUMN_CHANGED_SETTER(Name, Type, Field) \
    void TGridColumnItem::Set##Name(Type Value)  \
    {                                            \
        Field = Value;                           \
        if (Collection())                        \
            Changed(false);                      \
    }

COLUMN_CHANGED_SETTER(Color, TColor, FColor)
COLUMN_CHANGED_SETTER(ShowBands, bool, FShowBands)
COLUMN_CHANGED_SETTER(Fixed, bool, FFixed)
COLUMN_CHANGED_SETTER(Password, bool, FPassword)
COLUMN_CHANGED_SETTER(Borders, TCellBorders, FBorders)
#undef COLUMN_CHANGED_SETTER

void TGridColumnItem::SetBorderPen(TPen *Value)
{
    FBorderPen->Assign(Value);
    if (Collection())
        Changed(false);
}

void TGridColumnItem::SetEditor(TEditorType Value)
{
    if (Value == FEditor)
        return;
    const bool repaint = Value == edDataCheckBox || FEditor == edDataCheckBox;
    FEditor = Value;
    if (repaint)
        Repaint();
}

UnicodeString TGridColumnItem::Rows(int ARow) const
{
    TExtColumnGrid *g = Grid();
    return g ? g->Cells(Index(), ARow) : UnicodeString();
}

void TGridColumnItem::SetRows(int ARow, const UnicodeString &Value)
{
    if (TExtColumnGrid *g = Grid())
        g->SetCells(Index(), ARow, Value);
}

int TGridColumnItem::Ints(int ARow) const
{
    TExtColumnGrid *g = Grid();
    return g ? g->Ints(Index(), ARow) : 0;
}

void TGridColumnItem::SetInts(int ARow, int Value)
{
    if (TExtColumnGrid *g = Grid())
        g->SetInts(Index(), ARow, Value);
}

double TGridColumnItem::Floats(int ARow) const
{
    TExtColumnGrid *g = Grid();
    return g ? g->Floats(Index(), ARow) : 0;
}

void TGridColumnItem::SetFloats(int ARow, double Value)
{
    if (TExtColumnGrid *g = Grid())
        g->SetFloats(Index(), ARow, Value);
}

TDateTime TGridColumnItem::Dates(int ARow) const
{
    TExtColumnGrid *g = Grid();
    return g ? g->Dates(Index(), ARow) : 0;
}

void TGridColumnItem::SetDates(int ARow, TDateTime Value)
{
    if (TExtColumnGrid *g = Grid())
        g->SetDates(Index(), ARow, Value);
}

TDateTime TGridColumnItem::Times(int ARow) const
{
    TExtColumnGrid *g = Grid();
    return g ? g->Times(Index(), ARow) : 0;
}

void TGridColumnItem::SetTimes(int ARow, TDateTime Value)
{
    if (TExtColumnGrid *g = Grid())
        g->SetTimes(Index(), ARow, Value);
}

// ---------------------------------------------------------------------------------------------
// TGridColumnCollection

TGridColumnCollection::TGridColumnCollection(TExtColumnGrid *AOwner)
    : TCollection(CollectionItemClass<TGridColumnItem>()), FOwner(AOwner)
{
}

TPersistent *TGridColumnCollection::GetOwner() { return FOwner; }

TGridColumnItem *TGridColumnCollection::Add()
{
    auto *item = static_cast<TGridColumnItem *>(TCollection::Add());
    if (Count() > 1)
        item->AssignVisuals(Items(Count() - 2));
    return item;
}

TGridColumnItem *TGridColumnCollection::Insert(int Index) { return static_cast<TGridColumnItem *>(TCollection::Insert(Index)); }

void TGridColumnCollection::Update(TCollectionItem *Item)
{
    TCollection::Update(Item);
    if (UpdateCount() > 0 || FNoRecursiveUpdate || !FOwner || FOwner->ColumnsLoading() || FOwner->ColumnsDestroying())
        return;
    const int n = Count() - FOwner->NumHiddenColumns();
    if (n != FOwner->ColCount() && n > FOwner->FixedCols())
        FOwner->SetColCount(n);
    FOwner->UpdateColumnHeaders();
    FOwner->Invalidate();
}

// ---------------------------------------------------------------------------------------------
// TExtColumnGrid

TExtColumnGrid::TExtColumnGrid(TComponent *AOwner) : TExtStringGrid(AOwner)
{
    CreateColumns();
    FColumns->FNoRecursiveUpdate = true;
    SyncColumnItems();
    FColumns->FNoRecursiveUpdate = false;
    FColMoving = false;
    FDataCheckGraphic = new TCellGraphic();
    FSaveCol = new TGridColumnItem(nullptr);
}

TExtColumnGrid::~TExtColumnGrid()
{
    // The items leave one by one; the grid must not follow them on its way out.
    FColumns->FNoRecursiveUpdate = true;
    delete FColumns;
    FColumns = nullptr;
    delete FDataCheckGraphic;
    FDataCheckGraphic = nullptr;
    delete FSaveCol;
    FSaveCol = nullptr;
}

void TExtColumnGrid::CreateColumns() { FColumns = new TGridColumnCollection(this); }

void TExtColumnGrid::SyncColumnItems()
{
    if (!FColumns)
        return;
    const int want = TExtStringGrid::ColCount() + NumHiddenColumns();
    while (FColumns->Count() < want)
        FColumns->Add();
    while (FColumns->Count() > want)
        delete FColumns->Items(FColumns->Count() - 1);
}

void TExtColumnGrid::SetColCount(int Value)
{
    TExtStringGrid::SetColCount(Value);
    if (!FColumns)
        return;
    const bool was = FColumns->FNoRecursiveUpdate;
    FColumns->FNoRecursiveUpdate = true;
    SyncColumnItems();
    FColumns->FNoRecursiveUpdate = was;
}

void TExtColumnGrid::Loaded()
{
    TExtStringGrid::Loaded();
    FColumns->FNoRecursiveUpdate = true;
    SyncColumnItems();
    FColumns->FNoRecursiveUpdate = false;
    FColumns->SetOrganization();
}

void TExtColumnGrid::BulkCellsChanged()
{
    TExtStringGrid::BulkCellsChanged();
    FColumns->FNoRecursiveUpdate = true;
    SyncColumnItems();
    FColumns->FNoRecursiveUpdate = false;
}

TGridColumnItem *TExtColumnGrid::ColumnByName(const UnicodeString &AValue) const
{
    for (int i = 0; i < FColumns->Count(); ++i)
        if (FColumns->Items(i)->Name() == AValue)
            return FColumns->Items(i);
    return nullptr;
}

TGridColumnItem *TExtColumnGrid::ItemOf(int ACol) const
{
    if (!FColumns || ACol < 0 || ACol >= FColumns->Count())
        return nullptr;
    return FColumns->Items(ACol);
}

bool TExtColumnGrid::IsNormalCell(int ACol, int ARow) const
{
    return ACol >= FixedCols() && ACol < FColumns->Count() && ARow >= FixedRows();
}

bool TExtColumnGrid::IsBodyCell(int ACol, int ARow) const
{
    return IsNormalCell(ACol, ARow) && ACol < TExtStringGrid::ColCount() + NumHiddenColumns() - FFixedRightCols &&
           ARow < RowCount() - FFixedFooters;
}

void TExtColumnGrid::UpdateColumnHeaders()
{
    if (FixedRows() <= 0)
        return;
    FColumnHeaders->BeginUpdate();
    FColumnHeaders->Clear();
    for (int i = 0; i < FColumns->Count(); ++i) {
        TGridColumnItem *c = FColumns->Items(i);
        if (c->Header().isEmpty()) {
            const UnicodeString s = Cells(i, 0);
            if (!s.isEmpty())
                c->SetHeaderField(s);
        }
        FColumnHeaders->Add(c->Header());
    }
    FColumnHeaders->EndUpdate();
}

void TExtColumnGrid::ColumnHeadersChanged(TObject *Sender)
{
    TExtStringGrid::ColumnHeadersChanged(Sender);
    // The list's last entry stays out: items take entry i only while i + 1 < count.
    for (int i = 0; i < FColumns->Count() && i + 1 < FColumnHeaders->Count(); ++i)
        FColumns->Items(i)->SetHeaderField(FColumnHeaders->Strings(i));
}

void TExtColumnGrid::ColWidthsChanged()
{
    TExtStringGrid::ColWidthsChanged();
    if (!FColumns || ColumnsLoading() || ColumnsDestroying())
        return;
    for (int c = 0; c < TExtStringGrid::ColCount(); ++c) {
        const int r = RealColIndex(c);
        if (r < FColumns->Count())
            FColumns->Items(r)->SetWidthField(ColWidths(c));
    }
}

void TExtColumnGrid::ChangeScale(int M, int D)
{
    TExtStringGrid::ChangeScale(M, D);
    if (ColumnsDesigning() || M == D || D == 0)
        return;
    const int n = std::min(TExtStringGrid::ColCount(), FColumns->Count());
    for (int i = 0; i < n; ++i) {
        TGridColumnItem *c = FColumns->Items(i);
        c->Font()->SetSize(MulDiv(c->Font()->Size(), M, D));
        c->HeaderFont()->SetSize(MulDiv(c->HeaderFont()->Size(), M, D));
    }
}

int TExtColumnGrid::GetVersionNr() { return (3 << 24) | (1 << 16) | (3 << 8) | 1; }

UnicodeString TExtColumnGrid::GetVersionString()
{
    const int v = GetVersionNr();
    return QStringLiteral("%1.%2.%3.%4 Aug, 2012")
        .arg((v >> 24) & 0xFF)
        .arg((v >> 16) & 0xFF)
        .arg((v >> 8) & 0xFF)
        .arg(v & 0xFF);
}

void TExtColumnGrid::Notification(TComponent *AComponent, TOperation Operation)
{
    TExtStringGrid::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || !FColumns)
        return;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TGridColumnItem *c = FColumns->Items(i);
        if (c->EditLink() == AComponent)
            c->SetEditLink(nullptr);
        if (c->ColumnPopup() == AComponent)
            c->SetColumnPopup(nullptr);
    }
}

namespace {
int GColumnGridStartUps = 0;
}

void ExtColumnGridStartUp()
{
    if (GColumnGridStartUps++ > 0)
        return;
    try {
        RegisterClass(QStringLiteral("TExtColumnGrid"), [](TComponent *o) -> TPersistent * { return new TExtColumnGrid(o); });
        RegisterClass(QStringLiteral("TGridColumnItem"), [](TComponent *) -> TPersistent * { return new TGridColumnItem(nullptr); });
        RegisterClass(QStringLiteral("TGridColumnCollection"), [](TComponent *o) -> TPersistent * {
            return new TGridColumnCollection(dynamic_cast<TExtColumnGrid *>(o));
        });
    } catch (const Exception &) {
        // A class of that name is there already: the rest is left out, start-up goes on.
    }
}

void ExtColumnGridShutDown()
{
    if (GColumnGridStartUps > 0)
        --GColumnGridStartUps;
}
