#include "controls/esgdd.h"

#include "platform/Encoding.h"

#include <cstring>

namespace {

struct TFormats {
    CLIPFORMAT Rtf, Column, Cells, Url;
};

const TFormats &Formats()
{
    // Registered once, before anything reads or offers them, so that no reader ever compares
    // against an unregistered 0.
    static const TFormats f{
        static_cast<CLIPFORMAT>(RegisterClipboardFormat(QStringLiteral("Rich Text Format"))),
        static_cast<CLIPFORMAT>(RegisterClipboardFormat(QStringLiteral("Grid Column"))),
        static_cast<CLIPFORMAT>(RegisterClipboardFormat(QStringLiteral("TExtStringGrid Cells"))),
        static_cast<CLIPFORMAT>(RegisterClipboardFormat(QStringLiteral("UniformResourceLocator"))),
    };
    return f;
}

bool GAllowRTF = false;

// Entries read from a foreign enumerator before it counts as endless.
constexpr int MaxFormatEntries = 1024;

bool Acceptable(const FORMATETC &F)
{
    return F.dwAspect == DVASPECT_CONTENT && (F.tymed & TYMED_HGLOBAL) != 0;
}

QByteArray AnsiWithNull(const UnicodeString &S)
{
    QByteArray b = TEncoding::ANSI()->GetBytes(S);
    b += '\0';
    return b;
}

} // namespace

CLIPFORMAT CF_RTF() { return Formats().Rtf; }
CLIPFORMAT CF_GRIDCOLUMN() { return Formats().Column; }
CLIPFORMAT CF_GRIDCELLS() { return Formats().Cells; }
CLIPFORMAT CF_URL() { return Formats().Url; }

void AllowRTFDragDrop(bool Value) { GAllowRTF = Value; }
bool RTFDragDropAllowed() { return GAllowRTF; }

DWORD KeysToDropEffect(DWORD KeyState, DWORD AllowedEffects)
{
    if (KeyState & MK_CONTROL)
        return DROPEFFECT_COPY;
    if (AllowedEffects & DROPEFFECT_MOVE)
        return DROPEFFECT_MOVE;
    return DROPEFFECT_COPY;
}

// ---- TEnumFormats ----

TEnumFormats::TEnumFormats(IDataObject *DataObject) : FFiles(std::make_unique<TStringList>())
{
    Formats();
    SetDataObject(DataObject);
}

TEnumFormats::~TEnumFormats() = default;

void TEnumFormats::SetDataObject(IDataObject *Value)
{
    FEnumerator = TComPtr<IEnumFORMATETC>();
    FDataObject = TComPtr<IDataObject>(Value);
    FValid = false;
    FCount = 0;
    if (!Value)
        return;
    if (Value->EnumFormatEtc(DATADIR_GET, FEnumerator.Put()) != S_OK || !FEnumerator)
        throw EAssertionFailed(QStringLiteral("Cannot get the format enumerator"));
    Reset();
}

bool TEnumFormats::Reset()
{
    FValid = false;
    FCount = 0;
    return FEnumerator && FEnumerator->Reset() == S_OK;
}

bool TEnumFormats::Next()
{
    ++FCount;
    ULONG got = 0;
    FValid = FEnumerator && FEnumerator->Next(1, &FFormatEtc, &got) == S_OK && got == 1;
    return FValid;
}

bool TEnumFormats::HasFormat(CLIPFORMAT Format)
{
    if (!Reset())
        return false;
    while (FCount < MaxFormatEntries && Next())
        if (FFormatEtc.cfFormat == Format)
            return true;
    FValid = false;
    return false;
}

