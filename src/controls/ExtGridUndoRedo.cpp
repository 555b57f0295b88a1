// Recording and replaying cell changes.
#include "controls/ExtGridUndoRedo.h"

#include "controls/BaseGrid.h"

TExtGridUndoRedo::TExtGridUndoRedo(TComponent *AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TUndoRedoCollection>())
{
}

TExtGridUndoRedo::~TExtGridUndoRedo() = default;

void TExtGridUndoRedo::SetGrid(TBaseGrid *Value)
{
    FGrid = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TExtGridUndoRedo::Notification(TComponent *AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent && AComponent == FGrid)
        FGrid = nullptr;
    TComponent::Notification(AComponent, Operation);
}

TUndoRedoItem *TExtGridUndoRedo::AddItem()
{
    return static_cast<TUndoRedoItem *>(FItems->Add());
}

void TExtGridUndoRedo::RegisterChange(int ACol, int ARow, const UnicodeString &OldValue, const UnicodeString &NewValue)
{
    if (FMaxLevel > 0 && FItems->Count() >= FMaxLevel)
        FItems->Delete(0);
    TUndoRedoItem *item = AddItem();
    item->SetCol(ACol);
    item->SetRow(ARow);
    item->SetValue(NewValue);
    item->SetOrigValue(OldValue);
    FLevel = FItems->Count();
}

void TExtGridUndoRedo::StartSequence()
{
    TUndoRedoItem *item = AddItem();
    item->SetCol(-1);
    item->SetRow(-1);
    item->SetSequenceStart(true);
    FLevel = FItems->Count();
}

void TExtGridUndoRedo::StopSequence()
{
    TUndoRedoItem *item = AddItem();
    item->SetCol(-1);
    item->SetRow(-1);
    item->SetSequenceStop(true);
    FLevel = FItems->Count();
}

// A marker names no cell; replaying it alone (an open sequence undone step by step) writes nothing.
static bool IsMarker(const TUndoRedoItem *Item)
{
    return Item->SequenceStart() || Item->SequenceStop();
}

void TExtGridUndoRedo::UndoItem(TUndoRedoItem *Item)
{
    if (IsMarker(Item))
        return;
    if (OnUndo)
        OnUndo(this, FGrid, Item->Col(), Item->Row(), FGrid->Cells(Item->Col(), Item->Row()), Item->OrigValue());
    FGrid->SetCells(Item->Col(), Item->Row(), Item->OrigValue());
    FGrid->SetCol(FGrid->DisplColIndex(Item->Col()));
    FGrid->SetRow(Item->Row());
}

void TExtGridUndoRedo::RedoItem(TUndoRedoItem *Item)
{
    if (IsMarker(Item))
        return;
    if (OnRedo)
        OnRedo(this, FGrid, Item->Col(), Item->Row(), FGrid->Cells(Item->Col(), Item->Row()), Item->Value());
    FGrid->SetCells(Item->Col(), Item->Row(), Item->Value());
    FGrid->SetCol(FGrid->DisplColIndex(Item->Col()));
    FGrid->SetRow(Item->Row());
}

void TExtGridUndoRedo::Undo()
{
    if (!FGrid || FLevel <= 0 || FLevel > FItems->Count())
        return;
    if (Item(FLevel - 1)->SequenceStop()) {
        --FLevel;
        while (FLevel > 0 && !Item(FLevel - 1)->SequenceStart()) {
            UndoItem(Item(FLevel - 1));
            --FLevel;
        }
        // Past the start marker; a start dropped by the MaxLevel limit leaves nothing to pass.
        if (FLevel > 0)
            --FLevel;
        FGrid->Invalidate();
        return;
    }
    TUndoRedoItem *item = Item(FLevel - 1);
    UndoItem(item);
    if (!IsMarker(item))
        FGrid->RepaintCell(FGrid->Col(), item->Row());
    --FLevel;
}

void TExtGridUndoRedo::Redo()
{
    if (!FGrid || FLevel < 0 || FLevel >= FItems->Count())
        return;
    ++FLevel;
    if (Item(FLevel - 1)->SequenceStart()) {
        ++FLevel;
        // An unclosed sequence runs to the end of the items.
        while (FLevel <= FItems->Count() && !Item(FLevel - 1)->SequenceStop()) {
            RedoItem(Item(FLevel - 1));
            ++FLevel;
        }
        if (FLevel > FItems->Count())
            FLevel = FItems->Count();
        FGrid->Invalidate();
        return;
    }
    RedoItem(Item(FLevel - 1));
}

void TExtGridUndoRedo::Reset()
{
    while (FItems->Count() > 0)
        FItems->Delete(0);
    FLevel = 0;
}
