// Cells of the string grid beyond the base grid's Cells: texts by real row (hidden rows too), the
// editor's text by display column, the unsorted row order, rich text, and the per-cell and
// row-wide look.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "platform/ComCtrls.h"

#include <algorithm>
#include <climits>

UnicodeString TExtStringGrid::DecodeWideText(const UnicodeString &S)
{
    return DecodeWideCellText(S);
}

// ---- texts ----

void TExtStringGrid::SetCellsMapped(int ACol, int ARow, const UnicodeString &Value)
{
    SetCellEx(ACol, ARow, Value);
    if (FNumHidden == 0 || !HandleAllocated() || IsHiddenColumn(ACol))
        return;
    const int D = RealToDisplCol(ACol);
    if (D != ACol && D < ColCount() && ARow >= 0 && ARow < RowCount())
        RepaintCell(D, ARow);
}

void TExtStringGrid::SetRowCells(int ARow, const QStringView *Texts, int Count)
{
    // Hidden columns move what is shown, and a merged cell writes its range's base: those rows
    // go cell by cell.
    bool single = FNumHidden != 0 || FHideLastRow || ARow < 0 || ARow >= RowCount() || Count > ColCount();
    // The cells' properties are looked up once for the row: most rows have none.
    auto propsOf = [this, ARow, Count](int &N) {
        TObject *const *objs = FHasCellProps ? Store().ObjectSlots(ARow, N) : nullptr;
        N = std::min({N, Count, TotalColCount()});
        return objs;
    };
    int n = 0;
    TObject *const *objs = single ? nullptr : propsOf(n);
    bool props = false;
    for (int c = 0; c < n && !single; ++c)
        if (const auto *p = static_cast<const TCellProperties *>(objs[c])) {
            props = true;
            const TPoint b = p->GetBaseCell(c, ARow);
            single = b.X != c || b.Y != ARow;
        }
    if (single) {
        for (int c = 0; c < Count; ++c)
            SetCells(c, ARow, Texts[c].toString());
        return;
    }
    TStringGrid::SetRowCells(ARow, Texts, Count);
    if (!props)
        return;
    // Only a cell's own graphic follows its text (CellTextSet), and only a window repaints.
    const bool repaint = Parent() && HandleAllocated();
    objs = propsOf(n);
    for (int c = 0; c < n; ++c)
        if (const auto *p = static_cast<const TCellProperties *>(objs[c])) {
            if (p->GraphicObject()) {
                CellTextSet(c, ARow);
                objs = propsOf(n); // the hook may have given the row other slots
            }
            if (repaint)
                RepaintCell(c, ARow);
        }
}

UnicodeString TExtStringGrid::StrippedCells(int ACol, int ARow)
{
    return StripHtmlTags(Cells(ACol, ARow));
}

UnicodeString TExtStringGrid::AllCells(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return UnicodeString();
    if (TStrings *L = HiddenRowItems(ARow)) {
        // A row stored before the grid had this column has no text there.
        UnicodeString S = ACol < L->Count() ? L->Strings(ACol) : UnicodeString();
        DoGetDisplText(ACol, ARow, S);
        return S;
    }
    return Cells(ACol, DisplRowIndex(ARow));
}

void TExtStringGrid::SetAllCells(int ACol, int ARow, const UnicodeString &Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (TStrings *L = HiddenRowItems(ARow)) {
        while (L->Count() <= ACol)
            L->Add(UnicodeString());
        L->SetStrings(ACol, Value);
        return;
    }
    SetCells(ACol, DisplRowIndex(ARow), Value);
}

UnicodeString TExtStringGrid::AllGridCells(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return UnicodeString();
    if (TStrings *L = HiddenRowItems(ARow))
        return ACol < L->Count() ? L->Strings(ACol) : UnicodeString();
    return GridCells(ACol, DisplRowIndex(ARow));
}

void TExtStringGrid::SetAllGridCells(int ACol, int ARow, const UnicodeString &Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (TStrings *L = HiddenRowItems(ARow)) {
        if (ACol < L->Count())
            L->SetStrings(ACol, Value);
        return;
    }
    const int D = DisplRowIndex(ARow);
    if (ACol < TotalColCount() && D < RowCount())
        SetGridCell(ACol, D, Value);
}

