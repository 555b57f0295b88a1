// The KNX rules editor driven as a user would: its rules in the section of "KNX_SetAccess.xml",
// the check of each enabled rule, and a file whose rows lack attributes.
#include "helpers/RuleEditorsFixture.h"

#include "core/ULanguage.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

using GuiTest::TScriptedModalHook;

namespace {

const QStringList Attributes = {"Enable",    "Source_Address", "Destination_Address", "APCI",   "Priority", "Format",
                                "Extended",  "ReTest",         "On_Command",          "On_Change", "On_Timer", "Poll_Time",
                                "Position",  "Bit_Mode",       "Length",              "Mnemonic"};
const QStringList Good = {"Y", "1.1.20", "1/2/3", "Write", "Low", "None", "N", "N",
                          "N", "Y", "N", "", "0", "No", "2", "m"};

class KNXAccess : public TRuleEditorsTest {
protected:
    static TFKNXAccess *F() { return FKNXAccess; }
    static TExtColumnGrid *G() { return FKNXAccess->ACG_KNX_in_Write; }
    QString File() const { return FileText(QStringLiteral("KNX_SetAccess.xml")); }
};

TEST_F(KNXAccess, TypedRulesAreWrittenInTheirSectionAndComeBackClosedUp)
{
    const TModalResult Result = ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(F()->Caption(), QStringLiteral("KNX Set Access"));
        EXPECT_EQ(F()->ClientWidth(), 1141);
        EXPECT_EQ(G()->RowCount(), 1025);
        EXPECT_EQ(G()->ColCount(), 17);
        EXPECT_EQ(F()->Btn_CopyRow->Left(), 490);
        EXPECT_EQ(G()->Cells(16, 0), QStringLiteral("Mnemonic"));
        EXPECT_EQ(G()->ColWidths(16), 96);
        EXPECT_EQ(G()->Columns()->Items(13)->ComboItems()->Count(), 1560);
        EXPECT_EQ(G()->Columns()->Items(4)->Editor(), edComboEdit);

        TypeCell(G(), 2, 1, QStringLiteral("1.1.20"));
        TypeCell(G(), 3, 1, QStringLiteral("230.240"));
        TypeCell(G(), 4, 1, QStringLiteral("Read"));
        PickItem(G(), 5, 1, 2);
        PickItem(G(), 6, 1, 4);
        ClickCell(G(), 7, 1);
        ClickCell(G(), 11, 1);
        TypeCell(G(), 12, 1, QStringLiteral("500"));
        PickItem(G(), 13, 1, 10);
        PickItem(G(), 14, 1, 0);
        TypeCell(G(), 15, 1, QStringLiteral("4"));
        TypeCell(G(), 16, 1, QStringLiteral("Lamp"));
        // Row 2 disabled with nothing valid in it; row 3 blank; row 4 below it.
        ClickCell(G(), 1, 2);
        TypeCell(G(), 2, 2, QStringLiteral("x"));
        FillRow(G(), 4, Good);
        EXPECT_TRUE(ClickOK(F(), hook, false));
    });
    ASSERT_EQ(Result, mrOk);
    EXPECT_TRUE(Messages.isEmpty());
    const QStringList First = {"Y", "1.1.20", "230.240", "Read", "Normal", "Int to Float", "Y", "", "", "",
                               "Y", "500", "10", "No", "4", "Lamp"};
    QStringList Disabled = EmptyRow(G());
    Disabled[0] = QStringLiteral("N");
    Disabled[1] = QStringLiteral("x");
    EXPECT_EQ(File().trimmed(), QStringLiteral("<BACnet_to_KNX><KNX_in_Write>") + RowXml(Attributes, First)
                                    + RowXml(Attributes, Disabled) + RowXml(Attributes, Good)
                                    + QStringLiteral("</KNX_in_Write></BACnet_to_KNX><!--SW_VERSION = 1.000-->"));
    ShowDialog(F(), [&](TScriptedModalHook &) {
        EXPECT_EQ(RowTexts(G(), 1), First);
        // A priority that is none of the four reads as "Normal".
        Disabled[4] = QStringLiteral("Normal");
        EXPECT_EQ(RowTexts(G(), 2), Disabled);
        EXPECT_EQ(RowTexts(G(), 3), Good);
        EXPECT_EQ(RowTexts(G(), 4), EmptyRow(G()));
        GuiTest::Click(F()->Btn_Cancel);
    });
}

