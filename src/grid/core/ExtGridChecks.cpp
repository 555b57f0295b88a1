// Check boxes, radio buttons, radio groups and push buttons drawn in cells: adding, querying,
// changing and removing them, and the two toggles that a click or Space runs.
//
// A data check box keeps its state in the cell text (the check-true text ticks it), so that the
// state is saved and loaded with the text; every other control keeps its state in its graphic.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUndoRedo.h"

#include <cmath>

namespace {

bool IsCheckKind(TCellType T)
{
    return T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox ||
           T == ctTriStateCheckBox;
}

} // namespace

// ---- lookups by real row ----

TCellGraphic *TExtStringGrid::RealRowGraphic(int ACol, int ARealRow, bool &Found)
{
    Found = false;
    if (ACol < 0 || ARealRow < 0)
        return nullptr;
    if (FGridItems->IsHidden(ARealRow)) {
        TGridItem *it = FGridItems->Find(ARealRow);
        TObject *o = it && ACol < it->Items()->Count() ? it->Items()->Objects(ACol) : nullptr;
        if (auto *p = dynamic_cast<TCellProperties *>(o)) {
            Found = true;
            return dynamic_cast<TCellGraphic *>(p->GraphicObject());
        }
        return nullptr;
    }
    const int d = DisplRowIndex(ARealRow);
    if (CellHasProperties(ACol, d)) {
        Found = true;
        return GetCellGraphic(ACol, d);
    }
    return nullptr;
}

UnicodeString TExtStringGrid::RealRowText(int ACol, int ARealRow)
{
    if (NumHiddenRows() == 0)
        return GetCellEx(ACol, ARealRow);
    if (FGridItems->IsHidden(ARealRow)) {
        TGridItem *it = FGridItems->Find(ARealRow);
        return it && ACol >= 0 && ACol < it->Items()->Count() ? it->Items()->Strings(ACol) : UnicodeString();
    }
    return GetCellEx(ACol, DisplRowIndex(ARealRow));
}

void TExtStringGrid::SetRealRowText(int ACol, int ARealRow, const UnicodeString &Value)
{
    if (NumHiddenRows() == 0) {
        SetCellEx(ACol, ARealRow, Value);
        return;
    }
    if (FGridItems->IsHidden(ARealRow)) {
        TGridItem *it = FGridItems->Find(ARealRow);
        if (it && ACol >= 0 && ACol < it->Items()->Count())
            it->Items()->SetStrings(ACol, Value);
        return;
    }
    SetCellEx(ACol, DisplRowIndex(ARealRow), Value);
}

TCellGraphic *TExtStringGrid::CheckGraphicOf(int ACol, int ARow, bool &ByStore)
{
    ByStore = false;
    if (NumHiddenRows() == 0)
        return GetCellGraphic(ACol, ARow);
    TCellGraphic *g = RealRowGraphic(ACol, ARow, ByStore);
    if (ByStore)
        return g;
    // No object of its own: the graphic a column answers for all of its cells.
    return GetCellGraphic(ACol, FGridItems->IsHidden(ARow) ? ARow : DisplRowIndex(ARow));
}

void TExtStringGrid::RepaintCheckCell(int ACol, int ARealRow)
{
    if (FGridItems->IsHidden(ARealRow))
        return;
    RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARealRow));
}

TCellVAlign TExtStringGrid::CheckVAlign() const
{
    return FVAlignment == vtaCenter ? vaCenter : FVAlignment == vtaBottom ? vaBottom : vaTop;
}

// ---- check boxes ----

void TExtStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + NumHiddenColumns() || ARow >= RowCount() + NumHiddenRows())
        throw Exception(QStringLiteral("Invalid cell"));
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCheckBox(State, Data, true, haBeforeText, CheckVAlign());
    if (Data) {
        UnicodeString t, f;
        DoGetCheckTrue(ACol, ARow, t);
        DoGetCheckFalse(ACol, ARow, f);
        const UnicodeString cur = GetCellEx(ACol, ARow);
        // A text that already says checked or unchecked is the state.
        if (cur != t && cur != f)
            SetCellEx(ACol, ARow, State ? t : f);
    }
}

void TExtStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox)
{
    const int first = FMouseActions->CheckAllCheck ? 0 : FixedRows();
    for (int r = first; r < RowCount(); ++r) {
        if (IsSummary(r))
            continue;
        if (IsNode(r))
            AddCheckBox(ACol, r, cbUnchecked);
        else
            AddCheckBox(ACol, r, DefaultState, DataCheckBox);
    }
}

void TExtStringGrid::RemoveCheckBox(int ACol, int ARow)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g || SharedGraphic(g))
        return;
    const TCellType t = g->CellType();
    if (t != ctCheckBox && t != ctDataCheckBox && t != ctTriStateCheckBox)
        return;
    // The glyph or balloon texts go here, once: the graphic must not free them again.
    if (g->CellAngle() == 1 && g->CellObject()) {
        TObject *o = g->CellObject();
        g->SetCellObject(nullptr);
        delete o;
    }
    RemoveCellGraphic(ACol, ARow);
}

void TExtStringGrid::RemoveCheckBoxColumn(int ACol)
{
    const int first = FMouseActions->CheckAllCheck ? 0 : FixedRows();
    for (int r = first; r < RowCount(); ++r)
        if (!IsSummary(r) && HasCheckBox(ACol, r))
            RemoveCheckBox(ACol, r);
}

bool TExtStringGrid::HasCheckBox(int ACol, int ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    return g && IsCheckKind(g->CellType());
}

bool TExtStringGrid::HasDataCheckBox(int ACol, int ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    return g && (g->CellType() == ctDataCheckBox || g->CellType() == ctVirtCheckBox || g->CellType() == ctRowCheckBox);
}

bool IsDataGraphicCell(TExtStringGrid *Grid, int ACol, int ARow)
{
    if (!Grid)
        return false;
    const TPoint b = Grid->BaseCell(ACol, ARow);
    const TCellType t = Grid->GetCellType(b.X, b.Y);
    return t == ctDataCheckBox || t == ctDataImage || t == ctVirtCheckBox || t == ctRowCheckBox;
}

bool TExtStringGrid::IsInCheckBox(int ACol, int ARow, int XPos, int YPos)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    const TCellType t = g->CellType();
    if (!IsCheckKind(t) && t != ctRadioButton)
        return false;
    if (!FMouseActions->PreciseCheckBoxCheck)
        return true;
    const int S = FControlLook->CheckSize;
    const TRect C = CellRect(DisplColIndex(ACol), ARow);
    int top = C.Top + 2;
    if (g->CellVAlign() == vaBottom)
        top = C.Bottom - S - 2;
    else if (g->CellVAlign() == vaCenter)
        top = C.Top + (C.Bottom - C.Top - S) / 2;
    TAlignment ha = CellHasProperties(ACol, ARow) ? PropsOf(ACol, ARow)->Alignment() : taLeftJustify;
    TVAlignment va = FVAlignment;
    DoGetAlignment(ACol, ARow, ha, va);
    int left = C.Left + 2;
    if (ha == taRightJustify) {
        left = C.Right - S - 2;
        const UnicodeString text = GetCellEx(ACol, ARow);
        if (!text.isEmpty()) {
            TCanvas *canvas = Canvas();
            canvas->Font()->Assign(GetCellFont(ACol, ARow));
            left -= canvas->TextWidth(text);
        }
    } else if (ha == taCenter) {
        left = C.Left + (C.Right - C.Left - S) / 2;
    }
    return XPos >= left && XPos < left + S && YPos >= top && YPos < top + S;
}

