#pragma once
// The cell store of the string grid: one text and one object slot per cell.
//
// Rows live in a gap buffer of small row records, so that inserting or deleting rows near the same
// place again and again (the grid library shifts rows one at a time) moves only a handful of row
// records, never cell data. A row that was never written costs one empty record; a row holds only
// as many cells as its highest written column needs. The store knows nothing of the grid's column
// and row counts: cells beyond them keep their texts and objects, which the grid library relies on
// for hidden columns. Objects are never freed here; they belong to whoever put them in.

#include "platform/System.h"

#include <QStringView>

#include <cstddef>
#include <vector>

class TGridStore {
public:
    TGridStore() = default;
    ~TGridStore();
    TGridStore(const TGridStore &) = delete;
    TGridStore &operator=(const TGridStore &) = delete;

    // Rows up to the last one ever written or moved; rows beyond read as empty.
    int RowCount() const { return FRows; }

    // A never-written cell reads as the empty text and nil.
    UnicodeString Text(int ACol, int ARow) const;
    // Length of the cell's text without building it.
    int TextLength(int ACol, int ARow) const;
    TObject *Object(int ACol, int ARow) const;
    void SetText(int ACol, int ARow, const UnicodeString &Value) { SetText(ACol, ARow, QStringView(Value)); }
    void SetText(int ACol, int ARow, QStringView Value);
    void SetObject(int ACol, int ARow, TObject *Value);

    // Number of cells the row holds (its highest written column + 1, or less after a clear).
    int RowLength(int ARow) const;
    // Empties every cell of the row (texts and object slots; objects are not freed).
    void ClearRow(int ARow);
    // Empties the cells of a column in every row.
    void ClearColumn(int ACol);
    void Clear();

    // Row structure. Indices beyond RowCount extend the store with empty rows first.
    void InsertRows(int AIndex, int ACount);
    void DeleteRows(int AIndex, int ACount);
    void MoveRow(int FromIndex, int ToIndex);
    void SwapRows(int A, int B);

    // Column structure, applied to every row.
    void InsertColumns(int AIndex, int ACount);
    void DeleteColumns(int AIndex, int ACount);
    void MoveColumn(int FromIndex, int ToIndex);

    // The column count the grid shows; a row that grows takes room for at least this many cells
    // at once so that filling a row allocates once.
    void SetColumnHint(int Value) { FColumnHint = Value < 1 ? 1 : Value; }

    // Bytes held by the store (row records, text blocks and object arrays).
    std::size_t AllocatedBytes() const;

private:
    // The texts of one row in one block: the end offset of every cell's text, then the
    // characters of all texts one after the other. Objects are kept apart, and only for rows
    // that have one, since most grids hold none.
    struct TRowText;
    // Plain record so that the gap buffer can move rows with memmove.
    struct TRowSlot {
        TRowText *Text;
        TObject **Objects;
        int ObjectCount; // entries of Objects
        int Reserved;
    };

    TRowSlot *Slot(int ARow);
    const TRowSlot *Slot(int ARow) const;
    TRowSlot &WritableSlot(int ARow);
    void EnsureRows(int ACount);
    void MoveGapTo(int APos);
    void ReserveGap(int ANeeded);
    template <typename F> void ForEachRow(F f);
    template <typename F> void RebuildColumns(F orderFor);
    static void FreeSlot(TRowSlot &S);
    static int SlotLength(const TRowSlot &S);
    static void SetSlotText(TRowSlot &S, int ACol, const QChar *AChars, int ALen, int AHint);
    static void SetSlotObject(TRowSlot &S, int ACol, TObject *Value, int AHint);
    static void EnsureObjects(TRowSlot &S, int ACount, int AHint);

    std::vector<TRowSlot> FBuf;
    int FGapStart = 0;
    int FGapEnd = 0;
    int FRows = 0;
    int FColumnHint = 5;
};
