#include "platform/ActiveX.h"

#include "platform/Controls.h"
#include "platform/ControlsPrivate.h"
#include "platform/Encoding.h"
#include "platform/Forms.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

static_assert(sizeof(DROPFILES) == 20, "the file-drop header is 20 bytes");

// ---- global memory ----

struct TGlobalBlock {
    std::vector<Byte> Data;
    SIZE_T Size = 0;
};

HGLOBAL GlobalAlloc(unsigned, SIZE_T Bytes)
{
    if (Bytes > GlobalAllocLimit)
        return nullptr;
    auto *b = new TGlobalBlock;
    // One spare byte keeps the pointer of an empty block valid.
    b->Data.assign(Bytes + 1, 0);
    b->Size = Bytes;
    return b;
}

void *GlobalLock(HGLOBAL Mem) { return Mem ? Mem->Data.data() : nullptr; }
BOOL GlobalUnlock(HGLOBAL Mem) { return Mem ? TRUE : FALSE; }
SIZE_T GlobalSize(HGLOBAL Mem) { return Mem ? Mem->Size : 0; }

HGLOBAL GlobalFree(HGLOBAL Mem)
{
    delete Mem;
    return nullptr;
}

HGLOBAL GlobalFromBytes(const void *Data, SIZE_T Size)
{
    HGLOBAL h = GlobalAlloc(GHND, Size);
    if (h && Size > 0 && Data)
        std::memcpy(GlobalLock(h), Data, Size);
    return h;
}

void ReleaseStgMedium(STGMEDIUM &Medium)
{
    if (Medium.pUnkForRelease)
        Medium.pUnkForRelease->Release();
    else if (Medium.tymed == TYMED_HGLOBAL && Medium.hGlobal)
        GlobalFree(Medium.hGlobal);
    Medium = STGMEDIUM{};
}

ULONG TInterfacedObject::Release()
{
    const ULONG n = --FRefCount;
    if (n == 0)
        delete this;
    return n;
}

// ---- formats on the wire ----

