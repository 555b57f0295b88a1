// The communication parameters editor driven as a user would: what it shows, what it refuses,
// the octet keys, and "ParGen.xml" as it is written and read back.
#include "EditorsFixture.h"

#include "controls/LbButton.h"
#include "core/ULanguage.h"
#include "core/USettings.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/MultiMon.h"

#include <QWidget>

#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

namespace {

class ParGen : public TEditorsTest {
protected:
    void SetUp() override
    {
        TEditorsTest::SetUp();
        StartEditors();
        OpenConf(QStringLiteral("Plant"));
    }

    TModalResult Show(const std::function<void(TScriptedModalHook &)> &Body, int Boxes_On_Show = 0)
    {
        return ShowDialog(FParGen, Body, Boxes_On_Show);
    }

    // Clicks OK. When a refusal is expected its message box is answered.
    static void ClickOK(TScriptedModalHook &hook, bool Refusal_Expected)
    {
        if (Refusal_Expected)
            hook.Answer(mrOk);
        GuiTest::Click(FParGen->Btn_OK);
    }

    QString FileText() const { return QString::fromUtf8(ReadBytes(QStringLiteral("PROJECTS/Plant/ParGen.xml"))); }
    bool FileExists() const { return QFileInfo::exists(ConfPath(QStringLiteral("ParGen.xml"))); }
};

QStringList Octets(int First)
{
    QStringList All;
    for (int k = 0; k < 4; ++k)
        All << FParGen->Octet_Edit(First + k)->Text();
    return All;
}

} // namespace

TEST_F(ParGen, FirstShowingInANewConfigurationShowsTheDefaultsAndCancelWritesNothing)
{
    // Whatever the controls held before, a showing without a file shows the defaults.
    FParGen->E_EtherNetIP_Master_SM4->SetText(QStringLiteral("77"));
    FParGen->CB_Serial_Baudrate->SetItemIndex(1);
    const TModalResult Result = Show([&](TScriptedModalHook &) {
        TFParGen *F = FParGen;
        EXPECT_EQ(Octets(0), QStringList({"192", "168", "0", "5"}));
        EXPECT_EQ(Octets(4), QStringList({"255", "255", "255", "0"}));
        EXPECT_EQ(Octets(8), QStringList({"192", "168", "0", "1"}));
        EXPECT_FALSE(F->CB_EtherNetIP_Master_GAT->Checked());
        EXPECT_EQ(F->E_EtherNetIP_Master_Port->Text(), QStringLiteral("44818"));
        EXPECT_FALSE(F->E_EtherNetIP_Master_Port->Enabled());
        EXPECT_EQ(F->CB_Serial_Serial->Text(), QStringLiteral("RS232"));
        EXPECT_EQ(F->CB_Serial_Baudrate->Text(), QStringLiteral("115200"));
        EXPECT_EQ(F->Cb_Serial_Parity->Text(), QStringLiteral("NONE"));
        EXPECT_EQ(F->CB_Serial_StopBits->Text(), QStringLiteral("1 Stop Bits"));
        // Only this converter's two sides show, serial first.
        EXPECT_TRUE(F->CP_Serial->Visible());
        EXPECT_TRUE(F->CP_EtherNetIP_Master->Visible());
        for (TCategoryPanel *P : {F->CP_CANopen, F->CP_Ethernet, F->CP_PROFIBUS, F->CP_SNMP_Agent,
                                  F->CP_Modbus_TCP_Slave, F->CP_BACnet_Slave, F->CP_DeviceNet_Slave, F->CP_CAN,
                                  F->CP_KNX, F->CP_MQTT, F->CP_Modbus_Slave, F->CP_PROFINET})
            EXPECT_FALSE(P->Visible());
        EXPECT_EQ(F->CP_Serial->Caption(), QStringLiteral("1. Serial"));
        EXPECT_EQ(F->CP_EtherNetIP_Master->Caption(), QStringLiteral("2. EtherNet/IP Master"));
        EXPECT_LT(F->CP_Serial->Top(), F->CP_EtherNetIP_Master->Top());
        EXPECT_EQ(F->Caption(), QStringLiteral("Set Communication"));
        EXPECT_EQ(F->L_SW_Code->Caption(), QStringLiteral("CF40385"));
        EXPECT_EQ(F->ClientWidth(), 460);
        GuiTest::Click(F->Btn_Cancel);
    });
    EXPECT_EQ(Result, mrCancel);
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_FALSE(FileExists());
}

