#pragma once
// The cell store of the string grid: one text and one object slot per cell.
//
// Rows live in a gap buffer of row pointers, so that inserting or deleting rows near the same
// place again and again (the grid library shifts rows one at a time) moves only a handful of
// pointers, never cell data. A row that was never written costs one null pointer; a row holds
// only as many cells as its highest written column needs. A row keeps all its texts in one block
// of characters, each text ended by a null; the block is a shared string block, so that reading a
// cell hands out a string that refers to the block (no allocation, no copy) and the row copies its
// block before it changes while such a string is still held. The store knows nothing of the
// grid's column and row counts: cells beyond them keep their texts and objects, which the grid
// library relies on for hidden columns. Objects are never freed here; they belong to whoever put
// them in.

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
    UnicodeString Text(int ACol, int ARow) const { return Text(Row(ARow), ACol); }
    // The cell's characters without a string around them: valid until the row next changes.
    QStringView TextView(int ACol, int ARow) const;
    // Length of the cell's text.
    int TextLength(int ACol, int ARow) const;
    TObject *Object(int ACol, int ARow) const { return Object(Row(ARow), ACol); }
    // The characters are copied into the row's block; an empty text is kept as no text at all.
    void SetText(int ACol, int ARow, const UnicodeString &Value) { SetText(ACol, ARow, QStringView(Value)); }
    void SetText(int ACol, int ARow, QStringView Value);
    void SetObject(int ACol, int ARow, TObject *Value);
    // The row's object slots (ACount of them, none for a row without objects): valid until the
    // row's objects next change.
    TObject *const *ObjectSlots(int ARow, int &ACount) const;
    // Cells 0..Count-1 of the row take Texts at once (one block for the row, reused when it has
    // room and is not being read); the row's later cells and its objects stay.
    void SetRowTexts(int ARow, const QStringView *Texts, int Count);

    // Number of cells the row holds (its highest non-empty column + 1).
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

    // Bytes held by the store: row pointers, row blocks and object arrays.
    std::size_t AllocatedBytes() const;

    // The head of a row's block: cell ends and characters follow it; objects are kept apart, and
    // only for rows that have one, since most grids hold none. Outside the store a row is an
    // opaque handle; null is a row that holds nothing.
    struct TRow;

    // Rows leave the store whole and come back whole: hiding many rows and showing them again
    // moves row pointers, never cell data. Rows lists indices in strictly ascending order. Take
    // hands out the rows at those indices (one handle each, in order) and closes up the store;
    // Put puts Cells[i] in at Rows[i], the index the row has once all are in, and takes the
    // handles over.
    void TakeRows(const std::vector<int> &Rows, std::vector<TRow *> &Cells);
    void PutRows(const std::vector<int> &Rows, const std::vector<TRow *> &Cells);
    // A taken row read as the store reads its rows.
    static UnicodeString Text(const TRow *R, int ACol);
    static TObject *Object(const TRow *R, int ACol);
    static int Length(const TRow *R);
    static QStringView TextView(const TRow *R, int ACol);
    // A row of one's own, kept as the store keeps its rows: all texts in one block. R may be null
    // (a row that holds nothing) and is made on the first text.
    static void SetText(TRow *&R, int ACol, QStringView Value);
    // Frees a taken row's texts and object slots (not the objects); R becomes null.
    static void FreeRow(TRow *&R);

private:

    TRow *Row(int ARow) const
    {
        return ARow < 0 || ARow >= FRows ? nullptr : FBuf[std::size_t(ARow < FGapStart ? ARow : ARow + (FGapEnd - FGapStart))];
    }
    TRow *&Slot(int ARow) { return FBuf[std::size_t(ARow < FGapStart ? ARow : ARow + (FGapEnd - FGapStart))]; }
    void EnsureRows(int ACount);
    void MoveGapTo(int APos);
    void ReserveGap(int ANeeded);
    template <typename F> void ForEachRow(F f);
    template <typename F> void RebuildColumns(F orderFor);
    static TRow *Allocate(int ACellCap, int ACharCap);
    static TRow *Reallocate(TRow *R, int ACellCap, int ACharCap);
    static void DropIfEmpty(TRow *&R);
    static void SetRowText(TRow *&R, int ACol, const QChar *AChars, int ALen, int AHint);
    static void EnsureObjects(TRow &R, int ACount, int AHint);

    std::vector<TRow *> FBuf;
    int FGapStart = 0;
    int FGapEnd = 0;
    int FRows = 0;
    int FColumnHint = 5;
};
