#pragma once
// The sort options of the string grid (TSortSettings) and the types its sorts speak in. The sorts
// themselves are members of the grid (ExtGridSort.cpp).

#include "grid/core/ExtGridLiveCount.h"
#include "platform/Classes.h"
#include "platform/Graphics.h"

class TExtStringGrid;

enum TSortDirection { sdAscending, sdDescending };
enum TSortBlankPosition { blFirst, blLast };
enum TIndexSortKey { ikShift, ikCtrl };

// The plain options are fields the header drawing and the click handling read directly; those
// whose change must reach the grid have setters beside them.
class TSortSettings : public TPersistent {
public:
    explicit TSortSettings(TExtStringGrid *AGrid = nullptr) : FGrid(AGrid) {}
    // From another TSortSettings only; IgnoreCase and SortOnVirtualCells stay.
    void Assign(TPersistent *Source) override;

    // "u3" / "d3" for a sort on column 3, "i;u2;d0" for an index sort.
    UnicodeString SaveToString() const;
    // Restores the state and sorts by it; an empty text changes nothing, a one-character text
    // raises.
    void LoadFromString(const UnicodeString &Value);
    // No sort column, no index list, the header row repainted.
    void Remove();
    void ToggleDirection() { Direction = Direction == sdAscending ? sdDescending : sdAscending; }

    // Invalidates the grid when the value changes.
    void SetShow(bool Value);
    // Must stay below the grid's FixedRows; a refused value raises and the old one stays.
    void SetRow(int Value);
    // Each stores a changed colour and repaints the last fixed row.
    void SetHeaderColor(TColor Value) { SetHeaderColorField(HeaderColor, Value); }
    void SetHeaderColorTo(TColor Value) { SetHeaderColorField(HeaderColorTo, Value); }
    void SetHeaderMirrorColor(TColor Value) { SetHeaderColorField(HeaderMirrorColor, Value); }
    void SetHeaderMirrorColorTo(TColor Value) { SetHeaderColorField(HeaderMirrorColorTo, Value); }
    void SetUpGlyph(TBitmap *Value) { FUpGlyph.Assign(Value); }
    void SetDownGlyph(TBitmap *Value) { FDownGlyph.Assign(Value); }
    void SetIndexUpGlyph(TBitmap *Value) { FIndexUpGlyph.Assign(Value); }
    void SetIndexDownGlyph(TBitmap *Value) { FIndexDownGlyph.Assign(Value); }

    bool Show = false;
    bool IndexShow = false;
    // A tie in a column is decided by the columns to its right (or the next index entries).
    bool Full = true;
    // A sort exchanges only the cells of the sort column.
    bool SingleColumn = false;
    bool IgnoreBlanks = false;
    TSortBlankPosition BlankPos = blFirst;
    bool AutoFormat = true;
    TSortDirection Direction = sdAscending;
    // Column 0 keeps its texts when the grid has fixed columns.
    bool NormalCellsOnly = false;
    bool FixedCols = false;
    // The real sort column; -1 is none.
    int Column = -1;
    int Row = 0;
    bool AutoColumnMerge = false;
    TColor IndexColor = clYellow;
    TSortDirection InitSortDirection = sdAscending;
    bool UndoSort = false;
    bool AutoSortForGrouping = true;
    // Compare the display texts rather than the stored ones.
    bool SortOnVirtualCells = true;
    bool IgnoreCase = false;
    TColor HeaderColor = clNone;
    TColor HeaderColorTo = clNone;
    TColor HeaderMirrorColor = clNone;
    TColor HeaderMirrorColorTo = clNone;
    TIndexSortKey IndexSortKey = ikShift;
    // Glyphs of the sorted column and of the columns of an index sort; empty draws triangles.
    TBitmap *UpGlyph() { return &FUpGlyph; }
    TBitmap *DownGlyph() { return &FDownGlyph; }
    TBitmap *IndexUpGlyph() { return &FIndexUpGlyph; }
    TBitmap *IndexDownGlyph() { return &FIndexDownGlyph; }
    TExtStringGrid *Grid() const { return FGrid; }

private:
    void SetHeaderColorField(TColor &Field, TColor Value);
    void RepaintHeaderRow();
    TExtStringGrid *FGrid;
    TBitmap FUpGlyph;
    TBitmap FDownGlyph;
    TBitmap FIndexUpGlyph;
    TBitmap FIndexDownGlyph;
    TExtGridLiveCount FCount;
};