TEST_F(ParGen, OutOfRangeOctetsAreRefusedUnlessTheyBelongToAnUnusedGateway)
{
    struct Case {
        int Edit; // 0..3 address, 4..7 mask, 8..11 gateway
        bool Gateway;
        const char *Text;
        int Refusal; // text number, 0 when the value passes
    };
    const Case Cases[] = {
        {2, false, "256", 452}, {2, false, "abc", 452}, {0, false, "", 450},    {3, false, "-1", 453},
        {5, false, "300", 455}, {7, false, "x", 457},   {10, true, "256", 460}, {8, true, "abc", 458},
        {10, false, "256", 0},  {9, false, "abc", 0},   {11, true, "255", 0},   {4, false, "0", 0},
    };
    for (const Case &C : Cases) {
        SCOPED_TRACE(testing::Message() << "edit " << C.Edit << " \"" << C.Text << "\" gateway " << C.Gateway);
        QFile::remove(ConfPath(QStringLiteral("ParGen.xml")));
        bool Open_After_OK = false;
        const TModalResult Result = Show([&](TScriptedModalHook &hook) {
            FParGen->CB_EtherNetIP_Master_GAT->SetChecked(C.Gateway);
            Type(FParGen->Octet_Edit(C.Edit), QString::fromLatin1(C.Text));
            ClickOK(hook, C.Refusal != 0);
            Open_After_OK = FParGen->ModalResult() == mrNone;
            if (Open_After_OK) {
                // The dialog keeps what was typed.
                EXPECT_EQ(FParGen->Octet_Edit(C.Edit)->Text(), QString::fromLatin1(C.Text));
                GuiTest::Click(FParGen->Btn_Cancel);
            }
        });
        if (C.Refusal) {
            EXPECT_TRUE(Open_After_OK);
            EXPECT_EQ(Result, mrCancel);
            EXPECT_EQ(Messages, QStringList{Lang_Text(C.Refusal)});
            EXPECT_FALSE(FileExists());
        } else {
            EXPECT_FALSE(Open_After_OK);
            EXPECT_EQ(Result, mrOk);
            EXPECT_TRUE(Messages.isEmpty());
            const QString Element = QStringLiteral("<EtherNetIP_Master_%1%2>%3<")
                                        .arg(C.Edit < 4 ? "IP" : C.Edit < 8 ? "SM" : "GAT")
                                        .arg(C.Edit % 4 + 1)
                                        .arg(QString::fromLatin1(C.Text));
            EXPECT_TRUE(FileText().contains(Element)) << FileText().toStdString();
        }
    }
    EXPECT_EQ(Lang_Text(452), QStringLiteral("Error EtherNet/IP Master!! IP Address 3 must be between 0 and 255"));
}

TEST_F(ParGen, TwoStopBitsNeedNoParity)
{
    const struct {
        int Parity;
        bool Refused;
    } Cases[] = {{0, false}, {1, true}, {2, true}};
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.Parity);
        bool Open_After_OK = false;
        const TModalResult Result = Show([&](TScriptedModalHook &hook) {
            FParGen->CB_Serial_StopBits->SetItemIndex(1);
            FParGen->Cb_Serial_Parity->SetItemIndex(C.Parity);
            ClickOK(hook, C.Refused);
            Open_After_OK = FParGen->ModalResult() == mrNone;
            if (Open_After_OK)
                GuiTest::Click(FParGen->Btn_Cancel);
        });
        EXPECT_EQ(Open_After_OK, C.Refused);
        EXPECT_EQ(Result, C.Refused ? mrCancel : mrOk);
        EXPECT_EQ(Messages, C.Refused ? QStringList{QStringLiteral(
                                            "Error Serial!! Two Stop Bits can be selected only with None Parity")}
                                      : QStringList{});
    }
    EXPECT_TRUE(FileText().contains(QStringLiteral("<SERIAL_STOPBITS>1</SERIAL_STOPBITS>")));
}