TEST_F(KNXAccess, EachBadValueOfAnEnabledRuleIsReportedWithItsRow)
{
    const QString P = QStringLiteral("Error row 3!! [KNX in Write] ");
    const char *Source = "Source Address must be a valid KNX Address (Ex. 1.1.20)";
    const char *Dest_Individual = "Destination Address must be a valid KNX Address (Ex. 1.1.20)";
    const char *Dest_Group = "Destination Address must be a valid KNX Address (Ex. 230.240)";
    const char *APCI = "APCI must be between 0 and 1023 or use the value Read or Write";
    const char *Priority = "Priority must be System or Urgent or Normal or Low";
    const char *Poll = "Poll Time must be between 1 and 100000000";
    const TCheck_Case Cases[] = {
        {{{2, "0.0.0"}}, ""},
        {{{2, "65535"}}, ""},
        {{{2, "1/1"}}, Source},
        {{{2, "16.1.1"}}, Source},
        {{{3, "0/0/0"}}, Dest_Group},
        {{{3, "0/0"}}, Dest_Group},
        {{{3, "0"}}, Dest_Group},
        {{{3, "31/7/255"}}, ""},
        {{{3, "31/2047"}}, ""},
        {{{3, "15.15.255"}}, ""},
        {{{3, "16.1.1"}}, Dest_Individual},
        {{{3, "x.y"}}, Dest_Individual},
        {{{3, "230.240"}}, ""},
        {{{3, "256.1"}}, Dest_Individual},
        {{{4, "read"}}, ""},
        {{{4, "WRITE"}}, ""},
        {{{4, "512"}}, ""},
        {{{4, "1024"}}, APCI},
        {{{4, "Readx"}}, APCI},
        {{{5, "normal"}}, Priority},
        {{{5, " Low"}}, Priority},
        {{{6, " "}}, "Format is not correct"},
        {{{11, "N"}, {12, "0"}}, ""},
        {{{11, "Y"}, {12, "0"}}, Poll},
        {{{11, "y"}, {12, "100000001"}}, Poll},
        {{{11, "Y"}, {12, "100000000"}}, ""},
        {{{15, "14"}}, ""},
        {{{15, "15"}}, "Length must be between 1 and 14"},
        {{{15, "0"}}, "Length must be between 1 and 14"},
        {{{7, "Y"}, {15, "255"}}, ""},
        {{{7, "y"}, {15, "256"}}, "Length must be between 1 and 255"},
        {{{14, "3"}, {15, "113"}}, "Length must be between 1 and 112"},
        {{{7, "Y"}, {14, "0"}, {15, "2040"}}, ""},
        {{{14, "8"}}, "Bit Mode must be \"No\" or between 0 and 7"},
        {{{14, "no"}}, ""},
        {{{13, "1559"}, {14, "7"}, {15, "1"}}, ""},
        {{{13, "1559"}, {14, "7"}, {15, "2"}}, "Position plus Length must be minor or equal to 1560"},
        {{{13, "1559"}, {15, "2"}}, "Position plus Length must be minor or equal to 1560"},
        {{{13, "1558"}, {15, "2"}}, ""},
        {{{13, "1560"}}, "Position must be between 0 and 1559"},
        {{{1, "N"}, {2, "1/1"}, {15, "x"}}, ""},
        // Only "Y" itself enables a rule of this editor.
        {{{1, "y"}, {2, "1/1"}}, ""},
    };
    for (TCheck_Case C : Cases) {
        if (!C.Message.isEmpty())
            C.Message.prepend(P);
        Check_Case(F(), Good, C, QStringLiteral("KNX_SetAccess.xml"));
    }
}

