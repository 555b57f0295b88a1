// The update dialog driven as a user would, with a played device: the device check, the
// parameter file of the update program for each option, and the start of that program.
#include "EditorsFixture.h"

#include "controls/LbButton.h"
#include "core/ULanguage.h"
#include "platform/ExtCtrlsPanels.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

namespace {

using TPairs = std::vector<std::pair<QString, QString>>;

class Boot : public TEditorsTest {
protected:
    void SetUp() override
    {
        TEditorsTest::SetUp();
        StartEditors();
        OpenConf(QStringLiteral("Plant"));
        WriteUpdateProgram();
        Device.Attach(FBoot);
    }

    // Shows the dialog; Body runs inside its modal loop and must close it. Message box texts
    // shown meanwhile are collected in Messages, their kinds in Kinds.
    TModalResult Show(const std::function<void(TScriptedModalHook &)> &Body)
    {
        TScriptedModalHook hook;
        hook.RunWith([&](TModalRequest &) { Body(hook); });
        const TModalResult Result = FBoot->ShowModal();
        Messages.clear();
        Kinds.clear();
        for (const auto &S : hook.Shown)
            if (S.Kind == mkMessage) {
                Messages << S.Text;
                Kinds.push_back(S.DlgType);
            }
        EXPECT_EQ(hook.Pending(), 0u);
        return Result;
    }

    // Enters the address, chooses the options, clicks the update button (answering the
    // message box when one is expected) and closes the dialog with Cancel.
    void Update(const QStringList &Address, int Option, bool Read_Back, bool Box_Expected)
    {
        Show([&](TScriptedModalHook &hook) {
            TEdit *Edits[4] = {FBoot->E_IP1, FBoot->E_IP2, FBoot->E_IP3, FBoot->E_IP4};
            for (int k = 0; k < 4; ++k)
                Type(Edits[k], Address[k]);
            FBoot->CB_Update_Options->SetItemIndex(Option);
            if (FBoot->CB_Update_Option_Read_Back->Checked() != Read_Back)
                GuiTest::Click(FBoot->CB_Update_Option_Read_Back);
            if (Box_Expected)
                hook.Answer(mrOk);
            GuiTest::Click(FBoot->Btn_Update);
            // The update button never closes the dialog.
            EXPECT_EQ(FBoot->ModalResult(), mrNone);
            GuiTest::Click(FBoot->Btn_Cancel);
        });
    }

    // A file in the program folder as the update program is told of it: a native path.
    QString NativeFile(const QString &Relative) const
    {
        return Dir() + QStringLiteral("/") + Relative;
    }

    TPlayedDevice Device;
    QStringList Messages;
    std::vector<TMsgDlgType> Kinds;
};

const QStringList Loopback = {"127", "0", "0", "1"};

TPairs Operation(bool Configuration, const QString &File, bool Read_Back, bool GoToApp_After)
{
    TPairs Op = {{"Ope_Protection_Enabled", ""},
                 {"Ope_GoToBoot_Before", "0"},
                 {"Ope_GoToApp_Before", "0"},
                 {"Ope_IP_Address", ""},
                 {"Ope_Port", "2008"},
                 {"Ope_Port_Sec", "2007"},
                 {"Ope_Erase_Memory", "0"},
                 {"Ope_FileName", File},
                 {"Ope_Start_Address", Configuration ? "0x68000" : "0x8000"},
                 {"Ope_Memory_Type", "0"},
                 {"Ope_Bank_Type", Configuration ? "2" : "1"},
                 {"Ope_Read_Back", Read_Back ? "1" : "0"},
                 {"Ope_Write_CSS", Configuration ? "0" : "1"},
                 {"Ope_Address_CSS", Configuration ? "0x50100" : "0x78100"},
                 {"Ope_Command_CSS", "0x0B"}};
    if (Configuration) {
        Op.push_back({"Ope_Write_Internal_Data", "0"});
        Op.push_back({"Ope_WID_Address", "0x78200"});
        Op.push_back({"Ope_WID_Command", "0x0B"});
        Op.push_back({"Ope_WID_Data", "0x00, 0x00, 0x00, 0x01"});
    }
    Op.push_back({"Ope_GoToApp_After", GoToApp_After ? "1" : "0"});
    return Op;
}

} // namespace

