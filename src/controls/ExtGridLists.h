#pragma once
// The small lists of the grid library: integers with a change event, sort orders, the controls
// placed in cells, a string list read and written line by line, and a picture referred to by file.

#include "platform/Classes.h"
#include "platform/Messages.h"
#include "platform/System.h"
#include "platform/Types.h"

#include <cstdint>
#include <functional>

class TCanvas;
class TControl;

// Sender, then the column and row of the cell that owns the list.
using TImageChangeEvent = std::function<void(TObject *Sender, int Acol, int Arow)>;

// A list of 32-bit integers kept in the slots of a pointer list. A cell's list is created with
// that cell's column and row, which OnChange hands on; other lists use 0 or -1. OnChange fires
// after Add, Delete and a write of an item; Insert and Clear do not fire it.
class TIntList : public TList {
public:
    TIntList(int Col, int Row);

    int Items(int Index) const { return GetInteger(Index); }
    // Items without the index check, for walks over long lists; Index must lie inside.
    int ItemAt(int Index) const { return static_cast<int>(reinterpret_cast<std::intptr_t>(List()[Index])); }
    void SetItems(int Index, int Value) { SetInteger(Index, Value); }
    int GetInteger(int Index) const;
    void SetInteger(int Index, int Value);

    int Add(int Value);
    void Insert(int Index, int Value);
    void Delete(int Index);
    // Deletes the first occurrence, if any.
    void DeleteValue(int Value);
    bool HasValue(int Value) const { return IndexOf(Value) >= 0; }
    int IndexOf(int Value) const;

    // The integers joined by "," ("" for an empty list). Setting it clears the list without an
    // event and adds each comma-text part, one event per part; a part that is no integer raises
    // EConvertError and keeps what was added before it.
    UnicodeString StrValue() const;
    void SetStrValue(const UnicodeString &Value);

    int Col() const { return FCol; }
    int Row() const { return FRow; }

    TImageChangeEvent OnChange;

private:
    void Changed();

    int FCol;
    int FRow;
};

// Sort columns in order: each item is a column in bits 0 to 30, with bit 31 set for a descending
// column. The short text form is "u2;d0": "u" ascending, "d" descending.
class TSortIndexList : public TIntList {
public:
    using TIntList::TIntList;

    void AddIndex(int ColumnIndex, bool Ascending);
    // Index of the first item of that column, -1 when none.
    int FindIndex(int ColumnIndex) const;
    // Flips the direction of the first item of that column; nothing when none.
    void ToggleIndex(int ColumnIndex);
    int SortColumns(int Index) const;
    // Keeps the item's direction.
    void SetSortColumns(int Index, int Value);
    bool SortDirections(int Index) const;
    void SetSortDirections(int Index, bool Ascending);

    // Only the low 16 bits of each column are written.
    UnicodeString SaveToString() const;
    // Entries shorter than 2 characters are skipped; "u" (lower case only) is ascending, any
    // other first character descending.
    void LoadFromString(const UnicodeString &S);
};

class TControlItem : public TObject {
public:
    TControlItem(int AX, int AY, TControl *AObject) : FX(AX), FY(AY), FObject(AObject) {}

    int X() const { return FX; }
    void SetX(int Value) { FX = Value; }
    int Y() const { return FY; }
    void SetY(int Value) { FY = Value; }
    TControl *Control() const { return FObject; }

private:
    int FX;
    int FY;
    TControl *FObject;
};

// The controls placed in grid cells (X column, Y real row). The list owns its items, never the
// controls.
class TControlList : public TList {
public:
    TControlList() = default;
    ~TControlList() override;

    void AddControl(int X, int Y, TControl *AObject);
    // Index of the first item of that cell, -1 when none.
    int ControlIndex(int X, int Y) const;
    TControlItem *Control(int Index) const { return GetControl(Index); }
    TControlItem *GetControl(int Index) const;
    // Frees the item (not its control) and deletes it from the list.
    void RemoveControl(int Index);
    // True when a control of the list is a windowed control with that window; asking a control for
    // its window makes one when it has none yet.
    bool HasHandle(HWND Handle) const;
    // Frees every item.
    void Clear() override;
    // The items of one column take the other's, and the other way round.
    void SwapColumns(int Col1, int Col2);
    void SwapRows(int Row1, int Row2);
};

// A string list for the grid's text and CSV import and export: ReadLn walks the lines, Write
// gathers a line that WriteLn ends.
class TFileStringList : public TStringList {
public:
    void Reset();
    bool Eof() const { return fp >= Count(); }
    // Past the last line it raises the list's index error.
    void ReadLn(UnicodeString &S);
    void Write(const UnicodeString &S) { cache += S; }
    void WriteLn(const UnicodeString &S);

private:
    int fp = 0;
    UnicodeString cache;
};

// A picture kept as its file name: the file is read again whenever the picture is measured or
// drawn, so that many such pictures cost no memory.
class TFilePicture : public TPersistent {
public:
    TFilePicture() = default;

    const UnicodeString &Filename() const { return FFilename; }
    // Stores the name, then reads the file for its size; a file that cannot be read raises the
    // picture's error (the name is kept). An empty name has no size.
    void SetFilename(const UnicodeString &Value);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    // Reads the file and stretches it into R; draws nothing when the name is empty or the file can
    // no longer be read, since a paint must not fail.
    void DrawPicture(TCanvas *Canvas, const TRect &R) const;
    // Copies name and size from another file picture without reading the file.
    void Assign(TPersistent *Source) override;

private:
    UnicodeString FFilename;
    int FWidth = 0;
    int FHeight = 0;
};
