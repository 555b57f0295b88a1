#include "platform/GridStore.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

struct TGridStore::TRowText {
    int Count;   // cells
    int CellCap;
    int CharLen;
    int CharCap;
    int *Ends() { return reinterpret_cast<int *>(this + 1); }
    const int *Ends() const { return reinterpret_cast<const int *>(this + 1); }
    QChar *Chars() { return reinterpret_cast<QChar *>(Ends() + CellCap); }
    const QChar *Chars() const { return reinterpret_cast<const QChar *>(Ends() + CellCap); }
    int Start(int c) const { return c == 0 ? 0 : Ends()[c - 1]; }

    static TRowText *Allocate(int cellCap, int charCap)
    {
        std::size_t bytes = sizeof(TRowText) + std::size_t(cellCap) * sizeof(int) + std::size_t(charCap) * sizeof(QChar);
        auto *t = static_cast<TRowText *>(std::malloc(bytes));
        if (!t)
            throw std::bad_alloc();
        t->Count = 0;
        t->CellCap = cellCap;
        t->CharLen = 0;
        t->CharCap = charCap;
        return t;
    }
};

namespace {

// A cell's text as it lies in a row block, used while a row is rebuilt.
struct TTextView {
    const QChar *Chars = nullptr;
    int Len = 0;
};

} // namespace

TGridStore::~TGridStore()
{
    Clear();
}