TEST_F(ParGen, ADotMovesToTheNextOctetAndIsNeverTyped)
{
    Show([&](TScriptedModalHook &) {
        TFParGen *F = FParGen;
        const struct {
            TEdit *From;
            TEdit *To;
        } Moves[] = {{F->E_EtherNetIP_Master_IP1, F->E_EtherNetIP_Master_IP2},
                     {F->E_EtherNetIP_Master_IP4, F->E_EtherNetIP_Master_SM1},
                     {F->E_EtherNetIP_Master_SM4, F->E_EtherNetIP_Master_GAT1},
                     {F->E_EtherNetIP_Master_GAT3, F->E_EtherNetIP_Master_GAT4},
                     {F->E_EtherNetIP_Master_GAT4, F->E_EtherNetIP_Master_GAT4}};
        for (const auto &M : Moves) {
            M.From->SetFocus();
            ASSERT_TRUE(GuiTest::WaitUntil([&] { return GuiTest::FocusedControl() == M.From; }));
            const QString Before = M.From->Text();
            GuiTest::TypeText(M.From, QStringLiteral("."));
            GuiTest::ProcessEvents();
            EXPECT_EQ(M.From->Text(), Before);
            EXPECT_EQ(GuiTest::FocusedControl(), M.To) << M.From->Name().toStdString();
        }
        // Other keys reach the edit unchanged.
        F->E_EtherNetIP_Master_IP1->SetFocus();
        Type(F->E_EtherNetIP_Master_IP1, QStringLiteral("1a-"));
        EXPECT_EQ(F->E_EtherNetIP_Master_IP1->Text(), QStringLiteral("1a-"));
        GuiTest::Click(F->Btn_Cancel);
    });
}

TEST_F(ParGen, TheSavedFileHoldsTheEighteenElementsInOrderThenTheComment)
{
    const TModalResult Result = Show([&](TScriptedModalHook &hook) {
        TFParGen *F = FParGen;
        const char *Texts[12] = {"10", "0", "0", "7", "255", "255", "0", "0", "10", "0", "0", "254"};
        for (int i = 0; i < 12; ++i)
            Type(F->Octet_Edit(i), QString::fromLatin1(Texts[i]));
        GuiTest::Click(F->CB_EtherNetIP_Master_GAT);
        F->CB_Serial_Serial->SetItemIndex(1);
        F->CB_Serial_Baudrate->SetItemIndex(3);
        F->Cb_Serial_Parity->SetItemIndex(2);
        ClickOK(hook, false);
    });
    ASSERT_EQ(Result, mrOk);
    TXMLDocument Doc(nullptr);
    const auto Shape = ShapeOf(Doc, ConfPath(QStringLiteral("ParGen.xml")));
    EXPECT_EQ(Shape.TopLevel, QStringList({"Par_Gen", "#comment"}));
    EXPECT_EQ(Shape.Comment, QStringLiteral("SW_VERSION = 1.000"));
    const std::vector<std::pair<QString, QString>> Expected = {
        {"EtherNetIP_Master_IP1", "10"},     {"EtherNetIP_Master_IP2", "0"},    {"EtherNetIP_Master_IP3", "0"},
        {"EtherNetIP_Master_IP4", "7"},      {"EtherNetIP_Master_SM1", "255"},  {"EtherNetIP_Master_SM2", "255"},
        {"EtherNetIP_Master_SM3", "0"},      {"EtherNetIP_Master_SM4", "0"},    {"EtherNetIP_Master_GAT1", "10"},
        {"EtherNetIP_Master_GAT2", "0"},     {"EtherNetIP_Master_GAT3", "0"},   {"EtherNetIP_Master_GAT4", "254"},
        {"EtherNetIP_Master_EN_GAT", "1"},   {"EtherNetIP_Master_Port", "44818"}, {"SERIAL_SERIAL", "1"},
        {"SERIAL_BAUDRATE", "3"},            {"SERIAL_PARITY", "2"},            {"SERIAL_STOPBITS", "0"},
    };
    EXPECT_EQ(Children(Shape.Root), Expected);
    EXPECT_FALSE(FileText().startsWith(QStringLiteral("<?xml")));
}