namespace {

const char *const MimeRtf = "text/rtf";
const char *const MimeColumn = "application/x-grid-column";
const char *const MimeCells = "application/x-extstringgrid-cells";

struct TNamedFormats {
    CLIPFORMAT Rtf = 0;
    CLIPFORMAT Column = 0;
    CLIPFORMAT Cells = 0;
    CLIPFORMAT Url = 0;
    CLIPFORMAT Html = 0;
};

const TNamedFormats &NamedFormats()
{
    static const TNamedFormats f = [] {
        TNamedFormats r;
        r.Rtf = static_cast<CLIPFORMAT>(RegisterClipboardFormat(QStringLiteral("Rich Text Format")));
        r.Column = static_cast<CLIPFORMAT>(RegisterClipboardFormat(QStringLiteral("Grid Column")));
        r.Cells = static_cast<CLIPFORMAT>(RegisterClipboardFormat(QStringLiteral("TExtStringGrid Cells")));
        r.Url = static_cast<CLIPFORMAT>(RegisterClipboardFormat(QStringLiteral("UniformResourceLocator")));
        r.Html = static_cast<CLIPFORMAT>(RegisterClipboardFormat(QStringLiteral("HTML Format")));
        return r;
    }();
    return f;
}

// The bytes of a format as the object gives them; empty when it gives none.
bool FetchBytes(IDataObject *Obj, CLIPFORMAT Format, QByteArray &Out)
{
    FORMATETC fe;
    fe.cfFormat = Format;
    STGMEDIUM m;
    if (Obj->GetData(fe, m) != S_OK)
        return false;
    bool ok = false;
    if (m.tymed == TYMED_HGLOBAL && m.hGlobal) {
        const auto *p = static_cast<const char *>(GlobalLock(m.hGlobal));
        Out = QByteArray(p, static_cast<qsizetype>(GlobalSize(m.hGlobal)));
        GlobalUnlock(m.hGlobal);
        ok = true;
    }
    ReleaseStgMedium(m);
    return ok;
}

// Up to the first null byte (the whole block without one).
QByteArray UntilNull(const QByteArray &B)
{
    const qsizetype n = B.indexOf('\0');
    return n < 0 ? B : B.left(n);
}

UnicodeString WideUntilNull(const QByteArray &B)
{
    const qsizetype chars = B.size() / 2;
    UnicodeString s;
    s.reserve(chars);
    for (qsizetype i = 0; i < chars; ++i) {
        const char16_t c = static_cast<char16_t>(static_cast<Byte>(B[2 * i]) | (static_cast<Byte>(B[2 * i + 1]) << 8));
        if (c == 0)
            break;
        s += QChar(c);
    }
    return s;
}

QByteArray WideWithNull(const UnicodeString &S)
{
    QByteArray b;
    b.reserve((S.size() + 1) * 2);
    for (QChar c : S) {
        b += static_cast<char>(c.unicode() & 0xFF);
        b += static_cast<char>(c.unicode() >> 8);
    }
    b += '\0';
    b += '\0';
    return b;
}

// The names of a file-drop block; a hostile block stops at its end.
std::vector<UnicodeString> FileDropNames(const QByteArray &B)
{
    std::vector<UnicodeString> names;
    if (B.size() < static_cast<qsizetype>(sizeof(DROPFILES)))
        return names;
    DROPFILES h;
    std::memcpy(&h, B.constData(), sizeof h);
    qsizetype pos = h.pFiles;
    if (pos < 0 || pos >= B.size())
        return names;
    while (pos < B.size()) {
        UnicodeString name;
        if (h.fWide) {
            const QByteArray rest = B.mid(pos);
            name = WideUntilNull(rest);
            pos += (name.size() + 1) * 2;
        } else {
            const QByteArray rest = UntilNull(B.mid(pos));
            name = TEncoding::ANSI()->GetString(rest);
            pos += rest.size() + 1;
        }
        if (name.isEmpty())
            break;
        names.push_back(name);
    }
    return names;
}

QByteArray FileDropBlock(const std::vector<UnicodeString> &Names)
{
    DROPFILES h;
    h.pFiles = sizeof(DROPFILES);
    h.fWide = TRUE;
    QByteArray b(reinterpret_cast<const char *>(&h), sizeof h);
    for (const UnicodeString &n : Names)
        b += WideWithNull(n);
    b += '\0';
    b += '\0';
    return b;
}

} // namespace

QByteArray UnicodeTextBlock(const UnicodeString &Text)
{
    return WideWithNull(Text);
}

namespace {

// ---- a list of format descriptions to enumerate ----

class TFormatListEnum : public TInterfacedObject, public IEnumFORMATETC {
public:
    TFormatListEnum(std::vector<FORMATETC> List, ULONG Index) : FList(std::move(List)), FIndex(Index) {}

    HRESULT Next(ULONG Celt, FORMATETC *Elt, ULONG *Fetched) override
    {
        ULONG n = 0;
        while (n < Celt && FIndex < FList.size() && Elt)
            Elt[n++] = FList[FIndex++];
        if (Fetched)
            *Fetched = n;
        return n == Celt ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG Celt) override
    {
        FIndex += Celt;
        if (FIndex <= FList.size())
            return S_OK;
        FIndex = static_cast<ULONG>(FList.size());
        return S_FALSE;
    }
    HRESULT Reset() override
    {
        FIndex = 0;
        return S_OK;
    }
    HRESULT Clone(IEnumFORMATETC **Enum) override
    {
        if (!Enum)
            return E_POINTER;
        *Enum = new TFormatListEnum(FList, FIndex);
        (*Enum)->AddRef();
        return S_OK;
    }

private:
    std::vector<FORMATETC> FList;
    ULONG FIndex = 0;
};

// Incoming MIME data in the classic formats; the blocks are built once, when it is made.
class TMimeDataObject : public TInterfacedObject, public IDataObject {
public:
    explicit TMimeDataObject(std::vector<std::pair<FORMATETC, QByteArray>> Entries) : FEntries(std::move(Entries)) {}

