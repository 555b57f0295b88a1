#include "controls/ExtGridLists.h"

#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"

#include <cstdint>
#include <memory>

namespace {

constexpr std::uint32_t Descending = 0x80000000u;

void *ToSlot(int Value)
{
    return reinterpret_cast<void *>(static_cast<std::intptr_t>(Value));
}

int FromSlot(void *Slot)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(Slot));
}

int WithBit31(int Value, bool Set)
{
    const auto v = static_cast<std::uint32_t>(Value);
    return static_cast<int>(Set ? v | Descending : v & ~Descending);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TIntList

TIntList::TIntList(int Col, int Row) : FCol(Col), FRow(Row) {}

int TIntList::GetInteger(int Index) const
{
    return FromSlot(TList::Items(Index));
}

void TIntList::SetInteger(int Index, int Value)
{
    TList::SetItems(Index, ToSlot(Value));
    Changed();
}

int TIntList::Add(int Value)
{
    const int index = TList::Add(ToSlot(Value));
    Changed();
    return index;
}

void TIntList::Insert(int Index, int Value)
{
    TList::Insert(Index, ToSlot(Value));
}

void TIntList::Delete(int Index)
{
    TList::Delete(Index);
    Changed();
}

void TIntList::DeleteValue(int Value)
{
    const int index = IndexOf(Value);
    if (index >= 0)
        Delete(index);
}

int TIntList::IndexOf(int Value) const
{
    return TList::IndexOf(ToSlot(Value));
}

UnicodeString TIntList::StrValue() const
{
    UnicodeString s;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0)
            s += QLatin1Char(',');
        s += IntToStr(GetInteger(i));
    }
    return s;
}

void TIntList::SetStrValue(const UnicodeString &Value)
{
    TList::Clear();
    TStringList parts;
    parts.SetCommaText(Value);
    for (int i = 0; i < parts.Count(); ++i)
        Add(StrToInt(parts.Strings(i)));
}

void TIntList::Changed()
{
    if (OnChange)
        OnChange(this, FCol, FRow);
}

// ---------------------------------------------------------------------------------------------
// TSortIndexList

void TSortIndexList::AddIndex(int ColumnIndex, bool Ascending)
{
    // Bit 31 is the direction, whatever the caller's number held there.
    Add(WithBit31(ColumnIndex, !Ascending));
}

int TSortIndexList::FindIndex(int ColumnIndex) const
{
    for (int i = 0; i < Count(); ++i)
        if (SortColumns(i) == ColumnIndex)
            return i;
    return -1;
}

void TSortIndexList::ToggleIndex(int ColumnIndex)
{
    const int index = FindIndex(ColumnIndex);
    if (index >= 0)
        SetItems(index, static_cast<int>(static_cast<std::uint32_t>(Items(index)) ^ Descending));
}

int TSortIndexList::SortColumns(int Index) const
{
    return WithBit31(Items(Index), false);
}

void TSortIndexList::SetSortColumns(int Index, int Value)
{
    const bool descending = !SortDirections(Index);
    SetItems(Index, WithBit31(Value, descending));
}

bool TSortIndexList::SortDirections(int Index) const
{
    return (static_cast<std::uint32_t>(Items(Index)) & Descending) == 0;
}

void TSortIndexList::SetSortDirections(int Index, bool Ascending)
{
    SetItems(Index, WithBit31(Items(Index), !Ascending));
}

UnicodeString TSortIndexList::SaveToString() const
{
    UnicodeString s;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0)
            s += QLatin1Char(';');
        s += SortDirections(i) ? QLatin1Char('u') : QLatin1Char('d');
        s += IntToStr(SortColumns(i) & 0xFFFF);
    }
    return s;
}

void TSortIndexList::LoadFromString(const UnicodeString &S)
{
    TList::Clear();
    for (const UnicodeString &entry : S.split(QLatin1Char(';'))) {
        if (entry.size() < 2)
            continue;
        // A column that is no number reads as far as it goes, as it always did.
        int column = 0;
        int code = 0;
        Val(entry.mid(1), column, code);
        AddIndex(column, entry[0] == QLatin1Char('u'));
    }
}

// ---------------------------------------------------------------------------------------------
// TControlList

TControlList::~TControlList()
{
    Clear();
}

void TControlList::AddControl(int X, int Y, TControl *AObject)
{
    Add(new TControlItem(X, Y, AObject));
}

int TControlList::ControlIndex(int X, int Y) const
{
    for (int i = 0; i < Count(); ++i) {
        const TControlItem *item = GetControl(i);
        if (item->X() == X && item->Y() == Y)
            return i;
    }
    return -1;
}

TControlItem *TControlList::GetControl(int Index) const
{
    return static_cast<TControlItem *>(Items(Index));
}

void TControlList::RemoveControl(int Index)
{
    std::unique_ptr<TControlItem> item(GetControl(Index));
    Delete(Index);
}

bool TControlList::HasHandle(HWND Handle) const
{
    for (int i = 0; i < Count(); ++i) {
        auto *win = dynamic_cast<TWinControl *>(GetControl(i)->Control());
        if (win && win->Handle() == Handle)
            return true;
    }
    return false;
}

void TControlList::Clear()
{
    for (int i = 0; i < Count(); ++i)
        delete GetControl(i);
    TList::Clear();
}

void TControlList::SwapColumns(int Col1, int Col2)
{
    for (int i = 0; i < Count(); ++i) {
        TControlItem *item = GetControl(i);
        if (item->X() == Col1)
            item->SetX(Col2);
        else if (item->X() == Col2)
            item->SetX(Col1);
    }
}

void TControlList::SwapRows(int Row1, int Row2)
{
    for (int i = 0; i < Count(); ++i) {
        TControlItem *item = GetControl(i);
        if (item->Y() == Row1)
            item->SetY(Row2);
        else if (item->Y() == Row2)
            item->SetY(Row1);
    }
}

// ---------------------------------------------------------------------------------------------
// TFileStringList

void TFileStringList::Reset()
{
    fp = 0;
    cache.clear();
}

void TFileStringList::ReadLn(UnicodeString &S)
{
    S = Strings(fp);
    ++fp;
}

void TFileStringList::WriteLn(const UnicodeString &S)
{
    Add(cache + S);
    cache.clear();
}

// ---------------------------------------------------------------------------------------------
// TFilePicture

void TFilePicture::SetFilename(const UnicodeString &Value)
{
    FFilename = Value;
    if (Value.isEmpty()) {
        FWidth = 0;
        FHeight = 0;
        return;
    }
    TPicture picture;
    picture.LoadFromFile(Value);
    FWidth = picture.Width();
    FHeight = picture.Height();
}

void TFilePicture::DrawPicture(TCanvas *Canvas, const TRect &R) const
{
    if (FFilename.isEmpty() || !Canvas)
        return;
    TPicture picture;
    try {
        picture.LoadFromFile(FFilename);
    } catch (const Exception &) {
        return;
    }
    if (picture.Graphic())
        Canvas->StretchDraw(R, picture.Graphic());
}

void TFilePicture::Assign(TPersistent *Source)
{
    if (auto *other = dynamic_cast<TFilePicture *>(Source)) {
        FFilename = other->FFilename;
        FWidth = other->FWidth;
        FHeight = other->FHeight;
        return;
    }
    TPersistent::Assign(Source);
}