TEST_F(ParGen, CancelWritesNothingAndTheNextShowingReloadsTheFile)
{
    ASSERT_EQ(Show([&](TScriptedModalHook &hook) {
                  Type(FParGen->E_EtherNetIP_Master_IP4, QStringLiteral("9"));
                  FParGen->Cb_Serial_Parity->SetItemIndex(1);
                  ClickOK(hook, false);
              }),
              mrOk);
    const QByteArray Saved = ReadBytes(QStringLiteral("PROJECTS/Plant/ParGen.xml"));
    ASSERT_FALSE(Saved.isEmpty());

    EXPECT_EQ(Show([&](TScriptedModalHook &) {
                  EXPECT_EQ(FParGen->E_EtherNetIP_Master_IP4->Text(), QStringLiteral("9"));
                  Type(FParGen->E_EtherNetIP_Master_IP4, QStringLiteral("200"));
                  FParGen->Cb_Serial_Parity->SetItemIndex(2);
                  GuiTest::Click(FParGen->CB_EtherNetIP_Master_GAT);
                  GuiTest::Click(FParGen->Btn_Cancel);
              }),
              mrCancel);
    EXPECT_EQ(ReadBytes(QStringLiteral("PROJECTS/Plant/ParGen.xml")), Saved);

    Show([&](TScriptedModalHook &) {
        EXPECT_EQ(FParGen->E_EtherNetIP_Master_IP4->Text(), QStringLiteral("9"));
        EXPECT_EQ(FParGen->Cb_Serial_Parity->Text(), QStringLiteral("ODD"));
        EXPECT_FALSE(FParGen->CB_EtherNetIP_Master_GAT->Checked());
        GuiTest::Click(FParGen->Btn_Cancel);
    });
}

TEST_F(ParGen, ReadingTakesEachElementUnderItsOwnGuard)
{
    // Another root name, a missing mask octet, an element holding an element, a port that is
    // not the fixed one, a list index that names no entry and a gateway flag that is not "1".
    WriteBytes(QStringLiteral("PROJECTS/Plant/ParGen.xml"),
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- kept by hand -->\n<Other>\n"
               "  <EtherNetIP_Master_IP1>010</EtherNetIP_Master_IP1>\n"
               "  <EtherNetIP_Master_IP2>x<b/></EtherNetIP_Master_IP2>\n"
               "  <EtherNetIP_Master_SM1>255</EtherNetIP_Master_SM1>\n"
               "  <EtherNetIP_Master_GAT4>7</EtherNetIP_Master_GAT4>\n"
               "  <EtherNetIP_Master_EN_GAT>true</EtherNetIP_Master_EN_GAT>\n"
               "  <EtherNetIP_Master_Port>502</EtherNetIP_Master_Port>\n"
               "  <SERIAL_SERIAL>1</SERIAL_SERIAL>\n"
               "  <SERIAL_BAUDRATE>9</SERIAL_BAUDRATE>\n"
               "  <SERIAL_PARITY>abc</SERIAL_PARITY>\n"
               "</Other>\n");
    const TModalResult Result = Show([&](TScriptedModalHook &hook) {
        TFParGen *F = FParGen;
        EXPECT_EQ(Octets(0), QStringList({"010", "168", "0", "5"}));
        EXPECT_EQ(Octets(4), QStringList({"255", "255", "255", "0"}));
        EXPECT_EQ(Octets(8), QStringList({"192", "168", "0", "7"}));
        EXPECT_FALSE(F->CB_EtherNetIP_Master_GAT->Checked());
        EXPECT_EQ(F->E_EtherNetIP_Master_Port->Text(), QStringLiteral("44818"));
        EXPECT_EQ(F->CB_Serial_Serial->ItemIndex(), 1);
        EXPECT_EQ(F->CB_Serial_Baudrate->ItemIndex(), -1);
        EXPECT_EQ(F->Cb_Serial_Parity->ItemIndex(), 0);
        EXPECT_EQ(F->CB_Serial_StopBits->ItemIndex(), 0);
        ClickOK(hook, false);
    });
    EXPECT_EQ(Result, mrOk);
    EXPECT_TRUE(Messages.isEmpty());
    const QString Text = FileText();
    EXPECT_TRUE(Text.contains(QStringLiteral("<EtherNetIP_Master_IP1>010</EtherNetIP_Master_IP1>")));
    EXPECT_TRUE(Text.contains(QStringLiteral("<EtherNetIP_Master_Port>44818</EtherNetIP_Master_Port>")));
    EXPECT_TRUE(Text.contains(QStringLiteral("<SERIAL_BAUDRATE>-1</SERIAL_BAUDRATE>")));
    EXPECT_TRUE(Text.contains(QStringLiteral("<EtherNetIP_Master_EN_GAT>0</EtherNetIP_Master_EN_GAT>")));

    for (const char *Flag : {"0", "", "1"}) {
        WriteBytes(QStringLiteral("PROJECTS/Plant/ParGen.xml"),
                   QByteArray("<Par_Gen><EtherNetIP_Master_EN_GAT>") + Flag + "</EtherNetIP_Master_EN_GAT></Par_Gen>");
        Show([&](TScriptedModalHook &) {
            EXPECT_EQ(FParGen->CB_EtherNetIP_Master_GAT->Checked(), QByteArray(Flag) == "1") << Flag;
            GuiTest::Click(FParGen->Btn_Cancel);
        });
    }
}

