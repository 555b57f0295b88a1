// Controls that show rather than take input: labels, link labels, panels, shapes, images and the
// category panel group; and a demo dialog with every control, rendered to a picture.
#include "platform/ComCtrls.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/StdCtrls.h"
#include "support/GuiTest.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr TColor FormColor = 15595512; // RGB 248, 247, 237

class StdCtrlsDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(10, 10, 460, 400);
        Form->SetColor(FormColor);
        Form->Font()->SetName(QStringLiteral("Verdana"));
        Form->Font()->SetHeight(-11);
    }
    void ShowForm()
    {
        Form->Show();
        GuiTest::ProcessEvents();
    }
    template <class T>
    T *Make(TWinControl *Parent, int Left, int Top)
    {
        auto *c = new T(Form.get());
        c->SetParent(Parent);
        c->SetLeft(Left);
        c->SetTop(Top);
        return c;
    }
    std::unique_ptr<TForm> Form;
};

TEST_F(StdCtrlsDisplay, TheFormColourIsRgb248_247_237)
{
    EXPECT_EQ(ColorToRGB(FormColor), RGB(248, 247, 237));
    auto *p = Make<TPanel>(Form.get(), 0, 0);
    p->SetAlign(alTop);
    p->SetHeight(69);
    p->SetBevelOuter(bvNone);
    ShowForm();
    EXPECT_EQ(p->Color(), FormColor); // the panel takes its parent's colour
    EXPECT_EQ(p->Width(), Form->ClientWidth());
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 30, 30), RGB(248, 247, 237));
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 30, 200), RGB(248, 247, 237));
}

TEST_F(StdCtrlsDisplay, VerdanaAtMinus11IsAnInstalledSansFontOf11Pixels)
{
    auto *l = Make<TLabel>(Form.get(), 0, 0);
    const QFont f = l->Font()->QtFont(); // the label takes the form's font
    EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(f.pixelSize(), 11);
}

TEST_F(StdCtrlsDisplay, LabelSizesToItsTextAndKeepsItsAlignedEdge)
{
    auto *l = Make<TLabel>(Form.get(), 100, 20);
    l->SetCaption(QStringLiteral("Serial"));
    const int shortWidth = l->Width();
    l->SetCaption(QStringLiteral("Serial settings of the converter"));
    EXPECT_GT(l->Width(), shortWidth);
    const QFontMetrics fm(Form->Font()->QtFont());
    EXPECT_EQ(l->Height(), fm.height());
    l->SetAlignment(taRightJustify);
    const int right = l->Left() + l->Width();
    l->SetCaption(QStringLiteral("Short"));
    EXPECT_EQ(l->Left() + l->Width(), right);
    // A pixel height of 32 makes a taller label.
    l->Font()->SetHeight(-32);
    EXPECT_GT(l->Height(), 32);
    l->SetAutoSize(false);
    l->SetBounds(0, 0, 50, 10);
    l->SetCaption(QStringLiteral("a much longer caption than before"));
    EXPECT_EQ(l->Width(), 50);
}

TEST_F(StdCtrlsDisplay, LabelsOfOneTextMeasureByTheirOwnFontAndWidth)
{
    // Sizes measured once are looked up again: the font and the wrap width must tell them apart.
    const QString text = QStringLiteral("Serial settings of the converter");
    auto *a = Make<TLabel>(Form.get(), 0, 0);
    a->SetCaption(text);
    const int normal = a->Width();
    auto *b = Make<TLabel>(Form.get(), 0, 40);
    b->SetParentFont(false);
    b->Font()->SetHeight(-20);
    b->SetCaption(text);
    EXPECT_GT(b->Width(), normal);
    b->Font()->SetHeight(a->Font()->Height());
    EXPECT_EQ(b->Width(), normal);
    auto *narrow = Make<TLabel>(Form.get(), 0, 80);
    auto *wide = Make<TLabel>(Form.get(), 0, 160);
    for (TLabel *l : {narrow, wide}) {
        l->SetWordWrap(true);
        l->SetWidth(l == narrow ? 60 : 400);
        l->SetCaption(text);
    }
    EXPECT_GT(narrow->Height(), wide->Height());
}