    explicit TMimeDataObject(const QMimeData *Mime)
    {
        if (!Mime)
            return;
        const TNamedFormats &nf = NamedFormats();
        // Qt also answers a uri-list as text; only a plain-text format counts as text here.
        bool plain = false;
        for (const QString &f : Mime->formats())
            plain = plain || f.startsWith(QLatin1String("text/plain"));
        UnicodeString text = plain ? Mime->text() : UnicodeString();
        std::vector<UnicodeString> files;
        std::vector<UnicodeString> links;
        if (Mime->hasUrls())
            for (const QUrl &u : Mime->urls()) {
                if (u.isLocalFile())
                    files.push_back(u.toLocalFile());
                else if (u.isValid() && !u.isEmpty())
                    links.push_back(u.toString());
            }
        if (text.isEmpty() && !links.empty())
            text = links.front();
        if (!text.isEmpty()) {
            Add(CF_UNICODETEXT, WideWithNull(text));
            Add(CF_TEXT, TEncoding::ANSI()->GetBytes(text) + QByteArray(1, '\0'));
        }
        if (Mime->hasFormat(QString::fromLatin1(MimeRtf)))
            Add(nf.Rtf, UntilNull(Mime->data(QString::fromLatin1(MimeRtf))) + QByteArray(1, '\0'));
        if (!files.empty())
            Add(CF_HDROP, FileDropBlock(files));
        if (!links.empty())
            Add(nf.Url, TEncoding::ANSI()->GetBytes(links.front()) + QByteArray(1, '\0'));
        if (Mime->hasFormat(QString::fromLatin1(MimeColumn)))
            Add(nf.Column, Mime->data(QString::fromLatin1(MimeColumn)));
        if (Mime->hasFormat(QString::fromLatin1(MimeCells)))
            Add(nf.Cells, Mime->data(QString::fromLatin1(MimeCells)));
        if (Mime->hasHtml())
            Add(nf.Html, Mime->html().toUtf8() + QByteArray(1, '\0'));
    }