TEST_F(ParGen, AFileThatIsNotXmlIsReportedOnceAndConfirmingWritesAGoodOne)
{
    WriteBytes(QStringLiteral("PROJECTS/Plant/ParGen.xml"), "<Par_Gen><EtherNetIP_Master_IP1>10</Par_Gen");
    const TModalResult Result = Show([&](TScriptedModalHook &hook) {
        EXPECT_EQ(Octets(0), QStringList({"192", "168", "0", "5"}));
        EXPECT_EQ(FParGen->CB_Serial_Baudrate->ItemIndex(), 7);
        ClickOK(hook, false);
    }, 1);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("ParGen.xml"))) << Messages[0].toStdString();
    EXPECT_EQ(Result, mrOk);
    TXMLDocument Doc(nullptr);
    const auto Shape = ShapeOf(Doc, ConfPath(QStringLiteral("ParGen.xml")));
    EXPECT_EQ(Children(Shape.Root).size(), 18u);
}

TEST_F(ParGen, TheWidthStaysFixedAndTheWheelScrollsThePanels)
{
    Show([&](TScriptedModalHook &) {
        TFParGen *F = FParGen;
        F->SetClientSize(600, 260);
        EXPECT_EQ(F->ClientWidth(), 460);
        EXPECT_EQ(F->ClientHeight(), 260);
        GuiTest::ProcessEvents();
        ASSERT_TRUE(F->CPG->VertScrollBar()->IsScrollBarVisible());
        const TPoint Centre{F->CPG->Width() / 2, F->CPG->Height() / 2};
        GuiTest::Wheel(F->CPG, -120, Centre);
        GuiTest::ProcessEvents();
        EXPECT_GT(F->CPG->VertScrollBar()->Position(), 0);
        GuiTest::Click(F->Btn_Cancel);
    });
}

TEST_F(ParGen, ALanguageChangeRenamesTheControlsButNotThePanelTitles)
{
    Apply_Lang_Line(QStringLiteral("STR400 =Kommunikation"));
    Apply_Lang_Line(QStringLiteral("STR407 =IP-Adresse"));
    Apply_Lang_Line(QStringLiteral("STR587 =Seriell"));
    Apply_Lang_Line(QStringLiteral("STR1002 =Aktualisierung"));
    FFabricoreFirmWare->Change_Language();
    EXPECT_EQ(FParGen->Caption(), QStringLiteral("Kommunikation"));
    EXPECT_EQ(FParGen->L_EtherNetIP_Master_IP->Caption(), QStringLiteral("IP-Adresse"));
    // The titles keep the language of the start.
    EXPECT_EQ(FParGen->CP_Serial->Caption(), QStringLiteral("1. Serial"));
    EXPECT_EQ(FBoot->Caption(), QStringLiteral("Aktualisierung"));
}

