#pragma once
// Drag and drop between windows and programs in the shape of the classic OLE calls, carried by
// Qt's drag and drop.
//
// A data object (IDataObject) offers formats (FORMATETC) whose data travel in global memory
// blocks (STGMEDIUM with an HGLOBAL). A drop source (IDropSource) decides whether the drag goes
// on; a drop target (IDropTarget), registered for a window with RegisterDragDrop, hears the
// drag enter, move over, leave and drop. Objects are reference-counted: TInterfacedObject is
// the base of the implementations, TComPtr holds a reference.
//
// On the wire the formats travel as MIME types:
//   CF_UNICODETEXT, CF_TEXT  text/plain (UTF-8; CF_TEXT is the ANSI code page, Windows-1252)
//   "Rich Text Format"       text/rtf
//   CF_HDROP                 text/uri-list with file: URLs (the file-drop block is built when read)
//   "UniformResourceLocator" offered for a uri-list holding a link that is not a file; the link
//                            is then the Unicode text
//   "Grid Column"            application/x-grid-column (the bytes of the block)
//   "TExtStringGrid Cells"   application/x-extstringgrid-cells (the bytes of the block)
//   "HTML Format"            text/html (the document as UTF-8, null-terminated in the block)
//
// DoDragDrop is modal and runs through the modal hook (kind mkOther, class name "TDragDrop").
// While it runs, CurrentDragSession() lets a test script the drag: move to a window and point
// with a key state, then drop or press Escape. The calls reach source and target in the classic
// order: QueryContinueDrag, then the target's DragEnter / DragLeave / DragOver, then
// GiveFeedback with the target's effect; on the release QueryContinueDrag, then Drop.

#include "platform/Clipboard.h"
#include "platform/Messages.h"
#include "platform/System.h"
#include "platform/Types.h"
#include "platform/UxTheme.h"
#include "platform/Windows.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include <QByteArray>

class QMimeData;
class TWinControl;

using ULONG = std::uint32_t;
using LONG = std::int32_t;
using SIZE_T = std::size_t;

// A broken promise of an interface (a data object without a format enumerator).
FABRICOR_DECLARE_EXCEPTION(EAssertionFailed, Exception)

// ---- results ----
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064u);
inline constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003u);
inline constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100u);
inline constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101u);
inline constexpr HRESULT DRAGDROP_E_INVALIDHWND = static_cast<HRESULT>(0x80040102u);
inline constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
inline constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
inline constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;

// ---- effects and key states ----
inline constexpr DWORD DROPEFFECT_NONE = 0;
inline constexpr DWORD DROPEFFECT_COPY = 1;
inline constexpr DWORD DROPEFFECT_MOVE = 2;
inline constexpr DWORD DROPEFFECT_LINK = 4;
inline constexpr DWORD DROPEFFECT_SCROLL = 0x80000000u;

// Key states: MK_LBUTTON, MK_RBUTTON, MK_SHIFT, MK_CONTROL, MK_MBUTTON (Messages.h), and Alt.
inline constexpr DWORD MK_ALT = 0x0020;

// ---- global memory: sized, zero-filled byte blocks ----
struct TGlobalBlock;
using HGLOBAL = TGlobalBlock *;
inline constexpr unsigned GMEM_FIXED = 0x0000;
inline constexpr unsigned GMEM_MOVEABLE = 0x0002;
inline constexpr unsigned GMEM_ZEROINIT = 0x0040;
inline constexpr unsigned GMEM_SHARE = 0x2000;
inline constexpr unsigned GMEM_DDESHARE = GMEM_SHARE;
inline constexpr unsigned GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
// Blocks larger than this are refused (nullptr), as an allocation the system cannot make.
inline constexpr SIZE_T GlobalAllocLimit = SIZE_T(256) * 1024 * 1024;

