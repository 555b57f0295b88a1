#include "platform/GridStore.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

using TextBlock = QTypedArrayData<char16_t>;

// Texts up to this length are copied in place; a library call would cost more.
constexpr int ShortText = 12;

} // namespace

// Lies at the start of a shared string block: the cell ends follow it, then the characters.
// Readers' strings point into the characters, so the head and the ends are never shown to them.
struct TGridStore::TRow {
    TextBlock *Block; // the block this head lies in, for its reference count
    TObject **Objects;
    int ObjectCount; // entries of Objects
    int Count;       // cells
    int CellCap;
    int CharLen; // characters in use; every non-empty text is followed by a null
    int CharCap;
    int Reserved;

    int *Ends() { return reinterpret_cast<int *>(this + 1); }
    const int *Ends() const { return reinterpret_cast<const int *>(this + 1); }
    QChar *Chars() { return reinterpret_cast<QChar *>(Ends() + CellCap); }
    const QChar *Chars() const { return reinterpret_cast<const QChar *>(Ends() + CellCap); }
    int Start(int c) const { return c == 0 ? 0 : Ends()[c - 1]; }
};

TGridStore::~TGridStore()
{
    Clear();
}

template <typename F>
void TGridStore::ForEachRow(F f)
{
    for (int r = 0; r < FRows; ++r)
        if (TRow *&row = Slot(r))
            f(row);
}

UnicodeString TGridStore::Text(const TRow *r, int ACol)
{
    if (!r || ACol < 0 || ACol >= r->Count)
        return UnicodeString();
    int start = r->Start(ACol);
    int len = r->Ends()[ACol] - start;
    if (len == 0)
        return UnicodeString();
    // The string shares the row's block; its text ends in the null stored after it.
    r->Block->ref();
    return UnicodeString(UnicodeString::DataPointer(
        r->Block, const_cast<char16_t *>(reinterpret_cast<const char16_t *>(r->Chars() + start)), len - 1));
}

QStringView TGridStore::TextView(int ACol, int ARow) const
{
    return TextView(Row(ARow), ACol);
}

QStringView TGridStore::TextView(const TRow *r, int ACol)
{
    if (!r || ACol < 0 || ACol >= r->Count)
        return QStringView();
    int start = r->Start(ACol);
    int len = r->Ends()[ACol] - start;
    return len == 0 ? QStringView() : QStringView(r->Chars() + start, len - 1);
}

int TGridStore::TextLength(int ACol, int ARow) const
{
    const TRow *r = Row(ARow);
    if (!r || ACol < 0 || ACol >= r->Count)
        return 0;
    int len = r->Ends()[ACol] - r->Start(ACol);
    return len ? len - 1 : 0;
}

TObject *TGridStore::Object(const TRow *r, int ACol)
{
    if (!r || ACol < 0 || ACol >= r->ObjectCount)
        return nullptr;
    return r->Objects[ACol];
}

TGridStore::TRow *TGridStore::Allocate(int ACellCap, int ACharCap)
{
    static_assert(sizeof(TRow) % sizeof(int) == 0 && alignof(TRow) <= 8, "ends follow the head");
    qsizetype headChars = qsizetype((sizeof(TRow) + std::size_t(ACellCap) * sizeof(int) + 1) / sizeof(char16_t));
    auto [block, data] = TextBlock::allocate(headChars + ACharCap);
    if (!block || reinterpret_cast<std::uintptr_t>(data) % alignof(TRow) != 0)
        throw std::bad_alloc();
    return new (static_cast<void *>(data)) TRow{block, nullptr, 0, 0, ACellCap, 0, ACharCap, 0};
}

TGridStore::TRow *TGridStore::Reallocate(TRow *R, int ACellCap, int ACharCap)
{
    // A fresh block, also when the old one is still read somewhere: that reader keeps the old one.
    TRow *n = Allocate(ACellCap, ACharCap);
    std::memcpy(n->Ends(), R->Ends(), std::size_t(R->Count) * sizeof(int));
    std::memcpy(static_cast<void *>(n->Chars()), R->Chars(), std::size_t(R->CharLen) * sizeof(QChar));
    n->Count = R->Count;
    n->CharLen = R->CharLen;
    n->Objects = R->Objects;
    n->ObjectCount = R->ObjectCount;
    TextBlock *old = R->Block;
    if (!old->deref())
        TextBlock::deallocate(old);
    return n;
}

