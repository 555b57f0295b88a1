#include "platform/Classes.h"
#include "platform/Encoding.h"
#include "platform/FileUtils.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <numeric>

namespace {

int Sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

// One pair of collators per thread (QCollator is not meant to be shared between threads). In
// the C locale Qt's collator answers ordinal comparisons but case-sensitive sort keys, so the
// lists compare ordinally there themselves.
struct TListCollation {
    QCollator IgnoreCase;
    QCollator MatchCase;
    bool IsC;

    TListCollation() : IgnoreCase(QLocale()), MatchCase(QLocale()), IsC(QLocale().language() == QLocale::C)
    {
        IgnoreCase.setCaseSensitivity(Qt::CaseInsensitive);
        MatchCase.setCaseSensitivity(Qt::CaseSensitive);
    }
};

const TListCollation &Collation()
{
    thread_local const TListCollation collation;
    return collation;
}

UnicodeString ArgIfAny(const UnicodeString &Msg, int Data)
{
    return Msg.contains(QLatin1String("%1")) ? Msg.arg(Data) : Msg;
}

const char *const SSortedListError = "Operation not allowed on sorted list";
const char *const SDuplicateString = "String list does not allow duplicates";

} // namespace

int ListCompareText(const UnicodeString &S1, const UnicodeString &S2)
{
    const TListCollation &c = Collation();
    if (c.IsC)
        return Sign(S1.compare(S2, Qt::CaseInsensitive));
    return Sign(c.IgnoreCase.compare(S1, S2));
}

int ListCompareStr(const UnicodeString &S1, const UnicodeString &S2)
{
    const TListCollation &c = Collation();
    if (c.IsC)
        return Sign(S1.compare(S2, Qt::CaseSensitive));
    return Sign(c.MatchCase.compare(S1, S2));
}

// ---------------------------------------------------------------------------------------------
// TStrings

void TStrings::Error(const UnicodeString &Msg, int Data)
{
    throw EStringListError(ArgIfAny(Msg, Data));
}