TEST_F(StdCtrlsDisplay, FontFaceIsSetInOneChange)
{
    TFont f;
    int changes = 0;
    f.OnChange = [&](TObject *) { ++changes; };
    f.SetColor(clRed);
    changes = 0;
    SetFontFace(&f, QStringLiteral("Verdana"), -13, TFontStyles{TFontStyle::fsBold});
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(f.Name(), QStringLiteral("Verdana"));
    EXPECT_EQ(f.Height(), -13);
    EXPECT_TRUE(f.Style().Contains(TFontStyle::fsBold));
    EXPECT_EQ(f.Color(), clRed);
}

TEST_F(StdCtrlsDisplay, WordWrapLabelKeepsItsWidthAndGrowsDown)
{
    auto *l = Make<TLabel>(Form.get(), 10, 10);
    l->SetWordWrap(true);
    l->SetWidth(80);
    l->SetCaption(QStringLiteral("one two three four five six seven eight"));
    EXPECT_EQ(l->Width(), 80);
    EXPECT_GT(l->Height(), 2 * QFontMetrics(l->Font()->QtFont()).height() - 1);
}

TEST_F(StdCtrlsDisplay, LabelClickAndColours)
{
    auto *l = Make<TLabel>(Form.get(), 20, 20);
    l->SetCaption(QStringLiteral("WWWWWWWW"));
    l->Font()->SetColor(clRed);
    l->SetCursor(crHandPoint);
    int clicks = 0;
    l->OnClick = [&](TObject *) { ++clicks; };
    ShowForm();
    GuiTest::Click(l);
    EXPECT_EQ(clicks, 1);
    // Somewhere inside the text a red pixel; the label's own background is the form colour.
    bool red = false;
    for (int x = 0; x < l->Width() && !red; ++x)
        for (int y = 0; y < l->Height() && !red; ++y)
            red = GuiTest::PixelAt(Form.get(), l->Left() + x, l->Top() + y) == RGB(255, 0, 0);
    EXPECT_TRUE(red);
    l->SetTransparent(true);
    l->SetColor(clBlue);
    GuiTest::ProcessEvents();
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), l->Left() + l->Width() - 1, l->Top()), RGB(248, 247, 237));
    l->SetTransparent(false);
    GuiTest::ProcessEvents();
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), l->Left() + l->Width() - 1, l->Top()), RGB(0, 0, 255));
}

TEST_F(StdCtrlsDisplay, LinkLabelReportsTheAnchorTarget)
{
    auto *ll = Make<TLinkLabel>(Form.get(), 20, 20);
    ll->SetCaption(QStringLiteral("<a href=\"https://example.test/Home/download/download.asp#DV40385\">New Version Available</a>"));
    UnicodeString link;
    TSysLinkType type = sltID;
    ll->OnLinkClick = [&](TObject *, const UnicodeString &Link, TSysLinkType LinkType) {
        link = Link;
        type = LinkType;
    };
    ShowForm();
    GuiTest::Click(ll, {10, ll->Height() / 2});
    EXPECT_EQ(link, QStringLiteral("https://example.test/Home/download/download.asp#DV40385"));
    EXPECT_EQ(type, sltURL);
    EXPECT_EQ(TLinkLabel::CaptionToHtml(QStringLiteral("a < b <a id=\"x\">go</a>")),
              QStringLiteral("a &lt; b <a href=\"i:x\">go</a>"));
}

TEST_F(StdCtrlsDisplay, ShapeRuleAndFrame)
{
    auto *rule = Make<TShape>(Form.get(), 10, 50);
    rule->SetBounds(10, 50, 300, 1);
    rule->Pen()->SetColor(clSilver);
    auto *frame = Make<TShape>(Form.get(), 20, 100);
    frame->SetBounds(20, 100, 100, 36);
    frame->Pen()->SetColor(clSilver);
    frame->Brush()->SetStyle(TBrushStyle::bsClear);
    ShowForm();
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 150, 50), RGB(192, 192, 192));
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 150, 51), RGB(248, 247, 237));
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 20, 120), RGB(192, 192, 192));
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 119, 135), RGB(192, 192, 192));
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 60, 118), RGB(248, 247, 237)); // clear brush
}