void TGridStore::FreeRow(TRow *&R)
{
    if (!R)
        return;
    delete[] R->Objects;
    TextBlock *block = R->Block;
    R = nullptr;
    if (!block->deref())
        TextBlock::deallocate(block);
}

void TGridStore::DropIfEmpty(TRow *&R)
{
    if (R->Count > 0)
        return;
    for (int i = 0; i < R->ObjectCount; ++i)
        if (R->Objects[i])
            return;
    FreeRow(R);
}

void TGridStore::SetRowText(TRow *&R, int ACol, const QChar *AChars, int ALen, int AHint)
{
    int count = R ? R->Count : 0;
    if (ALen == 0 && ACol >= count)
        return;
    if (!R) {
        // The other cells of a row mostly hold texts of the same kind as the first one written.
        int cellCap = std::max(ACol + 1, AHint);
        R = Allocate(cellCap, ALen + 1 + (cellCap - 1) * std::min(ALen + 1, 32));
    }
    int charLen = R->CharLen;
    int oldStart = ACol < count ? R->Start(ACol) : charLen;
    int oldLen = ACol < count ? R->Ends()[ACol] - oldStart : 0;
    int newLen = ALen ? ALen + 1 : 0;
    int newCount = std::max(count, ACol + 1);
    int newCharLen = charLen - oldLen + newLen;
    if (newCount > R->CellCap || newCharLen > R->CharCap || R->Block->needsDetach()) {
        int cellCap = newCount > R->CellCap ? std::max(newCount, R->CellCap + R->CellCap / 2) : R->CellCap;
        int charCap = newCharLen > R->CharCap ? std::max(newCharLen, R->CharCap + R->CharCap / 2) : R->CharCap;
        R = Reallocate(R, cellCap, charCap);
    }
    int *ends = R->Ends();
    for (int i = count; i < newCount; ++i)
        ends[i] = charLen;
    R->Count = newCount;
    QChar *chars = R->Chars();
    int tail = charLen - (oldStart + oldLen);
    if (tail > 0 && newLen != oldLen)
        std::memmove(static_cast<void *>(chars + oldStart + newLen), chars + oldStart + oldLen, std::size_t(tail) * sizeof(QChar));
    if (ALen) {
        std::memcpy(static_cast<void *>(chars + oldStart), AChars, std::size_t(ALen) * sizeof(QChar));
        chars[oldStart + ALen] = QChar(u'\0');
    }
    if (newLen != oldLen)
        for (int i = ACol; i < newCount; ++i)
            ends[i] += newLen - oldLen;
    R->CharLen = newCharLen;
    if (ALen == 0 && ACol == newCount - 1) {
        // The row ends at its last text, so that a cleared row gives its block back.
        int n = newCount;
        while (n > 0 && ends[n - 1] == (n == 1 ? 0 : ends[n - 2]))
            --n;
        R->Count = n;
        DropIfEmpty(R);
    }
}

void TGridStore::SetText(int ACol, int ARow, QStringView Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (Value.isEmpty()) {
        // Writing nothing into a cell that holds nothing must not allocate a row.
        if (Row(ARow))
            SetRowText(Slot(ARow), ACol, nullptr, 0, FColumnHint);
        return;
    }
    if (ARow >= FRows)
        InsertRows(FRows, ARow + 1 - FRows);
    TRow *&r = Slot(ARow);
    const int len = int(Value.size());
    // A grid is filled row by row, left to right: the next cell of a row that has room for it
    // and is not being read takes its characters at the end of the block.
    if (r && ACol == r->Count && ACol < r->CellCap && r->CharLen + len < r->CharCap && !r->Block->needsDetach()) {
        char16_t *dst = reinterpret_cast<char16_t *>(r->Chars() + r->CharLen);
        const char16_t *src = Value.utf16();
        if (len <= ShortText) {
            for (int i = 0; i < len; ++i)
                dst[i] = src[i];
        } else {
            std::memcpy(dst, src, std::size_t(len) * sizeof(char16_t));
        }
        dst[len] = u'\0';
        r->CharLen += len + 1;
        r->Ends()[ACol] = r->CharLen;
        r->Count = ACol + 1;
        return;
    }
    SetRowText(r, ACol, Value.data(), len, FColumnHint);
}

void TGridStore::SetText(TRow *&R, int ACol, QStringView Value)
{
    if (ACol >= 0)
        SetRowText(R, ACol, Value.data(), int(Value.size()), 4);
}