TObject *TExtStringGrid::AllObjects(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return nullptr;
    if (TStrings *L = HiddenRowItems(ARow)) {
        if (ACol >= L->Count())
            return nullptr;
        auto *P = static_cast<TCellProperties *>(L->Objects(ACol));
        return P ? reinterpret_cast<TObject *>(P->CellObject()) : nullptr;
    }
    return Objects(ACol, DisplRowIndex(ARow));
}

void TExtStringGrid::SetAllObjects(int ACol, int ARow, TObject *Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (TStrings *L = HiddenRowItems(ARow)) {
        while (L->Count() <= ACol)
            L->Add(UnicodeString());
        // The slot holds the cell's properties; the application's object lives inside them, as
        // it does for a shown cell, so that the row comes back as the grid expects it.
        auto *P = static_cast<TCellProperties *>(L->Objects(ACol));
        if (!P) {
            if (!Value)
                return;
            P = new TCellProperties(this, ACol, ARow);
            L->SetObjects(ACol, P);
        }
        P->SetCellObject(reinterpret_cast<NativeUInt>(Value));
        return;
    }
    SetObjects(ACol, DisplRowIndex(ARow), Value);
}

TObject *TExtStringGrid::GetAllGridObjects(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return nullptr;
    if (TStrings *L = HiddenRowItems(ARow))
        return ACol < L->Count() ? L->Objects(ACol) : nullptr;
    return GridObjects(ACol, DisplRowIndex(ARow));
}

int TExtStringGrid::LinesInCell(int ACol, int ARow)
{
    return CountTextLines(Cells(ACol, ARow), true);
}

// ---- the unsorted order ----

int TExtStringGrid::UnSortedRow(int ARow)
{
    const int N = FSortRowXRef->Count();
    for (int P = 0; P < N; ++P)
        if (FSortRowXRef->Items(P) == ARow)
            return P;
    // Rows the sort did not cover keep their place.
    return ARow >= N ? ARow : -1;
}

UnicodeString TExtStringGrid::UnSortedCells(int ACol, int ARow)
{
    const int R = UnSortedRow(ARow);
    return R < 0 ? UnicodeString() : Cells(ACol, R);
}

void TExtStringGrid::SetUnSortedCells(int ACol, int ARow, const UnicodeString &Value)
{
    const int R = UnSortedRow(ARow);
    if (R >= 0)
        SetCells(ACol, R, Value);
}

int TExtStringGrid::SortedRowIndex(int ARow)
{
    const int R = ARow >= 0 && ARow < FSortRowXRef->Count() ? FSortRowXRef->Items(ARow) : ARow;
    return RealRowIndex(R);
}

int TExtStringGrid::UnSortedRowIndex(int ARow)
{
    const int N = FSortRowXRef->Count();
    if (N == 0)
        return ARow;
    for (int P = 0; P < N; ++P)
        if (FSortRowXRef->Items(P) == ARow)
            return P;
    return N;
}

// ---- the editor's text ----

UnicodeString TExtStringGrid::GetEditText(int ACol, int ARow)
{
    ApplyEditorAlignment(ACol, ARow);
    FNoEditChange = true;
    int BC = RealColIndex(ACol), BR = ARow;
    ResolveBaseCell(BC, BR, BC, BR);
    UnicodeString S = TBaseGrid::GetEditText(BC, BR);
    if (!FEditWithTags)
        S = StripHtmlTags(S);
    return S;
}

void TExtStringGrid::SetEditText(int ACol, int ARow, const UnicodeString &Value)
{
    int BC = RealColIndex(ACol), BR = ARow;
    ResolveBaseCell(BC, BR, BC, BR);
    TBaseGrid::SetEditText(BC, BR, Value);
}

// ---- rich text ----