TEST_F(Boot, EachUpdateOptionWritesItsParameterFileAndRunsTheProgramOnce)
{
    const QString Firmware = NativeFile(QStringLiteral("MASTER/Sim40385.sim"));
    const QString Image = NativeFile(QStringLiteral("PROJECTS/Plant/bin/bank.bin"));
    const struct {
        int Option;
        bool Read_Back;
        std::vector<TPairs> Operations;
    } Cases[] = {
        {0, true, {Operation(false, Firmware, true, false), Operation(true, Image, true, true)}},
        {1, false, {Operation(false, Firmware, false, true)}},
        {2, false, {Operation(true, Image, false, true)}},
        {2, true, {Operation(true, Image, true, true)}},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(testing::Message() << "option " << C.Option << " read back " << C.Read_Back);
        QFile::remove(PathOf(QStringLiteral("runs.log")));
        QFile::remove(PathOf(QStringLiteral("Ethernet_Update.xml")));
        Device.Requests = 0;
        Update(Loopback, C.Option, C.Read_Back, false);
        EXPECT_TRUE(Messages.isEmpty()) << Messages.join(u'|').toStdString();
        EXPECT_EQ(Device.Requests, 2);
        EXPECT_EQ(Device.Hosts.last(), QStringLiteral("127.0.0.1"));
        EXPECT_EQ(Device.Data.last(), QStringLiteral("127.0.0.1"));
        EXPECT_EQ(UpdateRuns(), 1);
        // The program found the file already written.
        EXPECT_EQ(ReadBytes(QStringLiteral("seen.xml")), ReadBytes(QStringLiteral("Ethernet_Update.xml")));

        TXMLDocument Doc(nullptr);
        const auto Shape = ShapeOf(Doc, PathOf(QStringLiteral("Ethernet_Update.xml")));
        EXPECT_EQ(Shape.TopLevel, QStringList{QStringLiteral("Ethernet_Update")});
        const TPairs Root = {{"Version", "1000"},
                             {"Title", "VeltraCorp - CF40385 Ethernet Update"},
                             {"IP_Address_Dev", "127.0.0.1"},
                             {"Application_Port", "10000"},
                             {"Boot_Port", "2008"},
                             {"Boot_Port_Sec", "2007"},
                             {"Address_Protection", "0x78000"},
                             {"Protections", "<...>"},
                             {"Operations", "<...>"}};
        ASSERT_EQ(Children(Shape.Root), Root);
        EXPECT_EQ(Children(Shape.Root.ChildNodes()["Protections"]), (TPairs{{"Protection", "0x1D6"}}));
        const TXMLNode Operations = Shape.Root.ChildNodes()["Operations"];
        ASSERT_EQ(Operations.ChildNodes().Count(), static_cast<int>(C.Operations.size()));
        for (int i = 0; i < Operations.ChildNodes().Count(); ++i) {
            EXPECT_EQ(Operations.ChildNodes()[i].NodeName(), QStringLiteral("Operation"));
            EXPECT_EQ(Children(Operations.ChildNodes()[i]), C.Operations[static_cast<size_t>(i)]) << i;
        }
    }
}

TEST_F(Boot, AnAddressTheClientCannotUseIsReportedAndNothingRuns)
{
    // The real client refuses the text before anything is sent.
    FBoot->Echo_Request = [](const UnicodeString &Data) { FBoot->Ping->Ping(Data, 0); };
    Update({"192", "168", "", "5"}, 0, true, true);
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Error!!! Check the Ip Address")});
    ASSERT_EQ(Kinds.size(), 1u);
    EXPECT_EQ(Kinds[0], mtError);
    EXPECT_EQ(FBoot->Ping->Host(), QStringLiteral("192.168..5"));
    EXPECT_EQ(UpdateRuns(), 0);
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("Ethernet_Update.xml"))));
    EXPECT_EQ(Last_IP_Address, QStringLiteral("192.168.2.205"));
}

TEST_F(Boot, AParameterFileThatCannotBeWrittenIsReportedAndNothingRuns)
{
    // A folder where the file belongs: nothing can replace it.
    ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("Ethernet_Update.xml"))));
    Update(Loopback, 0, true, true);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Kinds[0], mtError);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("Ethernet_Update.xml"))) << Messages[0].toStdString();
    EXPECT_EQ(UpdateRuns(), 0);
}