TObject *const *TGridStore::ObjectSlots(int ARow, int &ACount) const
{
    const TRow *r = Row(ARow);
    ACount = r ? r->ObjectCount : 0;
    return r ? r->Objects : nullptr;
}

void TGridStore::SetRowTexts(int ARow, const QStringView *Texts, int Count)
{
    if (ARow < 0 || Count <= 0)
        return;
    TRow *r = Row(ARow);
    const int oldCount = r ? r->Count : 0;
    int head = 0; // characters of the new cells, each non-empty text with its null
    int last = -1; // the last new cell with a text
    for (int c = 0; c < Count; ++c)
        if (!Texts[c].isEmpty()) {
            head += int(Texts[c].size()) + 1;
            last = c;
        }
    // The row ends at its last text: with no old cell after the new ones, empty new cells at the
    // end take no room.
    const int newCount = oldCount > Count ? oldCount : last + 1;
    if (newCount == 0) {
        if (r) {
            TRow *&slot = Slot(ARow);
            slot->Count = 0;
            slot->CharLen = 0;
            DropIfEmpty(slot);
        }
        return;
    }
    if (ARow >= FRows)
        InsertRows(FRows, ARow + 1 - FRows);
    TRow *&slot = Slot(ARow);
    const int tailStart = r && Count < oldCount ? r->Start(Count) : (r ? r->CharLen : 0);
    const int tail = r ? r->CharLen - tailStart : 0;
    const int chars = head + tail;
    // Texts read from this very row must stay where they are until they are copied.
    bool aliased = false;
    for (int c = 0; r && c < Count && !aliased; ++c)
        aliased = Texts[c].data() >= r->Chars() && Texts[c].data() < r->Chars() + r->CharCap;
    TRow *old = nullptr;
    if (!r || aliased || newCount > r->CellCap || chars > r->CharCap || r->Block->needsDetach()) {
        TRow *n = Allocate(std::max(newCount, FColumnHint), chars);
        if (r) {
            if (tail > 0)
                std::memcpy(static_cast<void *>(n->Chars() + head), r->Chars() + tailStart, std::size_t(tail) * sizeof(QChar));
            for (int c = Count; c < oldCount; ++c)
                n->Ends()[c] = r->Ends()[c] - tailStart + head;
            n->Objects = r->Objects;
            n->ObjectCount = r->ObjectCount;
            r->Objects = nullptr;
            r->ObjectCount = 0;
            old = r;
        }
        slot = n;
    } else if (tail > 0 && head != tailStart) {
        std::memmove(static_cast<void *>(r->Chars() + head), r->Chars() + tailStart, std::size_t(tail) * sizeof(QChar));
        for (int c = Count; c < oldCount; ++c)
            r->Ends()[c] += head - tailStart;
    }
    TRow *w = slot;
    char16_t *dst = reinterpret_cast<char16_t *>(w->Chars());
    int pos = 0;
    for (int c = 0; c < Count && c < newCount; ++c) {
        const int len = int(Texts[c].size());
        if (len) {
            const char16_t *src = Texts[c].utf16();
            if (len <= ShortText) {
                for (int i = 0; i < len; ++i)
                    dst[pos + i] = src[i];
            } else {
                std::memcpy(dst + pos, src, std::size_t(len) * sizeof(char16_t));
            }
            dst[pos + len] = u'\0';
            pos += len + 1;
        }
        w->Ends()[c] = pos;
    }
    w->Count = newCount;
    w->CharLen = chars;
    FreeRow(old);
}

void TGridStore::SetObject(int ACol, int ARow, TObject *Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (!Value) {
        if (Row(ARow)) {
            TRow *&r = Slot(ARow);
            if (ACol < r->ObjectCount) {
                r->Objects[ACol] = nullptr;
                DropIfEmpty(r);
            }
        }
        return;
    }
    EnsureRows(ARow + 1);
    TRow *&r = Slot(ARow);
    if (!r)
        r = Allocate(0, 0); // a row of objects only needs no room for texts
    EnsureObjects(*r, ACol + 1, FColumnHint);
    r->Objects[ACol] = Value;
}

void TGridStore::EnsureObjects(TRow &R, int ACount, int AHint)
{
    if (ACount <= R.ObjectCount)
        return;
    int cap = ACount <= AHint ? AHint : std::max(ACount, R.ObjectCount + R.ObjectCount / 2);
    auto *objs = new TObject *[std::size_t(cap)]();
    if (R.ObjectCount)
        std::memcpy(static_cast<void *>(objs), R.Objects, std::size_t(R.ObjectCount) * sizeof(TObject *));
    delete[] R.Objects;
    R.Objects = objs;
    R.ObjectCount = cap;
}