HGLOBAL TEnumFormats::Handle(DWORD Medium)
{
    if (!FValid || !FDataObject || !(FFormatEtc.tymed & Medium))
        return nullptr;
    FORMATETC fe = FFormatEtc;
    fe.tymed = Medium;
    STGMEDIUM m;
    if (FDataObject->GetData(fe, m) != S_OK)
        return nullptr;
    if (m.tymed != TYMED_HGLOBAL || !m.hGlobal || m.pUnkForRelease) {
        // Only a block of our own to hand over counts.
        HGLOBAL copy = nullptr;
        if (m.tymed == TYMED_HGLOBAL && m.hGlobal)
            copy = GlobalFromBytes(GlobalLock(m.hGlobal), GlobalSize(m.hGlobal));
        ReleaseStgMedium(m);
        return copy;
    }
    return m.hGlobal;
}

bool TEnumFormats::ReadBlock(CLIPFORMAT Format, QByteArray &Out)
{
    if (!HasFormat(Format))
        return false;
    HGLOBAL h = GlobalHandle();
    if (!h)
        return false;
    Out = QByteArray(static_cast<const char *>(GlobalLock(h)), static_cast<qsizetype>(GlobalSize(h)));
    GlobalUnlock(h);
    GlobalFree(h);
    return true;
}

int TEnumFormats::ReadInteger(CLIPFORMAT Format)
{
    QByteArray b;
    if (!ReadBlock(Format, b) || b.size() < 4)
        return -1;
    std::int32_t v = 0;
    std::memcpy(&v, b.constData(), 4);
    return v;
}

std::unique_ptr<TMemoryStream> TEnumFormats::ReadStream(CLIPFORMAT Format)
{
    QByteArray b;
    if (!ReadBlock(Format, b) || b.size() < 8)
        return nullptr;
    std::int32_t n = 0;
    std::memcpy(&n, b.constData(), 4);
    // Foreign data: a length that claims more than the block holds gives no stream.
    if (n < 0 || n > b.size() - 8)
        return nullptr;
    auto ms = std::make_unique<TMemoryStream>();
    if (n > 0)
        ms->WriteBuffer(b.constData() + 8, n);
    ms->SetPosition(0);
    return ms;
}

UnicodeString TEnumFormats::ReadUnicodeText(CLIPFORMAT Format)
{
    QByteArray b;
    if (!ReadBlock(Format, b))
        return {};
    UnicodeString s;
    const qsizetype chars = b.size() / 2;
    s.reserve(chars);
    for (qsizetype i = 0; i < chars; ++i) {
        const char16_t c = static_cast<char16_t>(static_cast<Byte>(b[2 * i]) | (static_cast<Byte>(b[2 * i + 1]) << 8));
        if (c == 0)
            break;
        s += QChar(c);
    }
    return s;
}

UnicodeString TEnumFormats::ReadAnsiText(CLIPFORMAT Format)
{
    QByteArray b;
    if (!ReadBlock(Format, b))
        return {};
    const qsizetype n = b.indexOf('\0');
    return TEncoding::ANSI()->GetString(n < 0 ? b : b.left(n));
}

bool TEnumFormats::ReadFileNames()
{
    FFiles->Clear();
    QByteArray b;
    if (!ReadBlock(CF_HDROP, b) || b.size() < static_cast<qsizetype>(sizeof(DROPFILES)))
        return false;
    DROPFILES h;
    std::memcpy(&h, b.constData(), sizeof h);
    qsizetype pos = h.pFiles;
    // Names run to the block's end at the latest, whatever terminators the data lacks.
    while (pos >= 0 && pos < b.size()) {
        UnicodeString name;
        if (h.fWide) {
            while (pos + 1 < b.size()) {
                const char16_t c = static_cast<char16_t>(static_cast<Byte>(b[pos]) | (static_cast<Byte>(b[pos + 1]) << 8));
                pos += 2;
                if (c == 0)
                    break;
                name += QChar(c);
            }
        } else {
            const qsizetype end = b.indexOf('\0', pos);
            const qsizetype stop = end < 0 ? b.size() : end;
            name = TEncoding::ANSI()->GetString(b.mid(pos, stop - pos));
            pos = stop + 1;
        }
        if (name.isEmpty())
            break;
        FFiles->Add(name);
    }
    return FFiles->Count() > 0;
}

