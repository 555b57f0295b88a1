#include "platform/GridStore.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
const UnicodeString EmptyText;
}

TGridStore::~TGridStore()
{
    Clear();
}

TGridStore::TRowSlot *TGridStore::Slot(int ARow)
{
    if (ARow < 0 || ARow >= FRows)
        return nullptr;
    return &FBuf[ARow < FGapStart ? ARow : ARow + (FGapEnd - FGapStart)];
}

const TGridStore::TRowSlot *TGridStore::Slot(int ARow) const
{
    return const_cast<TGridStore *>(this)->Slot(ARow);
}

TGridStore::TRowSlot &TGridStore::WritableSlot(int ARow)
{
    EnsureRows(ARow + 1);
    return *Slot(ARow);
}

const UnicodeString &TGridStore::Text(int ACol, int ARow) const
{
    const TRowSlot *s = Slot(ARow);
    if (!s || ACol < 0 || ACol >= s->Count)
        return EmptyText;
    return s->Cells[ACol].Text;
}

TObject *TGridStore::Object(int ACol, int ARow) const
{
    const TRowSlot *s = Slot(ARow);
    if (!s || ACol < 0 || ACol >= s->Count)
        return nullptr;
    return s->Cells[ACol].Object;
}

void TGridStore::SetText(int ACol, int ARow, const UnicodeString &Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (Value.isEmpty()) {
        // Writing nothing into a cell that holds nothing must not allocate a row.
        TRowSlot *s = Slot(ARow);
        if (s && ACol < s->Count)
            s->Cells[ACol].Text = UnicodeString();
        return;
    }
    TRowSlot &s = WritableSlot(ARow);
    if (ACol >= s.Count) {
        if (ACol >= s.Capacity)
            GrowSlot(s, ACol + 1, FColumnHint);
        s.Count = ACol + 1;
    }
    s.Cells[ACol].Text = Value;
}

void TGridStore::SetObject(int ACol, int ARow, TObject *Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (!Value) {
        TRowSlot *s = Slot(ARow);
        if (s && ACol < s->Count)
            s->Cells[ACol].Object = nullptr;
        return;
    }
    TRowSlot &s = WritableSlot(ARow);
    if (ACol >= s.Count) {
        if (ACol >= s.Capacity)
            GrowSlot(s, ACol + 1, FColumnHint);
        s.Count = ACol + 1;
    }
    s.Cells[ACol].Object = Value;
}

int TGridStore::RowLength(int ARow) const
{
    const TRowSlot *s = Slot(ARow);
    return s ? s->Count : 0;
}

void TGridStore::ClearRow(int ARow)
{
    if (TRowSlot *s = Slot(ARow))
        FreeSlot(*s);
}

void TGridStore::ClearColumn(int ACol)
{
    if (ACol < 0)
        return;
    for (int r = 0; r < FRows; ++r) {
        TRowSlot *s = Slot(r);
        if (ACol < s->Count)
            s->Cells[ACol] = TCell();
    }
}

void TGridStore::Clear()
{
    for (int r = 0; r < FRows; ++r)
        FreeSlot(*Slot(r));
    FBuf.clear();
    FBuf.shrink_to_fit();
    FGapStart = FGapEnd = FRows = 0;
}

void TGridStore::FreeSlot(TRowSlot &S)
{
    delete[] S.Cells;
    S.Cells = nullptr;
    S.Count = S.Capacity = 0;
}

void TGridStore::GrowSlot(TRowSlot &S, int ANeeded, int AHint)
{
    int cap = ANeeded <= AHint ? AHint : std::max(ANeeded, S.Capacity + S.Capacity / 2);
    auto *cells = new TCell[cap];
    for (int i = 0; i < S.Count; ++i)
        cells[i] = std::move(S.Cells[i]);
    delete[] S.Cells;
    S.Cells = cells;
    S.Capacity = cap;
}

void TGridStore::EnsureRows(int ACount)
{
    if (ACount > FRows)
        InsertRows(FRows, ACount - FRows);
}

void TGridStore::ReserveGap(int ANeeded)
{
    int gap = FGapEnd - FGapStart;
    if (gap >= ANeeded)
        return;
    std::size_t cap = std::max<std::size_t>(FBuf.size() * 2, std::size_t(FRows) + std::size_t(ANeeded) + 64);
    std::vector<TRowSlot> buf(cap);
    std::size_t tail = FBuf.size() - std::size_t(FGapEnd);
    if (FGapStart > 0)
        std::memcpy(buf.data(), FBuf.data(), std::size_t(FGapStart) * sizeof(TRowSlot));
    if (tail > 0)
        std::memcpy(buf.data() + (cap - tail), FBuf.data() + FGapEnd, tail * sizeof(TRowSlot));
    FBuf.swap(buf);
    FGapEnd = int(cap - tail);
}