bool TExtStringGrid::GetCheckBoxState(int ACol, int ARow, bool &state)
{
    bool byStore = false;
    TCellGraphic *g = CheckGraphicOf(ACol, ARow, byStore);
    if (!g)
        return false;
    switch (g->CellType()) {
    case ctCheckBox:
        state = g->CellBoolean();
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        UnicodeString t;
        DoGetCheckTrue(ACol, ARow, t);
        state = RealRowText(ACol, ARow) == t;
        return true;
    }
    case ctTriStateCheckBox:
        // Only the lookup through the hidden rows answers for a tri-state box.
        if (!byStore)
            return false;
        {
            UnicodeString t;
            DoGetCheckTrue(ACol, ARow, t);
            state = RealRowText(ACol, ARow) == t;
        }
        return true;
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        state = GetRowSelect(ARow);
        return true;
    default:
        return false;
    }
}

bool TExtStringGrid::IsChecked(int ACol, int ARow)
{
    bool state = false;
    return GetCheckBoxState(ACol, ARow, state) && state;
}

bool TExtStringGrid::ChangeOrSetCheckBox(int ACol, int ARow, bool State, bool Fire, int EventRow)
{
    bool byStore = false;
    TCellGraphic *g = CheckGraphicOf(ACol, ARow, byStore);
    if (!g)
        return false;
    switch (g->CellType()) {
    case ctCheckBox: {
        const bool changed = g->CellBoolean() != State;
        g->SetCellBoolean(State);
        if (!Fire || changed)
            RepaintCheckCell(ACol, ARow);
        if (Fire && changed)
            DoCheckBoxChange(ACol, EventRow, State);
        return true;
    }
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        UnicodeString t, f;
        DoGetCheckTrue(ACol, ARow, t);
        DoGetCheckFalse(ACol, ARow, f);
        const UnicodeString want = State ? t : f;
        const bool changed = RealRowText(ACol, ARow) != want;
        SetRealRowText(ACol, ARow, want);
        if (Fire && changed)
            DoCheckBoxChange(ACol, EventRow, State);
        return true;
    }
    case ctRowCheckBox: {
        // The box shows the row's flag in the disjunct row selection: ticking it selects the row.
        if (ACol != 0)
            return false;
        const bool changed = GetRowSelect(ARow) != State;
        SetRowSelect(ARow, State);
        if (Fire && changed)
            DoCheckBoxChange(ACol, EventRow, State);
        return true;
    }
    default:
        return false;
    }
}

bool TExtStringGrid::SetCheckBoxState(int ACol, int ARow, bool State)
{
    return ChangeOrSetCheckBox(ACol, ARow, State, false, ARow);
}

bool TExtStringGrid::SetCheckBoxState(int ACol, int ARow, TCheckBoxState State)
{
    bool byStore = false;
    TCellGraphic *g = CheckGraphicOf(ACol, ARow, byStore);
    if (!g || g->CellType() != ctTriStateCheckBox)
        return false;
    g->SetCellCheckBoxState(State);
    RepaintCheckCell(ACol, ARow);
    return true;
}

bool TExtStringGrid::ChangeCheckBoxState(int ACol, int ARow, bool State)
{
    return ChangeOrSetCheckBox(ACol, NumHiddenRows() > 0 ? RealRowIndex(ARow) : ARow, State, true, ARow);
}

void TExtStringGrid::CheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        ChangeCheckBoxState(ACol, r, true);
    if (NumHiddenColumns() > 0) {
        const int d = DisplColIndex(ACol);
        for (int r = 0; r < RowCount(); ++r)
            RepaintCell(d, r);
    }
}

void TExtStringGrid::UnCheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        ChangeCheckBoxState(ACol, r, false);
}

void TExtStringGrid::DoCheckBoxChange(int ACol, int ARow, bool State)
{
    if (OnCheckBoxChange)
        OnCheckBoxChange(this, ACol, ARow, State);
}

