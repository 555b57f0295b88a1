// The configurator's start-up, steps and close, run whole in a temporary program folder.
#include "helpers/AppFixture.h"

#include "controls/LbButton.h"
#include "core/UAbout.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/ULanguage.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/USoftOptions.h"
#include "platform/ExtCtrls.h"
#include "platform/StdCtrls.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

namespace {

class MainWindowStartup : public TAppTest {};

const QString Refused = QStringLiteral("Error! Project not Valid");

} // namespace

TEST_F(MainWindowStartup, FirstStartMakesTheFoldersAndRefusesTheStepsThatNeedAConfiguration)
{
    StartApp();
    for (const char *folder : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(QFileInfo(PathOf(QString::fromLatin1(folder))).isDir()) << folder;
    TFFabricoreFirmWare *M = FFabricoreFirmWare;
    EXPECT_EQ(M->L_Name_Conf->Caption(), QStringLiteral("None Configuration Opened "));
    EXPECT_EQ(M->L_Name_Conf_L2->Caption(), QStringLiteral("Use Step1 to open or create new configuration"));
    EXPECT_EQ(M->Caption(), QStringLiteral("VeltraCorp - Configurator CF40385 - EtherNet/IP Master / Serial Port "));
    EXPECT_EQ(M->L_SW_Code->Caption(), QStringLiteral("CF40385"));
    EXPECT_FALSE(M->Timer_Update->Enabled());
    EXPECT_TRUE(Path_Active_Conf.isEmpty());
    EXPECT_EQ(Last_IP_Address, QStringLiteral("192.168.2.205"));
    EXPECT_EQ(Language_Name, QStringLiteral("English"));

    TScriptedModalHook hook;
    for (int i = 0; i < 4; ++i)
        hook.Answer(mrOk);
    for (TLbButton *B : {M->Btn_Prm_Gen, M->Btn_EtherNetIP_Access, M->Btn_CreateBin})
        ClickButton(B);
    // A hidden step cannot be clicked; its handler refuses all the same.
    M->Btn_Click(M->Btn_SNMP_Trap);
    ASSERT_EQ(hook.Shown.size(), 4u);
    for (const auto &shown : hook.Shown) {
        EXPECT_EQ(shown.Kind, mkMessage);
        EXPECT_EQ(shown.DlgType, mtError);
        EXPECT_EQ(shown.Text, Refused);
        EXPECT_EQ(shown.Buttons, std::vector<TMsgDlgBtn>{mbOK});
    }
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("PROJECTS/bin"))));
}