void TExtStringGrid::CellToRich(int ACol, int ARow, TRichEdit *RichEditor)
{
    if (!RichEditor)
        return;
    const UnicodeString S = Cells(ACol, ARow);
    if (S.isEmpty()) {
        RichEditor->Lines()->Clear();
        return;
    }
    if (!S.startsWith(QLatin1StringView("{\\rtf"))) {
        // Plain text goes in whole: bytes would lose every character above 255.
        RichEditor->Lines()->SetText(S);
        return;
    }
    // Rich text kept in a cell is 8-bit: one byte per character.
    QByteArray Bytes;
    Bytes.reserve(S.size());
    for (QChar C : S)
        Bytes.append(char(C.unicode() & 0xFF));
    TMemoryStream MS;
    MS.Write(Bytes.constData(), int(Bytes.size()));
    MS.Seek(0, soBeginning);
    RichEditor->Lines()->LoadFromStream(&MS);
}

UnicodeString TExtStringGrid::RichToString(TRichEdit *RichEditor)
{
    if (!RichEditor || DestroyingState())
        return UnicodeString();
    TMemoryStream MS;
    RichEditor->Lines()->SaveToStream(&MS);
    const QByteArray Bytes = MS.Bytes();
    return QString::fromLatin1(Bytes);
}

void TExtStringGrid::RichToCell(int ACol, int ARow, TRichEdit *RichEditor)
{
    SetCells(ACol, ARow, RichToString(RichEditor));
}

// ---- per-cell properties ----

TCellProperties *TExtStringGrid::PropsForWrite(int ACol, int ARow)
{
    if (!InsideGrid(ACol, ARow))
        return nullptr;
    return CellProperties(ACol, ARow);
}

void TExtStringGrid::RepaintRealCell(int ACol, int ARow)
{
    if (LockUpdate() || IsHiddenColumn(ACol))
        return;
    RepaintCell(RealToDisplCol(ACol), ARow);
}

TColor TExtStringGrid::Colors(int ACol, int ARow)
{
    return CellHasProperties(ACol, ARow) ? PropsOf(ACol, ARow)->BrushColor() : clNone;
}

void TExtStringGrid::SetColors(int ACol, int ARow, TColor Value)
{
    if (TCellProperties *P = PropsForWrite(ACol, ARow)) {
        P->SetBrushColor(Value);
        RepaintRealCell(ACol, ARow);
    }
}

TColor TExtStringGrid::ColorsTo(int ACol, int ARow)
{
    return CellHasProperties(ACol, ARow) ? PropsOf(ACol, ARow)->BrushColorTo() : clNone;
}

void TExtStringGrid::SetColorsTo(int ACol, int ARow, TColor Value)
{
    if (TCellProperties *P = PropsForWrite(ACol, ARow)) {
        P->SetBrushColorTo(Value);
        RepaintRealCell(ACol, ARow);
    }
}

TCellGradientDirection TExtStringGrid::Gradients(int ACol, int ARow)
{
    return CellHasProperties(ACol, ARow) ? PropsOf(ACol, ARow)->GradientDirection() : GradientVertical;
}

void TExtStringGrid::SetGradients(int ACol, int ARow, TCellGradientDirection Value)
{
    if (TCellProperties *P = PropsForWrite(ACol, ARow)) {
        P->SetGradientDirection(Value);
        RepaintRealCell(ACol, ARow);
    }
}

void TExtStringGrid::SetReadOnly(int ACol, int ARow, bool Value)
{
    if (TCellProperties *P = PropsForWrite(ACol, ARow)) {
        P->SetReadOnly(Value);
        RepaintRealCell(ACol, ARow);
    }
}

bool TExtStringGrid::WordWraps(int ACol, int ARow)
{
    if (CellHasProperties(ACol, ARow))
        return PropsOf(ACol, ARow)->WordWrap();
    // What a new properties object would start with, without making one for a read.
    TFont F;
    TBrush B;
    TColor CT = clNone, MC = clNone, MCT = clNone;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WW = TBaseGrid::WordWrap();
    TCellGradientDirection GD = GradientVertical;
    GetDefaultCellProperties(ACol, ARow, &F, &B, CT, MC, MCT, HA, VA, WW, GD);
    return WW;
}