TEST_F(Boot, AnUpdateProgramThatCannotStartIsReportedWithItsPath)
{
    const QString Program = PathOf(QStringLiteral("Ethernet_Update.exe"));
    const struct {
        const char *Name;
        std::function<void()> Break;
        const char *Reason;
    } Cases[] = {
        {"missing", [&] { QFile::remove(Program); }, "The system cannot find the file specified"},
        {"a folder", [&] { QFile::remove(Program); QDir().mkdir(Program); }, "Access is denied"},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.Name);
        C.Break();
        Update(Loopback, 0, true, true);
        ASSERT_EQ(Messages.size(), 1);
        EXPECT_EQ(Kinds[0], mtError);
        EXPECT_EQ(Messages[0], QStringLiteral("Cannot run \"%1\". %2.").arg(Program, QLatin1String(C.Reason))) << Messages[0].toStdString();
        // The parameters were written for a program that may be put in place and tried again.
        EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("Ethernet_Update.xml"))));
        EXPECT_EQ(UpdateRuns(), 0);
    }
}

TEST_F(Boot, ADeviceThatDoesNotAnswerIsReportedAfterFiveSeconds)
{
    const struct {
        const char *Name;
        std::function<bool(int)> Answers;
    } Cases[] = {
        {"silent", [](int) { return false; }},
        {"answers once, then falls silent", [](int n) { return n == 1; }},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.Name);
        Device.Answers = C.Answers;
        Device.Requests = 0;
        const DWORD Before = Device.Clock;
        Update({"10", "1", "2", "3"}, 2, true, true);
        const DWORD Took = Device.Clock - Before;
        EXPECT_EQ(Messages, QStringList{QStringLiteral("Device Not Found!")});
        ASSERT_EQ(Kinds.size(), 1u);
        EXPECT_EQ(Kinds[0], mtWarning);
        EXPECT_GT(Took, 5000u);
        EXPECT_LT(Took, 5500u);
        EXPECT_GE(Device.Requests, 12);
        EXPECT_LE(Device.Requests, 14);
        EXPECT_EQ(UpdateRuns(), 0);
        EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("Ethernet_Update.xml"))));
    }
}

TEST_F(Boot, ADeviceThatAnswersFromTheFourthRequestPassesAfterTwoReplies)
{
    Device.Answers = [](int n) { return n >= 4; };
    Update(Loopback, 2, true, false);
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(Device.Requests, 5);
    EXPECT_EQ(UpdateRuns(), 1);
}

TEST_F(Boot, TheNextShowingShowsTheLastAnsweringAddressAndTheLastOptions)
{
    Show([&](TScriptedModalHook &) {
        // The first showing: the address from the settings file and the options of the start.
        EXPECT_EQ(FBoot->E_IP1->Text() + "." + FBoot->E_IP2->Text() + "." + FBoot->E_IP3->Text() + "."
                      + FBoot->E_IP4->Text(),
                  QStringLiteral("192.168.2.205"));
        EXPECT_EQ(FBoot->CB_Update_Options->ItemIndex(), 0);
        EXPECT_TRUE(FBoot->CB_Update_Option_Read_Back->Checked());
        EXPECT_EQ(FBoot->Caption(), QStringLiteral("Update Device by Ethernet (UDP)"));
        EXPECT_EQ(FBoot->L_SW_Desc->Caption(), QStringLiteral("Update Device Using the Ethernet Port"));
        ASSERT_EQ(FBoot->CB_Update_Options->Items()->Count(), 3);
        EXPECT_EQ(FBoot->CB_Update_Options->Items()->Strings(0), QStringLiteral("Firmware + Configuration"));
        EXPECT_EQ(FBoot->CB_Update_Options->Items()->Strings(1), QStringLiteral("Firmware"));
        EXPECT_EQ(FBoot->CB_Update_Options->Items()->Strings(2), QStringLiteral("Configuration"));
        EXPECT_TRUE(FBoot->P_IP_Address->Visible());
        EXPECT_TRUE(FBoot->P_Options->Visible());
        EXPECT_FALSE(FBoot->P_Serial->Visible());
        EXPECT_FALSE(FBoot->P_Eth_Search->Visible());
        EXPECT_EQ(FBoot->ClientWidth(), 449);
        EXPECT_EQ(GuiTest::FocusedControl(), FBoot->E_IP1);
        GuiTest::Click(FBoot->Btn_Cancel);
    });

    Update(Loopback, 1, false, false);
    EXPECT_EQ(Last_IP_Address, QStringLiteral("127.0.0.1"));
    // A device that does not answer changes nothing that the next showing offers.
    Device.Answers = [](int) { return false; };
    Update({"10", "9", "8", "7"}, 2, true, true);

    Show([&](TScriptedModalHook &) {
        EXPECT_EQ(FBoot->E_IP1->Text(), QStringLiteral("127"));
        EXPECT_EQ(FBoot->E_IP2->Text(), QStringLiteral("0"));
        EXPECT_EQ(FBoot->E_IP3->Text(), QStringLiteral("0"));
        EXPECT_EQ(FBoot->E_IP4->Text(), QStringLiteral("1"));
        EXPECT_EQ(FBoot->CB_Update_Options->ItemIndex(), 1);
        EXPECT_FALSE(FBoot->CB_Update_Option_Read_Back->Checked());
        GuiTest::Click(FBoot->Btn_Cancel);
    });
    // The address goes to the next run through the settings file.
    CloseApp();
    EXPECT_TRUE(SettingsText().contains(QStringLiteral("<ipaddress>127.0.0.1</ipaddress>")));
}

