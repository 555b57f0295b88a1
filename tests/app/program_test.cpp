// The program as it starts: its forms in order, and the main window's steps of the CAN and KNX
// editors with and without an open configuration.
#include "support/GuiTest.h"
#include "support/TempDir.h"

#include "app/UProgram.h"
#include "controls/LbButton.h"
#include "core/UAbout.h"
#include "core/UBoot.h"
#include "core/UComon.h"
#include "core/UEtherNetIP_Master_Access.h"
#include "core/UFabricoreFirmWare.h"
#include "core/ULanguage.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/UParGen.h"
#include "core/USoftOptions.h"
#include "editors/UProtocol_Steps.h"
#include "editors/bacnet/UBACnetSlaveSetAccess.h"
#include "editors/bacnet/UBACnet_Eng_Unit.h"
#include "editors/can/UReceiveCAN.h"
#include "editors/can/UTransmitCAN.h"
#include "editors/canopen/USet_PDO_Access.h"
#include "editors/canopen/USet_SDO_Client_Access.h"
#include "editors/canopen/USet_SDO_Server_Access.h"
#include "editors/gsdml/UProfinetFileName.h"
#include "editors/knx/UKNXAccess.h"
#include "editors/mqtt/UMQTT_Set_Topic.h"
#include "editors/mqtt/UTopicTemplate.h"
#include "editors/snmp/USNMP_Trap_Access.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/FileUtils.h"
#include "platform/Forms.h"

#include <QDir>
#include <iterator>
#include <vector>
#include <gtest/gtest.h>

namespace {

class Program : public TempDirTest {
protected:
    void SetUp() override
    {
        SetProgramFolder(Dir());
        Application->Initialize();
        Create_Program_Forms();
        Register_Protocol_Steps();
    }
    void TearDown() override
    {
        Protocol_Steps = TProtocol_Steps();
        Free_Program_Forms();
        Path_Active_Conf.clear();
        Name_Active_Conf.clear();
        SetProgramFolder(QString());
    }
    void OpenConf()
    {
        ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("PROJECTS/conf"))));
        Name_Active_Conf = QStringLiteral("conf");
        Path_Active_Conf = Path_Projects + QStringLiteral("\\conf");
        FFabricoreFirmWare->Set_Files();
    }
};

TEST_F(Program, FormsAreMadeInTheProgramsOrder)
{
    QStringList Names;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (auto *Form = dynamic_cast<TForm *>(Application->Components(i)))
            Names << Form->Name();
    EXPECT_EQ(Names, QStringList({"FFabricoreFirmWare", "FNew_Project", "FOpenConf", "FAbout", "FSoftOptions", "FParGen",
                                  "FEtherNetIP_Master_Access", "FProfinetFileName", "FBoot", "FSNMP_Trap_Access",
                                  "FReceiveCAN", "FTransmitCAN", "FBACnet_Eng_Unit", "FBACnetSlaveSetAccess",
                                  "FKNXAccess", "FMQTT_Set_Topic", "FTopicTemplate", "FSet_PDO_Access",
                                  "FSet_SDO_Client_Access", "FSet_SDO_Server_Access"}));
}

TEST_F(Program, TheEditorStepsAreRefusedWithoutAConfigurationAndOpenTheirEditorWithOne)
{
    TFFabricoreFirmWare *M = FFabricoreFirmWare;
    TLbButton *const Steps[] = {M->Btn_CAN_Rec_Frame,     M->Btn_CAN_Send_Frame,     M->Btn_BACnet_SetAccess,
                                M->Btn_KNX_Access,        M->Btn_SNMP_Trap,          M->Btn_MQTT_Set_Topic,
                                M->Btn_PDO_CANopen,       M->Btn_SDO_Client_CANopen, M->Btn_SDO_Server_CANopen};
    const TForm *const Editors[] = {FReceiveCAN,     FTransmitCAN,           FBACnetSlaveSetAccess, FKNXAccess,
                                    FSNMP_Trap_Access, FMQTT_Set_Topic,
                                    FSet_PDO_Access, FSet_SDO_Client_Access, FSet_SDO_Server_Access};
    {
        GuiTest::TScriptedModalHook hook;
        for (TLbButton *B : Steps) {
            hook.Answer(mrOk);
            M->Btn_Click(B);
        }
        ASSERT_EQ(hook.Shown.size(), std::size(Steps));
        for (const GuiTest::TShownModal &S : hook.Shown)
            EXPECT_EQ(S.Text, QStringLiteral("Error! Project not Valid"));
    }
    OpenConf();
    GuiTest::TScriptedModalHook hook;
    for (TLbButton *B : Steps) {
        hook.RunWith([](TModalRequest &R) { R.Form->SetModalResult(mrCancel); });
        M->Btn_Click(B);
    }
    ASSERT_EQ(hook.Shown.size(), std::size(Steps));
    for (std::size_t i = 0; i < std::size(Steps); ++i)
        EXPECT_EQ(hook.Shown[i].Form, Editors[i]);
}