TEST_F(StdCtrlsDisplay, ImageStretchesAndCentres)
{
    auto *img = Make<TImage>(Form.get(), 0, 0);
    img->SetBounds(0, 0, 81, 81);
    TBitmap bmp(20, 10);
    bmp.Canvas()->Brush()->SetColor(clGreen);
    bmp.Canvas()->FillRect({0, 0, 20, 10});
    img->Picture()->SetBitmap(&bmp);
    EXPECT_EQ(img->DestRect(), (TRect{0, 0, 20, 10}));
    img->SetCenter(true);
    EXPECT_EQ(img->DestRect(), (TRect{30, 35, 50, 45}));
    img->SetStretch(true);
    img->SetCenter(false);
    EXPECT_EQ(img->DestRect(), (TRect{0, 0, 81, 81}));
    img->SetProportional(true);
    EXPECT_EQ(img->DestRect(), (TRect{0, 0, 81, 40}));
    ShowForm();
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 70, 30), RGB(0, 128, 0));
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 70, 60), RGB(248, 247, 237));
}

// ---- the category panel group ----

class CategoryGroup : public StdCtrlsDisplay {
protected:
    void SetUp() override
    {
        StdCtrlsDisplay::SetUp();
        Group = Make<TCategoryPanelGroup>(Form.get(), 0, 0);
        Group->SetAlign(alClient);
        Group->VertScrollBar()->SetTracking(true);
        for (int i = 0; i < 3; ++i) {
            auto *p = new TCategoryPanel(Form.get());
            p->SetPanelGroup(Group);
            p->SetCaption(QStringLiteral("%1. Panel").arg(i + 1));
            Panels.push_back(p);
        }
    }
    TCategoryPanelGroup *Group = nullptr;
    std::vector<TCategoryPanel *> Panels;
};

TEST_F(CategoryGroup, PanelsStackByTopAndHiddenOnesTakeNoPlace)
{
    Panels[0]->SetVisible(false);
    Panels[2]->SetTop(0);
    Panels[1]->SetTop(Panels[2]->Top() + Panels[2]->Height());
    EXPECT_EQ(Panels[2]->Top(), 0);
    EXPECT_EQ(Panels[1]->Top(), Panels[2]->Height());
    // The controls of a panel lie below its title bar and size it.
    auto *combo = Make<TComboBox>(Panels[2], 10, 10);
    Panels[2]->SetHeight(combo->Top() + combo->Height() + 12 + Group->HeaderHeight());
    EXPECT_EQ(Panels[2]->ClientHeight(), combo->Top() + combo->Height() + 12);
    EXPECT_EQ(Panels[1]->Top(), Panels[2]->Height());
    ShowForm();
    EXPECT_EQ(combo->ClientOrigin().Y - Form->ClientOrigin().Y, Group->HeaderHeight() + 10);
}

TEST_F(CategoryGroup, TitleClickCollapsesAndExpands)
{
    Panels[0]->SetHeight(100);
    ShowForm();
    int collapses = 0;
    Panels[0]->OnCollapse = [&](TObject *) { ++collapses; };
    GuiTest::Click(Group, {30, Group->HeaderHeight() / 2});
    EXPECT_TRUE(Panels[0]->Collapsed());
    EXPECT_EQ(collapses, 1);
    EXPECT_EQ(Panels[0]->Height(), Group->HeaderHeight());
    EXPECT_EQ(Panels[1]->Top(), Group->HeaderHeight());
    GuiTest::Click(Group, {30, Group->HeaderHeight() / 2});
    EXPECT_FALSE(Panels[0]->Collapsed());
    EXPECT_EQ(Panels[0]->Height(), 100);
}

