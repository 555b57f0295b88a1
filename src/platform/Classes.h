#pragma once
// Persistent objects and components, pointer lists, collections, string lists and streams.
// TPersistent and TComponent live in Classes.cpp, the lists in ClassesLists.cpp, the string lists
// in ClassesStrings.cpp and the streams in ClassesStreams.cpp.

#include "platform/Sets.h"
#include "platform/System.h"

#include <QChar>
#include <QCollatorSortKey>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

class TEncoding;
class TStream;

class TPersistent : public TObject {
public:
    // Copies Source into this object; the default asks Source to assign itself and otherwise
    // raises the classic "Cannot assign a ... to a ..." error.
    virtual void Assign(TPersistent *Source);

protected:
    virtual void AssignTo(TPersistent *Dest);
    virtual TPersistent *GetOwner() { return nullptr; }

private:
    [[noreturn]] void AssignError(TPersistent *Source);
};

enum class TOperation { opInsert, opRemove };
enum class TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance };
using TComponentState = TSet<TComponentStateItem>;

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent *AOwner);
    ~TComponent() override;

    TComponent *Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent *Components(int Index) const;
    int ComponentIndex() const;
    TComponent *FindComponent(const UnicodeString &AName) const;

    const UnicodeString &Name() const { return FName; }
    virtual void SetName(const UnicodeString &NewName);
    long Tag() const { return FTag; }
    void SetTag(long Value) { FTag = Value; }

    const TComponentState &ComponentState() const { return FComponentState; }
    void SetDesigning(bool Value);

    void InsertComponent(TComponent *AComponent);
    void RemoveComponent(TComponent *AComponent);
    void DestroyComponents();
    void Destroying();

    // AComponent tells this component when it is freed (a call of Notification with opRemove).
    void FreeNotification(TComponent *AComponent);
    void RemoveFreeNotification(TComponent *AComponent);

    // Marks the component as being loaded; EndLoading clears the mark and calls Loaded.
    void BeginLoading();
    void EndLoading();

protected:
    virtual void Notification(TComponent *AComponent, TOperation Operation);
    virtual void Loaded();
    TComponentState FComponentState;

private:
    void Insert(TComponent *AComponent);
    void Remove(TComponent *AComponent);
    void RemoveNotification(TComponent *AComponent);

    TComponent *FOwner = nullptr;
    std::vector<TComponent *> FComponents;
    std::vector<TComponent *> FFreeNotifies;
    UnicodeString FName;
    long FTag = 0;
};

// ---------------------------------------------------------------------------------------------
// Pointer list

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
// Negative when Item1 sorts before Item2, zero when equal, positive after.
using TListSortCompare = std::function<int(void *Item1, void *Item2)>;

class TList : public TObject {
public:
    TList() = default;
    ~TList() override;

    int Add(void *Item);
    void Insert(int Index, void *Item);
    void Delete(int Index);
    // Deletes the first occurrence of Item; answers its former index or -1.
    int Remove(void *Item);
    // Like Remove, but answers the item (nullptr when absent) and notifies lnExtracted.
    void *Extract(void *Item);
    int IndexOf(void *Item) const;
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    virtual void Clear();
    void *First() const;
    void *Last() const;
    // Removes every nullptr entry.
    void Pack();
    void Sort(const TListSortCompare &Compare);

    int Count() const { return static_cast<int>(FList.size()); }
    void SetCount(int NewCount);
    int Capacity() const { return static_cast<int>(FList.capacity()); }
    void SetCapacity(int NewCapacity);
    void *Items(int Index) const;
    void SetItems(int Index, void *Item);
    void *operator[](int Index) const { return Items(Index); }
    // The items in order, for walking them without bounds checks.
    void *const *List() const { return FList.data(); }

protected:
    virtual void Notify(void *Ptr, TListNotification Action) {}
    [[noreturn]] static void Error(const char *Fmt, int Data);

private:
    std::vector<void *> FList;
};

// ---------------------------------------------------------------------------------------------
// Collections

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

// An item belongs to at most one collection; the collection frees it. Creating an item with a
// collection adds it at the end.
class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection *Collection);
    ~TCollectionItem() override;

    TCollection *Collection() const { return FCollection; }
    void SetCollection(TCollection *Value);
    int Index() const;
    virtual void SetIndex(int Value);
    int ID() const { return FID; }
    virtual UnicodeString DisplayName() const;
    virtual void SetDisplayName(const UnicodeString &Value);

protected:
    // Tells the collection that this item (or, with AllItems, every item) changed.
    void Changed(bool AllItems);
    TPersistent *GetOwner() override;

