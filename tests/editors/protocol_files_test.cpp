// The rule files the BACnet and CANopen editors write, taken up by the description-file writers:
// the EDE writer lists the BACnet objects, the EDS writer describes the PDOs and the SDO server's
// objects.
#include "helpers/RuleEditorsFixture.h"

#include "editors/bacnet/UBACnetSlaveSetAccess.h"
#include "editors/canopen/USet_PDO_Access.h"
#include "editors/canopen/USet_SDO_Server_Access.h"

#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

namespace {

class ProtocolFiles : public TRuleEditorsTest {
protected:
    void SetUp() override
    {
        TRuleEditorsTest::SetUp();
        SetFixedClock(2026, 12, 8, 12, 30, 0);
        Application->CreateForm(FBACnetSlaveSetAccess);
        Application->CreateForm(FSet_PDO_Access);
        Application->CreateForm(FSet_SDO_Server_Access);
    }
    void TearDown() override
    {
        delete FSet_SDO_Server_Access;
        FSet_SDO_Server_Access = nullptr;
        delete FSet_PDO_Access;
        FSet_PDO_Access = nullptr;
        delete FBACnetSlaveSetAccess;
        FBACnetSlaveSetAccess = nullptr;
        TRuleEditorsTest::TearDown();
    }
    // Fills the rows of each grid and confirms.
    void Save(TFRuleEditor *F, const std::vector<QStringList> &First, const std::vector<QStringList> &Second)
    {
        const TModalResult Result = ShowDialog(F, [&](TScriptedModalHook &hook) {
            for (std::size_t r = 0; r < First.size(); ++r)
                FillRow(F->Grid(0), int(r) + 1, First[r]);
            for (std::size_t r = 0; r < Second.size(); ++r)
                FillRow(F->Grid(1), int(r) + 1, Second[r]);
            EXPECT_TRUE(ClickOK(F, hook, false));
        });
        EXPECT_EQ(Result, mrOk);
        EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
    }
    // The step's file dialog answered with Out; the text written.
    QString Run_Step(TLbButton *Button, const QString &Out)
    {
        TScriptedModalHook Hook;
        Hook.Answer(mrOk, ConfPath(Out));
        Step(Button);
        EXPECT_EQ(Hook.Pending(), 0u);
        return QString::fromLatin1(ReadConf(Out));
    }
};

TEST_F(ProtocolFiles, TheEDEWriterListsTheObjectsTheEditorSaved)
{
    Save(FBACnetSlaveSetAccess, {{"Analog Input", "62", "0", "", "4", "N", "Temp1"}},
         {{"Binary Out", "95", "4", "3", "", "N", "Lamp"}});
    const QStringList Lines = Run_Step(FFabricoreFirmWare->Btn_BACnet_EDE_File, QStringLiteral("objects.csv"))
                                  .split(QStringLiteral("\r\n"))
                                  .mid(7);
    ASSERT_GE(Lines.size(), 2);
    EXPECT_TRUE(Lines[0].contains(QStringLiteral(";Temp1;0;0;Temp1;62;"))) << Lines[0].toStdString();
    EXPECT_TRUE(Lines[1].contains(QStringLiteral(";Lamp;4;0;Lamp;95;"))) << Lines[1].toStdString();
}

TEST_F(ProtocolFiles, TheEDSWriterDescribesThePDOsAndServerObjectsTheEditorsSaved)
{
    Save(FSet_PDO_Access, {{"0x181", "2", "5", "6", "", "", "", "", "", "", "100", "rx"}},
         {{"0x201", "1", "7", "", "", "", "", "", "", "", "1000", "Y", "tx"}});
    Save(FSet_SDO_Server_Access, {{"0x2001", "0", "2", "3", "4", "", "", "r"}}, {{"0x2002", "1", "4", "1", "2", "3", "4", "w"}});
    const QString Text = Run_Step(FFabricoreFirmWare->Btn_CANopen_EDS, QStringLiteral("device.eds"));
    EXPECT_TRUE(Text.contains(QStringLiteral("[2001sub0]"))) << Text.toStdString();
    EXPECT_TRUE(Text.contains(QStringLiteral("[2002sub1]")));
    // The receive PDO's COB-ID is the default of its communication parameter.
    const qsizetype At = Text.indexOf(QStringLiteral("DefaultValue="), Text.indexOf(QStringLiteral("[1400sub1]")));
    EXPECT_EQ(Text.mid(At, 23), QStringLiteral("DefaultValue=0x00000181"));
}

} // namespace