// ---- TESGDropTarget ----

TESGDropTarget::TESGDropTarget() = default;

void TESGDropTarget::DropText(TPoint, const UnicodeString &) {}
void TESGDropTarget::DropStream(TPoint, std::unique_ptr<TMemoryStream>) {}
void TESGDropTarget::DropCol(TPoint, int) {}
void TESGDropTarget::DropRTF(TPoint, const UnicodeString &) {}
void TESGDropTarget::DropFiles(TPoint, TStrings *) {}
void TESGDropTarget::DropURL(TPoint, const UnicodeString &) {}
void TESGDropTarget::DragMouseMove(TPoint, bool &, TDropFormats) {}
void TESGDropTarget::DragMouseEnter() {}
void TESGDropTarget::DragMouseLeave() {}

HRESULT TESGDropTarget::DragEnter(IDataObject *DataObj, DWORD KeyState, TPoint, DWORD &Effect)
{
    TEnumFormats fmt(DataObj);
    const bool text = fmt.HasText();
    const bool files = fmt.HasFile();
    const bool rtf = fmt.HasRTF();
    const bool col = fmt.HasCol();
    const bool url = fmt.HasURL();
    const bool cells = fmt.HasGridCells();
    FOk = (text && FAcceptText) || (files && FAcceptFiles) || (rtf && GAllowRTF && FAcceptText) ||
          (col && FAcceptCols) || (url && FAcceptURLs) || cells;
    FDropFormats = TDropFormats();
    if (text)
        FDropFormats << dfText;
    if (files)
        FDropFormats << dfFile;
    if (rtf)
        FDropFormats << dfRTF;
    if (col)
        FDropFormats << dfCol;
    if (url)
        FDropFormats << dfURL;
    if (cells)
        FDropFormats << dfGridCells;
    Effect = FOk ? KeysToDropEffect(KeyState, Effect) : DROPEFFECT_NONE;
    DragMouseEnter();
    return S_OK;
}