private:
    friend class TCollection;
    TCollection *FCollection = nullptr;
    int FID = 0;
};

// Makes one item of a collection's item class, added to the given collection.
using TCollectionItemClass = std::function<TCollectionItem *(TCollection *Collection)>;

template <typename T>
TCollectionItemClass CollectionItemClass()
{
    return [](TCollection *c) -> TCollectionItem * { return new T(c); };
}

class TCollection : public TPersistent {
public:
    explicit TCollection(TCollectionItemClass ItemClass);
    ~TCollection() override;

    TCollectionItem *Add();
    TCollectionItem *Insert(int Index);
    void Delete(int Index);
    void Clear();
    TCollectionItem *FindItemID(int ID) const;
    // Copies the items of another collection: as many items as Source has, each through Assign.
    void Assign(TPersistent *Source) override;

    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    int Count() const { return static_cast<int>(FItems.size()); }
    TCollectionItem *Items(int Index) const;
    // Assigns Value to the item at Index (the classic indexed setter).
    void SetItems(int Index, TCollectionItem *Value);
    TPersistent *Owner() { return GetOwner(); }
    TCollectionItemClass ItemClass() const { return FItemClass; }

protected:
    // Called after a change when no update is pending; Item is nullptr when everything changed.
    virtual void Update(TCollectionItem *Item) {}
    virtual void Notify(TCollectionItem *Item, TCollectionNotification Action) {}
    virtual void SetItemName(TCollectionItem *Item) {}
    void Changed();
    TPersistent *GetOwner() override { return nullptr; }

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem *Item);
    void RemoveItem(TCollectionItem *Item);

    TCollectionItemClass FItemClass;
    std::vector<TCollectionItem *> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
};

// A collection whose owner is fixed at creation (the persistent object that keeps it).
class TOwnedCollection : public TCollection {
public:
    TOwnedCollection(TPersistent *AOwner, TCollectionItemClass ItemClass) : TCollection(std::move(ItemClass)), FOwner(AOwner) {}

protected:
    TPersistent *GetOwner() override { return FOwner; }

private:
    TPersistent *FOwner;
};

// ---------------------------------------------------------------------------------------------
// String lists

enum TDuplicates { dupIgnore, dupAccept, dupError };

// An ordered list of strings, each with an object slot. Reading and writing the whole list as
// text, as delimited text and as Name=Value pairs is done here once for every kind of list.
class TStrings : public TPersistent {
public:
    TStrings() = default;

    virtual int Count() const = 0;
    virtual UnicodeString Strings(int Index) const = 0;
    virtual void SetStrings(int Index, const UnicodeString &S);
    UnicodeString operator[](int Index) const { return Strings(Index); }
    virtual TObject *Objects(int Index) const { return nullptr; }
    virtual void SetObjects(int Index, TObject *AObject) {}

    virtual int Add(const UnicodeString &S);
    virtual int AddObject(const UnicodeString &S, TObject *AObject);
    void Append(const UnicodeString &S) { Add(S); }
    virtual void AddStrings(TStrings *Strings);
    virtual void Insert(int Index, const UnicodeString &S) = 0;
    virtual void InsertObject(int Index, const UnicodeString &S, TObject *AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);
    void Assign(TPersistent *Source) override;
    // Same count and the same strings in the same order (case matters, objects do not).
    bool Equals(TStrings *Strings) const;

    virtual int IndexOf(const UnicodeString &S) const;
    virtual int IndexOfName(const UnicodeString &Name) const;
    virtual int IndexOfObject(TObject *AObject) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Name=Value lines. Names is empty for a line without the separator; Values of a missing
    // name is empty; setting an empty value deletes the line.
    UnicodeString Names(int Index) const;
    UnicodeString Values(const UnicodeString &Name) const;
    void SetValues(const UnicodeString &Name, const UnicodeString &Value);
    UnicodeString ValueFromIndex(int Index) const;
    void SetValueFromIndex(int Index, const UnicodeString &Value);
    QChar NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(QChar Value) { FNameValueSeparator = Value; }

    // Every line followed by LineBreak (CR LF by default); setting splits on CR, LF or CR LF.
    virtual UnicodeString Text() const;
    virtual void SetText(const UnicodeString &Value);
    UnicodeString LineBreak() const { return FLineBreak; }
    void SetLineBreak(const UnicodeString &Value) { FLineBreak = Value; }

