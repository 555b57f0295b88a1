#pragma once
// The string grid's side of OLE drag and drop: what a drag over the grid and a drop onto it do,
// and the feedback of a drag that starts in it. The hooks are public so that a caller (and a
// test) may hand a drop to the grid as the platform would.
#include "controls/esgdd.h"

class TExtStringGrid;

class TGridDropTarget : public TESGDropTarget {
public:
    explicit TGridDropTarget(TExtStringGrid *AGrid) : FGrid(AGrid) {}
    TExtStringGrid *Grid() const { return FGrid; }
    // The grid goes: later calls of the platform do nothing.
    void ForgetGrid() { FGrid = nullptr; }

    // Columns are taken while the grid's settings drag them at the time the drag comes in.
    HRESULT DragEnter(IDataObject *DataObj, DWORD KeyState, TPoint Pt, DWORD &Effect) override;
    void DropText(TPoint Pt, const UnicodeString &Text) override;
    void DropStream(TPoint Pt, std::unique_ptr<TMemoryStream> Stream) override;
    void DropCol(TPoint Pt, int Col) override;
    void DropRTF(TPoint Pt, const UnicodeString &RTF) override;
    void DropFiles(TPoint Pt, TStrings *Files) override;
    void DropURL(TPoint Pt, const UnicodeString &URL) override;
    void DragMouseMove(TPoint Pt, bool &Allow, TDropFormats DropFormats) override;
    void DragMouseLeave() override;

private:
    // The cell under a screen point; below the last row with OleEntireRows and OleAppendRows,
    // the last row's first normal cell with Append set.
    void DropCell(TPoint Pt, bool Column, int &ACol, int &ARow, bool &Append);
    void HideMarkers(bool Button);
    // Rich text or a link becomes the text of the cell under the point, as the event allows.
    void DropIntoCell(TPoint Pt, const UnicodeString &S, bool Link);
    TExtStringGrid *FGrid;
};

class TGridDropSource : public TESGDropSource {
public:
    explicit TGridDropSource(TExtStringGrid *AGrid) : FGrid(AGrid) {}
    // The last copy (1) or move (2) effect reported during the drag.
    int LastEffect() const { return FLastEffect; }

    void DragEnded() override;
    void CurrentEffect(DWORD Effect) override;
    void QueryDrag() override;

private:
    TExtStringGrid *FGrid;
    int FLastEffect = 0;
};