    HRESULT GetData(const FORMATETC &Format, STGMEDIUM &Medium) override
    {
        Medium = STGMEDIUM{};
        const QByteArray *b = Find(Format);
        if (!b)
            return DV_E_FORMATETC;
        Medium.hGlobal = GlobalFromBytes(b->constData(), static_cast<SIZE_T>(b->size()));
        if (!Medium.hGlobal)
            return E_OUTOFMEMORY;
        Medium.tymed = TYMED_HGLOBAL;
        return S_OK;
    }
    HRESULT GetDataHere(const FORMATETC &, STGMEDIUM &) override { return DV_E_FORMATETC; }
    HRESULT QueryGetData(const FORMATETC &Format) override { return Find(Format) ? S_OK : DV_E_FORMATETC; }
    HRESULT GetCanonicalFormatEtc(const FORMATETC &, FORMATETC &Out) override
    {
        Out.ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT SetData(const FORMATETC &, STGMEDIUM &, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC **Enum) override
    {
        if (!Enum)
            return E_POINTER;
        *Enum = nullptr;
        if (Direction != DATADIR_GET)
            return E_NOTIMPL;
        std::vector<FORMATETC> list;
        for (const auto &e : FEntries)
            list.push_back(e.first);
        *Enum = new TFormatListEnum(std::move(list), 0);
        (*Enum)->AddRef();
        return S_OK;
    }
    HRESULT DAdvise(const FORMATETC &, DWORD, IUnknown *, DWORD &) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IUnknown **E) override
    {
        if (E)
            *E = nullptr;
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    void Add(CLIPFORMAT Format, const QByteArray &Bytes)
    {
        FORMATETC fe;
        fe.cfFormat = Format;
        FEntries.emplace_back(fe, Bytes);
    }
    const QByteArray *Find(const FORMATETC &Format) const
    {
        if (Format.dwAspect != DVASPECT_CONTENT || !(Format.tymed & TYMED_HGLOBAL))
            return nullptr;
        for (const auto &e : FEntries)
            if (e.first.cfFormat == Format.cfFormat)
                return &e.second;
        return nullptr;
    }
    std::vector<std::pair<FORMATETC, QByteArray>> FEntries;
};

} // namespace

QMimeData *DataObjectToMime(IDataObject *DataObj)
{
    auto *mime = new QMimeData;
    if (!DataObj)
        return mime;
    TComPtr<IEnumFORMATETC> en;
    if (DataObj->EnumFormatEtc(DATADIR_GET, en.Put()) != S_OK || !en)
        return mime;
    const TNamedFormats &nf = NamedFormats();
    std::vector<CLIPFORMAT> offered;
    FORMATETC fe;
    ULONG got = 0;
    // A bound on the entries keeps a foreign enumerator that never ends from hanging the drag.
    while (offered.size() < 256 && en->Next(1, &fe, &got) == S_OK && got == 1)
        offered.push_back(fe.cfFormat);
    auto has = [&](CLIPFORMAT f) { return std::find(offered.begin(), offered.end(), f) != offered.end(); };

    QByteArray b;
    UnicodeString text;
    if (has(CF_UNICODETEXT) && FetchBytes(DataObj, CF_UNICODETEXT, b))
        text = WideUntilNull(b);
    else if (has(CF_TEXT) && FetchBytes(DataObj, CF_TEXT, b))
        text = TEncoding::ANSI()->GetString(UntilNull(b));
    if (!text.isEmpty())
        mime->setText(text);
    if (has(nf.Rtf) && FetchBytes(DataObj, nf.Rtf, b))
        mime->setData(QString::fromLatin1(MimeRtf), UntilNull(b));
    QList<QUrl> urls;
    if (has(CF_HDROP) && FetchBytes(DataObj, CF_HDROP, b))
        for (const UnicodeString &n : FileDropNames(b))
            urls.append(QUrl::fromLocalFile(n));
    if (has(nf.Url) && !text.isEmpty()) {
        const QUrl u(text.trimmed());
        if (u.isValid() && !u.scheme().isEmpty())
            urls.append(u);
    }
    if (!urls.isEmpty())
        mime->setUrls(urls);
    if (has(nf.Column) && FetchBytes(DataObj, nf.Column, b))
        mime->setData(QString::fromLatin1(MimeColumn), b);
    if (has(nf.Cells) && FetchBytes(DataObj, nf.Cells, b))
        mime->setData(QString::fromLatin1(MimeCells), b);
    if (has(nf.Html) && FetchBytes(DataObj, nf.Html, b))
        mime->setHtml(QString::fromUtf8(UntilNull(b)));
    return mime;
}

IDataObject *MimeToDataObject(const QMimeData *Mime)
{
    return new TMimeDataObject(Mime);
}

IDataObject *BlocksToDataObject(const std::vector<std::pair<CLIPFORMAT, QByteArray>> &Blocks)
{
    std::vector<std::pair<FORMATETC, QByteArray>> entries;
    for (const auto &b : Blocks) {
        FORMATETC fe;
        fe.cfFormat = b.first;
        entries.emplace_back(fe, b.second);
    }
    return new TMimeDataObject(std::move(entries));
}

// ---- drop targets of windows ----

namespace {

DWORD KeyStateOf(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Mods)
{
    // Drag key states also carry Alt, which mouse messages leave out.
    DWORD k = DWORD(platform_detail::MouseKeys(Buttons, Mods));
    if (Mods & Qt::AltModifier)
        k |= MK_ALT;
    return k;
}

DWORD EffectsOf(Qt::DropActions A)
{
    DWORD e = 0;
    if (A & Qt::CopyAction)
        e |= DROPEFFECT_COPY;
    if (A & Qt::MoveAction)
        e |= DROPEFFECT_MOVE;
    if (A & Qt::LinkAction)
        e |= DROPEFFECT_LINK;
    return e;
}

Qt::DropActions ActionsOf(DWORD E)
{
    Qt::DropActions a;
    if (E & DROPEFFECT_COPY)
        a |= Qt::CopyAction;
    if (E & DROPEFFECT_MOVE)
        a |= Qt::MoveAction;
    if (E & DROPEFFECT_LINK)
        a |= Qt::LinkAction;
    return a;
}

// The one action Qt performs for an effect: move before copy before link.
Qt::DropAction ActionOf(DWORD E)
{
    if (E & DROPEFFECT_MOVE)
        return Qt::MoveAction;
    if (E & DROPEFFECT_COPY)
        return Qt::CopyAction;
    if (E & DROPEFFECT_LINK)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

class TDropFilter;

struct TRegistration {
    QPointer<QWidget> Widget;
    TComPtr<IDropTarget> Target;
    TDropFilter *Filter = nullptr;
};

std::map<HWND, TRegistration> &Registrations()
{
    static std::map<HWND, TRegistration> r;
    return r;
}

// Turns Qt's drag events on one widget into the target's calls.
class TDropFilter : public QObject {
public:
    TDropFilter(QWidget *W, IDropTarget *Target) : QObject(W), FWidget(W), FTarget(Target) {}

    bool eventFilter(QObject *Obj, QEvent *E) override
    {
        if (Obj != FWidget)
            return false;
        // The target's calls run from Qt's event: what they raise goes to the application's
        // handling, and the drag is refused.
        try {
            return Handle(E);
        } catch (...) {
            if (auto *ev = dynamic_cast<QDropEvent *>(E))
                ev->ignore();
            FData = TComPtr<IDataObject>();
            Application->HandleException(nullptr);
            return true;
        }
    }

private:
    bool Handle(QEvent *E)
    {
        switch (E->type()) {
        case QEvent::DragEnter: {
            auto *ev = static_cast<QDragEnterEvent *>(E);
            FData = TComPtr<IDataObject>(MimeToDataObject(ev->mimeData()));
            DWORD effect = EffectsOf(ev->possibleActions());
            FTarget->DragEnter(FData.Get(), KeyStateOf(ev->buttons(), ev->modifiers()), ScreenPoint(ev), effect);
            Answer(ev, effect);
            // Qt sends no moves to a widget that ignored the enter; the moves answer for it.
            ev->accept();
            return true;
        }
        case QEvent::DragMove: {
            auto *ev = static_cast<QDragMoveEvent *>(E);
            DWORD effect = EffectsOf(ev->possibleActions());
            FTarget->DragOver(KeyStateOf(ev->buttons(), ev->modifiers()), ScreenPoint(ev), effect);
            Answer(ev, effect);
            return true;
        }
        case QEvent::DragLeave:
            FTarget->DragLeave();
            FData = TComPtr<IDataObject>();
            return true;
        case QEvent::Drop: {
            auto *ev = static_cast<QDropEvent *>(E);
            if (!FData)
                FData = TComPtr<IDataObject>(MimeToDataObject(ev->mimeData()));
            DWORD effect = EffectsOf(ev->possibleActions());
            FTarget->Drop(FData.Get(), KeyStateOf(ev->buttons(), ev->modifiers()), ScreenPoint(ev), effect);
            Answer(ev, effect);
            FData = TComPtr<IDataObject>();
            return true;
        }
        default:
            return false;
        }
    }

    TPoint ScreenPoint(QDropEvent *Ev) const
    {
        const QPoint p = FWidget->mapToGlobal(Ev->position().toPoint());
        return {p.x(), p.y()};
    }
    static void Answer(QDropEvent *Ev, DWORD Effect)
    {
        const Qt::DropAction a = ActionOf(Effect & EffectsOf(Ev->possibleActions()));
        if (a == Qt::IgnoreAction) {
            Ev->ignore();
            return;
        }
        Ev->setDropAction(a);
        Ev->accept();
    }
    QWidget *FWidget;
    IDropTarget *FTarget;
    TComPtr<IDataObject> FData;
};

// The registered target for a control's window, or for the nearest parent's that has one.
IDropTarget *TargetOf(TWinControl *Control)
{
    for (TWinControl *c = Control; c; c = c->Parent()) {
        if (!c->HandleAllocated())
            continue;
        auto it = Registrations().find(c->Handle());
        if (it != Registrations().end() && it->second.Widget)
            return it->second.Target.Get();
    }
    return nullptr;
}

} // namespace

HRESULT RegisterDragDrop(HWND Wnd, IDropTarget *Target)
{
    if (!Target)
        return E_INVALIDARG;
    TWinControl *c = TWinControl::FindControl(Wnd);
    QWidget *w = c ? c->WidgetIfAllocated() : nullptr;
    if (!w)
        return DRAGDROP_E_INVALIDHWND;
    auto &regs = Registrations();
    auto it = regs.find(Wnd);
    if (it != regs.end()) {
        if (it->second.Widget)
            return DRAGDROP_E_ALREADYREGISTERED;
        regs.erase(it);
    }
    TRegistration r;
    r.Widget = w;
    r.Target = TComPtr<IDropTarget>(Target);
    r.Filter = new TDropFilter(w, Target);
    w->installEventFilter(r.Filter);
    w->setAcceptDrops(true);
    // A window that goes lets go of its target.
    QObject::connect(w, &QObject::destroyed, [Wnd](QObject *Gone) {
        auto &all = Registrations();
        auto found = all.find(Wnd);
        if (found != all.end() && (!found->second.Widget || found->second.Widget == Gone))
            all.erase(found);
    });
    regs.emplace(Wnd, std::move(r));
    return S_OK;
}

HRESULT RevokeDragDrop(HWND Wnd)
{
    auto &regs = Registrations();
    auto it = regs.find(Wnd);
    if (it == regs.end())
        return DRAGDROP_E_NOTREGISTERED;
    if (QWidget *w = it->second.Widget) {
        w->removeEventFilter(it->second.Filter);
        w->setAcceptDrops(false);
        delete it->second.Filter;
    }
    regs.erase(it);
    return S_OK;
}

// ---- the drag ----

namespace {

class TDragRun : public TDragSession {
public:
    TDragRun(IDataObject *Obj, IDropSource *Source, DWORD OkEffects)
        : FSource(Source), FOkEffects(OkEffects), FMime(DataObjectToMime(Obj)),
          FData(MimeToDataObject(FMime.get()))
    {
    }