    // Delimited text: items that need it are quoted with QuoteChar (inner quotes doubled).
    // Without StrictDelimiter, blanks and control characters also separate items.
    UnicodeString DelimitedText() const;
    void SetDelimitedText(const UnicodeString &Value);
    // DelimitedText with "," and '"', whatever Delimiter and QuoteChar are.
    UnicodeString CommaText() const;
    void SetCommaText(const UnicodeString &Value);
    QChar Delimiter() const { return FDelimiter; }
    void SetDelimiter(QChar Value) { FDelimiter = Value; }
    QChar QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(QChar Value) { FQuoteChar = Value; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

    // Loading detects a byte-order mark; without one it uses Encoding, or the ANSI code page
    // when Encoding is nullptr. Saving uses Encoding, else the one found by the last load, else
    // ANSI, and writes its byte-order mark when WriteBOM is set. SaveToFile replaces the file
    // atomically.
    virtual void LoadFromFile(const UnicodeString &FileName, TEncoding *Encoding = nullptr);
    virtual void LoadFromStream(TStream *Stream, TEncoding *Encoding = nullptr);
    virtual void SaveToFile(const UnicodeString &FileName, TEncoding *Encoding = nullptr);
    virtual void SaveToStream(TStream *Stream, TEncoding *Encoding = nullptr);
    TEncoding *Encoding() const { return FEncoding; }
    bool WriteBOM() const { return FWriteBOM; }
    void SetWriteBOM(bool Value) { FWriteBOM = Value; }

protected:
    virtual void SetUpdateState(bool Updating) {}
    // Order and equality of two strings for IndexOf, IndexOfName and sorting.
    virtual int CompareStrings(const UnicodeString &S1, const UnicodeString &S2) const;
    [[noreturn]] static void Error(const UnicodeString &Msg, int Data);
    UnicodeString DelimitedTextWith(QChar Delim, QChar Quote) const;
    void SetDelimitedTextWith(const UnicodeString &Value, QChar Delim, QChar Quote);
    QByteArray TextBytes(TEncoding *Encoding) const;

private:
    int FUpdateCount = 0;
    QChar FNameValueSeparator = QLatin1Char('=');
    QChar FDelimiter = QLatin1Char(',');
    QChar FQuoteChar = QLatin1Char('"');
    bool FStrictDelimiter = false;
    bool FWriteBOM = true;
    UnicodeString FLineBreak = QStringLiteral("\r\n");
    TEncoding *FEncoding = nullptr;
};

class TStringList;
// Negative when the string at Index1 sorts before the one at Index2.
using TStringListSortCompare = std::function<int(TStringList *List, int Index1, int Index2)>;

// Strings and their objects kept in two parallel arrays. Without CaseSensitive (the default),
// sorting, Find and IndexOf compare as AnsiCompareText does: locale aware, ignoring case.
// Sort and the searches of a sorted list go through collation keys equal in order to
// CompareStrings; a derived list with an order of its own sorts with CustomSort.
class TStringList : public TStrings {
public:
    TStringList() = default;
    explicit TStringList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}
    ~TStringList() override;

    int Count() const override { return static_cast<int>(FStrings.size()); }
    UnicodeString Strings(int Index) const override;
    void SetStrings(int Index, const UnicodeString &S) override;
    TObject *Objects(int Index) const override;
    void SetObjects(int Index, TObject *AObject) override;

    int Add(const UnicodeString &S) override;
    int AddObject(const UnicodeString &S, TObject *AObject) override;
    void Insert(int Index, const UnicodeString &S) override;
    void InsertObject(int Index, const UnicodeString &S, TObject *AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;
    void Assign(TPersistent *Source) override;
    int IndexOf(const UnicodeString &S) const override;

    // Binary search of a sorted list: true when found; Index is the match or the place to insert.
    virtual bool Find(const UnicodeString &S, int &Index) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare &Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);
    // When set, the list frees the objects of the lines it deletes and its own at the end.
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }
    int Capacity() const { return static_cast<int>(FStrings.capacity()); }
    void SetCapacity(int NewCapacity);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const UnicodeString &S1, const UnicodeString &S2) const override;
    virtual void InsertItem(int Index, const UnicodeString &S, TObject *AObject);

private:
    void CheckIndex(int Index) const;
    void ApplyOrder(const std::vector<int> &Order);
    void SortWithKeys(bool KeepKeys);
    int KeyLowerBound(const QCollatorSortKey &Key, bool &Found) const;

    // QList moves its relocatable items with memmove, which keeps inserts into a long list cheap.
    QList<UnicodeString> FStrings;
    QList<TObject *> FObjects;
    // While the list is sorted: one collation key per line, so that Find compares bytes.
    QList<QCollatorSortKey> FKeys;
    const QCollatorSortKey *FPendingKey = nullptr;
    TDuplicates FDuplicates = dupIgnore;
    bool FSorted = false;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
};