TEST_F(MainWindowStartup, LaysOutTheFourStepsOfThisConverter)
{
    StartApp();
    TFFabricoreFirmWare *M = FFabricoreFirmWare;
    EXPECT_EQ(M->ClientWidth(), 694);
    EXPECT_EQ(M->ClientHeight(), 396);
    struct Place {
        TControl *C;
        int Left, Top, Width, Height;
    };
    const Place places[] = {
        {M->Btn_New, 80, 112, 170, 36},   {M->Btn_Open, 258, 112, 170, 36},
        {M->Btn_Prm_Gen, 80, 156, 170, 36}, {M->Btn_EtherNetIP_Access, 80, 200, 170, 36},
        {M->Btn_CreateBin, 80, 244, 170, 36}, {M->Btn_Info, 516, 8, 50, 50},
        {M->Btn_Opz, 574, 8, 50, 50},     {M->Btn_Close, 632, 8, 50, 50},
        {M->Shape1, 10, 295, 674, 1},     {M->Shape2, 80, 70, 348, 36}};
    for (const Place &p : places) {
        EXPECT_EQ(p.C->Left(), p.Left) << p.C->Name().toStdString();
        EXPECT_EQ(p.C->Top(), p.Top) << p.C->Name().toStdString();
        EXPECT_EQ(p.C->Width(), p.Width) << p.C->Name().toStdString();
        EXPECT_EQ(p.C->Height(), p.Height) << p.C->Name().toStdString();
        EXPECT_TRUE(p.C->Visible());
    }
    EXPECT_EQ(M->L_Veltra->Top(), 260);
    EXPECT_EQ(M->L_Veltra->Left(), 565);
    EXPECT_TRUE(M->L_Step_4->Visible());
    EXPECT_FALSE(M->L_Step_5->Visible());
    EXPECT_FALSE(M->LL_Update->Visible());
    for (TLbButton *B : {M->Btn_PROFINET_XML, M->Btn_SNMP_Trap, M->Btn_CANopen_EDS, M->Btn_KNX_Access})
        EXPECT_FALSE(B->Visible());
    EXPECT_EQ(M->Btn_Prm_Gen->Caption(), QStringLiteral("Set Communication"));
    EXPECT_EQ(M->Btn_Prm_Gen->Style(), bsNormal);
    EXPECT_EQ(M->Btn_New->Style(), bsEncarta);
    // Every button in the window's colour, orange while pressed; the first step, its open
    // companion and the update step light up sky blue, the others yellow.
    struct Look {
        TLbButton *B;
        TLbButtonStyle Style;
        TColor Hot;
        TAlignment Align;
    };
    const Look looks[] = {
        {M->Btn_New, bsEncarta, clSkyBlue, taLeftJustify},      {M->Btn_Open, bsEncarta, clSkyBlue, taLeftJustify},
        {M->Btn_Prm_Gen, bsNormal, clYellow, taLeftJustify},    {M->Btn_EtherNetIP_Access, bsEncarta, clYellow, taLeftJustify},
        {M->Btn_CreateBin, bsEncarta, clSkyBlue, taLeftJustify}, {M->Btn_Info, bsNormal, clYellow, taCenter},
        {M->Btn_Opz, bsNormal, clYellow, taCenter},             {M->Btn_Close, bsNormal, clYellow, taCenter},
        {M->Btn_KNX_Access, bsEncarta, clYellow, taLeftJustify}};
    for (const Look &l : looks) {
        const std::string name = l.B->Name().toStdString();
        EXPECT_EQ(l.B->Color(), 15595512) << name;
        EXPECT_EQ(l.B->ColorWhenDown(), 33023) << name;
        EXPECT_EQ(l.B->LightColor(), clGray) << name;
        EXPECT_EQ(l.B->Style(), l.Style) << name;
        EXPECT_EQ(l.B->HotTrackColor(), l.Hot) << name;
        EXPECT_EQ(l.B->Alignment(), l.Align) << name;
        EXPECT_FALSE(l.B->UseHotTrackFont()) << name;
        if (l.Style == bsNormal) {
            EXPECT_EQ(l.B->Font()->Name(), QStringLiteral("Verdana")) << name;
            EXPECT_EQ(l.B->Font()->Height(), -11) << name;
            EXPECT_EQ(l.B->Font()->Color(), 0x333333) << name;
        }
    }
    // The header buttons show a glyph and a hint, no caption.
    const std::pair<TLbButton *, const char *> headers[] = {
        {M->Btn_Info, "Information"}, {M->Btn_Opz, "Options"}, {M->Btn_Close, "Close Configurator"}};
    for (const auto &[B, hint] : headers) {
        EXPECT_GT(B->Glyph()->Width(), 0) << hint;
        EXPECT_TRUE(B->Caption().isEmpty()) << hint;
        EXPECT_EQ(B->Hint(), QString::fromLatin1(hint));
        EXPECT_TRUE(B->ShowHint()) << hint;
    }
    EXPECT_EQ(M->Color(), 15595512);
    EXPECT_EQ(M->Font()->Name(), QStringLiteral("Verdana"));
    EXPECT_EQ(M->Font()->Height(), -11);
    EXPECT_EQ(M->BorderStyle(), bsSingle);
    EXPECT_EQ(M->BorderIcons(), TBorderIcons{biSystemMenu});
}

