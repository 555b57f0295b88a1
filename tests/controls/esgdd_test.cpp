// The grid's drag-and-drop objects: what a drag offers (formats, blocks), how a drop is read and
// handed to the hooks, the source's answers, a scripted drag between two windows through the
// MIME form, and damaged blocks from other programs.
#include "controls/esgdd.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/Forms.h"
#include "support/GuiTest.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QWidget>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

struct TRecordingTarget : TESGDropTarget {
    std::vector<UnicodeString> Calls;
    UnicodeString Text, RTF, URL;
    int Col = -2;
    QByteArray Cells;
    std::vector<UnicodeString> Files;
    bool RefuseMoves = false;

    void DropText(TPoint, const UnicodeString &S) override { Calls.push_back("DropText"); Text = S; }
    void DropStream(TPoint, std::unique_ptr<TMemoryStream> S) override
    {
        Calls.push_back("DropStream");
        Cells = S->Bytes();
    }
    void DropCol(TPoint, int C) override { Calls.push_back("DropCol"); Col = C; }
    void DropRTF(TPoint, const UnicodeString &S) override { Calls.push_back("DropRTF"); RTF = S; }
    void DropFiles(TPoint, TStrings *F) override
    {
        Calls.push_back("DropFiles");
        for (int i = 0; i < F->Count(); ++i)
            Files.push_back(F->Strings(i));
    }
    void DropURL(TPoint, const UnicodeString &S) override { Calls.push_back("DropURL"); URL = S; }
    void DragMouseMove(TPoint, bool &Allow, TDropFormats) override
    {
        if (RefuseMoves)
            Allow = false;
    }
    void DragMouseEnter() override { Calls.push_back("Enter"); }
    void DragMouseLeave() override { Calls.push_back("Leave"); }
};

struct TRecordingSource : TESGDropSource {
    int Ended = 0;
    std::vector<DWORD> Effects;
    void DragEnded() override { ++Ended; }
    void CurrentEffect(DWORD E) override { Effects.push_back(E); }
};

FORMATETC Fe(CLIPFORMAT F, DWORD Aspect = DVASPECT_CONTENT, DWORD Tymed = TYMED_HGLOBAL)
{
    FORMATETC fe;
    fe.cfFormat = F;
    fe.dwAspect = Aspect;
    fe.tymed = Tymed;
    return fe;
}

std::vector<CLIPFORMAT> Listed(IDataObject *Obj)
{
    TComPtr<IEnumFORMATETC> en;
    EXPECT_EQ(Obj->EnumFormatEtc(DATADIR_GET, en.Put()), S_OK);
    std::vector<CLIPFORMAT> r;
    FORMATETC fe;
    ULONG n = 0;
    while (en->Next(1, &fe, &n) == S_OK) {
        EXPECT_EQ(fe.dwAspect, DVASPECT_CONTENT);
        EXPECT_EQ(fe.lindex, -1);
        EXPECT_EQ(fe.tymed, TYMED_HGLOBAL);
        r.push_back(fe.cfFormat);
    }
    return r;
}

QByteArray Block(IDataObject *Obj, CLIPFORMAT F, HRESULT *Hr = nullptr)
{
    STGMEDIUM m;
    const HRESULT hr = Obj->GetData(Fe(F), m);
    if (Hr)
        *Hr = hr;
    QByteArray b;
    if (hr == S_OK)
        b = QByteArray(static_cast<const char *>(GlobalLock(m.hGlobal)), static_cast<qsizetype>(GlobalSize(m.hGlobal)));
    ReleaseStgMedium(m);
    return b;
}

class RtfFlag {
public:
    explicit RtfFlag(bool On) : FWas(RTFDragDropAllowed()) { AllowRTFDragDrop(On); }
    ~RtfFlag() { AllowRTFDragDrop(FWas); }

private:
    bool FWas;
};

// Enter and drop with the same data object, as a drag does.
HRESULT EnterAndDrop(TRecordingTarget *T, IDataObject *Obj, DWORD Keys = MK_LBUTTON, DWORD *Effect = nullptr)
{
    DWORD e = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    T->DragEnter(Obj, Keys, {1, 1}, e);
    e = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    const HRESULT hr = T->Drop(Obj, Keys & ~static_cast<DWORD>(MK_LBUTTON), {1, 1}, e);
    if (Effect)
        *Effect = e;
    return hr;
}

} // namespace