TGridStore::TRowSlot *TGridStore::Slot(int ARow)
{
    if (ARow < 0 || ARow >= FRows)
        return nullptr;
    return &FBuf[std::size_t(ARow < FGapStart ? ARow : ARow + (FGapEnd - FGapStart))];
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

template <typename F>
void TGridStore::ForEachRow(F f)
{
    for (int r = 0; r < FRows; ++r)
        f(*Slot(r));
}

UnicodeString TGridStore::Text(int ACol, int ARow) const
{
    const TRowSlot *s = Slot(ARow);
    if (!s || !s->Text || ACol < 0 || ACol >= s->Text->Count)
        return UnicodeString();
    const TRowText *t = s->Text;
    int start = t->Start(ACol);
    int len = t->Ends()[ACol] - start;
    return len ? UnicodeString(t->Chars() + start, len) : UnicodeString();
}

int TGridStore::TextLength(int ACol, int ARow) const
{
    const TRowSlot *s = Slot(ARow);
    if (!s || !s->Text || ACol < 0 || ACol >= s->Text->Count)
        return 0;
    return s->Text->Ends()[ACol] - s->Text->Start(ACol);
}

TObject *TGridStore::Object(int ACol, int ARow) const
{
    const TRowSlot *s = Slot(ARow);
    if (!s || ACol < 0 || ACol >= s->ObjectCount)
        return nullptr;
    return s->Objects[ACol];
}

void TGridStore::SetText(int ACol, int ARow, QStringView Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (Value.isEmpty()) {
        // Writing nothing into a cell that holds nothing must not allocate a row.
        if (TRowSlot *s = Slot(ARow))
            SetSlotText(*s, ACol, nullptr, 0, FColumnHint);
        return;
    }
    SetSlotText(WritableSlot(ARow), ACol, Value.constData(), int(Value.size()), FColumnHint);
}

void TGridStore::SetObject(int ACol, int ARow, TObject *Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (!Value) {
        if (TRowSlot *s = Slot(ARow))
            if (ACol < s->ObjectCount)
                s->Objects[ACol] = nullptr;
        return;
    }
    SetSlotObject(WritableSlot(ARow), ACol, Value, FColumnHint);
}

void TGridStore::SetSlotText(TRowSlot &S, int ACol, const QChar *AChars, int ALen, int AHint)
{
    TRowText *t = S.Text;
    int count = t ? t->Count : 0;
    if (ALen == 0 && ACol >= count)
        return;
    int newCount = std::max(count, ACol + 1);
    int charLen = t ? t->CharLen : 0;
    int oldStart = ACol < count ? t->Start(ACol) : charLen;
    int oldLen = ACol < count ? t->Ends()[ACol] - oldStart : 0;
    int newCharLen = charLen - oldLen + ALen;
    if (newCharLen == 0) {
        // The row holds no text any more: give its block back.
        std::free(t);
        S.Text = nullptr;
        return;
    }
    if (!t || newCount > t->CellCap || newCharLen > t->CharCap) {
        int cellCap = newCount <= AHint ? AHint : std::max(newCount, t ? t->CellCap + t->CellCap / 2 : newCount);
        if (t)
            cellCap = std::max(cellCap, t->CellCap);
        int charCap = t ? std::max(newCharLen, t->CharCap + t->CharCap / 2)
                        : std::max(newCharLen, ALen * cellCap);
        TRowText *n = TRowText::Allocate(cellCap, charCap);
        if (t) {
            std::memcpy(n->Ends(), t->Ends(), std::size_t(count) * sizeof(int));
            std::memcpy(static_cast<void *>(n->Chars()), t->Chars(), std::size_t(charLen) * sizeof(QChar));
            n->Count = count;
            n->CharLen = charLen;
            std::free(t);
        }
        S.Text = t = n;
    }
    int *ends = t->Ends();
    for (int i = count; i < newCount; ++i)
        ends[i] = charLen;
    t->Count = newCount;
    QChar *chars = t->Chars();
    int tail = charLen - (oldStart + oldLen);
    if (tail > 0 && ALen != oldLen)
        std::memmove(static_cast<void *>(chars + oldStart + ALen), chars + oldStart + oldLen, std::size_t(tail) * sizeof(QChar));
    if (ALen)
        std::memcpy(static_cast<void *>(chars + oldStart), AChars, std::size_t(ALen) * sizeof(QChar));
    if (ALen != oldLen)
        for (int i = ACol; i < newCount; ++i)
            ends[i] += ALen - oldLen;
    t->CharLen = newCharLen;
}

void TGridStore::EnsureObjects(TRowSlot &S, int ACount, int AHint)
{
    if (ACount <= S.ObjectCount)
        return;
    int cap = ACount <= AHint ? AHint : std::max(ACount, S.ObjectCount + S.ObjectCount / 2);
    auto *objs = new TObject *[std::size_t(cap)]();
    if (S.ObjectCount)
        std::memcpy(static_cast<void *>(objs), S.Objects, std::size_t(S.ObjectCount) * sizeof(TObject *));
    delete[] S.Objects;
    S.Objects = objs;
    S.ObjectCount = cap;
}

void TGridStore::SetSlotObject(TRowSlot &S, int ACol, TObject *Value, int AHint)
{
    EnsureObjects(S, ACol + 1, AHint);
    S.Objects[ACol] = Value;
}

int TGridStore::SlotLength(const TRowSlot &S)
{
    int n = S.Text ? S.Text->Count : 0;
    for (int i = S.ObjectCount - 1; i >= n; --i)
        if (S.Objects[i])
            return i + 1;
    return n;
}

int TGridStore::RowLength(int ARow) const
{
    const TRowSlot *s = Slot(ARow);
    return s ? SlotLength(*s) : 0;
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
    ForEachRow([&](TRowSlot &s) {
        SetSlotText(s, ACol, nullptr, 0, FColumnHint);
        if (ACol < s.ObjectCount)
            s.Objects[ACol] = nullptr;
    });
}

void TGridStore::Clear()
{
    ForEachRow([](TRowSlot &s) { FreeSlot(s); });
    FBuf.clear();
    FBuf.shrink_to_fit();
    FGapStart = FGapEnd = FRows = 0;
}

void TGridStore::FreeSlot(TRowSlot &S)
{
    std::free(S.Text);
    delete[] S.Objects;
    S = TRowSlot{nullptr, nullptr, 0, 0};
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

namespace {

// Rebuilds a row's cells in a new order: Order[i] is the old column that becomes column i, or -1
// for a new empty cell.
void Reorder(const std::vector<int> &Order, TTextView *views, int count, std::vector<TTextView> &out)
{
    out.assign(Order.size(), TTextView());
    for (std::size_t i = 0; i < Order.size(); ++i)
        if (Order[i] >= 0 && Order[i] < count)
            out[i] = views[Order[i]];
}

} // namespace

template <typename F>
void TGridStore::RebuildColumns(F orderFor)
{
    std::vector<int> order;
    std::vector<TTextView> views, out;
    std::vector<TObject *> objs;
    ForEachRow([&](TRowSlot &s) {
        int len = SlotLength(s);
        if (!orderFor(len, order))
            return;
        if (TRowText *t = s.Text) {
            views.resize(std::size_t(t->Count));
            for (int c = 0; c < t->Count; ++c)
                views[std::size_t(c)] = {t->Chars() + t->Start(c), t->Ends()[c] - t->Start(c)};
            Reorder(order, views.data(), t->Count, out);
            int n = int(out.size());
            while (n > 0 && out[std::size_t(n - 1)].Len == 0)
                --n;
            int chars = 0;
            for (int c = 0; c < n; ++c)
                chars += out[std::size_t(c)].Len;
            TRowText *nt = nullptr;
            if (chars > 0) {
                nt = TRowText::Allocate(std::max(n, t->CellCap), std::max(chars, t->CharCap));
                int pos = 0;
                for (int c = 0; c < n; ++c) {
                    const TTextView &v = out[std::size_t(c)];
                    if (v.Len)
                        std::memcpy(static_cast<void *>(nt->Chars() + pos), v.Chars, std::size_t(v.Len) * sizeof(QChar));
                    pos += v.Len;
                    nt->Ends()[c] = pos;
                }
                nt->Count = n;
                nt->CharLen = chars;
            }
            std::free(t);
            s.Text = nt;
        }
        if (s.ObjectCount) {
            objs.assign(order.size(), nullptr);
            for (std::size_t i = 0; i < order.size(); ++i)
                if (order[i] >= 0 && order[i] < s.ObjectCount)
                    objs[i] = s.Objects[order[i]];
            std::fill(s.Objects, s.Objects + s.ObjectCount, nullptr);
            EnsureObjects(s, int(objs.size()), FColumnHint);
            std::copy(objs.begin(), objs.end(), s.Objects);
        }
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
    std::size_t n = FBuf.capacity() * sizeof(TRowSlot);
    const_cast<TGridStore *>(this)->ForEachRow([&](TRowSlot &s) {
        if (s.Text)
            n += sizeof(TRowText) + std::size_t(s.Text->CellCap) * sizeof(int) + std::size_t(s.Text->CharCap) * sizeof(QChar);
        n += std::size_t(s.ObjectCount) * sizeof(TObject *);
    });
    return n;
}
