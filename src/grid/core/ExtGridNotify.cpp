// What the string grid tells others and hears from around it: changed cells to the application
// and the registered notifiers, the removal of components it refers to, size changes (the
// stretch column, proportional sizing by the mouse), drags near its edges, and the questions
// the editing and painting code asks of a cell.
#include "grid/core/ExtGrid.h"

#include "dropdowns/ExtGridCheck.h"
#include "platform/ExtCtrls.h"
#include "platform/Menus.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <vector>

// ---- cell changes ----

void TExtStringGrid::DoCellsChanged(const TRect &R)
{
    if (OnCellsChanged)
        OnCellsChanged(this, R);
    if (FNotifierList && FNotifierList->Count() > 0) {
        // A notifier may unregister itself or another one while it is told: the list is walked
        // as it was, and a notifier taken out meanwhile is not called any more.
        const std::vector<void *> snapshot(FNotifierList->List(), FNotifierList->List() + FNotifierList->Count());
        for (void *p : snapshot)
            if (FNotifierList->IndexOf(p) >= 0)
                static_cast<TGridChangeNotifier *>(p)->CellsChanged(R);
    }
    CalcFooter(-1);
}

void TExtStringGrid::BulkCellsChanged()
{
    CalcFooter(-1);
}

// ---- notifiers ----

void TExtStringGrid::RegisterNotifier(TGridChangeNotifier *ANotifier)
{
    if (!ANotifier || !FNotifierList || FNotifierList->IndexOf(ANotifier) >= 0)
        return;
    FNotifierList->Add(ANotifier);
    // The grid does not own its notifiers, but must not call one that has gone.
    ANotifier->FreeNotification(this);
}

void TExtStringGrid::UnRegisterNotifier(TGridChangeNotifier *ANotifier)
{
    if (!ANotifier || !FNotifierList || FNotifierList->Remove(ANotifier) < 0)
        return;
    ANotifier->RemoveFreeNotification(this);
}

// ---- components the grid refers to ----

void TExtStringGrid::SetCellChecker(TExtStringGridCheck *Value)
{
    FCellChecker = Value;
    if (Value)
        Value->FreeNotification(this);
}

// The container and the menu may belong to another form: only their own word tells the grid
// when they go, so that painting and the header drop-down never reach a freed one.
void TExtStringGrid::SetPictureContainer(TPictureContainer *Value)
{
    FPictureContainer = Value;
    if (Value)
        Value->FreeNotification(this);
    Invalidate();
}

void TExtStringGrid::SetFixedDropDownMenu(TPopupMenu *Value)
{
    FFixedDropDownMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TExtStringGrid::Notification(TComponent *AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent) {
        // The notifier is half destroyed by now: it is found by its address, not its class.
        for (int i = FNotifierList ? FNotifierList->Count() - 1 : -1; i >= 0; --i)
            if (static_cast<TComponent *>(static_cast<TGridChangeNotifier *>(FNotifierList->Items(i))) == AComponent)
                FNotifierList->Delete(i);
        if (FGridImages && FGridImages == static_cast<TObject *>(AComponent))
            FGridImages = nullptr;
        if (FCellChecker && static_cast<TComponent *>(FCellChecker) == AComponent)
            FCellChecker = nullptr;
        if (FPictureContainer && static_cast<TComponent *>(FPictureContainer) == AComponent)
            FPictureContainer = nullptr;
        if (FFixedDropDownMenu && static_cast<TComponent *>(FFixedDropDownMenu) == AComponent)
            FFixedDropDownMenu = nullptr;
        if (FThemeNotifier && static_cast<TComponent *>(FThemeNotifier) == AComponent)
            FThemeNotifier = nullptr;
        if (FEditLink && FEditLink == static_cast<TObject *>(AComponent))
            FEditLink = nullptr;
        if (!DestroyingState() && FSyncGrid && FSyncGrid->Grid() &&
            static_cast<TComponent *>(FSyncGrid->Grid()) == AComponent)
            FSyncGrid->SetGrid(nullptr);
    }
    TBaseGrid::Notification(AComponent, Operation);
}

// ---- column stretching ----

void TColumnSize::SetStretch(bool Value)
{
    FStretch = Value;
    if (FGrid && FGrid->Parent())
        FGrid->StretchColumn(StretchColumn);
}

void TExtStringGrid::StretchColumn(int Index)
{
    if (LoadingState() || DestroyingState() || (Application && Application->Terminated()))
        return;
    if (Index == -1)
        Index = ColCount() - 1;
    if (Index >= ColCount())
        throw Exception(QStringLiteral("Stretch column index out of range"));
    if (ColCount() == 0 || !FColumnSize->Stretch() || FIsColChanging || Index < 0)
        return;
    FIsColChanging = true;
    ColchgFlg = false;
    try {
        if (ColCount() == 1) {
            SetColWidths(Index, ClientWidth());
        } else {
            int others = 0;
            for (int c = 0; c < ColCount(); ++c)
                if (c != Index)
                    others += ColWidths(c);
            if (others < ClientWidth())
                SetColWidths(Index, ClientWidth() - others - 1);
            else if (LeftCol() == FixedCols())
                SetColWidths(Index, DefaultColWidth());
        }
    } catch (...) {
        ColchgFlg = true;
        FIsColChanging = false;
        throw;
    }
    ColchgFlg = true;
    FIsColChanging = false;
    if (FFloatingFooter->Visible() && FFooterPanel)
        FFooterPanel->SetAlign(alBottom);
}