// Compares as the string lists do without and with regard to case (locale aware).
int ListCompareText(const UnicodeString &S1, const UnicodeString &S2);
int ListCompareStr(const UnicodeString &S1, const UnicodeString &S2);

// ---------------------------------------------------------------------------------------------
// Streams

enum TSeekOrigin { soBeginning, soCurrent, soEnd };
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

constexpr Word fmCreate = 0xFF00;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

class TStream : public TObject {
public:
    // Read and Write answer how many bytes they moved; fewer than asked is not an error here.
    virtual int Read(void *Buffer, int Count) = 0;
    virtual int Write(const void *Buffer, int Count) = 0;
    // Answers the new position.
    virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

    // All or nothing: EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void *Buffer, int Count);
    void WriteBuffer(const void *Buffer, int Count);
    // Copies Count bytes from Source's position; Count 0 copies the whole of Source from its start.
    Int64 CopyFrom(TStream *Source, Int64 Count);

    Int64 Position() { return Seek(0, soCurrent); }
    void SetPosition(Int64 Value) { Seek(Value, soBeginning); }
    virtual Int64 Size();
    virtual void SetSize(Int64 NewSize) {}
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;

    int Read(void *Buffer, int Count) override;
    int Write(const void *Buffer, int Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    Int64 Size() override { return static_cast<Int64>(FData.size()); }
    void SetSize(Int64 NewSize) override;

    void *Memory() { return FData.data(); }
    const void *Memory() const { return FData.data(); }
    void Clear();
    void LoadFromStream(TStream *Stream);
    void LoadFromFile(const UnicodeString &FileName);
    void SaveToStream(TStream *Stream);
    // Replaces the file atomically.
    void SaveToFile(const UnicodeString &FileName);
    // The contents as one byte array (a copy).
    QByteArray Bytes() const { return QByteArray(reinterpret_cast<const char *>(FData.data()), static_cast<qsizetype>(FData.size())); }

private:
    std::vector<Byte> FData;
    Int64 FPosition = 0;
};

class TBytesStream : public TMemoryStream {
public:
    explicit TBytesStream(const QByteArray &ABytes = QByteArray());
};

// A stream over a file. The share flags are accepted for compatibility; the platform does not
// enforce them.
class TFileStream : public TStream {
public:
    // EFCreateError "Cannot create file "<name>". <reason>" with fmCreate,
    // else EFOpenError "Cannot open file "<name>". <reason>".
    TFileStream(const UnicodeString &AFileName, Word Mode);
    ~TFileStream() override;

    int Read(void *Buffer, int Count) override;
    int Write(const void *Buffer, int Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    void SetSize(Int64 NewSize) override;

    const UnicodeString &FileName() const { return FFileName; }
    int Handle() const { return FHandle; }

private:
    UnicodeString FFileName;
    int FHandle = -1;
};

// A memory stream that holds a string in the given encoding (ANSI when nullptr).
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(const UnicodeString &AString = UnicodeString(), TEncoding *AEncoding = nullptr);
    explicit TStringStream(const QByteArray &ABytes, TEncoding *AEncoding = nullptr);

    // The whole contents decoded with Encoding.
    UnicodeString DataString() const;
    TEncoding *Encoding() const { return FEncoding; }
    // Reads Count bytes from the position and decodes them.
    UnicodeString ReadString(int Count);
    // Encodes AString and writes it at the position.
    void WriteString(const UnicodeString &AString);

private:
    TEncoding *FEncoding;
};

// ---------------------------------------------------------------------------------------------
// Class registry: form streams find a class by its name.

using TPersistentFactory = std::function<TPersistent *(TComponent *AOwner)>;

FABRICOR_DECLARE_EXCEPTION(EClassRegistered, Exception)

// Records the factory under the class name. A name registered already raises EClassRegistered
// ("Class <name> already registered"), so that two units never fight over one name.
void RegisterClass(const UnicodeString &ClassName, TPersistentFactory Factory);
// Forgets a class; nothing when it is not registered.
void UnRegisterClass(const UnicodeString &ClassName);
// The factory of a registered class, or an empty function.
TPersistentFactory GetClass(const UnicodeString &ClassName);
// As GetClass, but an unknown name raises EClassNotFound ("Class <name> not found").
TPersistentFactory FindClass(const UnicodeString &ClassName);
FABRICOR_DECLARE_EXCEPTION(EClassNotFound, Exception)

// A persistent object that others reach through an interface of it; its life stays with its
// owner (no reference counting frees it).
class TInterfacedPersistent : public TPersistent {
public:
    TInterfacedPersistent() = default;
};