TEST(EsgDataObject, EnumeratesThreeToFiveFormatsWithCellsLast)
{
    TMemoryStream ms;
    const struct {
        int Col;
        TMemoryStream *Stream;
        std::vector<CLIPFORMAT> Expected;
    } cases[] = {
        {-1, nullptr, {CF_TEXT, CF_UNICODETEXT, CF_RTF()}},
        {-1, &ms, {CF_TEXT, CF_UNICODETEXT, CF_RTF(), CF_GRIDCELLS()}},
        {4, nullptr, {CF_TEXT, CF_UNICODETEXT, CF_RTF(), CF_GRIDCOLUMN()}},
        {4, &ms, {CF_TEXT, CF_UNICODETEXT, CF_RTF(), CF_GRIDCOLUMN(), CF_GRIDCELLS()}},
    };
    for (const auto &c : cases) {
        TComPtr<IDataObject> obj(new TSourceDataObject("t", c.Stream, c.Col, ""));
        EXPECT_EQ(Listed(obj.Get()), c.Expected) << "column " << c.Col << " stream " << (c.Stream != nullptr);
    }
    EXPECT_NE(CF_RTF(), 0);
    EXPECT_NE(CF_GRIDCELLS(), CF_GRIDCOLUMN());
    TComPtr<IEnumFORMATETC> none;
    TComPtr<IDataObject> obj(new TSourceDataObject("t", nullptr, -1, ""));
    EXPECT_EQ(obj->EnumFormatEtc(DATADIR_SET, none.Put()), E_NOTIMPL);
}