int TGridStore::Length(const TRow *R)
{
    if (!R)
        return 0;
    for (int i = R->ObjectCount - 1; i >= R->Count; --i)
        if (R->Objects[i])
            return i + 1;
    return R->Count;
}

int TGridStore::RowLength(int ARow) const
{
    return Length(Row(ARow));
}

void TGridStore::ClearRow(int ARow)
{
    if (Row(ARow))
        FreeRow(Slot(ARow));
}

void TGridStore::ClearColumn(int ACol)
{
    if (ACol < 0)
        return;
    ForEachRow([&](TRow *&r) {
        if (ACol < r->ObjectCount)
            r->Objects[ACol] = nullptr;
        if (ACol < r->Count)
            SetRowText(r, ACol, nullptr, 0, FColumnHint);
        if (r)
            DropIfEmpty(r);
    });
}

void TGridStore::Clear()
{
    ForEachRow([](TRow *&r) { FreeRow(r); });
    FBuf.clear();
    FBuf.shrink_to_fit();
    FGapStart = FGapEnd = FRows = 0;
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
    std::vector<TRow *> buf(cap);
    std::size_t tail = FBuf.size() - std::size_t(FGapEnd);
    if (FGapStart > 0)
        std::memcpy(buf.data(), FBuf.data(), std::size_t(FGapStart) * sizeof(TRow *));
    if (tail > 0)
        std::memcpy(buf.data() + (cap - tail), FBuf.data() + FGapEnd, tail * sizeof(TRow *));
    FBuf.swap(buf);
    FGapEnd = int(cap - tail);
}

void TGridStore::MoveGapTo(int APos)
{
    int gap = FGapEnd - FGapStart;
    TRow **b = FBuf.data();
    if (APos < FGapStart) {
        int n = FGapStart - APos;
        std::memmove(b + APos + gap, b + APos, std::size_t(n) * sizeof(TRow *));
    } else if (APos > FGapStart) {
        int n = APos - FGapStart;
        std::memmove(b + FGapStart, b + FGapEnd, std::size_t(n) * sizeof(TRow *));
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
    std::fill_n(FBuf.data() + FGapStart, ACount, nullptr);
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
        FreeRow(FBuf[std::size_t(FGapEnd + i)]);
    FGapEnd += ACount;
    FRows -= ACount;
}

void TGridStore::TakeRows(const std::vector<int> &Rows, std::vector<TRow *> &Cells)
{
    Cells.clear();
    Cells.reserve(Rows.size());
    if (Rows.empty())
        return;
    // With the gap at the end the rows lie in one run; one pass closes it up over the taken ones.
    MoveGapTo(FRows);
    TRow **b = FBuf.data();
    std::size_t k = 0;
    int out = std::clamp(Rows.front(), 0, FRows);
    for (int i = out; i < FRows; ++i) {
        if (k < Rows.size() && Rows[k] == i) {
            Cells.push_back(b[i]);
            ++k;
        } else {
            b[out++] = b[i];
        }
    }
    // Rows past the store's end were never written: they hand out nothing.
    Cells.resize(Rows.size(), nullptr);
    // The slots from out on are the gap now, which nobody reads: they keep what they held.
    FRows = out;
    FGapStart = out;
}

void TGridStore::PutRows(const std::vector<int> &Rows, const std::vector<TRow *> &Cells)
{
    const std::size_t n = std::min(Rows.size(), Cells.size());
    if (n == 0)
        return;
    // The store may end before the rows that come back: it reaches up to them first.
    EnsureRows(Rows[n - 1] + 1 - int(n));
    ReserveGap(int(n));
    MoveGapTo(FRows);
    TRow **b = FBuf.data();
    const int newRows = FRows + int(n);
    // From the back: each old row moves down by the new rows still before it.
    std::size_t k = n;
    for (int i = newRows - 1; k > 0; --i) {
        if (i == Rows[k - 1]) {
            --k;
            b[i] = Cells[k];
        } else {
            b[i] = b[i - int(k)];
        }
    }
    FRows = newRows;
    FGapStart = newRows;
}

void TGridStore::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex == ToIndex)
        return;
    EnsureRows(std::max(FromIndex, ToIndex) + 1);
    // Take the row out through the gap and put it back at its new place: only the row pointers
    // between the two places move.
    MoveGapTo(FromIndex);
    TRow *moved = FBuf[std::size_t(FGapEnd)];
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
    std::swap(Slot(A), Slot(B));
}