void TStrings::SetStrings(int Index, const UnicodeString &S)
{
    BeginUpdate();
    try {
        TObject *obj = Objects(Index);
        Delete(Index);
        InsertObject(Index, S, obj);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::Add(const UnicodeString &S)
{
    const int index = Count();
    Insert(index, S);
    return index;
}

int TStrings::AddObject(const UnicodeString &S, TObject *AObject)
{
    const int index = Add(S);
    SetObjects(index, AObject);
    return index;
}

void TStrings::AddStrings(TStrings *Strings)
{
    if (!Strings)
        return;
    BeginUpdate();
    try {
        const int n = Strings->Count();
        for (int i = 0; i < n; ++i)
            AddObject(Strings->Strings(i), Strings->Objects(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::InsertObject(int Index, const UnicodeString &S, TObject *AObject)
{
    Insert(Index, S);
    SetObjects(Index, AObject);
}

void TStrings::Exchange(int Index1, int Index2)
{
    BeginUpdate();
    try {
        const UnicodeString s1 = Strings(Index1);
        TObject *o1 = Objects(Index1);
        SetStrings(Index1, Strings(Index2));
        SetObjects(Index1, Objects(Index2));
        SetStrings(Index2, s1);
        SetObjects(Index2, o1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    BeginUpdate();
    try {
        const UnicodeString s = Strings(CurIndex);
        TObject *o = Objects(CurIndex);
        // Detach the object first so that a list owning its objects does not free it.
        SetObjects(CurIndex, nullptr);
        Delete(CurIndex);
        InsertObject(NewIndex, s, o);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Assign(TPersistent *Source)
{
    auto *source = dynamic_cast<TStrings *>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    BeginUpdate();
    try {
        Clear();
        FNameValueSeparator = source->FNameValueSeparator;
        FQuoteChar = source->FQuoteChar;
        FDelimiter = source->FDelimiter;
        FLineBreak = source->FLineBreak;
        FStrictDelimiter = source->FStrictDelimiter;
        AddStrings(source);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

bool TStrings::Equals(TStrings *Strings) const
{
    if (!Strings)
        return false;
    const int n = Count();
    if (n != Strings->Count())
        return false;
    for (int i = 0; i < n; ++i)
        if (this->Strings(i) != Strings->Strings(i))
            return false;
    return true;
}

int TStrings::IndexOf(const UnicodeString &S) const
{
    const int n = Count();
    for (int i = 0; i < n; ++i)
        if (CompareStrings(Strings(i), S) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfName(const UnicodeString &Name) const
{
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        const UnicodeString s = Strings(i);
        const qsizetype p = s.indexOf(FNameValueSeparator);
        if (p >= 0 && CompareStrings(s.left(p), Name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject *AObject) const
{
    const int n = Count();
    for (int i = 0; i < n; ++i)
        if (Objects(i) == AObject)
            return i;
    return -1;
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    if (FUpdateCount <= 0)
        return;
    --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

UnicodeString TStrings::Names(int Index) const
{
    const UnicodeString s = Strings(Index);
    const qsizetype p = s.indexOf(FNameValueSeparator);
    return p >= 0 ? s.left(p) : UnicodeString();
}

UnicodeString TStrings::Values(const UnicodeString &Name) const
{
    const int i = IndexOfName(Name);
    return i >= 0 ? ValueFromIndex(i) : UnicodeString();
}

void TStrings::SetValues(const UnicodeString &Name, const UnicodeString &Value)
{
    int i = IndexOfName(Name);
    if (!Value.isEmpty()) {
        if (i < 0)
            i = Add(UnicodeString());
        SetStrings(i, Name + FNameValueSeparator + Value);
    } else if (i >= 0) {
        Delete(i);
    }
}

UnicodeString TStrings::ValueFromIndex(int Index) const
{
    if (Index < 0)
        return UnicodeString();
    const UnicodeString s = Strings(Index);
    const qsizetype p = s.indexOf(FNameValueSeparator);
    return p >= 0 ? s.mid(p + 1) : UnicodeString();
}

void TStrings::SetValueFromIndex(int Index, const UnicodeString &Value)
{
    if (!Value.isEmpty()) {
        if (Index < 0)
            Index = Add(UnicodeString());
        SetStrings(Index, Names(Index) + FNameValueSeparator + Value);
    } else if (Index >= 0) {
        Delete(Index);
    }
}

UnicodeString TStrings::Text() const
{
    const int n = Count();
    qsizetype total = 0;
    for (int i = 0; i < n; ++i)
        total += Strings(i).size() + FLineBreak.size();
    UnicodeString result;
    result.reserve(total);
    for (int i = 0; i < n; ++i) {
        result += Strings(i);
        result += FLineBreak;
    }
    return result;
}

void TStrings::SetText(const UnicodeString &Value)
{
    BeginUpdate();
    try {
        Clear();
        const QChar *p = Value.constData();
        const QChar *end = p + Value.size();
        while (p < end) {
            const QChar *start = p;
            while (p < end && *p != u'\r' && *p != u'\n')
                ++p;
            Add(UnicodeString(start, p - start));
            if (p < end && *p == u'\r')
                ++p;
            if (p < end && *p == u'\n')
                ++p;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

UnicodeString TStrings::DelimitedText() const
{
    return DelimitedTextWith(FDelimiter, FQuoteChar);
}

void TStrings::SetDelimitedText(const UnicodeString &Value)
{
    SetDelimitedTextWith(Value, FDelimiter, FQuoteChar);
}

UnicodeString TStrings::CommaText() const
{
    return DelimitedTextWith(QLatin1Char(','), QLatin1Char('"'));
}

void TStrings::SetCommaText(const UnicodeString &Value)
{
    SetDelimitedTextWith(Value, QLatin1Char(','), QLatin1Char('"'));
}

UnicodeString TStrings::DelimitedTextWith(QChar Delim, QChar Quote) const
{
    const int n = Count();
    // A single empty item must still come back as one item.
    if (n == 1 && Strings(0).isEmpty())
        return UnicodeString(2, Quote);
    UnicodeString result;
    for (int i = 0; i < n; ++i) {
        const UnicodeString s = Strings(i);
        bool needsQuote = false;
        for (QChar c : s) {
            if (c == Quote || c == Delim || (!FStrictDelimiter && c.unicode() <= u' ')) {
                needsQuote = true;
                break;
            }
        }
        if (i > 0)
            result += Delim;
        if (needsQuote) {
            result += Quote;
            for (QChar c : s) {
                result += c;
                if (c == Quote)
                    result += Quote;
            }
            result += Quote;
        } else {
            result += s;
        }
    }
    return result;
}

void TStrings::SetDelimitedTextWith(const UnicodeString &Value, QChar Delim, QChar Quote)
{
    const bool strict = FStrictDelimiter;
    // A NUL counts as a blank: stopping a token at it without ever stepping over it would never end.
    auto isBlank = [](QChar c) { return c.unicode() <= u' '; };
    BeginUpdate();
    try {
        Clear();
        const QChar *p = Value.constData();
        const QChar *end = p + Value.size();
        if (!strict)
            while (p < end && isBlank(*p))
                ++p;
        while (p < end) {
            UnicodeString s;
            if (*p == Quote) {
                // Quoted item: doubled quotes stand for one; a missing closing quote ends at the end.
                ++p;
                while (p < end) {
                    if (*p == Quote) {
                        if (p + 1 < end && p[1] == Quote) {
                            s += Quote;
                            p += 2;
                            continue;
                        }
                        ++p;
                        break;
                    }
                    s += *p++;
                }
            } else {
                const QChar *start = p;
                while (p < end && *p != Delim && (strict || p->unicode() > u' '))
                    ++p;
                s = UnicodeString(start, p - start);
            }
            Add(s);
            if (!strict)
                while (p < end && isBlank(*p))
                    ++p;
            if (p < end && *p == Delim) {
                // A delimiter at the very end stands for one more, empty, item.
                if (p + 1 == end)
                    Add(UnicodeString());
                ++p;
                if (!strict)
                    while (p < end && isBlank(*p))
                        ++p;
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::LoadFromFile(const UnicodeString &FileName, TEncoding *Encoding)
{
    TBytesStream stream(ReadFileBytes(FileName));
    LoadFromStream(&stream, Encoding);
}

void TStrings::LoadFromStream(TStream *Stream, TEncoding *Encoding)
{
    const Int64 size = Stream->Size() - Stream->Position();
    QByteArray buffer;
    if (size > 0) {
        buffer.resize(static_cast<qsizetype>(size));
        Stream->ReadBuffer(buffer.data(), static_cast<int>(size));
    }
    TEncoding *enc = Encoding;
    const int bom = TEncoding::GetBufferEncoding(buffer, enc);
    if (!enc)
        enc = TEncoding::Default();
    const UnicodeString text = enc->GetString(buffer.mid(bom));
    BeginUpdate();
    try {
        FEncoding = enc;
        SetText(text);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

QByteArray TStrings::TextBytes(TEncoding *Encoding) const
{
    TEncoding *enc = Encoding ? Encoding : (FEncoding ? FEncoding : TEncoding::Default());
    QByteArray bytes;
    if (FWriteBOM)
        bytes = enc->GetPreamble();
    bytes += enc->GetBytes(Text());
    return bytes;
}

void TStrings::SaveToFile(const UnicodeString &FileName, TEncoding *Encoding)
{
    WriteFileAtomic(FileName, TextBytes(Encoding));
}

void TStrings::SaveToStream(TStream *Stream, TEncoding *Encoding)
{
    const QByteArray bytes = TextBytes(Encoding);
    Stream->WriteBuffer(bytes.constData(), static_cast<int>(bytes.size()));
}

int TStrings::CompareStrings(const UnicodeString &S1, const UnicodeString &S2) const
{
    return ListCompareText(S1, S2);
}

// ---------------------------------------------------------------------------------------------
// TStringList

namespace {

// A key whose byte order is the order of ListCompareText (or ListCompareStr with CaseSensitive).
// The C-locale collator keys the text as it is, so the case is folded first there.
QCollatorSortKey ListSortKey(const UnicodeString &S, bool CaseSensitive)
{
    const TListCollation &c = Collation();
    if (c.IsC)
        return c.MatchCase.sortKey(CaseSensitive ? S : S.toCaseFolded());
    return (CaseSensitive ? c.MatchCase : c.IgnoreCase).sortKey(S);
}

} // namespace

TStringList::~TStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (TObject *o : FObjects)
            delete o;
}

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        Error(QString::fromLatin1(SListIndexError), Index);
}

UnicodeString TStringList::Strings(int Index) const
{
    CheckIndex(Index);
    return FStrings[Index];
}

void TStringList::SetStrings(int Index, const UnicodeString &S)
{
    if (FSorted)
        Error(QString::fromLatin1(SSortedListError), 0);
    CheckIndex(Index);
    Changing();
    FStrings[Index] = S;
    Changed();
}

TObject *TStringList::Objects(int Index) const
{
    CheckIndex(Index);
    return FObjects[Index];
}

void TStringList::SetObjects(int Index, TObject *AObject)
{
    CheckIndex(Index);
    Changing();
    FObjects[Index] = AObject;
    Changed();
}

int TStringList::Add(const UnicodeString &S)
{
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const UnicodeString &S, TObject *AObject)
{
    if (!FSorted) {
        const int index = Count();
        InsertItem(index, S, AObject);
        return index;
    }
    const QCollatorSortKey key = ListSortKey(S, FCaseSensitive);
    bool found = false;
    const int index = KeyLowerBound(key, found);
    if (found) {
        switch (FDuplicates) {
        case dupIgnore:
            return index;
        case dupError:
            Error(QString::fromLatin1(SDuplicateString), 0);
        case dupAccept:
            break;
        }
    }
    FPendingKey = &key;
    try {
        InsertItem(index, S, AObject);
    } catch (...) {
        FPendingKey = nullptr;
        throw;
    }
    FPendingKey = nullptr;
    return index;
}

void TStringList::Insert(int Index, const UnicodeString &S)
{
    InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(int Index, const UnicodeString &S, TObject *AObject)
{
    if (FSorted)
        Error(QString::fromLatin1(SSortedListError), 0);
    if (Index < 0 || Index > Count())
        Error(QString::fromLatin1(SListIndexError), Index);
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const UnicodeString &S, TObject *AObject)
{
    const QCollatorSortKey *pending = FPendingKey;
    FPendingKey = nullptr;
    Changing();
    if (FSorted)
        FKeys.insert(Index, pending ? *pending : ListSortKey(S, FCaseSensitive));
    FStrings.insert(Index, S);
    FObjects.insert(Index, AObject);
    Changed();
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    Changing();
    TObject *obj = FObjects[Index];
    FStrings.remove(Index);
    FObjects.remove(Index);
    if (FSorted)
        FKeys.remove(Index);
    if (FOwnsObjects)
        delete obj;
    Changed();
}

void TStringList::Clear()
{
    if (FStrings.isEmpty())
        return;
    Changing();
    QList<TObject *> objects;
    objects.swap(FObjects);
    FStrings.clear();
    FKeys.clear();
    if (FOwnsObjects)
        for (TObject *o : objects)
            delete o;
    Changed();
}

void TStringList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    FStrings.swapItemsAt(Index1, Index2);
    FObjects.swapItemsAt(Index1, Index2);
    if (FSorted)
        FKeys.swapItemsAt(Index1, Index2);
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    // Checked before anything moves, so a refused move loses no line.
    if (FSorted)
        Error(QString::fromLatin1(SSortedListError), 0);
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    Changing();
    FStrings.move(CurIndex, NewIndex);
    FObjects.move(CurIndex, NewIndex);
    Changed();
}

void TStringList::Assign(TPersistent *Source)
{
    auto *source = dynamic_cast<TStringList *>(Source);
    if (!source || source == this) {
        TStrings::Assign(Source);
        return;
    }
    // The lines come over as they are, so a sorted source stays sorted and keeps its duplicates.
    BeginUpdate();
    try {
        Clear();
        SetNameValueSeparator(source->NameValueSeparator());
        SetQuoteChar(source->QuoteChar());
        SetDelimiter(source->Delimiter());
        SetLineBreak(source->LineBreak());
        SetStrictDelimiter(source->StrictDelimiter());
        FCaseSensitive = source->FCaseSensitive;
        FDuplicates = source->FDuplicates;
        FSorted = source->FSorted;
        Changing();
        FStrings = source->FStrings;
        FObjects = source->FObjects;
        FKeys = source->FKeys;
        Changed();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStringList::IndexOf(const UnicodeString &S) const
{
    if (!FSorted)
        return TStrings::IndexOf(S);
    int index = 0;
    return Find(S, index) ? index : -1;
}

int TStringList::KeyLowerBound(const QCollatorSortKey &Key, bool &Found) const
{
    int lo = 0;
    int hi = static_cast<int>(FKeys.size());
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (FKeys[mid].compare(Key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    Found = lo < FKeys.size() && FKeys[lo].compare(Key) == 0;
    return lo;
}

bool TStringList::Find(const UnicodeString &S, int &Index) const
{
    // Lower bound: with duplicates accepted, the first of equal strings.
    bool found = false;
    if (FSorted) {
        Index = KeyLowerBound(ListSortKey(S, FCaseSensitive), found);
        return found;
    }
    // On a list that is not sorted the answer means little, as in the classic list.
    int lo = 0;
    int hi = Count();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        const int c = CompareStrings(FStrings[mid], S);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid;
            if (c == 0)
                found = true;
        }
    }
    Index = lo;
    return found;
}

void TStringList::ApplyOrder(const std::vector<int> &Order)
{
    QList<UnicodeString> strings;
    QList<TObject *> objects;
    strings.reserve(static_cast<qsizetype>(Order.size()));
    objects.reserve(static_cast<qsizetype>(Order.size()));
    for (int i : Order) {
        strings.push_back(std::move(FStrings[i]));
        objects.push_back(FObjects[i]);
    }
    FStrings.swap(strings);
    FObjects.swap(objects);
}

void TStringList::SortWithKeys(bool KeepKeys)
{
    const bool change = Count() > 1;
    if (change)
        Changing();
    // Each key travels with its line's index, so the comparisons read the keys in place rather
    // than through a second array.
    std::vector<std::pair<QCollatorSortKey, int>> keyed;
    keyed.reserve(static_cast<std::size_t>(FStrings.size()));
    for (qsizetype i = 0; i < FStrings.size(); ++i)
        keyed.emplace_back(ListSortKey(FStrings[i], FCaseSensitive), static_cast<int>(i));
    if (change) {
        std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; });
        std::vector<int> order;
        order.reserve(keyed.size());
        for (const auto &k : keyed)
            order.push_back(k.second);
        ApplyOrder(order);
    }
    FKeys.clear();
    if (KeepKeys) {
        FKeys.reserve(static_cast<qsizetype>(keyed.size()));
        for (auto &k : keyed)
            FKeys.push_back(std::move(k.first));
    }
    if (change)
        Changed();
}

void TStringList::Sort()
{
    if (FSorted || Count() < 2)
        return;
    SortWithKeys(false);
}

void TStringList::CustomSort(const TStringListSortCompare &Compare)
{
    if (FSorted || Count() < 2 || !Compare)
        return;
    Changing();
    // The comparison reads the list as it was before the sort; the new order is applied at the end.
    std::vector<int> order(static_cast<std::size_t>(FStrings.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(this, a, b) < 0; });
    ApplyOrder(order);
    Changed();
}

void TStringList::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    if (Value) {
        SortWithKeys(true);
        FSorted = true;
    } else {
        FSorted = false;
        FKeys.clear();
    }
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (FCaseSensitive == Value)
        return;
    FCaseSensitive = Value;
    if (FSorted)
        SortWithKeys(true); // keys and order under the new comparison
}

void TStringList::SetCapacity(int NewCapacity)
{
    if (NewCapacity < Count())
        Error(QStringLiteral("List capacity out of bounds (%1)"), NewCapacity);
    FStrings.reserve(NewCapacity);
    FObjects.reserve(NewCapacity);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(const UnicodeString &S1, const UnicodeString &S2) const
{
    return FCaseSensitive ? ListCompareStr(S1, S2) : ListCompareText(S1, S2);
}