TEST_F(MainWindowStartup, ANewConfigurationIsKeptAndReopenedAtTheNextStart)
{
    StartApp();
    TFFabricoreFirmWare *M = FFabricoreFirmWare;
    {
        TScriptedModalHook hook;
        hook.RunWith([](TModalRequest &) {
            GuiTest::TypeText(FNew_Project->E_New_Proj, QStringLiteral("Plant7"));
            GuiTest::PressKey(FNew_Project->E_New_Proj, VK_RETURN);
        });
        M->Show();
        GuiTest::Click(M->Btn_New);
        ASSERT_EQ(hook.Shown.size(), 1u);
        EXPECT_EQ(hook.Shown[0].ClassName, QStringLiteral("TFNew_Project"));
        // The Enter that closed the dialog is released over the step button that opened it,
        // which has the focus again.
        M->Btn_New->SetFocus();
        ASSERT_TRUE(M->Btn_New->Focused());
        GuiTest::KeyUp(M->Btn_New, VK_RETURN);
        EXPECT_EQ(hook.Shown.size(), 1u) << "the dialog opened again";
    }
    EXPECT_TRUE(QFileInfo(ProjectsDir() + QStringLiteral("/Plant7/bin")).isDir());
    EXPECT_EQ(M->L_Name_Conf->Caption(), QStringLiteral("Opened Configuration of the Converter : "));
    EXPECT_EQ(M->L_Name_Conf_L2->Caption(), QStringLiteral("Plant7"));
    EXPECT_EQ(QFileInfo(QString(File_ParGen).replace(u'\\', u'/')).absolutePath(), QFileInfo(ProjectsDir() + QStringLiteral("/Plant7")).absoluteFilePath());

    CloseApp();
    EXPECT_TRUE(SettingsText().contains(QStringLiteral("<projectname>Plant7</projectname>"))) << SettingsText().toStdString();

    StartApp();
    EXPECT_EQ(FFabricoreFirmWare->L_Name_Conf_L2->Caption(), QStringLiteral("Plant7"));
    EXPECT_FALSE(Path_Active_Conf.isEmpty());
}

TEST_F(MainWindowStartup, ADeletedConfigurationIsNotReopenedButStaysNamed)
{
    WriteSettings(QStringLiteral("Gone"), QStringLiteral("English"));
    StartApp();
    TFFabricoreFirmWare *M = FFabricoreFirmWare;
    EXPECT_EQ(M->L_Name_Conf->Caption(), QStringLiteral("None Configuration Opened "));
    EXPECT_EQ(Name_Active_Conf, QStringLiteral("Gone"));
    EXPECT_TRUE(Path_Active_Conf.isEmpty());
    {
        TScriptedModalHook hook;
        hook.Answer(mrOk);
        ClickButton(M->Btn_EtherNetIP_Access);
        ASSERT_EQ(hook.Shown.size(), 1u);
        EXPECT_EQ(hook.Shown[0].Text, Refused);
    }
    CloseApp();
    EXPECT_TRUE(SettingsText().contains(QStringLiteral("<projectname>Gone</projectname>")));
}

TEST_F(MainWindowStartup, TheUpdateTimerRunsOnlyWithBothInternetOptions)
{
    const struct {
        bool internet, update, on;
    } cases[] = {{false, false, false}, {true, false, false}, {false, true, false}, {true, true, true}};
    for (const auto &c : cases) {
        WriteSettings(QString(), QStringLiteral("English"), c.internet, c.update);
        StartApp();
        EXPECT_EQ(FFabricoreFirmWare->Timer_Update->Enabled(), c.on) << c.internet << c.update;
        EXPECT_EQ(FFabricoreFirmWare->Timer_Update->Interval(), 60000u);
        DestroyForms();
    }
}

