// Which language text lands on which control of the main window and of the new, open and
// options dialogs: every text of their blocks is replaced by its own number, so that a text
// given to the wrong control shows.
#include "helpers/AppFixture.h"

#include "controls/LbButton.h"
#include "core/UFabricoreFirmWare.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/USoftOptions.h"
#include "platform/ComCtrls.h"
#include "platform/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

class SetLang : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        QStringList lines;
        for (int n = 0; n < 400; ++n)
            lines << QStringLiteral("STR%1 = T%1").arg(n);
        WriteLanguage(QStringLiteral("Numbers"), lines);
        WriteSettings(QString(), QStringLiteral("Numbers"));
        StartApp();
    }

    static QString T(int n) { return QStringLiteral("T%1").arg(n); }
};

} // namespace

TEST_F(SetLang, MainWindowTexts)
{
    TFFabricoreFirmWare *M = FFabricoreFirmWare;
    EXPECT_EQ(M->L_Begin->Caption(), T(0));
    TLabel *steps[] = {M->L_Step_1, M->L_Step_2, M->L_Step_3, M->L_Step_4,
                       M->L_Step_5, M->L_Step_6, M->L_Step_7, M->L_Step_8};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(steps[i]->Caption(), T(1 + i));
    EXPECT_EQ(M->L_Name_Conf->Caption(), T(9));
    EXPECT_EQ(M->L_Name_Conf_L2->Caption(), T(10));
    EXPECT_EQ(M->Btn_Info->Hint(), T(12));
    EXPECT_EQ(M->Btn_Opz->Hint(), T(13));
    EXPECT_EQ(M->Btn_Close->Hint(), T(14));
    const struct {
        TLbButton *B;
        int Caption, Hint;
    } buttons[] = {
        {M->Btn_New, 15, 22},          {M->Btn_Open, 16, 23},          {M->Btn_CreateBin, 17, 26},
        {M->Btn_Prm_Gen, 20, 24},      {M->Btn_EtherNetIP_Access, 21, 25},
        {M->Btn_PROFINET_XML, 27, 28}, {M->Btn_SNMP_Trap, 29, 30},     {M->Btn_SNMP_MIB, 31, 32},
        {M->Btn_MQTT_Set_Topic, 33, 34}, {M->Btn_CAN_Rec_Frame, 35, 36}, {M->Btn_CAN_Send_Frame, 37, 38},
        {M->Btn_KNX_Access, 39, 40},   {M->Btn_BACnet_SetAccess, 41, 42}, {M->Btn_BACnet_EDE_File, 43, 44},
        {M->Btn_PROFIBUS_GSD, 45, 46}, {M->Btn_SDO_Server_CANopen, 47, 48}, {M->Btn_SDO_Client_CANopen, 49, 50},
        {M->Btn_PDO_CANopen, 51, 52},  {M->Btn_CANopen_EDS, 53, 54}};
    for (const auto &b : buttons) {
        EXPECT_EQ(b.B->Caption(), T(b.Caption)) << b.Caption;
        EXPECT_EQ(b.B->Hint(), T(b.Hint)) << b.Hint;
    }
    // The description is the build's own, not a text of the table.
    EXPECT_EQ(M->L_SW_Desc->Caption(), QStringLiteral("EtherNet/IP Master / Serial Port - Converter"));
}

TEST_F(SetLang, NewAndOpenDialogTexts)
{
    EXPECT_EQ(FNew_Project->Caption(), T(100));
    EXPECT_EQ(FNew_Project->L_SW_Desc->Caption(), T(101));
    EXPECT_EQ(FNew_Project->Label1->Caption(), T(102));
    EXPECT_EQ(FNew_Project->Btn_OK->Caption(), T(103));
    EXPECT_EQ(FNew_Project->Btn_Cancel->Caption(), T(104));
    EXPECT_EQ(FNew_Project->E_New_Proj->Hint(), T(108));
    EXPECT_EQ(FNew_Project->Btn_OK->Hint(), T(109));
    EXPECT_EQ(FNew_Project->Btn_Cancel->Hint(), T(110));

    EXPECT_EQ(FOpenConf->Caption(), T(200));
    EXPECT_EQ(FOpenConf->L_SW_Desc->Caption(), T(201));
    EXPECT_EQ(FOpenConf->Label1->Caption(), T(202));
    EXPECT_EQ(FOpenConf->Btn_OK->Caption(), T(203));
    EXPECT_EQ(FOpenConf->Btn_Cancel->Caption(), T(204));
    EXPECT_EQ(FOpenConf->ListBox1->Hint(), T(205));
    EXPECT_EQ(FOpenConf->Btn_OK->Hint(), T(206));
    EXPECT_EQ(FOpenConf->Btn_Cancel->Hint(), T(207));
}

TEST_F(SetLang, OptionsDialogTexts)
{
    TFSoftOptions *O = FSoftOptions;
    EXPECT_EQ(O->Caption(), T(300));
    EXPECT_EQ(O->L_SW_Desc->Caption(), T(301));
    EXPECT_EQ(O->TS_Language->Caption(), T(302));
    EXPECT_EQ(O->TS_Con_Options->Caption(), T(303));
    EXPECT_EQ(O->TS_Soft_Settings->Caption(), T(319));
    EXPECT_EQ(O->L_Sel_Lang->Caption(), T(304));
    EXPECT_EQ(O->L_Page_Lang->Caption(), T(305) + QStringLiteral("1") + T(306) + QStringLiteral("1"));
    EXPECT_EQ(O->Btn_Prev->Caption(), T(307));
    EXPECT_EQ(O->Btn_Next->Caption(), T(308));
    EXPECT_EQ(O->CB_En_Con->Caption(), T(309));
    EXPECT_EQ(O->CB_Update->Caption(), T(310));
    EXPECT_EQ(O->Btn_Check_Update->Caption(), T(311));
    EXPECT_EQ(O->Btn_OK->Caption(), T(312));
    EXPECT_EQ(O->Btn_Cancel->Caption(), T(313));
    EXPECT_EQ(O->CB_Soft_Set_Jump_Table->Caption(), T(320));
    EXPECT_EQ(O->CB_DoubleClick_Auto_Size->Caption(), T(321));
    // The page line and the chosen language once the dialog prepares its pages.
    O->Language_In_Use = QStringLiteral("Numbers");
    O->Create_Lang_List();
    EXPECT_EQ(O->L_Sel_Lang->Caption(), T(304) + QStringLiteral("Numbers"));
    EXPECT_EQ(O->L_Page_Lang->Caption(), T(305) + QStringLiteral("1") + T(306) + QStringLiteral("1"));
}