// Every block is zero-filled whatever the flags. nullptr when Bytes is past the limit.
HGLOBAL GlobalAlloc(unsigned Flags, SIZE_T Bytes);
// The block's bytes (nullptr for nullptr; a block of 0 bytes gives a valid, empty pointer).
void *GlobalLock(HGLOBAL Mem);
BOOL GlobalUnlock(HGLOBAL Mem);
SIZE_T GlobalSize(HGLOBAL Mem);
// Frees the block; returns nullptr.
HGLOBAL GlobalFree(HGLOBAL Mem);
// A new block holding a copy of Size bytes at Data.
HGLOBAL GlobalFromBytes(const void *Data, SIZE_T Size);

// ---- format descriptions and media ----
inline constexpr DWORD DVASPECT_CONTENT = 1;
inline constexpr DWORD DVASPECT_THUMBNAIL = 2;
inline constexpr DWORD DVASPECT_ICON = 4;
inline constexpr DWORD DVASPECT_DOCPRINT = 8;
inline constexpr DWORD TYMED_NULL = 0;
inline constexpr DWORD TYMED_HGLOBAL = 1;
inline constexpr DWORD TYMED_FILE = 2;
inline constexpr DWORD TYMED_ISTREAM = 4;
inline constexpr DWORD DATADIR_GET = 1;
inline constexpr DWORD DATADIR_SET = 2;

struct DVTARGETDEVICE;
class IUnknown;

struct FORMATETC {
    CLIPFORMAT cfFormat = 0;
    DVTARGETDEVICE *ptd = nullptr;
    DWORD dwAspect = DVASPECT_CONTENT;
    LONG lindex = -1;
    DWORD tymed = TYMED_HGLOBAL;
};
using TFormatEtc = FORMATETC;

struct STGMEDIUM {
    DWORD tymed = TYMED_NULL;
    HGLOBAL hGlobal = nullptr;
    IUnknown *pUnkForRelease = nullptr;
};
using TStgMedium = STGMEDIUM;

// Frees the medium's block (or hands it to its releasing object) and clears the medium.
void ReleaseStgMedium(STGMEDIUM &Medium);

// The file-drop block (CF_HDROP): this header, then the names at pFiles, each null-terminated,
// the list ending with an empty name; wide names when fWide.
struct DROPFILES {
    DWORD pFiles = 0;
    TPoint pt;
    BOOL fNC = FALSE;
    BOOL fWide = FALSE;
};

// ---- the interfaces ----

class IUnknown {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

class IEnumFORMATETC : public virtual IUnknown {
public:
    virtual HRESULT Next(ULONG Celt, FORMATETC *Elt, ULONG *Fetched) = 0;
    virtual HRESULT Skip(ULONG Celt) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFORMATETC **Enum) = 0;
};

class IDataObject : public virtual IUnknown {
public:
    virtual HRESULT GetData(const FORMATETC &Format, STGMEDIUM &Medium) = 0;
    virtual HRESULT GetDataHere(const FORMATETC &Format, STGMEDIUM &Medium) = 0;
    virtual HRESULT QueryGetData(const FORMATETC &Format) = 0;
    virtual HRESULT GetCanonicalFormatEtc(const FORMATETC &Format, FORMATETC &Out) = 0;
    virtual HRESULT SetData(const FORMATETC &Format, STGMEDIUM &Medium, BOOL Release) = 0;
    virtual HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC **Enum) = 0;
    virtual HRESULT DAdvise(const FORMATETC &Format, DWORD Advf, IUnknown *Sink, DWORD &Connection) = 0;
    virtual HRESULT DUnadvise(DWORD Connection) = 0;
    virtual HRESULT EnumDAdvise(IUnknown **EnumAdvise) = 0;
};

class IDropSource : public virtual IUnknown {
public:
    virtual HRESULT QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) = 0;
    virtual HRESULT GiveFeedback(DWORD Effect) = 0;
};