// Rebuilds every row whose cells orderFor(length, order) wants in a new order: order[i] is the
// old column that becomes column i, or -1 for a new empty cell.
template <typename F>
void TGridStore::RebuildColumns(F orderFor)
{
    std::vector<int> order;
    std::vector<QStringView> texts;
    std::vector<TObject *> objs;
    ForEachRow([&](TRow *&r) {
        if (!orderFor(Length(r), order))
            return;
        texts.assign(order.size(), QStringView());
        int n = 0, chars = 0;
        for (std::size_t i = 0; i < order.size(); ++i) {
            int o = order[i];
            if (o < 0 || o >= r->Count)
                continue;
            int start = r->Start(o), len = r->Ends()[o] - start;
            if (len) {
                texts[i] = QStringView(r->Chars() + start, len);
                n = int(i) + 1;
                chars += len;
            }
        }
        TRow *nr = Allocate(std::max(n, r->CellCap), std::max(chars, r->CharCap));
        int pos = 0;
        for (int c = 0; c < n; ++c) {
            QStringView v = texts[std::size_t(c)];
            if (!v.isEmpty())
                std::memcpy(static_cast<void *>(nr->Chars() + pos), v.data(), std::size_t(v.size()) * sizeof(QChar));
            pos += int(v.size());
            nr->Ends()[c] = pos;
        }
        nr->Count = n;
        nr->CharLen = pos;
        nr->Objects = r->Objects;
        nr->ObjectCount = r->ObjectCount;
        r->Objects = nullptr;
        FreeRow(r);
        r = nr;
        if (r->ObjectCount) {
            objs.assign(order.size(), nullptr);
            for (std::size_t i = 0; i < order.size(); ++i)
                if (order[i] >= 0 && order[i] < r->ObjectCount)
                    objs[i] = r->Objects[order[i]];
            std::fill(r->Objects, r->Objects + r->ObjectCount, nullptr);
            EnsureObjects(*r, int(objs.size()), FColumnHint);
            std::copy(objs.begin(), objs.end(), r->Objects);
        }
        DropIfEmpty(r);
    });
}

void TGridStore::InsertColumns(int AIndex, int ACount)
{
    if (AIndex < 0 || ACount <= 0)
        return;
    RebuildColumns([&](int len, std::vector<int> &order) {
        if (AIndex >= len)
            return false;
        order.clear();
        for (int c = 0; c < AIndex; ++c)
            order.push_back(c);
        order.insert(order.end(), std::size_t(ACount), -1);
        for (int c = AIndex; c < len; ++c)
            order.push_back(c);
        return true;
    });
}

void TGridStore::DeleteColumns(int AIndex, int ACount)
{
    if (AIndex < 0 || ACount <= 0)
        return;
    RebuildColumns([&](int len, std::vector<int> &order) {
        if (AIndex >= len)
            return false;
        order.clear();
        for (int c = 0; c < len; ++c)
            if (c < AIndex || c >= AIndex + ACount)
                order.push_back(c);
        return true;
    });
}

void TGridStore::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex == ToIndex)
        return;
    int lo = std::min(FromIndex, ToIndex);
    RebuildColumns([&](int len, std::vector<int> &order) {
        if (lo >= len)
            return false;
        int n = std::max(len, std::max(FromIndex, ToIndex) + 1);
        order.resize(std::size_t(n));
        for (int c = 0; c < n; ++c)
            order[std::size_t(c)] = c;
        if (FromIndex < ToIndex)
            std::rotate(order.begin() + FromIndex, order.begin() + FromIndex + 1, order.begin() + ToIndex + 1);
        else
            std::rotate(order.begin() + ToIndex, order.begin() + FromIndex, order.begin() + FromIndex + 1);
        return true;
    });
}

std::size_t TGridStore::AllocatedBytes() const
{
    std::size_t n = FBuf.capacity() * sizeof(TRow *);
    const_cast<TGridStore *>(this)->ForEachRow([&](TRow *&r) {
        n += sizeof(QArrayData) + std::size_t(r->Block->constAllocatedCapacity()) * sizeof(char16_t) +
             std::size_t(r->ObjectCount) * sizeof(TObject *);
    });
    return n;
}