void TExtStringGrid::SetWordWraps(int ACol, int ARow, bool Value)
{
    if (TCellProperties *P = PropsForWrite(ACol, ARow)) {
        P->SetWordWrap(Value);
        RepaintRealCell(ACol, ARow);
    }
}

TColor TExtStringGrid::FontColors(int ACol, int ARow)
{
    return CellHasProperties(ACol, ARow) ? PropsOf(ACol, ARow)->FontColor() : clNone;
}

void TExtStringGrid::SetFontColors(int ACol, int ARow, TColor Value)
{
    if (TCellProperties *P = PropsForWrite(ACol, ARow)) {
        P->SetFontColor(Value);
        RepaintRealCell(ACol, ARow);
    }
}

TFontStyles TExtStringGrid::FontStyles(int ACol, int ARow)
{
    return CellHasProperties(ACol, ARow) ? PropsOf(ACol, ARow)->FontStyle() : TFontStyles();
}

void TExtStringGrid::SetFontStyles(int ACol, int ARow, TFontStyles Value)
{
    if (TCellProperties *P = PropsForWrite(ACol, ARow)) {
        P->SetFontStyle(Value);
        RepaintRealCell(ACol, ARow);
    }
}

UnicodeString TExtStringGrid::FontNames(int ACol, int ARow)
{
    return CellHasProperties(ACol, ARow) ? PropsOf(ACol, ARow)->FontName() : UnicodeString();
}

void TExtStringGrid::SetFontNames(int ACol, int ARow, const UnicodeString &Value)
{
    if (TCellProperties *P = PropsForWrite(ACol, ARow)) {
        P->SetFontName(Value);
        RepaintRealCell(ACol, ARow);
    }
}

int TExtStringGrid::FontSizes(int ACol, int ARow)
{
    return CellHasProperties(ACol, ARow) ? PropsOf(ACol, ARow)->FontSize() : 0;
}

void TExtStringGrid::SetFontSizes(int ACol, int ARow, int Value)
{
    if (TCellProperties *P = PropsForWrite(ACol, ARow)) {
        P->SetFontSize(Value);
        RepaintRealCell(ACol, ARow);
    }
}

TAlignment TExtStringGrid::Alignments(int ACol, int ARow)
{
    return CellHasProperties(ACol, ARow) ? PropsOf(ACol, ARow)->Alignment() : taLeftJustify;
}

void TExtStringGrid::SetAlignments(int ACol, int ARow, TAlignment Value)
{
    if (TCellProperties *P = PropsForWrite(ACol, ARow)) {
        P->SetAlignment(Value);
        RepaintRealCell(ACol, ARow);
    }
}

void TExtStringGrid::SetCellFont(int ACol, int ARow, TFont *Value)
{
    if (!Value)
        return;
    if (TCellProperties *P = PropsForWrite(ACol, ARow)) {
        P->SetFontName(Value->Name());
        P->SetFontSize(Value->Size());
        P->SetFontStyle(Value->Style());
        P->SetFontColor(Value->Color());
        RepaintRealCell(ACol, ARow);
    }
}

TControl *TExtStringGrid::CellControls(int ACol, int ARow)
{
    return CellHasProperties(ACol, ARow) ? PropsOf(ACol, ARow)->Control() : nullptr;
}

void TExtStringGrid::SetCellControls(int ACol, int ARow, TControl *AControl)
{
    const int RealRow = RealRowIndex(ARow);
    const bool Had = CellControls(ACol, ARow) != nullptr;
    // Whatever the list kept for the cell goes, so that it never holds two items for one cell.
    const int Idx = FControlList->ControlIndex(ACol, RealRow);
    if (Idx >= 0)
        FControlList->RemoveControl(Idx);
    if (!AControl) {
        if (Had) {
            --FNumCellControls;
            PropsOf(ACol, ARow)->SetControl(nullptr);
        }
        return;
    }
    TCellProperties *P = PropsForWrite(ACol, ARow);
    if (!P)
        return;
    if (!Had)
        ++FNumCellControls;
    FControlList->AddControl(ACol, RealRow, AControl);
    P->SetControl(AControl);
    AControl->SetParent(this);
    const TRect R = CellRect(RealToDisplCol(ACol), ARow);
    AControl->SetBounds(R.Left - 1, R.Top - 1, R.Right - R.Left + 1, R.Bottom - R.Top + 1);
}