bool TExtStringGrid::ToggleCellCheckBox(int ACol, int ARow, bool FromUser)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g || !IsCheckKind(g->CellType()))
        return false;
    const TCellType kind = g->CellType();

    bool nodeRow = false, nodeContracted = false;
    int span = 0, parent = -1, parentSpan = 0;
    if (FGrouping->AutoCheckGroup) {
        if (IsNode(ARow)) {
            nodeRow = true;
            span = GetNodeSpan(ARow);
            nodeContracted = GetNodeState(ARow);
        } else {
            parent = GetParentRow(ARow);
            if (parent >= 0)
                parentSpan = GetNodeSpan(parent);
        }
    }

    if (FromUser && !FControlLook->CheckAlwaysActive) {
        bool allow = true;
        CanEditCell(ACol, ARow, allow);
        if (!allow)
            return false;
    }

    const UnicodeString oldText = GetCellEx(ACol, ARow);
    bool N = false;
    switch (kind) {
    case ctCheckBox:
        g->SetCellBoolean(!g->CellBoolean());
        N = g->CellBoolean();
        break;
    case ctTriStateCheckBox:
        if (nodeRow) {
            g->SetCellCheckBoxState(g->CellCheckBoxState() == cbChecked ? cbUnchecked : cbChecked);
            N = g->CellCheckBoxState() == cbChecked;
        } else {
            const TCheckBoxState s = g->CellCheckBoxState();
            g->SetCellCheckBoxState(s == cbUnchecked ? cbGrayed : s == cbGrayed ? cbChecked : cbUnchecked);
            N = false;
        }
        break;
    case ctRowCheckBox:
        // The state is the row's selection flag, which the click flips; column 0 keeps its text.
        N = !GetRowSelect(ARow);
        break;
    default: {
        UnicodeString t, f;
        DoGetCheckTrue(ACol, ARow, t);
        DoGetCheckFalse(ACol, ARow, f);
        N = oldText != t;
        SetCellEx(ACol, ARow, N ? t : f);
        break;
    }
    }
    RepaintCell(DisplColIndex(ACol), ARow);
    DoCheckBoxChange(ACol, ARow, N);

    if (FGrouping->AutoCheckGroup) {
        if (nodeRow) {
            const int realNode = RealRowIndex(ARow);
            for (int i = 1; i < span; ++i) {
                const int r = nodeContracted ? realNode + i : RealRowIndex(ARow + i);
                SetCheckBoxState(ACol, r, N);
            }
        } else if (parent >= 0 && parentSpan > 1) {
            bool first = false, same = true;
            for (int i = 1; i < parentSpan; ++i) {
                bool s = false;
                GetCheckBoxState(ACol, RealRowIndex(parent + i), s);
                if (i == 1)
                    first = s;
                else if (s != first)
                    same = false;
            }
            const int realParent = RealRowIndex(parent);
            SetCheckBoxState(ACol, realParent, same ? BoolToCheckBoxState(first) : cbGrayed);
        }
    }

    // Undo gives back the text the cell had, so that it restores the state a data box had.
    if (UndoRedo()) {
        const UnicodeString newText = GetCellEx(ACol, ARow);
        if (newText != oldText)
            UndoRedo()->RegisterChange(ACol, ARow, oldText, newText);
    }
    return true;
}

// ---- radio buttons ----

void TExtStringGrid::AddRadioButton(int ACol, int ARow, bool State)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + NumHiddenColumns() || ARow >= RowCount() + NumHiddenRows())
        throw Exception(QStringLiteral("Invalid cell"));
    CreateCellGraphic(ACol, ARow)->SetRadioButton(State, true, haBeforeText, CheckVAlign());
}

void TExtStringGrid::RemoveRadioButton(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctRadioButton);
}

bool TExtStringGrid::HasRadioButton(int ACol, int ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    return GetCellType(b.X, b.Y) == ctRadioButton;
}

void TExtStringGrid::AddRadioButtonColumn(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        AddRadioButton(ACol, r, false);
}