void TExtStringGrid::AutoStretch()
{
    // The grid's own reactions to size changes stretch only what can be stretched: a stretch
    // column left behind by a shrinking grid must not make every resize raise.
    const int idx = FColumnSize->StretchColumn;
    if (FColumnSize->Stretch() && idx >= -1 && idx < ColCount())
        StretchColumn(idx);
}

// ---- size changes ----

void TExtStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    const bool react = Parent() && !LoadingState() && !ComponentState().Contains(TComponentStateItem::csReading) &&
                       !(Application && Application->Terminated());
    if (react)
        AutoStretch();
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
}

void TExtStringGrid::ColWidthsChanged()
{
    if (ColchgFlg)
        AutoStretch();
    TBaseGrid::ColWidthsChanged();
    ColSizeFlg = true;

    const int sized = Colclicked;
    if (ColSized && FMouseActions->AllColumnSize && Colclickedsize > 0 && sized >= 0 && sized < ColCount()) {
        const double f = double(ColWidths(sized)) / double(Colclickedsize);
        // Each width set here comes back through this handler, which must not take it for the
        // user's sizing.
        ColSized = false;
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (c != sized)
                SetColWidths(c, int(std::lrint(ColWidths(c) * f)));
        ColSized = true;
    }
    if (ColSized && sized >= 0 && sized < ColCount()) {
        if (OnEndColumnSize)
            OnEndColumnSize(this, sized);
        int w = ColWidths(sized);
        DoUpdateColumnSize(sized, w);
        if (w != ColWidths(sized)) {
            ColSized = false;
            SetColWidths(sized, w);
        }
        Colclicked = -1;
        Rowclicked = -1;
    }
    if (EditMode && FSpecialEditor && EditCtrl && EditCtrl->Visible())
        EditCtrl->SetBoundsRect(CellRect(Col(), Row()));
    ColSized = false;
    if (GetCellType(RealColIndex(Col()), Row()) == ctCheckBox)
        TBaseGrid::HideEditor();
    if (FFooterPanel)
        FFooterPanel->Invalidate();
    CellControlsUpdate(false);
}

void TExtStringGrid::RowHeightsChanged()
{
    TBaseGrid::RowHeightsChanged();
    const int sized = Rowclicked;
    if (Rowsized && FMouseActions->AllRowSize && Rowclickedsize > 0 && sized >= 0 && sized < RowCount()) {
        const double f = double(RowHeights(sized)) / double(Rowclickedsize);
        Rowsized = false;
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (r != sized)
                SetRowHeights(r, int(std::lrint(RowHeights(r) * f)));
        Rowsized = true;
    }
    if (Rowsized && OnEndRowSize)
        OnEndRowSize(this, sized);
    Colclicked = -1;
    Rowclicked = -1;
    Rowsized = false;
    if (GetCellType(RealColIndex(Col()), Row()) == ctCheckBox)
        TBaseGrid::HideEditor();
    CellControlsUpdate(false);
}

void TExtStringGrid::DoUpdateColumnSize(int ACol, int &AWidth)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, AWidth);
}

void TExtStringGrid::DoUpdateColumnAutoSize(int ACol, int &AWidth)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, AWidth);
}

// ---- drag scrolling ----

void TExtStringGrid::FreeDragTimer()
{
    delete FDragTmr;
    FDragTmr = nullptr;
}

void TExtStringGrid::DragOver(TObject *Source, int X, int Y, TDragState State, bool &Accept)
{
    if (!FDragScrollOptions->Active) {
        FreeDragTimer();
    } else {
        const bool wasEmpty = FDragScrollDirection.Empty();
        FDragScrollDirection = TDragScrollDirections();
        if (State == dsDragLeave) {
            FreeDragTimer();
        } else {
            if (Y < FDragScrollOptions->Margins()->TopMargin)
                FDragScrollDirection.Include(dsdUp);
            else if (Y > Height() - FDragScrollOptions->Margins()->BottomMargin)
                FDragScrollDirection.Include(dsdDown);
            if (X < FDragScrollOptions->Margins()->LeftMargin)
                FDragScrollDirection.Include(dsdLeft);
            else if (X > Width() - FDragScrollOptions->Margins()->RightMargin)
                FDragScrollDirection.Include(dsdRight);
        }
        if (!FDragScrollDirection.Empty()) {
            if (!FDragTmr) {
                // Held by the grid itself, so that it can never tick into a grid that is gone.
                FDragTmr = new TTimer(nullptr);
                // A new timer counts as enabled without running: it starts on the switch on.
                FDragTmr->SetEnabled(false);
                FDragTmr->SetInterval(Cardinal(std::max(FDragScrollOptions->Delays()->InitialDelay, 1)));
                FDragTmr->OnTimer = [this](TObject *Sender) { DragScrollTimer(Sender); };
                FDragTmr->SetEnabled(true);
            } else if (wasEmpty || !FDragTmr->Enabled()) {
                FDragTmr->SetInterval(Cardinal(std::max(FDragScrollOptions->Delays()->InitialDelay, 1)));
                FDragTmr->SetEnabled(true);
            }
        } else {
            FreeDragTimer();
        }
    }
    TBaseGrid::DragOver(Source, X, Y, State, Accept);
}