TEST_F(MainWindowStartup, TheTimerTickShowsTheLinkOnlyForANewerVersion)
{
    WriteSettings(QString(), QStringLiteral("English"), true, true);
    StartApp();
    TFFabricoreFirmWare *M = FFabricoreFirmWare;
    Web.SetAnswer("VER. 1.001");
    M->Timer_UpdateTimer(M->Timer_Update);
    EXPECT_TRUE(M->LL_Update->Visible());
    EXPECT_TRUE(M->LL_Update->Caption().contains(QStringLiteral("New Version Available. Click Here for more Details")));
    EXPECT_TRUE(M->LL_Update->Caption().contains(QStringLiteral("/Home/download/download.asp#DV40385")));
    EXPECT_EQ(M->Timer_Update->Interval(), 7200000u);
    EXPECT_TRUE(M->Timer_Update->Enabled());
    EXPECT_EQ(Web.LastRequestLine(), "GET /home/download/GetversionSW.asp?nomesw=CF40385 HTTP/1.0");

    for (const char *answer : {"VER. 1.000", "ver. 0.000", "", "<html>Server Error</html>"}) {
        Web.SetAnswer(answer);
        M->LL_Update->SetVisible(true);
        M->Timer_UpdateTimer(M->Timer_Update);
        EXPECT_FALSE(M->LL_Update->Visible()) << answer;
    }
}

TEST_F(MainWindowStartup, CloseBoxAndCloseButtonBothWriteTheSettings)
{
    StartApp();
    ClickButton(FFabricoreFirmWare->Btn_Close);
    EXPECT_TRUE(SettingsText().contains(QStringLiteral("<language>English</language>")));
    DestroyForms();
    QFile::remove(PathOf(QStringLiteral("Fabricor.xml")));

    StartApp();
    FFabricoreFirmWare->Show();
    GuiTest::CloseWindow(FFabricoreFirmWare);
    EXPECT_TRUE(GuiTest::WaitUntil([&] { return QFileInfo::exists(PathOf(QStringLiteral("Fabricor.xml"))); }));
    EXPECT_TRUE(SettingsText().startsWith(QStringLiteral("<Conf_Settings>")));
}

TEST_F(MainWindowStartup, ASettingsFileThatCannotBeWrittenIsReportedAndTheWindowStillCloses)
{
    StartApp();
    // A folder where the settings file should be: no write can replace it.
    ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("Fabricor.xml"))));
    TScriptedModalHook hook;
    hook.Answer(mrOk);
    FFabricoreFirmWare->Show();
    FFabricoreFirmWare->Close();
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].DlgType, mtError);
    EXPECT_TRUE(hook.Shown[0].Text.contains(QStringLiteral("Fabricor.xml"))) << hook.Shown[0].Text.toStdString();
    EXPECT_FALSE(FFabricoreFirmWare->Visible());
}

TEST_F(MainWindowStartup, AWebAddressLongerThanItsPlaceStaysInsideTheWindows)
{
    setenv("FABRICOR_WEB_HOST", "updates.configurators.fabricor.example", 1);
    StartApp();
    TLabel *L = FFabricoreFirmWare->L_Veltra;
    EXPECT_EQ(L->Caption(), QStringLiteral("updates.configurators.fabricor.example"));
    EXPECT_LT(L->Left(), 565);
    EXPECT_LE(L->Left() + L->Width(), 694);
    EXPECT_EQ(L->Top(), 260);

    TScriptedModalHook hook;
    hook.RunWith([](TModalRequest &) {
        EXPECT_LE(FAbout->Label4->Left() + FAbout->Label4->Width(), 425);
        FAbout->LbButton1->Click();
    });
    FFabricoreFirmWare->Btn_Info->Click();
}

// A language file whose first text is one line of fifty million characters: the program starts
// with the built-in text in its place and the file's other texts.
TEST_F(MainWindowStartup, AnEndlessLanguageTextKeepsTheBuiltInOneAndTheRestOfTheFile)
{
    WriteSettings(QString(), QStringLiteral("Huge"));
    WriteLanguage(QStringLiteral("Huge"), {QStringLiteral("STR0 = ") + QString(50000000, u'W'),
                                           QStringLiteral("STR9 = Nessuna configurazione aperta")});
    StartApp();
    ASSERT_NE(FFabricoreFirmWare, nullptr);
    EXPECT_EQ(Language_Name, QStringLiteral("Huge"));
    EXPECT_EQ(Lang_Text(0), QStringLiteral("Begin"));
    EXPECT_EQ(FFabricoreFirmWare->L_Name_Conf->Caption(), QStringLiteral("Nessuna configurazione aperta"));
}

