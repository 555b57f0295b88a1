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

#include <cstddef>
#include <vector>

class TGridStore {
public:
    struct TCell {
        UnicodeString Text;
        TObject *Object = nullptr;
    };

    TGridStore() = default;
    ~TGridStore();
    TGridStore(const TGridStore &) = delete;
    TGridStore &operator=(const TGridStore &) = delete;

    // Rows up to the last one ever written or moved; rows beyond read as empty.
    int RowCount() const { return FRows; }

    // A never-written cell reads as the empty text and nil.
    const UnicodeString &Text(int ACol, int ARow) const;
    TObject *Object(int ACol, int ARow) const;
    void SetText(int ACol, int ARow, const UnicodeString &Value);
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

    // The column count the grid shows; a row that grows takes at least this many cells at once
    // so that filling a row allocates once.
    void SetColumnHint(int Value) { FColumnHint = Value < 1 ? 1 : Value; }

    // Bytes held by the store itself (row records and cell arrays, not the texts' own buffers).
    std::size_t AllocatedBytes() const;

private:
    // Plain record so that the gap buffer can move rows with memmove.
    struct TRowSlot {
        TCell *Cells;
        int Count;     // cells in use (highest written column + 1)
        int Capacity;  // cells allocated
    };

    TRowSlot *Slot(int ARow);
    const TRowSlot *Slot(int ARow) const;
    TRowSlot &WritableSlot(int ARow);
    void EnsureRows(int ACount);
    void MoveGapTo(int APos);
    void ReserveGap(int ANeeded);
    static void FreeSlot(TRowSlot &S);
    static void GrowSlot(TRowSlot &S, int ANeeded, int AHint);

    std::vector<TRowSlot> FBuf;
    int FGapStart = 0;
    int FGapEnd = 0;
    int FRows = 0;
    int FColumnHint = 5;
};