    bool MoveTo(TWinControl *Target, TPoint Pt, DWORD KeyState) override
    {
        if (FEnded)
            return false;
        FKeyState = KeyState;
        const HRESULT hr = FSource->QueryContinueDrag(FALSE, KeyState);
        if (hr != S_OK) {
            Finish(hr, KeyState);
            return false;
        }
        IDropTarget *t = TargetOf(Target);
        FPoint = Target ? Target->ClientToScreen(Pt) : Pt;
        DWORD effect = DROPEFFECT_NONE;
        if (t != FTarget.Get()) {
            if (FTarget)
                FTarget->DragLeave();
            FTarget = TComPtr<IDropTarget>(t);
            if (t) {
                effect = FOkEffects;
                t->DragEnter(FData.Get(), KeyState, FPoint, effect);
            }
        } else if (t) {
            effect = FOkEffects;
            t->DragOver(KeyState, FPoint, effect);
        }
        FEffect = effect & FOkEffects;
        FSource->GiveFeedback(FEffect);
        return true;
    }

    void Release(DWORD KeyState) override
    {
        if (FEnded)
            return;
        KeyState &= ~static_cast<DWORD>(MK_LBUTTON);
        const HRESULT hr = FSource->QueryContinueDrag(FALSE, KeyState);
        if (hr != S_OK)
            Finish(hr, KeyState);
    }