void TGridStore::MoveGapTo(int APos)
{
    int gap = FGapEnd - FGapStart;
    TRowSlot *b = FBuf.data();
    if (APos < FGapStart) {
        int n = FGapStart - APos;
        std::memmove(b + APos + gap, b + APos, std::size_t(n) * sizeof(TRowSlot));
    } else if (APos > FGapStart) {
        int n = APos - FGapStart;
        std::memmove(b + FGapStart, b + FGapEnd, std::size_t(n) * sizeof(TRowSlot));
    }
    FGapStart = APos;
    FGapEnd = APos + gap;
}

void TGridStore::InsertRows(int AIndex, int ACount)
{
    if (AIndex < 0 || ACount <= 0)
        return;
    if (AIndex > FRows)
        EnsureRows(AIndex);
    ReserveGap(ACount);
    MoveGapTo(AIndex);
    std::memset(static_cast<void *>(FBuf.data() + FGapStart), 0, std::size_t(ACount) * sizeof(TRowSlot));
    FGapStart += ACount;
    FRows += ACount;
}

void TGridStore::DeleteRows(int AIndex, int ACount)
{
    if (AIndex < 0 || AIndex >= FRows || ACount <= 0)
        return;
    ACount = std::min(ACount, FRows - AIndex);
    MoveGapTo(AIndex);
    for (int i = 0; i < ACount; ++i)
        FreeSlot(FBuf[std::size_t(FGapEnd + i)]);
    FGapEnd += ACount;
    FRows -= ACount;
}

void TGridStore::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex == ToIndex)
        return;
    EnsureRows(std::max(FromIndex, ToIndex) + 1);
    // Take the row out through the gap and put it back at its new place: only the row records
    // between the two places move.
    MoveGapTo(FromIndex);
    TRowSlot moved = FBuf[std::size_t(FGapEnd)];
    ++FGapEnd;
    --FRows;
    MoveGapTo(ToIndex);
    FBuf[std::size_t(FGapStart)] = moved;
    ++FGapStart;
    ++FRows;
}

void TGridStore::SwapRows(int A, int B)
{
    if (A < 0 || B < 0 || A == B)
        return;
    EnsureRows(std::max(A, B) + 1);
    std::swap(*Slot(A), *Slot(B));
}

void TGridStore::InsertColumns(int AIndex, int ACount)
{
    if (AIndex < 0 || ACount <= 0)
        return;
    for (int r = 0; r < FRows; ++r) {
        TRowSlot &s = *Slot(r);
        if (AIndex >= s.Count)
            continue;
        if (s.Count + ACount > s.Capacity)
            GrowSlot(s, s.Count + ACount, FColumnHint);
        std::move_backward(s.Cells + AIndex, s.Cells + s.Count, s.Cells + s.Count + ACount);
        for (int i = AIndex; i < AIndex + ACount; ++i)
            s.Cells[i] = TCell();
        s.Count += ACount;
    }
}

void TGridStore::DeleteColumns(int AIndex, int ACount)
{
    if (AIndex < 0 || ACount <= 0)
        return;
    for (int r = 0; r < FRows; ++r) {
        TRowSlot &s = *Slot(r);
        if (AIndex >= s.Count)
            continue;
        int e = std::min(AIndex + ACount, s.Count);
        std::move(s.Cells + e, s.Cells + s.Count, s.Cells + AIndex);
        int newCount = s.Count - (e - AIndex);
        for (int i = newCount; i < s.Count; ++i)
            s.Cells[i] = TCell();
        s.Count = newCount;
    }
}

void TGridStore::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex == ToIndex)
        return;
    int lo = std::min(FromIndex, ToIndex);
    int need = std::max(FromIndex, ToIndex) + 1;
    for (int r = 0; r < FRows; ++r) {
        TRowSlot &s = *Slot(r);
        if (lo >= s.Count)
            continue;
        if (need > s.Capacity)
            GrowSlot(s, need, FColumnHint);
        s.Count = std::max(s.Count, need);
        if (FromIndex < ToIndex)
            std::rotate(s.Cells + FromIndex, s.Cells + FromIndex + 1, s.Cells + ToIndex + 1);
        else
            std::rotate(s.Cells + ToIndex, s.Cells + FromIndex, s.Cells + FromIndex + 1);
    }
}

std::size_t TGridStore::AllocatedBytes() const
{
    std::size_t n = FBuf.capacity() * sizeof(TRowSlot);
    for (int r = 0; r < FRows; ++r)
        n += std::size_t(Slot(r)->Capacity) * sizeof(TCell);
    return n;
}