TEST_F(MainWindowStartup, ARememberedNameOutsideTheConfigurationsIsNotOpened)
{
    ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("PROJECTS"))));
    for (const QString &name : {QStringLiteral(".."), QStringLiteral("../MASTER"), QStringLiteral("..\\LANGUAGE")}) {
        WriteSettings(name, QStringLiteral("English"));
        StartApp();
        EXPECT_TRUE(Path_Active_Conf.isEmpty()) << name.toStdString();
        EXPECT_EQ(FFabricoreFirmWare->L_Name_Conf->Caption(), QStringLiteral("None Configuration Opened "));
        DestroyForms();
    }
}

TEST_F(MainWindowStartup, AProgramFolderThatCannotTakeTheFoldersIsReportedOnceAndTheProgramStarts)
{
    // A file where the configurations' folder belongs: it cannot be made.
    WriteBytes(QStringLiteral("PROJECTS"), "in the way");
    TScriptedModalHook hook;
    hook.Answer(mrOk);
    StartApp();
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].DlgType, mtError);
    EXPECT_EQ(hook.Shown[0].Text, QStringLiteral("Cannot create folder \"%1\".").arg(PathOf(QStringLiteral("PROJECTS"))));
    ASSERT_NE(FFabricoreFirmWare, nullptr);
    EXPECT_EQ(FFabricoreFirmWare->L_Name_Conf->Caption(), QStringLiteral("None Configuration Opened "));
    EXPECT_TRUE(QFileInfo(PathOf(QStringLiteral("LANGUAGE"))).isDir());

    // Creating a configuration there is refused rather than failing silently.
    hook.Answer(mrOk);
    FNew_Project->E_New_Proj->SetText(QStringLiteral("Any"));
    FNew_Project->Btn_OKClick(FNew_Project->Btn_OK);
    ASSERT_EQ(hook.Shown.size(), 2u);
    EXPECT_EQ(hook.Shown[1].Text, QStringLiteral("Error! Name project is not valid"));
}

TEST_F(MainWindowStartup, TheHiddenStepsAndTheBacnetTypeNeverFailWithAConfigurationOpen)
{
    ASSERT_TRUE(QDir().mkpath(ProjectsDir() + QStringLiteral("/Conf/bin")));
    WriteSettings(QStringLiteral("Conf"), QStringLiteral("English"));
    StartApp();
    TFFabricoreFirmWare *M = FFabricoreFirmWare;
    ASSERT_FALSE(Path_Active_Conf.isEmpty());
    {
        TScriptedModalHook hook;
        for (TLbButton *B : {M->Btn_PROFINET_XML, M->Btn_SNMP_Trap, M->Btn_SNMP_MIB, M->Btn_PROFIBUS_GSD,
                             M->Btn_CAN_Send_Frame, M->Btn_CAN_Rec_Frame, M->Btn_BACnet_SetAccess,
                             M->Btn_BACnet_EDE_File, M->Btn_KNX_Access, M->Btn_MQTT_Set_Topic,
                             M->Btn_SDO_Server_CANopen, M->Btn_SDO_Client_CANopen, M->Btn_PDO_CANopen,
                             M->Btn_CANopen_EDS})
            M->Btn_Click(B);
        EXPECT_TRUE(hook.Shown.empty());
    }

    const struct {
        const char *file; // null: no file
        int type;
    } cases[] = {{nullptr, 0},
                 {"<ParGen><BACnet_Type>3</BACnet_Type></ParGen>", 3},
                 {"<ParGen><BACnet_Type>$10</BACnet_Type></ParGen>", 16},
                 {"<ParGen><BACnet_Type>three</BACnet_Type></ParGen>", 0},
                 {"<ParGen><Other>1</Other></ParGen>", 0},
                 {"<ParGen><BACnet_Type>3", 0}};
    for (const auto &c : cases) {
        QFile::remove(ProjectsDir() + QStringLiteral("/Conf/ParGen.xml"));
        if (c.file)
            WriteBytes(QStringLiteral("PROJECTS/Conf/ParGen.xml"), c.file);
        EXPECT_EQ(M->Get_Type_BACnet(), c.type) << (c.file ? c.file : "(none)");
    }
}