TEST(EsgDataObject, QueryGetDataRefusesWhatItDoesNotHold)
{
    TMemoryStream ms;
    TComPtr<IDataObject> full(new TSourceDataObject("abc", &ms, 2, "{\\rtf1}"));
    TComPtr<IDataObject> empty(new TSourceDataObject("", nullptr, -1, ""));
    RtfFlag rtfOff(false);
    const struct {
        IDataObject *Obj;
        FORMATETC F;
        HRESULT Expected;
        const char *What;
    } cases[] = {
        {full.Get(), Fe(CF_TEXT), S_OK, "text"},
        {full.Get(), Fe(CF_UNICODETEXT), S_OK, "unicode"},
        {full.Get(), Fe(CF_RTF()), DV_E_FORMATETC, "rich text while the flag is off"},
        {full.Get(), Fe(CF_GRIDCOLUMN()), S_OK, "column"},
        {full.Get(), Fe(CF_GRIDCELLS()), S_OK, "cells"},
        {full.Get(), Fe(CF_HDROP), DV_E_FORMATETC, "files"},
        {full.Get(), Fe(CF_TEXT, DVASPECT_ICON), DV_E_FORMATETC, "icon aspect"},
        {full.Get(), Fe(CF_TEXT, DVASPECT_CONTENT, TYMED_ISTREAM), DV_E_FORMATETC, "stream medium"},
        {empty.Get(), Fe(CF_TEXT), DV_E_FORMATETC, "empty text"},
        {empty.Get(), Fe(CF_GRIDCOLUMN()), DV_E_FORMATETC, "no column"},
        {empty.Get(), Fe(CF_GRIDCELLS()), DV_E_FORMATETC, "no stream"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.Obj->QueryGetData(c.F), c.Expected) << c.What;
    {
        RtfFlag rtfOn(true);
        EXPECT_EQ(full->QueryGetData(Fe(CF_RTF())), S_OK);
    }
    STGMEDIUM m;
    m.tymed = 77;
    EXPECT_EQ(full->GetData(Fe(CF_RTF()), m), DV_E_FORMATETC);
    EXPECT_EQ(m.tymed, TYMED_NULL) << "the medium is cleared";
    EXPECT_EQ(full->GetDataHere(Fe(CF_TEXT), m), DV_E_FORMATETC);
    EXPECT_EQ(full->SetData(Fe(CF_TEXT), m, FALSE), DV_E_FORMATETC);
    DWORD conn = 0;
    EXPECT_EQ(full->DAdvise(Fe(CF_TEXT), 0, nullptr, conn), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(full->DUnadvise(0), OLE_E_ADVISENOTSUPPORTED);
    IUnknown *adv = reinterpret_cast<IUnknown *>(&m);
    EXPECT_EQ(full->EnumDAdvise(&adv), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(adv, nullptr);
    FORMATETC out = Fe(CF_TEXT);
    out.ptd = reinterpret_cast<DVTARGETDEVICE *>(&m);
    EXPECT_EQ(full->GetCanonicalFormatEtc(Fe(CF_TEXT), out), E_NOTIMPL);
    EXPECT_EQ(out.ptd, nullptr);
}

TEST(EsgDataObject, BlocksHaveTheSizesAndLayoutOfEachFormat)
{
    RtfFlag rtfOn(true);
    TMemoryStream ms;
    ms.WriteBuffer("cells", 5);
    const UnicodeString text = QString::fromUtf8("Grüße");
    TComPtr<IDataObject> obj(new TSourceDataObject(text, &ms, 7, QString::fromUtf8("{\\rtf1 ü}")));

    const QByteArray ansi = Block(obj.Get(), CF_TEXT);
    EXPECT_EQ(ansi, QByteArray("Gr\xFC\xDF" "e", 5) + QByteArray(1, '\0')) << "Windows-1252, terminated";
    const QByteArray wide = Block(obj.Get(), CF_UNICODETEXT);
    ASSERT_EQ(wide.size(), 2 * text.size() + 2);
    EXPECT_EQ(UnicodeString(reinterpret_cast<const QChar *>(wide.constData()), text.size()), text);
    EXPECT_EQ(wide.right(2), QByteArray(2, '\0'));
    EXPECT_EQ(Block(obj.Get(), CF_RTF()), QByteArray("{\\rtf1 \xFC}", 9) + QByteArray(1, '\0'));
    const QByteArray col = Block(obj.Get(), CF_GRIDCOLUMN());
    ASSERT_EQ(col.size(), 4);
    std::int32_t v = 0;
    std::memcpy(&v, col.constData(), 4);
    EXPECT_EQ(v, 7);
    const QByteArray cells = Block(obj.Get(), CF_GRIDCELLS());
    ASSERT_EQ(cells.size(), 5 + 8);
    std::int32_t n = -1, zero = -1;
    std::memcpy(&n, cells.constData(), 4);
    std::memcpy(&zero, cells.constData() + 4, 4);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(zero, 0);
    EXPECT_EQ(cells.mid(8), QByteArray("cells"));

    TComPtr<IDataObject> noRtf(new TSourceDataObject("x", nullptr, -1, ""));
    EXPECT_EQ(Block(noRtf.Get(), CF_RTF()), QByteArray(1, '\0')) << "an empty rich text is its terminator";
}

TEST(EsgDataObject, EnumeratorStepsSkipsAndClonesItsPosition)
{
    TComPtr<IEnumFORMATETC> en(new TSourceEnumFormatEtc(true, false));
    FORMATETC got[8];
    ULONG n = 0;
    EXPECT_EQ(en->Next(2, got, &n), S_OK);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(got[1].cfFormat, CF_UNICODETEXT);
    EXPECT_EQ(en->Next(5, got, &n), S_FALSE) << "only two left";
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(got[1].cfFormat, CF_GRIDCOLUMN());
    EXPECT_EQ(en->Next(1, got, nullptr), S_FALSE);

    en->Reset();
    EXPECT_EQ(en->Skip(3), S_OK);
    TComPtr<IEnumFORMATETC> clone;
    ASSERT_EQ(en->Clone(clone.Put()), S_OK);
    EXPECT_EQ(clone->Next(1, got, &n), S_OK);
    EXPECT_EQ(got[0].cfFormat, CF_GRIDCOLUMN()) << "the clone starts where the original was";
    EXPECT_EQ(en->Skip(2), S_FALSE) << "past the end";
    EXPECT_EQ(en->Next(1, got, &n), S_FALSE);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(en->Skip(0), S_OK);
}

TEST(EsgDropTarget, AColumnWithTextDropsOnlyTheColumn)
{
    TComPtr<TRecordingTarget> t(new TRecordingTarget);
    t->SetAcceptCols(true);
    TComPtr<IDataObject> obj(new TSourceDataObject("text", nullptr, 3, ""));
    EnterAndDrop(t.Get(), obj.Get());
    EXPECT_EQ(t->Calls, (std::vector<UnicodeString>{"Enter", "DropCol"}));
    EXPECT_EQ(t->Col, 3);
    EXPECT_TRUE(t->DropFormats().Contains(dfCol));
    EXPECT_TRUE(t->DropFormats().Contains(dfText));
}

TEST(EsgDropTarget, ForeignMimeDataDropsAsTextFilesAndLinks)
{
    struct {
        const char *What;
        QString Text;
        QList<QUrl> Urls;
        std::vector<UnicodeString> Calls;
    } cases[] = {
        {"files with text", "hello", {QUrl::fromLocalFile("/tmp/a b.txt"), QUrl::fromLocalFile("/tmp/c.txt")},
         {"Enter", "DropText", "DropFiles"}},
        {"a link", QString(), {QUrl("https://example.org/x?y=1")}, {"Enter", "DropText", "DropURL"}},
        {"plain text", "just text", {}, {"Enter", "DropText"}},
    };
    for (const auto &c : cases) {
        QMimeData mime;
        if (!c.Text.isEmpty())
            mime.setText(c.Text);
        if (!c.Urls.isEmpty())
            mime.setUrls(c.Urls);
        TComPtr<IDataObject> obj(MimeToDataObject(&mime));
        TComPtr<TRecordingTarget> t(new TRecordingTarget);
        EnterAndDrop(t.Get(), obj.Get());
        EXPECT_EQ(t->Calls, c.Calls) << c.What;
        if (QString(c.What) == "files with text") {
            EXPECT_EQ(t->Text, "hello");
            EXPECT_EQ(t->Files, (std::vector<UnicodeString>{"/tmp/a b.txt", "/tmp/c.txt"}));
        } else if (QString(c.What) == "a link") {
            EXPECT_EQ(t->Text, "https://example.org/x?y=1");
            EXPECT_EQ(t->URL, "https://example.org/x?y=1");
            EXPECT_TRUE(t->DropFormats().Contains(dfURL));
        }
    }
}

TEST(EsgDropTarget, EffectsFollowKeysAcceptanceAndTheMoveHook)
{
    const struct {
        DWORD Keys, Allowed, Expected;
    } keyCases[] = {
        {MK_CONTROL, DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {0, DROPEFFECT_MOVE | DROPEFFECT_COPY, DROPEFFECT_MOVE},
        {MK_SHIFT, DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {0, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {0, DROPEFFECT_NONE, DROPEFFECT_COPY},
    };
    for (const auto &c : keyCases)
        EXPECT_EQ(KeysToDropEffect(c.Keys, c.Allowed), c.Expected) << c.Keys << "/" << c.Allowed;

    TComPtr<IDataObject> textObj(new TSourceDataObject("t", nullptr, -1, ""));
    TComPtr<TRecordingTarget> t(new TRecordingTarget);
    DWORD e = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(textObj.Get(), MK_LBUTTON | MK_CONTROL, {}, e);
    EXPECT_EQ(e, DROPEFFECT_COPY);
    e = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragOver(MK_LBUTTON, {}, e);
    EXPECT_EQ(e, DROPEFFECT_MOVE);
    t->RefuseMoves = true;
    e = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragOver(MK_LBUTTON, {}, e);
    EXPECT_EQ(e, DROPEFFECT_NONE) << "a move hook that clears Allow refuses";

    // A column (with the text formats every drag lists) is refused by a target that takes
    // neither columns nor text; nothing is dropped then.
    TComPtr<IDataObject> colObj(new TSourceDataObject("", nullptr, 1, ""));
    TComPtr<TRecordingTarget> t2(new TRecordingTarget);
    t2->SetAcceptText(false);
    EnterAndDrop(t2.Get(), colObj.Get(), MK_LBUTTON, &e);
    EXPECT_EQ(e, DROPEFFECT_NONE);
    EXPECT_EQ(t2->Calls, (std::vector<UnicodeString>{"Enter"}));
}

TEST(EsgDropSource, AnswersEscapeReleaseAndFeedback)
{
    TComPtr<TRecordingSource> s(new TRecordingSource);
    EXPECT_EQ(s->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    EXPECT_EQ(s->Ended, 0);
    EXPECT_EQ(s->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(s->Ended, 1);
    EXPECT_EQ(s->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(s->Ended, 2);
    EXPECT_EQ(s->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_TRUE(s->NoAccept());
    s->GiveFeedback(DROPEFFECT_COPY);
    EXPECT_FALSE(s->NoAccept());
    EXPECT_EQ(s->Effects, (std::vector<DWORD>{DROPEFFECT_NONE, DROPEFFECT_COPY}));
}

namespace {

// Two windows on a form: a drag starts over the first and ends over the second.
class EsgDragTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(10, 10, 300, 200);
        From = new TPanel(Form.get());
        From->SetParent(Form.get());
        From->SetBounds(0, 0, 100, 100);
        To = new TPanel(Form.get());
        To->SetParent(Form.get());
        To->SetBounds(150, 0, 100, 100);
        Form->Show();
        GuiTest::ProcessEvents();
        Target = TComPtr<TRecordingTarget>(new TRecordingTarget);
        Target->SetAcceptCols(true);
        ASSERT_EQ(RegisterDragDrop(To->Handle(), Target.Get()), S_OK);
        Source = TComPtr<TRecordingSource>(new TRecordingSource);
    }
    void TearDown() override
    {
        RevokeDragDrop(To->Handle());
        Form.reset();
    }
    // Moves from the first window onto the second, then drops or presses Escape.
    void Script(bool Drop, DWORD Keys = MK_LBUTTON)
    {
        Hook.Handle([this, Drop, Keys](TModalRequest &R) {
            EXPECT_EQ(R.ClassName, "TDragDrop");
            TDragSession *s = CurrentDragSession();
            if (!s)
                return mrCancel;
            s->MoveTo(From, {10, 10}, Keys);
            s->MoveTo(To, {10, 10}, Keys);
            s->MoveTo(To, {20, 20}, Keys);
            if (Drop)
                s->Release(Keys & ~static_cast<DWORD>(MK_LBUTTON));
            else
                s->Escape();
            return Drop ? mrOk : mrCancel;
        });
    }
    GuiTest::TScriptedModalHook Hook;
    std::unique_ptr<TForm> Form;
    TPanel *From = nullptr;
    TPanel *To = nullptr;
    TComPtr<TRecordingTarget> Target;
    TComPtr<TRecordingSource> Source;
};

} // namespace

TEST_F(EsgDragTest, TextAndRichTextTravelThroughTheMimeForm)
{
    RtfFlag rtfOn(true);
    Script(true);
    DWORD effect = 0;
    EXPECT_EQ(BeginTextDrag(Source.Get(), QString::fromUtf8("zwölf"), "{\\rtf1 x}", nullptr,
                            DROPEFFECT_COPY | DROPEFFECT_MOVE, effect),
              DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_EQ(Target->Calls, (std::vector<UnicodeString>{"Enter", "DropRTF"})) << "rich text wins over text";
    EXPECT_EQ(Target->RTF, "{\\rtf1 x}");
    EXPECT_EQ(Source->Ended, 1);

    // Without the flag the same drag drops the text.
    AllowRTFDragDrop(false);
    Target->Calls.clear();
    Script(true, MK_LBUTTON | MK_CONTROL);
    EXPECT_EQ(BeginTextDrag(Source.Get(), QString::fromUtf8("zwölf"), "{\\rtf1 x}", nullptr,
                            DROPEFFECT_COPY | DROPEFFECT_MOVE, effect),
              DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY) << "Ctrl copies";
    EXPECT_EQ(Target->Calls, (std::vector<UnicodeString>{"Enter", "DropText"}));
    EXPECT_EQ(Target->Text, QString::fromUtf8("zwölf"));
}

TEST_F(EsgDragTest, ColumnsCellsAndFilesTravelThroughTheMimeForm)
{
    Script(true);
    DWORD effect = 0;
    EXPECT_EQ(BeginColumnDrag(Source.Get(), 5, DROPEFFECT_MOVE, effect), DRAGDROP_S_DROP);
    EXPECT_EQ(Target->Calls, (std::vector<UnicodeString>{"Enter", "DropCol"}));
    EXPECT_EQ(Target->Col, 5);

    Target->Calls.clear();
    TMemoryStream ms;
    ms.WriteBuffer("\x01\x02\x00\x03", 4);
    Script(true);
    EXPECT_EQ(BeginTextDrag(Source.Get(), "a\tb", "", &ms, DROPEFFECT_COPY, effect), DRAGDROP_S_DROP);
    EXPECT_EQ(Target->Calls, (std::vector<UnicodeString>{"Enter", "DropStream"}));
    EXPECT_EQ(Target->Cells, QByteArray("\x01\x02\x00\x03", 4));

    // Files come from a data object of another kind: the file-drop block is rebuilt on arrival.
    Target->Calls.clear();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile("/tmp/one.csv"), QUrl::fromLocalFile(QString::fromUtf8("/tmp/zwö.txt"))});
    TComPtr<IDataObject> files(MimeToDataObject(&mime));
    Script(true);
    EXPECT_EQ(DoDragDrop(files.Get(), Source.Get(), DROPEFFECT_COPY, &effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(Target->Calls, (std::vector<UnicodeString>{"Enter", "DropFiles"}));
    EXPECT_EQ(Target->Files, (std::vector<UnicodeString>{"/tmp/one.csv", QString::fromUtf8("/tmp/zwö.txt")}));
}

TEST_F(EsgDragTest, EscapeCancelsAndARefusingTargetCancels)
{
    Script(false);
    DWORD effect = 7;
    EXPECT_EQ(BeginTextDrag(Source.Get(), "x", "", nullptr, DROPEFFECT_COPY, effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(Source->Ended, 1) << "one DragEnded for the Escape";
    EXPECT_EQ(Target->Calls, (std::vector<UnicodeString>{"Enter", "Leave"}));

    Target->SetAcceptText(false);
    Target->Calls.clear();
    Script(true);
    EXPECT_EQ(BeginTextDrag(Source.Get(), "x", "", nullptr, DROPEFFECT_COPY, effect), DRAGDROP_S_CANCEL);
    EXPECT_TRUE(Source->NoAccept());
    EXPECT_EQ(Target->Calls, (std::vector<UnicodeString>{"Enter", "Leave"})) << "nothing dropped";
}

TEST(EsgEnumFormats, DamagedBlocksGiveNeutralValues)
{
    auto le32 = [](std::int32_t v) { return QByteArray(reinterpret_cast<const char *>(&v), 4); };
    auto dropFiles = [&](bool Wide, const QByteArray &Names, DWORD Offset = 20) {
        DROPFILES h;
        h.pFiles = Offset;
        h.fWide = Wide ? TRUE : FALSE;
        return QByteArray(reinterpret_cast<const char *>(&h), sizeof h) + Names;
    };
    const CLIPFORMAT cells = CF_GRIDCELLS();
    const struct {
        const char *What;
        CLIPFORMAT Format;
        QByteArray Bytes;
    } blocks[] = {
        {"length past the block", cells, le32(1000) + le32(0) + QByteArray("abc")},
        {"negative length", cells, le32(-5) + le32(0) + QByteArray("abc")},
        {"shorter than the header", cells, QByteArray("ab")},
        {"short column", CF_GRIDCOLUMN(), QByteArray("\x01\x02", 2)},
    };
    for (const auto &b : blocks) {
        TComPtr<IDataObject> obj(BlocksToDataObject({{b.Format, b.Bytes}}));
        TEnumFormats f(obj.Get());
        EXPECT_EQ(f.ReadStream(b.Format), nullptr) << b.What;
        if (b.Format == CF_GRIDCOLUMN()) {
            EXPECT_EQ(f.Col(), -1) << b.What;
        }
    }
    {
        TComPtr<IDataObject> obj(BlocksToDataObject({{cells, le32(3) + le32(0) + QByteArray("xyz")}}));
        TEnumFormats f(obj.Get());
        auto s = f.Stream();
        ASSERT_NE(s, nullptr) << "a length that fits is read";
        EXPECT_EQ(s->Bytes(), QByteArray("xyz"));
    }

    // Texts without a terminator stop at the block's end; an odd trailing byte is dropped.
    TComPtr<IDataObject> texts(BlocksToDataObject({{CF_UNICODETEXT, QByteArray("h\0i\0!", 5)},
                                                   {CF_RTF(), QByteArray("{\\rtf")}}));
    TEnumFormats t(texts.Get());
    EXPECT_EQ(t.Text(), "hi");
    EXPECT_EQ(t.RTF(), "{\\rtf");
    EXPECT_EQ(t.ReadInteger(CF_HDROP), -1) << "a missing format";

    const struct {
        const char *What;
        QByteArray Block;
        std::vector<UnicodeString> Names;
    } drops[] = {
        {"empty name list", dropFiles(true, QByteArray(2, '\0')), {}},
        {"no names at all", dropFiles(true, QByteArray()), {}},
        {"offset past the block", dropFiles(true, QByteArray("a\0\0\0", 4), 5000), {}},
        {"wide name without terminator", dropFiles(true, QByteArray("a\0b\0", 4)), {"ab"}},
        {"narrow names", dropFiles(false, QByteArray("x\0y\xFC", 4)), {"x", QString::fromUtf8("yü")}},
        {"header cut short", QByteArray("\x14\0\0\0", 4), {}},
    };
    for (const auto &d : drops) {
        TComPtr<IDataObject> obj(BlocksToDataObject({{CF_HDROP, d.Block}}));
        TEnumFormats f(obj.Get());
        EXPECT_EQ(f.ReadFileNames(), !d.Names.empty()) << d.What;
        std::vector<UnicodeString> got;
        for (int i = 0; i < f.Files()->Count(); ++i)
            got.push_back(f.Files()->Strings(i));
        EXPECT_EQ(got, d.Names) << d.What;
    }
}

TEST(EsgEnumFormats, AnObjectWithoutEnumeratorRaises)
{
    struct TNoEnum : TInterfacedObject, IDataObject {
        HRESULT GetData(const FORMATETC &, STGMEDIUM &) override { return DV_E_FORMATETC; }
        HRESULT GetDataHere(const FORMATETC &, STGMEDIUM &) override { return DV_E_FORMATETC; }
        HRESULT QueryGetData(const FORMATETC &) override { return DV_E_FORMATETC; }
        HRESULT GetCanonicalFormatEtc(const FORMATETC &, FORMATETC &) override { return E_NOTIMPL; }
        HRESULT SetData(const FORMATETC &, STGMEDIUM &, BOOL) override { return E_NOTIMPL; }
        HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC **E) override
        {
            *E = nullptr;
            return E_NOTIMPL;
        }
        HRESULT DAdvise(const FORMATETC &, DWORD, IUnknown *, DWORD &) override { return E_NOTIMPL; }
        HRESULT DUnadvise(DWORD) override { return E_NOTIMPL; }
        HRESULT EnumDAdvise(IUnknown **) override { return E_NOTIMPL; }
    };
    TComPtr<IDataObject> obj(new TNoEnum);
    try {
        TEnumFormats f(obj.Get());
        FAIL() << "no exception";
    } catch (const EAssertionFailed &e) {
        EXPECT_EQ(e.Message(), "Cannot get the format enumerator");
    }
}

TEST_F(EsgDragTest, QtDragEventsReachTheRegisteredTarget)
{
    QWidget *w = To->Widget();
    QMimeData mime;
    mime.setText("from another program");
    mime.setUrls({QUrl::fromLocalFile("/tmp/x.txt")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::ControlModifier);
    QCoreApplication::sendEvent(w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
    EXPECT_TRUE(move.isAccepted());
    EXPECT_EQ(move.dropAction(), Qt::MoveAction);
    QDropEvent drop(QPointF(6, 6), Qt::CopyAction | Qt::MoveAction, &mime, Qt::NoButton, Qt::ControlModifier);
    QCoreApplication::sendEvent(w, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction) << "Ctrl copies";
    EXPECT_EQ(Target->Calls, (std::vector<UnicodeString>{"Enter", "DropText", "DropFiles"}));
    EXPECT_EQ(Target->Text, "from another program");

    // Refused: the target takes neither text nor files.
    Target->SetAcceptText(false);
    Target->SetAcceptFiles(false);
    Target->Calls.clear();
    QDragEnterEvent enter2(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &enter2);
    QDragMoveEvent move2(QPoint(6, 6), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move2);
    EXPECT_FALSE(move2.isAccepted());
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(w, &leave);
    EXPECT_EQ(Target->Calls, (std::vector<UnicodeString>{"Enter", "Leave"}));

    EXPECT_EQ(RevokeDragDrop(To->Handle()), S_OK);
    EXPECT_EQ(RevokeDragDrop(To->Handle()), DRAGDROP_E_NOTREGISTERED);
    ASSERT_EQ(RegisterDragDrop(To->Handle(), Target.Get()), S_OK);
    EXPECT_EQ(RegisterDragDrop(To->Handle(), Target.Get()), DRAGDROP_E_ALREADYREGISTERED);
}
