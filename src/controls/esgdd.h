#pragma once
// Drag and drop of the string grid with other grids and other programs: what a grid offers when
// a drag starts in it (text, rich text, a column index or a stream of cells) and what it takes
// when something is dropped on it (text, rich text, files, links, a column, cells).
//
// The grid subclasses TESGDropTarget and TESGDropSource and overrides their hooks; the base
// classes decide what is acceptable and read the dropped data.
//
//     auto *target = new TMyGridTarget(grid);          // reference-counted
//     RegisterDragDrop(grid->Handle(), target);
//     ...
//     DWORD effect = 0;
//     BeginTextDrag(new TMyGridSource(grid), text, rtf, nullptr, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);

#include "platform/ActiveX.h"
#include "platform/Classes.h"
#include "platform/Sets.h"

#include <memory>

// The grid's own formats and the rich-text and link formats, registered once by name.
CLIPFORMAT CF_RTF();
CLIPFORMAT CF_GRIDCOLUMN();
CLIPFORMAT CF_GRIDCELLS();
CLIPFORMAT CF_URL();

// Whether rich text is offered by a drag and taken by a drop (off at start).
void AllowRTFDragDrop(bool Value);
bool RTFDragDropAllowed();

enum TDropFormat { dfText, dfFile, dfCol, dfRTF, dfURL, dfGridCells };
using TDropFormats = TSet<TDropFormat, 8>;

// The effect of a drop for the keys held: copy with Ctrl, else move when allowed, else copy.
DWORD KeysToDropEffect(DWORD KeyState, DWORD AllowedEffects);

// Reads the formats a data object offers and the data of some of them. A reader answers its
// neutral value (-1, nullptr, empty, false) when the format is missing or its block is damaged.
class TEnumFormats : public TObject {
public:
    explicit TEnumFormats(IDataObject *DataObject);
    ~TEnumFormats() override;

    int Count() const { return FCount; }
    IDataObject *DataObject() const { return FDataObject.Get(); }
    // Raises EAssertionFailed "Cannot get the format enumerator" for an object without one.
    void SetDataObject(IDataObject *Value);
    bool Valid() const { return FValid; }
    const FORMATETC &FormatEtc() const { return FFormatEtc; }
    DWORD Aspect() const { return FFormatEtc.dwAspect; }
    void SetAspect(DWORD Value) { FFormatEtc.dwAspect = Value; }
    CLIPFORMAT Format() const { return FFormatEtc.cfFormat; }
    void SetFormat(CLIPFORMAT Value) { FFormatEtc.cfFormat = Value; }
    LONG Index() const { return FFormatEtc.lindex; }
    void SetIndex(LONG Value) { FFormatEtc.lindex = Value; }
    DWORD Medium() const { return FFormatEtc.tymed; }
    void SetMedium(DWORD Value) { FFormatEtc.tymed = Value; }

    bool Reset();
    bool Next();
    // Makes the first entry of that format current; false when there is none.
    bool HasFormat(CLIPFORMAT Format);
    // The data of the current entry in that medium; the caller frees the block (GlobalFree).
    HGLOBAL Handle(DWORD Medium);
    HGLOBAL GlobalHandle() { return Handle(TYMED_HGLOBAL); }

    int ReadInteger(CLIPFORMAT Format);
    // The n bytes at offset 8 of the block, n from offset 0; nullptr when n is past the block.
    std::unique_ptr<TMemoryStream> ReadStream(CLIPFORMAT Format);
    UnicodeString ReadUnicodeText(CLIPFORMAT Format);
    UnicodeString ReadAnsiText(CLIPFORMAT Format);
    // The names of the current file drop into Files(); true when there is at least one.
    bool ReadFileNames();
    TStrings *Files() const { return FFiles.get(); }

    int Col() { return ReadInteger(CF_GRIDCOLUMN()); }
    std::unique_ptr<TMemoryStream> Stream() { return ReadStream(CF_GRIDCELLS()); }
    UnicodeString Text() { return ReadUnicodeText(CF_UNICODETEXT); }
    UnicodeString RTF() { return ReadAnsiText(CF_RTF()); }
    bool HasText() { return HasFormat(CF_UNICODETEXT); }
    bool HasRTF() { return HasFormat(CF_RTF()); }
    bool HasCol() { return HasFormat(CF_GRIDCOLUMN()); }
    bool HasFile() { return HasFormat(CF_HDROP); }
    bool HasURL() { return HasFormat(CF_URL()); }
    bool HasGridCells() { return HasFormat(CF_GRIDCELLS()); }

private:
    // The block of the format as bytes; false when it is missing.
    bool ReadBlock(CLIPFORMAT Format, QByteArray &Out);
    TComPtr<IDataObject> FDataObject;
    TComPtr<IEnumFORMATETC> FEnumerator;
    FORMATETC FFormatEtc;
    bool FValid = false;
    int FCount = 0;
    std::unique_ptr<TStringList> FFiles;
};