    void Escape() override
    {
        if (FEnded)
            return;
        const HRESULT hr = FSource->QueryContinueDrag(TRUE, FKeyState);
        if (hr != S_OK)
            Finish(hr, FKeyState);
    }

    DWORD Effect() const override { return FEffect; }
    bool Ended() const override { return FEnded; }
    const QMimeData *MimeData() const override { return FMime.get(); }

    // The real drag: Qt's loop, with this program's windows hearing it through their filters.
    void RunReal()
    {
        QObject *owner = QApplication::activeWindow();
        if (!owner)
            owner = qApp;
        auto *drag = new QDrag(owner);
        drag->setMimeData(DataObjectToMime(FData.Get()));
        DWORD last = DWORD(-1);
        QObject::connect(drag, &QDrag::actionChanged, [this, &last](Qt::DropAction a) {
            const DWORD e = EffectsOf(a) & FOkEffects;
            if (e != last) {
                last = e;
                FEffect = e;
                FSource->GiveFeedback(e);
            }
        });
        const Qt::DropAction done = drag->exec(ActionsOf(FOkEffects), ActionOf(FOkEffects));
        drag->deleteLater();
        FEnded = true;
        // Qt tells only what happened: an ignored drag counts as Escape when a target had
        // accepted it, else as a release over nothing that takes it.
        if (done == Qt::IgnoreAction) {
            const HRESULT hr = FSource->QueryContinueDrag(FEffect != DROPEFFECT_NONE ? TRUE : FALSE, 0);
            FResult = hr == DRAGDROP_S_DROP ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
            FFinalEffect = DROPEFFECT_NONE;
            return;
        }
        FSource->QueryContinueDrag(FALSE, 0);
        FResult = DRAGDROP_S_DROP;
        FFinalEffect = EffectsOf(done) & FOkEffects;
    }