void TExtStringGrid::DragScrollTimer(TObject *Sender)
{
    if (!FDragTmr)
        return;
    if (!FDragScrollOptions->Active) {
        // Freed by the next drag-over or by the grid: a timer is not deleted from its own tick.
        FDragTmr->SetEnabled(false);
        return;
    }
    const Cardinal repeat = Cardinal(std::max(FDragScrollOptions->Delays()->RepeatDelay, 1));
    if (FDragTmr->Interval() != repeat)
        FDragTmr->SetInterval(repeat);
    TDragScrollDirections dir = FDragScrollDirection;
    if (OnDragScroll) {
        bool canScroll = true;
        OnDragScroll(this, TopRow(), LeftCol(), dir, canScroll);
        if (!canScroll)
            return;
        FDragScrollDirection = dir;
    }
    if (dir.Contains(dsdUp) && TopRow() > FixedRows())
        SetTopRow(TopRow() - 1);
    if (dir.Contains(dsdDown) && TopRow() + VisibleRowCount() < RowCount())
        SetTopRow(TopRow() + 1);
    if (dir.Contains(dsdLeft) && LeftCol() > FixedCols())
        SetLeftCol(LeftCol() - 1);
    if (dir.Contains(dsdRight) && LeftCol() + VisibleColCount() < ColCount())
        SetLeftCol(LeftCol() + 1);
}

// ---- arrows ----

TColor TExtStringGrid::ArrowColor() const
{
    return ArwU ? ArwU->Color() : clNone;
}

void TExtStringGrid::SetArrowColor(TColor Value)
{
    for (TArrowWindow *w : {ArwU, ArwD, ArwL, ArwR})
        if (w)
            w->SetColor(Value);
}

// ---- combo strings ----

void TExtStringGrid::ClearComboString()
{
    if (EditCombo)
        EditCombo->Items()->Clear();
}

void TExtStringGrid::AddComboString(const UnicodeString &s)
{
    if (EditCombo)
        EditCombo->Items()->Add(s);
}

void TExtStringGrid::AddComboStringObject(const UnicodeString &s, TObject *AObject)
{
    if (EditCombo)
        EditCombo->Items()->AddObject(s, AObject);
}

bool TExtStringGrid::RemoveComboString(const UnicodeString &s)
{
    if (!EditCombo)
        return false;
    TStrings *items = EditCombo->Items();
    for (int i = 0; i < items->Count(); ++i)
        if (items->Strings(i) == s) {
            items->Delete(i);
            return true;
        }
    return false;
}

bool TExtStringGrid::SetComboSelectionString(const UnicodeString &s)
{
    if (!EditCombo)
        return false;
    const int i = EditCombo->Items()->IndexOf(s);
    if (i < 0)
        return false;
    FComboIdx = i;
    return true;
}

int TExtStringGrid::GetComboCount()
{
    return EditCombo ? EditCombo->Items()->Count() : 0;
}

void TExtStringGrid::SetComboIndex(int ACol, int ARow, int Value)
{
    DoGetEditorProp(ACol, ARow);
    if (!EditCombo)
        return;
    // An index outside the list raises the list's own error before the cell is touched.
    const UnicodeString s = EditCombo->Items()->Strings(Value);
    SetCellEx(ACol, ARow, s);
}

int TExtStringGrid::GetComboIndex(int ACol, int ARow)
{
    DoGetEditorProp(ACol, ARow);
    if (!EditCombo)
        return -1;
    return EditCombo->Items()->IndexOf(Cells(ACol, ARow));
}

// ---- cell queries ----

bool TExtStringGrid::IsEditable(int ACol, int ARow)
{
    if (!(Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit || FEditDisable))
        return false;
    return IsCellEditAllowed(ACol, ARow);
}

bool TExtStringGrid::IsCellEditAllowed(int ACol, int ARow)
{
    // A covered cell of a merged range answers as its base cell. The edit question takes the
    // real column, the fixed question the display column, as every override of them does.
    const TPoint base = BaseCell(RealColIndex(ACol), ARow);
    bool canEdit = true;
    CanEditCell(base.X, base.Y, canEdit);
    bool fixed = false;
    DoIsFixedCell(DisplColIndex(base.X), base.Y, fixed);
    return canEdit && !fixed;
}

bool TExtStringGrid::IsPasswordCell(int ACol, int ARow)
{
    bool pw = false;
    DoIsPasswordCell(ACol, ARow, pw);
    return pw;
}