TEST_F(Program, ALanguageFileChangesTheEditorsTextsAtOnce)
{
    WriteBytes(QStringLiteral("LANGUAGE/Deutsch.lng"), "\xEF\xBB\xBFSTR1400 = CAN Empfang\r\n"
                                                       "STR1430 = Die CobID des Rahmens\r\n"
                                                       "STR1715 = Aktiv\r\n"
                                                       "STR1208 = SNMP Lesen\r\n"
                                                       "STR1833 = MQTT Senden\r\n"
                                                       "STR1900 = Vorlage\r\n"
                                                       "STR2117 = Knoten\r\n"
                                                       "STR1517 = Objekttyp\r\n"
                                                       "STR1604 = Aktuelle Einheit\r\n");
    Load_Lang_File(PathOf(QStringLiteral("LANGUAGE/Deutsch.lng")));
    FFabricoreFirmWare->Change_Language();
    EXPECT_EQ(FReceiveCAN->Caption(), QStringLiteral("CAN Empfang"));
    EXPECT_EQ(FReceiveCAN->Hint_ReceiveCAN->Strings(1), QStringLiteral("Die CobID des Rahmens"));
    EXPECT_EQ(FKNXAccess->ACG_KNX_in_Write->Cells(1, 0), QStringLiteral("Aktiv"));
    EXPECT_EQ(FSNMP_Trap_Access->TS_SNMP_Read->Caption(), QStringLiteral("SNMP Lesen"));
    EXPECT_EQ(FMQTT_Set_Topic->TS_MQTT_Publish->Caption(), QStringLiteral("MQTT Senden"));
    EXPECT_EQ(FTopicTemplate->Caption(), QStringLiteral("Vorlage"));
    EXPECT_EQ(FTransmitCAN->Caption(), QStringLiteral("Transmit CAN Frames Set Access"));
    EXPECT_EQ(FSet_SDO_Client_Access->sga->Cells(1, 0), QStringLiteral("Knoten"));
    EXPECT_EQ(FBACnetSlaveSetAccess->ACG_BACnet_in_Read->Cells(1, 0), QStringLiteral("Objekttyp"));
    EXPECT_EQ(FBACnet_Eng_Unit->Label1->Caption(), QStringLiteral("Aktuelle Einheit"));
}

TEST_F(Program, ALanguageChangeRefreshesTheFormsInTheirFixedOrder)
{
    // The main window's caption is no language text, so its first label stands for it.
    TControl *const Order[] = {FFabricoreFirmWare->L_Begin, FNew_Project,          FOpenConf,
                               FSoftOptions,                FBoot,                 FParGen,
                               FEtherNetIP_Master_Access,   FProfinetFileName,     FSNMP_Trap_Access,
                               FReceiveCAN,                 FTransmitCAN,          FSet_PDO_Access,
                               FSet_SDO_Client_Access,      FSet_SDO_Server_Access, FBACnetSlaveSetAccess,
                               FBACnet_Eng_Unit,            FKNXAccess,            FMQTT_Set_Topic,
                               FTopicTemplate};
    // Each caption is blanked so that its refresh shows as a caption change.
    std::vector<TControl *> refreshed;
    for (TControl *C : Order) {
        C->SetCaption(QString());
        C->SetWindowProc([C, &refreshed, Old = C->WindowProc()](TMessage &Message) {
            if (Message.Msg == CM_TEXTCHANGED)
                refreshed.push_back(C);
            Old(Message);
        });
    }
    FFabricoreFirmWare->Change_Language();
    for (TControl *C : Order)
        C->SetWindowProc(nullptr);
    EXPECT_EQ(refreshed, std::vector<TControl *>(std::begin(Order), std::end(Order)));
}

} // namespace