TEST_F(MainWindowStartup, TheDialogsShareTheirFrameAndKeepTheirSizes)
{
    StartApp();
    struct Dialog {
        TFConf_Dialog *F;
        int Width, Height;
        TModalResult Ok_Result;
    };
    const Dialog dialogs[] = {{FNew_Project, 331, 162, mrNone}, {FOpenConf, 377, 351, mrOk}, {FSoftOptions, 509, 373, mrNone}};
    for (const Dialog &d : dialogs) {
        const std::string name = d.F->Name().toStdString();
        EXPECT_EQ(d.F->ClientWidth(), d.Width) << name;
        EXPECT_EQ(d.F->ClientHeight(), d.Height) << name;
        EXPECT_EQ(d.F->Color(), 15595512) << name;
        EXPECT_EQ(d.F->Font()->Name(), QStringLiteral("Verdana")) << name;
        EXPECT_EQ(d.F->P_Title->Top(), 0) << name;
        EXPECT_EQ(d.F->P_Title->Height(), 69) << name;
        EXPECT_EQ(d.F->P_Title->Width(), d.Width) << name;
        EXPECT_EQ(d.F->P_Button->Height(), 40) << name;
        EXPECT_EQ(d.F->P_Button->Top() + 40, d.Height) << name;
        EXPECT_EQ(d.F->L_SW_Code->Caption(), QStringLiteral("CF40385")) << name;
        for (TLbButton *B : {d.F->Btn_OK, d.F->Btn_Cancel}) {
            EXPECT_EQ(B->Width(), 110) << name;
            EXPECT_EQ(B->Height(), 28) << name;
            EXPECT_EQ(B->Style(), bsEncarta) << name;
            EXPECT_EQ(B->Color(), 15595512) << name;
            EXPECT_LE(B->Left() + B->Width(), d.Width) << name;
        }
        EXPECT_EQ(d.F->Btn_OK->ModalResult(), d.Ok_Result) << name;
        EXPECT_EQ(d.F->Btn_Cancel->ModalResult(), mrCancel) << name;
    }
    EXPECT_EQ(FNew_Project->BorderStyle(), bsSingle);
    EXPECT_EQ(FNew_Project->E_New_Proj->Left(), 16);
    EXPECT_EQ(FNew_Project->E_New_Proj->Top(), 94);
    EXPECT_EQ(FNew_Project->E_New_Proj->Width(), 297);
    EXPECT_EQ(FSoftOptions->Btn_OK->Left(), 16);
    EXPECT_EQ(FSoftOptions->Btn_Cancel->Left(), 134);

    // The open dialog may be widened: its list and its two buttons follow the right edge.
    EXPECT_EQ(FOpenConf->BorderStyle(), bsSizeable);
    const int ok_left = FOpenConf->Btn_OK->Left(), cancel_left = FOpenConf->Btn_Cancel->Left();
    const int list_width = FOpenConf->ListBox1->Width();
    FOpenConf->SetClientSize(477, 351);
    EXPECT_EQ(FOpenConf->Btn_OK->Left(), ok_left + 100);
    EXPECT_EQ(FOpenConf->Btn_Cancel->Left(), cancel_left + 100);
    EXPECT_EQ(FOpenConf->ListBox1->Width(), list_width + 100);
}