TEST_F(CategoryGroup, ScrollsWhenThePanelsDoNotFit)
{
    Group->VertScrollBar()->SetIncrement(10);
    ShowForm(); // three panels of 200 in a client area of about 370
    EXPECT_TRUE(Group->VertScrollBar()->IsScrollBarVisible());
    EXPECT_LT(Panels[0]->Width(), Group->Width());
    Group->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    Group->Perform(WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(Group->VertScrollBar()->Position(), 10);
    EXPECT_EQ(Panels[0]->Top(), -10);
    Group->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(Panels[2]->Top() + Panels[2]->Height(), Group->Height());
    Group->Perform(WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(Panels[2]->Top() + Panels[2]->Height(), Group->Height() + 10);
    Panels[1]->SetVisible(false);
    Panels[2]->SetVisible(false);
    EXPECT_FALSE(Group->VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(Panels[0]->Top(), 0);
}

// ---- the demo dialog ----

TEST_F(StdCtrlsDisplay, DemoDialogWithEveryControlRendersToPng)
{
    Form->SetCaption(QStringLiteral("Set Communication"));
    Form->SetClientSize(640, 470);
    auto *title = Make<TPanel>(Form.get(), 0, 0);
    title->SetAlign(alTop);
    title->SetHeight(69);
    title->SetBevelOuter(bvNone);
    auto *code = Make<TLabel>(title, 16, 8);
    code->Font()->SetHeight(-32);
    code->Font()->SetColor(clGray);
    code->SetCaption(QStringLiteral("CF40385"));
    auto *desc = Make<TLabel>(title, 16, 42);
    desc->Font()->SetStyle({TFontStyle::fsBold});
    desc->Font()->SetColor(clGray);
    desc->SetCaption(QStringLiteral("Set Communication Setting"));
    auto *link = Make<TLinkLabel>(title, 300, 19);
    link->SetCaption(QStringLiteral("<a href=\"https://example.test\">New Version Available. Click Here for more Details</a>"));
    auto *buttons = Make<TPanel>(Form.get(), 0, 0);
    buttons->SetAlign(alBottom);
    buttons->SetHeight(40);
    auto *ok = Make<TButton>(buttons, 16, 6);
    ok->SetCaption(QStringLiteral("OK"));
    ok->SetDefault(true);
    auto *cancel = Make<TButton>(buttons, 134, 6);
    cancel->SetCaption(QStringLiteral("Cancel"));

    auto *pc = Make<TPageControl>(Form.get(), 8, 76);
    pc->SetBounds(8, 76, 300, 340);
    auto *page1 = new TTabSheet(Form.get());
    page1->SetPageControl(pc);
    page1->SetCaption(QStringLiteral("Language"));
    auto *page2 = new TTabSheet(Form.get());
    page2->SetPageControl(pc);
    page2->SetCaption(QStringLiteral("Connection"));
    auto *lSel = Make<TLabel>(page1, 12, 11);
    lSel->SetCaption(QStringLiteral("Select the language: English"));
    auto *box = Make<TGroupBox>(page1, 12, 36);
    box->SetBounds(12, 36, 270, 90);
    box->SetCaption(QStringLiteral("Serial"));
    auto *rs232 = Make<TRadioButton>(box, 12, 22);
    rs232->SetCaption(QStringLiteral("RS232"));
    rs232->SetChecked(true);
    auto *rs485 = Make<TRadioButton>(box, 12, 46);
    rs485->SetCaption(QStringLiteral("RS485"));
    auto *gateway = Make<TCheckBox>(box, 140, 22);
    gateway->SetCaption(QStringLiteral("Gateway"));
    gateway->SetChecked(true);
    auto *readBack = Make<TCheckBox>(box, 140, 46);
    readBack->SetCaption(QStringLiteral("Read Back"));
    auto *edit = Make<TEdit>(page1, 12, 136);
    edit->SetText(QStringLiteral("192"));
    edit->SetWidth(40);
    auto *port = Make<TEdit>(page1, 60, 136);
    port->SetText(QStringLiteral("44818"));
    port->SetEnabled(false);
    port->SetWidth(60);
    auto *memo = Make<TMemo>(page1, 12, 166);
    memo->SetBounds(12, 166, 150, 60);
    memo->SetScrollBars(ssVertical);
    memo->Lines()->SetText(QStringLiteral("First line\r\nSecond line"));
    auto *list = Make<TListBox>(page1, 170, 136);
    list->SetBounds(170, 136, 112, 90);
    for (const char *s : {"Plant A", "Plant B", "Test bench"})
        list->Items()->Add(QString::fromLatin1(s));
    list->SetItemIndex(1);
    auto *bar = Make<TScrollBar>(page1, 12, 236);
    bar->SetWidth(270);
    bar->SetPosition(30);
    auto *shape = Make<TShape>(page1, 12, 260);
    shape->SetBounds(12, 262, 270, 1);
    shape->Pen()->SetColor(clSilver);
    auto *img = Make<TImage>(page1, 240, 4);
    img->SetBounds(250, 4, 30, 24);
    TBitmap flag(30, 24);
    flag.Canvas()->Brush()->SetColor(clNavy);
    flag.Canvas()->FillRect({0, 0, 30, 24});
    flag.Canvas()->Brush()->SetColor(clYellow);
    flag.Canvas()->FillRect({10, 0, 20, 24});
    img->Picture()->SetBitmap(&flag);

    auto *group = Make<TCategoryPanelGroup>(Form.get(), 316, 76);
    group->SetBounds(316, 76, 316, 340);
    group->SetColor(FormColor);
    auto *serial = new TCategoryPanel(Form.get());
    serial->SetPanelGroup(group);
    serial->SetCaption(QStringLiteral("1. Serial"));
    serial->SetTop(0);
    const char *labels[] = {"Serial", "Baudrate", "Parity", "Stop Bits"};
    const char *items[][2] = {{"RS232", "RS485"}, {"9600", "115200"}, {"NONE", "ODD"}, {"1 Stop Bits", "2 Stop Bits"}};
    TComboBox *last = nullptr;
    for (int i = 0; i < 4; ++i) {
        auto *l = Make<TLabel>(serial, 12, 14 + 30 * i);
        l->SetCaption(QString::fromLatin1(labels[i]));
        last = Make<TComboBox>(serial, 120, 10 + 30 * i);
        last->SetStyle(csOwnerDrawFixed);
        last->Items()->Add(QString::fromLatin1(items[i][0]));
        last->Items()->Add(QString::fromLatin1(items[i][1]));
        last->SetItemIndex(i % 2);
    }
    serial->SetHeight(last->Top() + last->Height() + 12 + group->HeaderHeight());
    auto *eth = new TCategoryPanel(Form.get());
    eth->SetPanelGroup(group);
    eth->SetCaption(QStringLiteral("2. EtherNet/IP Master"));
    eth->SetTop(serial->Top() + serial->Height());
    auto *ipLabel = Make<TLabel>(eth, 12, 14);
    ipLabel->SetCaption(QStringLiteral("IP Address"));
    for (int i = 0; i < 4; ++i) {
        auto *octet = Make<TEdit>(eth, 120 + 44 * i, 10);
        octet->SetWidth(38);
        octet->SetText(QString::number(i == 0 ? 192 : i == 1 ? 168 : i == 2 ? 0 : 5));
    }
    auto *dd = Make<TComboBox>(eth, 120, 40);
    dd->Items()->Add(QStringLiteral("Firmware + Configuration"));
    dd->SetItemIndex(0);
    dd->SetWidth(170);
    eth->SetHeight(dd->Top() + dd->Height() + 12 + group->HeaderHeight());
    auto *hidden = new TCategoryPanel(Form.get());
    hidden->SetPanelGroup(group);
    hidden->SetCaption(QStringLiteral("3. Collapsed"));
    hidden->SetTop(eth->Top() + eth->Height());
    hidden->SetCollapsed(true);

    ShowForm();
    const UnicodeString file = GuiTest::ArtefactDir() + QStringLiteral("/stdctrls_demo.png");
    ASSERT_TRUE(GuiTest::SaveWindowPng(Form.get(), file));
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 5, 30), RGB(248, 247, 237));
}

} // namespace