    void CancelIfOpen()
    {
        if (FEnded)
            return;
        Escape();
        if (!FEnded)
            Finish(DRAGDROP_S_CANCEL, FKeyState);
    }

    HRESULT Result() const { return FResult; }
    DWORD FinalEffect() const { return FFinalEffect; }

private:
    void Finish(HRESULT Hr, DWORD KeyState)
    {
        FEnded = true;
        FFinalEffect = DROPEFFECT_NONE;
        if (Hr == DRAGDROP_S_DROP) {
            FResult = DRAGDROP_S_DROP;
            if (FTarget && FEffect != DROPEFFECT_NONE) {
                DWORD effect = FOkEffects;
                FTarget->Drop(FData.Get(), KeyState, FPoint, effect);
                FFinalEffect = effect & FOkEffects;
            } else if (FTarget) {
                FTarget->DragLeave();
            }
        } else {
            FResult = DRAGDROP_S_CANCEL;
            if (FTarget)
                FTarget->DragLeave();
        }
        FTarget = TComPtr<IDropTarget>();
    }

    TComPtr<IDropSource> FSource;
    DWORD FOkEffects;
    std::unique_ptr<QMimeData> FMime;
    TComPtr<IDataObject> FData;
    TComPtr<IDropTarget> FTarget;
    TPoint FPoint;
    DWORD FKeyState = MK_LBUTTON;
    DWORD FEffect = DROPEFFECT_NONE;
    DWORD FFinalEffect = DROPEFFECT_NONE;
    HRESULT FResult = DRAGDROP_S_CANCEL;
    bool FEnded = false;
};

TDragSession *GCurrentDrag = nullptr;

} // namespace

TDragSession *CurrentDragSession() { return GCurrentDrag; }

HRESULT DoDragDrop(IDataObject *DataObj, IDropSource *Source, DWORD OkEffects, DWORD *Effect)
{
    if (Effect)
        *Effect = DROPEFFECT_NONE;
    if (!DataObj || !Source)
        return E_INVALIDARG;
    TComPtr<IDataObject> keep(DataObj);
    TDragRun run(DataObj, Source, OkEffects);
    TDragSession *previous = GCurrentDrag;
    GCurrentDrag = &run;
    TModalRequest request;
    request.Kind = mkOther;
    request.ClassName = QStringLiteral("TDragDrop");
    request.Text = run.MimeData()->formats().join(QLatin1Char('\n'));
    request.RunDefault = [&run](TModalRequest &) {
        run.RunReal();
        return run.Result() == DRAGDROP_S_DROP ? mrOk : mrCancel;
    };
    try {
        RunModal(request);
    } catch (...) {
        GCurrentDrag = previous;
        throw;
    }
    GCurrentDrag = previous;
    run.CancelIfOpen();
    if (Effect)
        *Effect = run.FinalEffect();
    return run.Result();
}