class TESGDropTarget : public TInterfacedObject, public IDropTarget {
public:
    TESGDropTarget();

    HRESULT DragEnter(IDataObject *DataObj, DWORD KeyState, TPoint Pt, DWORD &Effect) override;
    HRESULT DragOver(DWORD KeyState, TPoint Pt, DWORD &Effect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(IDataObject *DataObj, DWORD KeyState, TPoint Pt, DWORD &Effect) override;

    bool AcceptText() const { return FAcceptText; }
    void SetAcceptText(bool Value) { FAcceptText = Value; }
    bool AcceptFiles() const { return FAcceptFiles; }
    void SetAcceptFiles(bool Value) { FAcceptFiles = Value; }
    bool AcceptCols() const { return FAcceptCols; }
    void SetAcceptCols(bool Value) { FAcceptCols = Value; }
    bool AcceptURLs() const { return FAcceptURLs; }
    void SetAcceptURLs(bool Value) { FAcceptURLs = Value; }
    TDropFormats DropFormats() const { return FDropFormats; }

protected:
    // The hooks; the points are in screen coordinates.
    virtual void DropText(TPoint Pt, const UnicodeString &Text);
    // The stream belongs to the hook.
    virtual void DropStream(TPoint Pt, std::unique_ptr<TMemoryStream> Stream);
    virtual void DropCol(TPoint Pt, int Col);
    virtual void DropRTF(TPoint Pt, const UnicodeString &RTF);
    virtual void DropFiles(TPoint Pt, TStrings *Files);
    virtual void DropURL(TPoint Pt, const UnicodeString &URL);
    // Allow comes in as whether the drop would be taken; clearing it refuses the drop here.
    virtual void DragMouseMove(TPoint Pt, bool &Allow, TDropFormats DropFormats);
    virtual void DragMouseEnter();
    virtual void DragMouseLeave();

    bool FOk = false;

private:
    bool FAcceptText = true;
    bool FAcceptFiles = true;
    bool FAcceptCols = false;
    bool FAcceptURLs = true;
    TDropFormats FDropFormats;
};

class TESGDropSource : public TInterfacedObject, public IDropSource {
public:
    HRESULT QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) override;
    HRESULT GiveFeedback(DWORD Effect) override;
    // The last feedback allowed no effect.
    bool NoAccept() const { return FNoAccept; }

protected:
    // The drag ended by Escape or by the release of the left button.
    virtual void DragEnded() {}
    virtual void CurrentEffect(DWORD) {}
    virtual void QueryDrag() {}

    bool FNoAccept = false;
};

// What a drag out of a grid offers. The stream is not owned and must outlive the drag.
class TSourceDataObject : public TInterfacedObject, public IDataObject {
public:
    TSourceDataObject(const UnicodeString &Text, TMemoryStream *Stream, int Col, const UnicodeString &RTF);

    HRESULT GetData(const FORMATETC &Format, STGMEDIUM &Medium) override;
    HRESULT GetDataHere(const FORMATETC &Format, STGMEDIUM &Medium) override;
    HRESULT QueryGetData(const FORMATETC &Format) override;
    HRESULT GetCanonicalFormatEtc(const FORMATETC &Format, FORMATETC &Out) override;
    HRESULT SetData(const FORMATETC &Format, STGMEDIUM &Medium, BOOL Release) override;
    HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC **Enum) override;
    HRESULT DAdvise(const FORMATETC &Format, DWORD Advf, IUnknown *Sink, DWORD &Connection) override;
    HRESULT DUnadvise(DWORD Connection) override;
    HRESULT EnumDAdvise(IUnknown **EnumAdvise) override;

private:
    UnicodeString textdata;
    UnicodeString rtfdata;
    int scolidx = -1;
    TMemoryStream *memstr = nullptr;
};

// Text, Unicode text, rich text, then the column and the cells when the object holds them.
class TSourceEnumFormatEtc : public TInterfacedObject, public IEnumFORMATETC {
public:
    TSourceEnumFormatEtc(bool HasCol, bool HasGridCells, ULONG Index = 0);

    HRESULT Next(ULONG Celt, FORMATETC *Elt, ULONG *Fetched) override;
    HRESULT Skip(ULONG Celt) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumFORMATETC **Enum) override;

private:
    ULONG Length() const;
    FORMATETC Entry(ULONG I) const;
    ULONG FIndex = 0;
    bool FHasCol = false;
    bool FHasGridCells = false;
};

// Runs a drag of text, rich text and (when given) a stream of cells. DRAGDROP_S_CANCEL when the
// last target refused; Effect receives what the target did.
HRESULT BeginTextDrag(TESGDropSource *DropSource, const UnicodeString &Text, const UnicodeString &RTF,
                      TMemoryStream *Stream, DWORD AllowedEffects, DWORD &Effect);
HRESULT BeginColumnDrag(TESGDropSource *DropSource, int Col, DWORD AllowedEffects, DWORD &Effect);