void TExtStringGrid::RemoveRadioButtonColumn(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        RemoveRadioButton(ACol, r);
}

bool TExtStringGrid::IsRadioButtonChecked(int ACol, int ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    return g && g->CellType() == ctRadioButton && g->CellBoolean();
}

bool TExtStringGrid::SetRadioButtonState(int ACol, int ARow, bool State)
{
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType() != ctRadioButton)
        return false;
    if (g->CellBoolean() != State) {
        g->SetCellBoolean(State);
        RepaintCell(DisplColIndex(b.X), b.Y);
    }
    return true;
}

void TExtStringGrid::SetRadioButtonColumnIndex(int ACol, int Index)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetRadioButtonState(ACol, r, r == Index);
}

int TExtStringGrid::GetRadioButtonColumnIndex(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsRadioButtonChecked(ACol, r))
            return r;
    return -1;
}

bool TExtStringGrid::ToggleCellRadioButton(int ACol, int ARow, bool FromUser)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType() != ctRadioButton)
        return false;
    if (FromUser && !FControlLook->CheckAlwaysActive) {
        bool allow = true;
        CanEditCell(ACol, ARow, allow);
        if (!allow)
            return false;
    }
    if (!g->CellBoolean()) {
        g->SetCellBoolean(true);
        RepaintCell(DisplColIndex(ACol), ARow);
        for (int r = 0; r < RowCount(); ++r) {
            if (r == ARow)
                continue;
            TCellGraphic *o = GetCellGraphic(ACol, r);
            if (o && o->CellType() == ctRadioButton && o->CellBoolean()) {
                o->SetCellBoolean(false);
                RepaintCell(DisplColIndex(ACol), r);
            }
        }
    }
    return true;
}

// ---- radio groups ----

void TExtStringGrid::AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings *sl)
{
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctRadio);
    g->SetCellAngle(sl ? sl->Count() : 0);
    g->SetCellBoolean(DirRadio != 0);
    g->SetCellIndex(IdxRadio);
    g->SetCellObject(sl);
    g->SetCellCreated(false);
}

TStrings *TExtStringGrid::CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio)
{
    auto *sl = new TStringList();
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctRadio);
    g->SetCellAngle(0);
    g->SetCellBoolean(DirRadio != 0);
    g->SetCellIndex(IdxRadio);
    g->SetCellObject(sl);
    g->SetCellCreated(true);
    return sl;
}

bool TExtStringGrid::GetRadioIdx(int ACol, int ARow, int &IdxRadio)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    IdxRadio = g->CellIndex();
    return g->CellType() == ctRadio;
}

bool TExtStringGrid::SetRadioIdx(int ACol, int ARow, int IdxRadio)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    // Only a radio group has an option index; another graphic keeps its index and its text.
    if (!g || g->CellType() != ctRadio)
        return false;
    g->SetCellIndex(IdxRadio);
    if (IdxRadio == -1)
        SetCellEx(ACol, ARow, UnicodeString());
    RepaintCell(DisplColIndex(ACol), ARow);
    return true;
}

TStrings *TExtStringGrid::GetRadioStrings(int ACol, int ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    return g && g->CellType() == ctRadio ? dynamic_cast<TStrings *>(g->CellObject()) : nullptr;
}

bool TExtStringGrid::IsRadio(int ACol, int ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    return GetCellType(b.X, b.Y) == ctRadio;
}

void TExtStringGrid::RemoveRadio(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctRadio);
}

