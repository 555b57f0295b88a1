#pragma once
// The filter of the string grid: its conditions (TFilter of TFilterData), the look of the filter
// drop-downs (TFilterDropDown), the two lists a filter button opens (TDropList, TDropCheckList)
// and the popup form that never takes the activation (TNoActiveForm). Applying the filter is the
// grid's (ExtGridFilter.cpp).

#include "grid/core/ExtGridLiveCount.h"
#include "platform/Classes.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/StdCtrls.h"

#include <functional>

struct TPreparedFilter;

class TExtStringGrid;

enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
// Which text of a cell a condition tests: the display text, the stored one, the text without
// HTML tags, the text the grid paints, or all cells of the row joined by line breaks.
enum TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
// fmLiteral: the cell text must equal the condition exactly, case-sensitively.
enum TFilterMethod { fmExpression, fmLiteral };

class TFilterData : public TCollectionItem {
public:
    explicit TFilterData(TCollection *Collection) : TCollectionItem(Collection) {}
    // Copies all but Method.
    void Assign(TPersistent *Source) override;

    int Column = 0;
    // An empty condition accepts every row.
    UnicodeString Condition;
    bool CaseSensitive = true;
    // Taken from the end (the start) of the cell text before it is matched.
    UnicodeString Suffix;
    UnicodeString Prefix;
    TFilterOperation Operation = foSHORT;
    TFilterCells Data = fcVirtual;
    TFilterMethod Method = fmExpression;
};

class TFilter : public TCollection {
public:
    explicit TFilter(TExtStringGrid *AGrid = nullptr);
    // The first item joins with foNONE, the others with foAND.
    TFilterData *Add();
    // At the end, as the collection's own Add: the index is not used and the operation stays.
    TFilterData *Insert(int Index);
    TFilterData *Items(int Index) const { return static_cast<TFilterData *>(TCollection::Items(Index)); }
    // The first item of the column, made (Add) when there is none.
    TFilterData *ColumnFilter(int Col);
    bool HasFilter(int Col) const;
    // Every item of the column goes; its header cell is repainted.
    void RemoveColumnFilter(int Col);
    TExtStringGrid *Grid() const { return FGrid; }

private:
    TExtStringGrid *FGrid;
    TExtGridLiveCount FCount;
};

class TFilterDropDown : public TPersistent {
public:
    TFilterDropDown();
    // Copies all but AutoSize.
    void Assign(TPersistent *Source) override;
    bool AutoSize = false;
    int Height = 150;
    int Width = 150;
    TColor Color = clWindow;
    // The list as wide as its column.
    bool ColumnWidth = false;
    TFont *Font() { return &FFont; }
    void SetFont(TFont *Value) { FFont.Assign(Value); }
    TBitmap *Glyph() { return &FGlyph; }
    // The button glyph of a filtered column.
    TBitmap *GlyphActive() { return &FGlyphActive; }
    void SetGlyph(TBitmap *Value);
    void SetGlyphActive(TBitmap *Value);
    TNotifyEvent OnChange;

private:
    TFont FFont;
    TBitmap FGlyph;
    TBitmap FGlyphActive;
    TExtGridLiveCount FCount;
};

using TDropSelectEvent = std::function<void(TObject *Sender, int Index)>;
using TFilterSelectEvent = std::function<void(TObject *Sender, int Column, int ItemIndex, const UnicodeString &FriendlyName,
                                              UnicodeString &FilterCondition)>;

// Both lists are windows of their own, laid over the grid's form in screen coordinates: frameless
// tool windows that stay on top and show without taking the activation, so the form stays
// active and the grid keeps the focus. The grid hands them its keys while one is open (ListKey).

// The plain value list of a filter button: Enter or a released mouse button picks the item.
class TDropList : public TListBox {
public:
    explicit TDropList(TComponent *AOwner) : TListBox(AOwner) {}
    TDropSelectEvent OnSelect;
    // A key typed in the grid while the list is open: the arrows and page keys move the
    // selection, Enter picks, Escape closes. False for any other key.
    bool ListKey(Word Key);

protected:
    void CreateParams(TCreateParams &Params) override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // A press outside the list closes it without a choice.
    void WMCancelMode(TWMCancelMode &Message) override;

private:
    void Pick();
    TExtGridLiveCount FCount;
};

// The check list of a filter button: it stays open; each toggled mark fires OnSelect (-1).
class TDropCheckList : public TCheckListBox {
public:
    explicit TDropCheckList(TComponent *AOwner) : TCheckListBox(AOwner) {}
    TDropSelectEvent OnSelect;
    // As the plain list's, but Space toggles the selected mark and Enter closes the list.
    bool ListKey(Word Key);

protected:
    void CreateParams(TCreateParams &Params) override;
    void ClickCheck() override;
    void WMCancelMode(TWMCancelMode &Message) override;

private:
    TExtGridLiveCount FCount;
};

// A popup that never takes the activation from the form under it.
class TNoActiveForm : public TForm {
public:
    // Every showing leaves the activation where it is, also a plain Show.
    explicit TNoActiveForm(TComponent *AOwner);

protected:
    // A disabled bordered popup: it takes neither the activation nor the pointer.
    void CreateParams(TCreateParams &Params) override;
    // Activation is answered as taken; a click asks for no activation.
    void WndProc(TMessage &Message) override;
};