TEST_F(Boot, ADotMovesToTheNextAddressEditAndIsNeverTyped)
{
    Show([&](TScriptedModalHook &) {
        const struct {
            TEdit *From;
            TEdit *To;
        } Moves[] = {{FBoot->E_IP1, FBoot->E_IP2}, {FBoot->E_IP3, FBoot->E_IP4}, {FBoot->E_IP4, FBoot->E_IP4}};
        for (const auto &M : Moves) {
            M.From->SetFocus();
            ASSERT_TRUE(GuiTest::WaitUntil([&] { return GuiTest::FocusedControl() == M.From; }));
            const QString Before = M.From->Text();
            GuiTest::TypeText(M.From, QStringLiteral("."));
            GuiTest::ProcessEvents();
            EXPECT_EQ(M.From->Text(), Before);
            EXPECT_EQ(GuiTest::FocusedControl(), M.To);
        }
        GuiTest::Click(FBoot->Btn_Cancel);
    });
}

TEST_F(Boot, TheSerialVariantOnlyKeepsTheOptions)
{
    FBoot->Form_Type = 0;
    Show([&](TScriptedModalHook &) {
        EXPECT_EQ(FBoot->Caption(), QStringLiteral("Update Device by Serial"));
        EXPECT_TRUE(FBoot->P_Serial->Visible());
        EXPECT_FALSE(FBoot->P_IP_Address->Visible());
        EXPECT_TRUE(FBoot->P_Options->Visible());
        FBoot->CB_Update_Options->SetItemIndex(2);
        GuiTest::Click(FBoot->CB_Update_Option_Read_Back);
        GuiTest::Click(FBoot->Btn_Update);
        EXPECT_EQ(FBoot->ModalResult(), mrNone);
        GuiTest::Click(FBoot->Btn_Cancel);
    });
    EXPECT_EQ(Update_Type, 2);
    EXPECT_FALSE(Update_Read_Back);
    EXPECT_EQ(Device.Requests, 0);
    EXPECT_EQ(UpdateRuns(), 0);
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("Ethernet_Update.xml"))));
}

TEST_F(Boot, StartProgramWaitsForTheProgramToEndButNoLongerThanItsLimit)
{
    WriteUpdateProgram("sleep 0.3\necho done > \"$dir/done.txt\"\n");
    QElapsedTimer Clock;
    Clock.start();
    EXPECT_TRUE(FFabricoreFirmWare->Start_Program(Path_Exe + Update_Program_Name, QString(), false));
    EXPECT_GE(Clock.elapsed(), 290);
    EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("done.txt"))));
    EXPECT_EQ(UpdateRuns(), 1);

    // A program that runs too long is waited for only so long, and is left running.
    QFile::remove(PathOf(QStringLiteral("done.txt")));
    WriteUpdateProgram("sleep 1\necho done > \"$dir/done.txt\"\n");
    const DWORD Limit = Update_Program_Wait_Ms;
    Update_Program_Wait_Ms = 200;
    Clock.restart();
    EXPECT_TRUE(FFabricoreFirmWare->Start_Program(Path_Exe + Update_Program_Name, QString(), false));
    Update_Program_Wait_Ms = Limit;
    EXPECT_GE(Clock.elapsed(), 190);
    EXPECT_LT(Clock.elapsed(), 900);
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("done.txt"))));
    EXPECT_TRUE(GuiTest::WaitUntil([&] { return QFileInfo::exists(PathOf(QStringLiteral("done.txt"))); }, 5000));

    // A program that is not there is not waited for.
    Clock.restart();
    EXPECT_FALSE(FFabricoreFirmWare->Start_Program(Path_Exe + QStringLiteral("\\Missing.exe"), QString(), true));
    EXPECT_LT(Clock.elapsed(), 1000);
}