bool TExtStringGrid::SelectNextRadioItem(int ACol, int ARow, bool FromUser)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType() != ctRadio)
        return false;
    if (FromUser && !FControlLook->RadioAlwaysActive) {
        bool allow = true;
        CanEditCell(ACol, ARow, allow);
        if (!allow)
            return false;
    }
    auto *options = dynamic_cast<TStrings *>(g->CellObject());
    const int count = options ? options->Count() : 0;
    int next = g->CellIndex() + 1;
    if (g->CellIndex() < 0)
        next = (options ? options->IndexOf(GetCellEx(ACol, ARow)) : -1) + 1;
    if (next >= count)
        next = 0;
    if (g->CellIndex() >= -1)
        g->SetCellIndex(next);
    g->SetCellVar(next);
    if (next < count)
        SetCellEx(ACol, ARow, options->Strings(next));
    RepaintCell(DisplColIndex(ACol), ARow);
    return false;
}

// ---- buttons ----

void TExtStringGrid::AddButton(int ACol, int ARow, int bw, int bh, const UnicodeString &Caption, TCellHAlign hal,
                               TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetButton(bw, bh, Caption, hal, val);
}

void TExtStringGrid::AddBitButton(int ACol, int ARow, int bw, int bh, const UnicodeString &Caption, TBitmap *Glyph,
                                  TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetBitButton(bw, bh, Caption, Glyph, hal, val);
}

TBitmap *TExtStringGrid::CreateBitButton(int ACol, int ARow, int bw, int bh, const UnicodeString &Caption,
                                         TCellHAlign hal, TCellVAlign val)
{
    auto *glyph = new TBitmap();
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetBitButton(bw, bh, Caption, glyph, hal, val);
    g->SetCellCreated(true);
    return glyph;
}

void TExtStringGrid::SetButtonText(int ACol, int ARow, const UnicodeString &Caption)
{
    if (TCellGraphic *g = GetCellGraphic(RealColIndex(ACol), ARow)) {
        g->SetCellText(Caption);
        RepaintCell(ACol, ARow);
    }
}

UnicodeString TExtStringGrid::GetButtonText(int ACol, int ARow)
{
    TCellGraphic *g = GetCellGraphic(RealColIndex(ACol), ARow);
    return g ? g->CellText() : UnicodeString();
}

void TExtStringGrid::PushButton(int ACol, int ARow, bool push)
{
    TCellGraphic *g = GetCellGraphic(RealColIndex(ACol), ARow);
    // The pressed look is a button's; CellBoolean of other graphics is their state.
    if (!g || (g->CellType() != ctButton && g->CellType() != ctBitButton))
        return;
    g->SetCellBoolean(push);
    RepaintCell(ACol, ARow);
}

void TExtStringGrid::RemoveButton(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctButton);
    RemoveCellGraphicOfType(ACol, ARow, ctBitButton);
}

void TExtStringGrid::RemoveBitButton(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctBitButton);
}

void TExtStringGrid::RemoveAllButtons()
{
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r)
            if (HasButton(c, r))
                RemoveButton(c, r);
}

bool TExtStringGrid::HasButton(int ACol, int ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    const TCellType t = GetCellType(b.X, b.Y);
    return t == ctButton || t == ctBitButton;
}

void TExtStringGrid::GetCellButtonRect(int ACol, int ARow, TRect &R)
{
    R = TRect(0, 0, 0, 0);
    TCellGraphic *g = GetCellGraphic(RealColIndex(ACol), ARow);
    if (!g)
        return;
    const TRect C = CellRect(ACol, ARow);
    const auto pos = static_cast<unsigned>(static_cast<long long>(std::llround(g->CellValue())));
    const auto size = static_cast<unsigned>(g->CellIndex());
    R.Left = C.Left + int(pos & 0xFFFFu);
    R.Top = C.Top + int((pos >> 16) & 0xFFFFu);
    R.Right = R.Left + int(size & 0xFFFFu);
    R.Bottom = R.Top + int((size >> 16) & 0xFFFFu);
    if (g->CellVAlign() == vaFull) {
        R.Top = C.Top;
        R.Bottom = C.Bottom;
    }
    if (g->CellHAlign() == haFull) {
        R.Left = C.Left;
        R.Right = C.Right;
    }
}