class IDropTarget : public virtual IUnknown {
public:
    // Pt is in screen coordinates.
    virtual HRESULT DragEnter(IDataObject *DataObj, DWORD KeyState, TPoint Pt, DWORD &Effect) = 0;
    virtual HRESULT DragOver(DWORD KeyState, TPoint Pt, DWORD &Effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject *DataObj, DWORD KeyState, TPoint Pt, DWORD &Effect) = 0;
};

// The reference-counted base of the implementations: it starts with no reference and frees
// itself when the last one is released.
class TInterfacedObject : public TObject, public virtual IUnknown {
public:
    ULONG AddRef() override { return ++FRefCount; }
    ULONG Release() override;
    int RefCount() const { return static_cast<int>(FRefCount); }

protected:
    ~TInterfacedObject() override = default;

private:
    ULONG FRefCount = 0;
};

// Holds one reference to an interface.
template <class T>
class TComPtr {
public:
    TComPtr() = default;
    TComPtr(T *P) : FPtr(P) { if (FPtr) FPtr->AddRef(); }
    TComPtr(const TComPtr &O) : TComPtr(O.FPtr) {}
    TComPtr(TComPtr &&O) noexcept : FPtr(std::exchange(O.FPtr, nullptr)) {}
    ~TComPtr() { if (FPtr) FPtr->Release(); }
    TComPtr &operator=(TComPtr O) noexcept { std::swap(FPtr, O.FPtr); return *this; }
    T *operator->() const { return FPtr; }
    T *Get() const { return FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }
    // Takes over a reference that was already counted (an out argument).
    void Attach(T *P) { if (FPtr) FPtr->Release(); FPtr = P; }
    // For out arguments: releases the held reference and answers the slot.
    T **Put() { Attach(nullptr); return &FPtr; }

private:
    T *FPtr = nullptr;
};

// ---- registration and the drag ----

// The window's control accepts drops; Qt's drag events reach Target (held referenced until
// revoked or until the window goes).
HRESULT RegisterDragDrop(HWND Wnd, IDropTarget *Target);
HRESULT RevokeDragDrop(HWND Wnd);

// Runs a drag of DataObj: returns DRAGDROP_S_DROP (Effect = what the target did) or
// DRAGDROP_S_CANCEL (Effect = none), E_INVALIDARG without an object or source.
HRESULT DoDragDrop(IDataObject *DataObj, IDropSource *Source, DWORD OkEffects, DWORD *Effect);

// A drag under way, for a test to drive from inside the modal hook.
class TDragSession {
public:
    virtual ~TDragSession() = default;
    // The pointer moves to Pt (Target's client coordinates) with KeyState (MK_LBUTTON for the
    // held button, MK_CONTROL, MK_SHIFT). Target nullptr: over no registered window. Answers
    // false once the drag has ended.
    virtual bool MoveTo(TWinControl *Target, TPoint Pt, DWORD KeyState = MK_LBUTTON) = 0;
    // The left button goes up where the pointer is.
    virtual void Release(DWORD KeyState = 0) = 0;
    // Escape is pressed.
    virtual void Escape() = 0;
    // The effect the current target answered last.
    virtual DWORD Effect() const = 0;
    virtual bool Ended() const = 0;
    // The data as it travels (the MIME form of the data object).
    virtual const QMimeData *MimeData() const = 0;
};
// The drag the modal hook runs now; nullptr outside a drag.
TDragSession *CurrentDragSession();

// ---- the MIME bridge ----
// The MIME form of the formats DataObj offers (new object, caller owns it).
QMimeData *DataObjectToMime(IDataObject *DataObj);
// A data object that reads MIME data (copied at the call) in the formats above.
IDataObject *MimeToDataObject(const QMimeData *Mime);
// The CF_UNICODETEXT block of a text: UTF-16, null-terminated.
QByteArray UnicodeTextBlock(const UnicodeString &Text);
// A data object that offers the blocks as given, in that order.
IDataObject *BlocksToDataObject(const std::vector<std::pair<CLIPFORMAT, QByteArray>> &Blocks);
