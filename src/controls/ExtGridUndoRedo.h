#pragma once
// The undo/redo component of the grids: it records the cell text changes that a grid reports,
// groups them into sequences, and replays them backwards (Undo) or forwards (Redo) through the
// grid's Cells. It is linked to a grid, not owned by it; each side forgets the other when it goes.

#include "platform/Classes.h"
#include "platform/System.h"

#include <functional>
#include <memory>

class TBaseGrid;
class TExtGridUndoRedo;

class TUndoRedoItem : public TCollectionItem {
public:
    explicit TUndoRedoItem(TCollection *Collection) : TCollectionItem(Collection) {}

    int Row() const { return FRow; }
    void SetRow(int Value) { FRow = Value; }
    int Col() const { return FCol; }
    void SetCol(int Value) { FCol = Value; }
    const UnicodeString &Value() const { return FValue; }
    void SetValue(const UnicodeString &Value) { FValue = Value; }
    const UnicodeString &OrigValue() const { return FOrigValue; }
    void SetOrigValue(const UnicodeString &Value) { FOrigValue = Value; }
    bool SequenceStart() const { return FSequenceStart; }
    void SetSequenceStart(bool Value) { FSequenceStart = Value; }
    bool SequenceStop() const { return FSequenceStop; }
    void SetSequenceStop(bool Value) { FSequenceStop = Value; }

private:
    int FRow = 0;
    int FCol = 0;
    UnicodeString FValue;
    UnicodeString FOrigValue;
    bool FSequenceStart = false;
    bool FSequenceStop = false;
};

class TUndoRedoCollection : public TCollection {
public:
    TUndoRedoCollection() : TCollection(CollectionItemClass<TUndoRedoItem>()) {}
    TUndoRedoItem *Items(int Index) const { return static_cast<TUndoRedoItem *>(TCollection::Items(Index)); }
};

using TExtGridUndoRedoEvent = std::function<void(TObject *Sender, TBaseGrid *Grid, int Col, int Row,
                                                 const UnicodeString &OrigValue, const UnicodeString &NewValue)>;

class TExtGridUndoRedo : public TComponent {
public:
    explicit TExtGridUndoRedo(TComponent *AOwner);
    ~TExtGridUndoRedo() override;

    // One cell change: OldValue is the text before it, NewValue after it.
    virtual void RegisterChange(int ACol, int ARow, const UnicodeString &OldValue, const UnicodeString &NewValue);
    // The changes between a start and a stop are undone and redone as one step.
    virtual void StartSequence();
    virtual void StopSequence();

    void Undo();
    void Redo();
    void Reset();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < FItems->Count(); }

    TUndoRedoCollection *Items() const { return FItems.get(); }
    TBaseGrid *Grid() const { return FGrid; }
    void SetGrid(TBaseGrid *Value);
    int Level() const { return FLevel; }
    int MaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(int Value) { FMaxLevel = Value; }

    TExtGridUndoRedoEvent OnUndo;
    TExtGridUndoRedoEvent OnRedo;

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    TUndoRedoItem *Item(int Index) const { return FItems->Items(Index); }
    TUndoRedoItem *AddItem();
    void UndoItem(TUndoRedoItem *Item);
    void RedoItem(TUndoRedoItem *Item);

    std::unique_ptr<TUndoRedoCollection> FItems;
    TBaseGrid *FGrid = nullptr;
    int FLevel = 0;
    int FMaxLevel = 0;
};