TEST_F(ParGen, AFileThatCannotBeWrittenIsReportedAndTheDialogStaysOpen)
{
    // A folder where the file belongs: nothing can replace it.
    ASSERT_TRUE(QDir().mkpath(ConfPath(QStringLiteral("ParGen.xml"))));
    bool Open_After_OK = false;
    const TModalResult Result = Show([&](TScriptedModalHook &hook) {
        hook.Answer(mrOk);
        GuiTest::Click(FParGen->Btn_OK);
        Open_After_OK = FParGen->ModalResult() == mrNone;
        GuiTest::Click(FParGen->Btn_Cancel);
    });
    EXPECT_TRUE(Open_After_OK);
    EXPECT_EQ(Result, mrCancel);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("ParGen.xml"))) << Messages[0].toStdString();
    EXPECT_TRUE(QFileInfo(ConfPath(QStringLiteral("ParGen.xml"))).isDir());
}

TEST_F(ParGen, OpensOnTheFirstFieldAndTabVisitsOnlyTheFieldsThatShow)
{
    TFParGen *F = FParGen;
    const std::vector<TWinControl *> Tab_Cycle = {
        F->CB_Serial_Serial,        F->CB_Serial_Baudrate,      F->Cb_Serial_Parity,        F->CB_Serial_StopBits,
        F->E_EtherNetIP_Master_IP1, F->E_EtherNetIP_Master_IP2, F->E_EtherNetIP_Master_IP3, F->E_EtherNetIP_Master_IP4,
        F->E_EtherNetIP_Master_SM1, F->E_EtherNetIP_Master_SM2, F->E_EtherNetIP_Master_SM3, F->E_EtherNetIP_Master_SM4,
        F->CB_EtherNetIP_Master_GAT, F->E_EtherNetIP_Master_GAT1, F->E_EtherNetIP_Master_GAT2,
        F->E_EtherNetIP_Master_GAT3, F->E_EtherNetIP_Master_GAT4, F->Btn_OK, F->Btn_Cancel};
    // Twice: the second opening follows one that ended with the focus on OK.
    for (int Opening = 0; Opening < 2; ++Opening) {
        SCOPED_TRACE(Opening);
        const TModalResult Result = Show([&](TScriptedModalHook &) {
            GuiTest::ProcessEvents();
            ASSERT_EQ(GuiTest::FocusedControl(), F->CB_Serial_Serial);
            // Return right after opening does not confirm the dialog.
            GuiTest::PressKey(F->CB_Serial_Serial, VK_RETURN);
            GuiTest::ProcessEvents();
            EXPECT_EQ(F->ModalResult(), mrNone);
            for (std::size_t i = 1; i <= Tab_Cycle.size(); ++i) {
                GuiTest::PressKey(GuiTest::FocusedControl(), VK_TAB);
                GuiTest::ProcessEvents();
                EXPECT_EQ(GuiTest::FocusedControl(), Tab_Cycle[i % Tab_Cycle.size()]) << "after Tab " << i;
            }
            F->Btn_OK->SetFocus();
            GuiTest::Click(F->Btn_OK);
        });
        EXPECT_EQ(Result, mrOk);
    }
}

TEST_F(ParGen, TheUserMaySizeTheHeightButNotTheWidth)
{
    Show([&](TScriptedModalHook &) {
        TFParGen *F = FParGen;
        const QWidget *W = F->Widget();
        EXPECT_EQ(F->BorderStyle(), bsSizeable);
        EXPECT_EQ(W->minimumWidth(), 460);
        EXPECT_EQ(W->maximumWidth(), 460);
        EXPECT_EQ(W->maximumHeight(), QWIDGETSIZE_MAX);
        // Room for the title, the buttons and a panel title between them.
        EXPECT_EQ(W->minimumHeight(), 69 + 40 + 60);
        // The window fits the screen's work area, so the buttons can be reached.
        TRect Work;
        ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0));
        EXPECT_LE(F->Height(), Work.Height());
        EXPECT_EQ(F->ClientHeight(), std::min(700, Work.Height() - (F->Height() - F->ClientHeight())));
        GuiTest::Click(F->Btn_Cancel);
    });
}