TEST_F(KNXAccess, FiveAttributesHaveDefaultsAndAMissingOtherOneEndsTheLoadWithOneMessage)
{
    WriteConf(QStringLiteral("KNX_SetAccess.xml"),
              "<BACnet_to_KNX><KNX_in_Write>"
              "<row Source_Address=\"1.1.1\" Destination_Address=\"1/1\" APCI=\"Read\" Extended=\"N\" ReTest=\"N\" "
              "On_Change=\"Y\" Poll_Time=\"\" Position=\"0\" Bit_Mode=\"No\" Length=\"1\" Mnemonic=\"defaults\"/>"
              "<row Enable=\"N\" Source_Address=\"1.1.2\" Destination_Address=\"1/2\" APCI=\"Write\" Priority=\"normal\" "
              "Format=\"Swap16\" Extended=\"Y\" ReTest=\"Y\" On_Command=\"Y\" On_Change=\"N\" On_Timer=\"Y\" "
              "Poll_Time=\"9\" Position=\"5\" Bit_Mode=\"1\" Length=\"3\" Mnemonic=\"normal\"/>"
              "</KNX_in_Write></BACnet_to_KNX>");
    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(RowTexts(G(), 1), QStringList({"Y", "1.1.1", "1/1", "Read", "Normal", "None", "N", "N", "N", "Y", "N",
                                                 "", "0", "No", "1", "defaults"}));
        EXPECT_EQ(RowTexts(G(), 2), QStringList({"N", "1.1.2", "1/2", "Write", "Normal", "Swap16", "Y", "Y", "Y", "N",
                                                 "Y", "9", "5", "1", "3", "normal"}));
        // A copy that the next showing must not let through.
        G()->SetRow(1);
        GuiTest::Click(F()->Btn_CopyRow);
        EXPECT_TRUE(F()->Do_Copy_In_Write());
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_TRUE(Messages.isEmpty());

    WriteConf(QStringLiteral("KNX_SetAccess.xml"),
              "<BACnet_to_KNX><KNX_in_Write>"
              "<row Enable=\"Y\" Source_Address=\"1.1.1\" Destination_Address=\"1/1\" APCI=\"Read\" Priority=\"Low\" "
              "Format=\"None\" Extended=\"N\" ReTest=\"N\" On_Command=\"N\" On_Change=\"N\" On_Timer=\"N\" "
              "Poll_Time=\"\" Position=\"0\" Bit_Mode=\"No\" Length=\"1\" Mnemonic=\"a\"/>"
              "<row Enable=\"Y\" Source_Address=\"1.1.2\" Destination_Address=\"1/2\" APCI=\"Read\" Extended=\"N\" "
              "ReTest=\"N\" On_Change=\"N\" Poll_Time=\"\" Position=\"7\" Bit_Mode=\"No\" Mnemonic=\"no length\"/>"
              "<row Enable=\"Y\" Source_Address=\"1.1.3\" Destination_Address=\"1/3\" APCI=\"Read\" Priority=\"Low\" "
              "Format=\"None\" Extended=\"N\" ReTest=\"N\" On_Command=\"N\" On_Change=\"N\" On_Timer=\"N\" "
              "Poll_Time=\"\" Position=\"0\" Bit_Mode=\"No\" Length=\"1\" Mnemonic=\"c\"/>"
              "</KNX_in_Write></BACnet_to_KNX>");
    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(RowTexts(G(), 1), QStringList({"Y", "1.1.1", "1/1", "Read", "Low", "None", "N", "N", "N", "N", "N",
                                                 "", "0", "No", "1", "a"}));
        // The row that lacks Length is shown as far as it was read; the rows after it are not.
        EXPECT_EQ(RowTexts(G(), 2), QStringList({"Y", "1.1.2", "1/2", "Read", "Normal", "None", "N", "N", "N", "N", "N",
                                                 "", "7", "No", "", ""}));
        EXPECT_EQ(RowTexts(G(), 3), EmptyRow(G()));
        G()->SetRow(4);
        hook.Answer(mrOk);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(Message_Texts(hook).back(), Lang_Text(1102));
        EXPECT_EQ(RowTexts(G(), 4), EmptyRow(G()));
        GuiTest::Click(F()->Btn_Cancel);
    }, 1);
    ASSERT_EQ(Messages.size(), 2);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("\"Length\""))) << Messages[0].toStdString();
}

TEST_F(KNXAccess, RowButtonsMoveTheShownColumnsAndAClickOnTheNumberSelectsTheRow)
{
    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        QStringList Second = Good;
        Second[15] = QStringLiteral("second");
        FillRow(G(), 1, Good);
        FillRow(G(), 2, Second);
        FillRow(G(), 1024, Good);
        G()->SetRow(1);
        hook.Answer(mrNo);
        GuiTest::Click(F()->Btn_DelRow);
        EXPECT_EQ(RowTexts(G(), 1), Good);
        hook.Answer(mrYes);
        GuiTest::Click(F()->Btn_DelRow);
        EXPECT_EQ(RowTexts(G(), 1), Second);
        EXPECT_EQ(RowTexts(G(), 1023), Good);
        EXPECT_EQ(RowTexts(G(), 1024), QStringList(16, QString()));
        EXPECT_EQ(G()->Cells(0, 1024), QStringLiteral("1024"));
        const QStringList Asked = Message_Texts(hook);
        EXPECT_EQ(Asked, QStringList({QStringLiteral("Are you sure to delete the Row number 1"),
                                      QStringLiteral("Are you sure to delete the Row number 1")}));

        GuiTest::Click(F()->Btn_InsRow);
        EXPECT_EQ(RowTexts(G(), 1), EmptyRow(G()));
        EXPECT_EQ(RowTexts(G(), 2), Second);

        ClickCell(G(), 0, 2);
        EXPECT_EQ(G()->Selection().Top, 2);
        EXPECT_EQ(G()->Selection().Bottom, 2);
        EXPECT_EQ(G()->Selection().Left, 1);
        EXPECT_EQ(G()->Selection().Right, 16);
        GuiTest::Click(F()->Btn_Cancel);
    });
}

} // namespace