// ---- row-wide colours ----

void TExtStringGrid::FreePropsIfDefault(int ACol, int ARow)
{
    if (!CellHasProperties(ACol, ARow))
        return;
    TCellProperties *P = PropsOf(ACol, ARow);
    // What carries more than a look stays: a graphic, a merged range, the read-only flag, a
    // control, the application's object, a node, an editor or a footer calculation.
    if (P->GraphicObject() || P->CellSpanX() != -1 || P->CellSpanY() != -1 || !P->IsBaseCell() || P->ReadOnly() ||
        P->Control() || P->CellObject() || P->NodeLevel() != 0 || P->Editor() != edNormal ||
        P->CalcType() != acNONE || P->CalcObject() || P->BorderWidth() != 0)
        return;
    TFont F;
    TBrush B;
    TColor CT = clNone, MC = clNone, MCT = clNone;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WW = TBaseGrid::WordWrap();
    TCellGradientDirection GD = GradientVertical;
    {
        // The look a new object would start with: asked while the cell has none, since the
        // visual properties would otherwise read the cell's own.
        TObject *Own = TStringGrid::Objects(ACol, ARow);
        TStringGrid::SetObjects(ACol, ARow, nullptr);
        try {
            GetDefaultCellProperties(ACol, ARow, &F, &B, CT, MC, MCT, HA, VA, WW, GD);
        } catch (...) {
            TStringGrid::SetObjects(ACol, ARow, Own);
            throw;
        }
        TStringGrid::SetObjects(ACol, ARow, Own);
    }
    auto same = [](TColor Have, TColor Default) { return Have == clNone || Have == Default; };
    if (!same(P->BrushColor(), B.Color()) || !same(P->BrushColorTo(), CT) || !same(P->FontColor(), F.Color()) ||
        P->Alignment() != HA || P->VAlignment() != VA || P->WordWrap() != WW || P->GradientDirection() != GD ||
        P->FontStyle() != F.Style() || (!P->FontName().isEmpty() && P->FontName() != F.Name()) ||
        (P->FontSize() != 0 && P->FontSize() != F.Size()))
        return;
    FreeCellObject(ACol, ARow);
}

void TExtStringGrid::SetRowColorAttr(int ARow, TColor Value, void (TCellProperties::*Setter)(TColor))
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    for (int C = FixedCols(); C < AllColCount(); ++C) {
        if (Value != clNone) {
            (CellProperties(C, ARow)->*Setter)(Value);
        } else if (CellHasProperties(C, ARow)) {
            (PropsOf(C, ARow)->*Setter)(clNone);
            FreePropsIfDefault(C, ARow);
        }
    }
    if (!LockUpdate())
        InvalidateRow(ARow);
}

void TExtStringGrid::SetRowColor(int ARow, TColor Value)
{
    SetRowColorAttr(ARow, Value, &TCellProperties::SetBrushColor);
}

void TExtStringGrid::SetRowColorTo(int ARow, TColor Value)
{
    SetRowColorAttr(ARow, Value, &TCellProperties::SetBrushColorTo);
}

void TExtStringGrid::SetRowFontColor(int ARow, TColor Value)
{
    SetRowColorAttr(ARow, Value, &TCellProperties::SetFontColor);
}

// ---- zoom ----

void TExtStringGrid::Zoom(int x)
{
    if (FZoomFactor + x < -10 || FZoomFactor + x > 10)
        return;
    FScrollLock = true;
    FZoomFactor += x;
    for (int C = 0; C < ColCount(); ++C) {
        const int W = ColWidths(C);
        if (W > 0 && W + x > 0)
            SetColWidths(C, W + x);
    }
    for (int R = 0; R < RowCount(); ++R) {
        const int H = RowHeights(R);
        if (H > 0 && H + x > 0)
            SetRowHeights(R, H + x);
    }
    FScrollLock = false;
}