HRESULT TESGDropTarget::DragOver(DWORD KeyState, TPoint Pt, DWORD &Effect)
{
    Effect = FOk ? KeysToDropEffect(KeyState, Effect) : DROPEFFECT_NONE;
    bool allow = Effect != DROPEFFECT_NONE;
    DragMouseMove(Pt, allow, FDropFormats);
    if (!allow)
        Effect = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TESGDropTarget::DragLeave()
{
    DragMouseLeave();
    return S_OK;
}

HRESULT TESGDropTarget::Drop(IDataObject *DataObj, DWORD KeyState, TPoint Pt, DWORD &Effect)
{
    if (!FOk) {
        Effect = DROPEFFECT_NONE;
        return S_OK;
    }
    TEnumFormats fmt(DataObj);
    if (fmt.HasCol()) {
        DropCol(Pt, fmt.Col());
    } else {
        if (fmt.HasGridCells()) {
            if (auto s = fmt.Stream())
                DropStream(Pt, std::move(s));
        } else if (GAllowRTF && fmt.HasRTF()) {
            DropRTF(Pt, fmt.RTF());
        } else if (fmt.HasText()) {
            DropText(Pt, fmt.Text());
        }
        if (fmt.HasFile() && fmt.ReadFileNames())
            DropFiles(Pt, fmt.Files());
        if (fmt.HasURL())
            DropURL(Pt, fmt.Text());
    }
    Effect = KeysToDropEffect(KeyState, Effect);
    return S_OK;
}

// ---- TESGDropSource ----

HRESULT TESGDropSource::QueryContinueDrag(BOOL EscapePressed, DWORD KeyState)
{
    HRESULT r = S_OK;
    if (EscapePressed) {
        DragEnded();
        r = DRAGDROP_S_CANCEL;
    } else if (!(KeyState & MK_LBUTTON)) {
        DragEnded();
        r = DRAGDROP_S_DROP;
    }
    QueryDrag();
    return r;
}

HRESULT TESGDropSource::GiveFeedback(DWORD Effect)
{
    FNoAccept = Effect == DROPEFFECT_NONE;
    CurrentEffect(Effect);
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---- TSourceDataObject ----

TSourceDataObject::TSourceDataObject(const UnicodeString &Text, TMemoryStream *Stream, int Col, const UnicodeString &RTF)
    : textdata(Text), rtfdata(RTF), scolidx(Col), memstr(Stream)
{
    Formats();
}

HRESULT TSourceDataObject::QueryGetData(const FORMATETC &Format)
{
    if (!Acceptable(Format))
        return DV_E_FORMATETC;
    const CLIPFORMAT f = Format.cfFormat;
    if ((f == CF_TEXT || f == CF_UNICODETEXT || (f == CF_RTF() && GAllowRTF)) && !textdata.isEmpty())
        return S_OK;
    if (f == CF_GRIDCELLS() && memstr)
        return S_OK;
    if (f == CF_GRIDCOLUMN() && scolidx != -1)
        return S_OK;
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(const FORMATETC &Format, STGMEDIUM &Medium)
{
    Medium = STGMEDIUM{};
    if (QueryGetData(Format) != S_OK)
        return DV_E_FORMATETC;
    const CLIPFORMAT f = Format.cfFormat;
    HGLOBAL h = nullptr;
    if (f == CF_TEXT) {
        const QByteArray b = AnsiWithNull(textdata);
        h = GlobalFromBytes(b.constData(), static_cast<SIZE_T>(b.size()));
    } else if (f == CF_UNICODETEXT) {
        h = GlobalAlloc(GHND | GMEM_SHARE, static_cast<SIZE_T>(textdata.size()) * 2 + 2);
        if (h) {
            auto *p = static_cast<Byte *>(GlobalLock(h));
            for (qsizetype i = 0; i < textdata.size(); ++i) {
                p[2 * i] = static_cast<Byte>(textdata[i].unicode() & 0xFF);
                p[2 * i + 1] = static_cast<Byte>(textdata[i].unicode() >> 8);
            }
            GlobalUnlock(h);
        }
    } else if (f == CF_RTF()) {
        const QByteArray b = AnsiWithNull(rtfdata);
        h = GlobalFromBytes(b.constData(), static_cast<SIZE_T>(b.size()));
    } else if (f == CF_GRIDCOLUMN()) {
        const std::int32_t v = scolidx;
        h = GlobalFromBytes(&v, 4);
    } else if (f == CF_GRIDCELLS()) {
        const Int64 n = memstr->Size();
        if (n >= 0 && static_cast<std::uint64_t>(n) <= GlobalAllocLimit - 8 && n <= 0x7FFFFFFF) {
            h = GlobalAlloc(GHND | GMEM_SHARE, static_cast<SIZE_T>(n) + 8);
            if (h) {
                auto *p = static_cast<Byte *>(GlobalLock(h));
                const std::int32_t len = static_cast<std::int32_t>(n);
                std::memcpy(p, &len, 4);
                if (n > 0)
                    std::memcpy(p + 8, memstr->Memory(), static_cast<std::size_t>(n));
                GlobalUnlock(h);
            }
        }
    }
    if (!h)
        return DV_E_FORMATETC;
    Medium.tymed = TYMED_HGLOBAL;
    Medium.hGlobal = h;
    return S_OK;
}

HRESULT TSourceDataObject::GetDataHere(const FORMATETC &, STGMEDIUM &) { return DV_E_FORMATETC; }
HRESULT TSourceDataObject::SetData(const FORMATETC &, STGMEDIUM &, BOOL) { return DV_E_FORMATETC; }

HRESULT TSourceDataObject::GetCanonicalFormatEtc(const FORMATETC &, FORMATETC &Out)
{
    Out.ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT TSourceDataObject::EnumFormatEtc(DWORD Direction, IEnumFORMATETC **Enum)
{
    if (!Enum)
        return E_POINTER;
    *Enum = nullptr;
    if (Direction != DATADIR_GET)
        return E_NOTIMPL;
    *Enum = new TSourceEnumFormatEtc(scolidx != -1, memstr != nullptr);
    (*Enum)->AddRef();
    return S_OK;
}

HRESULT TSourceDataObject::DAdvise(const FORMATETC &, DWORD, IUnknown *, DWORD &) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT TSourceDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT TSourceDataObject::EnumDAdvise(IUnknown **EnumAdvise)
{
    if (EnumAdvise)
        *EnumAdvise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

// ---- TSourceEnumFormatEtc ----

TSourceEnumFormatEtc::TSourceEnumFormatEtc(bool HasCol, bool HasGridCells, ULONG Index)
    : FIndex(Index), FHasCol(HasCol), FHasGridCells(HasGridCells)
{
}

ULONG TSourceEnumFormatEtc::Length() const
{
    return 3 + (FHasCol ? 1 : 0) + (FHasGridCells ? 1 : 0);
}

FORMATETC TSourceEnumFormatEtc::Entry(ULONG I) const
{
    FORMATETC fe;
    switch (I) {
    case 0: fe.cfFormat = CF_TEXT; break;
    case 1: fe.cfFormat = CF_UNICODETEXT; break;
    case 2: fe.cfFormat = CF_RTF(); break;
    case 3: fe.cfFormat = FHasCol ? CF_GRIDCOLUMN() : CF_GRIDCELLS(); break;
    default: fe.cfFormat = CF_GRIDCELLS(); break;
    }
    return fe;
}

HRESULT TSourceEnumFormatEtc::Next(ULONG Celt, FORMATETC *Elt, ULONG *Fetched)
{
    ULONG n = 0;
    while (Elt && n < Celt && FIndex < Length())
        Elt[n++] = Entry(FIndex++);
    if (Fetched)
        *Fetched = n;
    return n == Celt ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(ULONG Celt)
{
    const std::uint64_t to = static_cast<std::uint64_t>(FIndex) + Celt;
    if (to <= Length()) {
        FIndex = static_cast<ULONG>(to);
        return S_OK;
    }
    FIndex = Length();
    return S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Reset()
{
    FIndex = 0;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(IEnumFORMATETC **Enum)
{
    if (!Enum)
        return E_POINTER;
    *Enum = new TSourceEnumFormatEtc(FHasCol, FHasGridCells, FIndex);
    (*Enum)->AddRef();
    return S_OK;
}

// ---- the drags ----

namespace {

HRESULT RunDrag(TSourceDataObject *Obj, TESGDropSource *DropSource, DWORD AllowedEffects, DWORD &Effect)
{
    TComPtr<IDataObject> data(Obj);
    TComPtr<IDropSource> source(DropSource);
    Effect = DROPEFFECT_NONE;
    const HRESULT hr = DoDragDrop(data.Get(), source.Get(), AllowedEffects, &Effect);
    if (DropSource && DropSource->NoAccept())
        return DRAGDROP_S_CANCEL;
    return hr;
}

} // namespace

HRESULT BeginTextDrag(TESGDropSource *DropSource, const UnicodeString &Text, const UnicodeString &RTF,
                      TMemoryStream *Stream, DWORD AllowedEffects, DWORD &Effect)
{
    return RunDrag(new TSourceDataObject(Text, Stream, -1, RTF), DropSource, AllowedEffects, Effect);
}

HRESULT BeginColumnDrag(TESGDropSource *DropSource, int Col, DWORD AllowedEffects, DWORD &Effect)
{
    return RunDrag(new TSourceDataObject(UnicodeString(), nullptr, Col, UnicodeString()), DropSource, AllowedEffects,
                   Effect);
}
