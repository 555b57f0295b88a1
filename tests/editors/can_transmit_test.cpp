// The CAN transmit frames editor driven as a user would: the trigger boxes ticked, the frames
// as "CAN_Send_Frames.xml" keeps them, the check of each enabled frame and the load rules of a
// file written by hand.
#include "helpers/RuleEditorsFixture.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

using GuiTest::TScriptedModalHook;

namespace {

const QStringList Attributes = {"Enable", "COBID", "CAN_Type", "Dim", "OnChange", "OnCMD", "OnTimer", "Time", "Byte1",
                                "Byte2", "Byte3", "Byte4", "Byte5", "Byte6", "Byte7", "Byte8", "Mnemonic"};
const QStringList Good = {"Y", "291", "2.0A (11 bits)", "3", "Y", "N", "Y", "1000", "0", "None", "1499",
                          "", "", "", "", "", "t"};

class TransmitCAN : public TRuleEditorsTest {
protected:
    static TFTransmitCAN *F() { return FTransmitCAN; }
    static TExtColumnGrid *G() { return FTransmitCAN->ACG_CAN_Transmit; }
};

TEST_F(TransmitCAN, TickedTriggersAndTypedFramesAreWrittenAndReadBack)
{
    const TModalResult Result = ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(F()->Caption(), QStringLiteral("Transmit CAN Frames Set Access"));
        EXPECT_EQ(F()->ClientWidth(), 1100);
        EXPECT_EQ(G()->ColCount(), 18);
        EXPECT_EQ(G()->RowCount(), 513);
        EXPECT_EQ(G()->Cells(6, 0), QStringLiteral("OnCMD"));
        EXPECT_EQ(G()->Cells(8, 0), QStringLiteral("Time"));
        EXPECT_EQ(G()->ColWidths(17), 110);
        EXPECT_EQ(F()->Hint_TransmitCAN->Count(), 17);
        EXPECT_EQ(F()->Hint_TransmitCAN->Strings(5), QStringLiteral("Enable or Disable the possibility to send the CAN Frame by Command"));

        TypeCell(G(), 2, 1, QStringLiteral("1"));
        PickItem(G(), 3, 1, 0);
        TypeCell(G(), 4, 1, QStringLiteral("1"));
        // The trigger cells of a new frame hold no state until they are ticked.
        ClickCell(G(), 5, 1);
        ClickCell(G(), 7, 1);
        ClickCell(G(), 6, 1);
        ClickCell(G(), 6, 1);
        TypeCell(G(), 8, 1, QStringLiteral("0"));
        EXPECT_TRUE(ClickOK(F(), hook, false));
    });
    ASSERT_EQ(Result, mrOk);
    const QStringList Row = {"Y", "1", "2.0A (11 bits)", "1", "Y", "N", "Y", "0", "", "", "", "", "", "", "", "", ""};
    EXPECT_EQ(FileText(QStringLiteral("CAN_Send_Frames.xml")).trimmed(),
              QStringLiteral("<Transmit_Frames>") + RowXml(Attributes, Row)
                  + QStringLiteral("</Transmit_Frames><!--SW_VERSION = 1.000-->"));
    ShowDialog(F(), [&](TScriptedModalHook &) {
        EXPECT_EQ(RowTexts(G(), 1), Row);
        GuiTest::Click(F()->Btn_Cancel);
    });
}

TEST_F(TransmitCAN, EachBadValueOfAnEnabledFrameIsReportedWithItsRow)
{
    const TCheck_Case Cases[] = {
        {{{7, "N"}, {8, ""}}, ""},
        {{{7, "N"}, {8, "abc"}}, ""},
        {{{7, ""}, {8, "abc"}}, ""},
        {{{7, "Y"}, {8, ""}}, "Error row 3!! Time must be between 0 and 100000000 milliseconds"},
        {{{7, "y"}, {8, ""}}, "Error row 3!! Time must be between 0 and 100000000 milliseconds"},
        {{{7, " Y "}, {8, "100000001"}}, "Error row 3!! Time must be between 0 and 100000000 milliseconds"},
        {{{7, "Y"}, {8, "0"}}, ""},
        {{{2, "2048"}}, "Error row 3!! CobID must be between 0 and 2047"},
        {{{3, "2.0B (29 bits)"}, {2, "536870912"}}, "Error row 3!! CobID must be between 0x00000000 and 0x1FFFFFFF"},
        {{{3, "x"}, {2, "536870911"}}, ""},
        {{{4, "9"}}, "Error row 3!! Dimension must be between 1 and 8"},
        {{{12, "9999"}}, ""},
        {{{11, "1500"}}, "Error row 3!! Byte3 must be between 0 and 1499 or None"},
        {{{9, "1500"}}, "Error row 3!! Byte1 must be between 0 and 1499 or None"},
        {{{1, "N"}, {2, "x"}, {8, "x"}}, ""},
    };
    for (const TCheck_Case &C : Cases)
        Check_Case(F(), Good, C, QStringLiteral("CAN_Send_Frames.xml"));
}

TEST_F(TransmitCAN, AMissingAttributeLoadsByItsRule)
{
    WriteConf(QStringLiteral("CAN_Send_Frames.xml"),
              "<Transmit_Frames>"
              "<row Enable=\"N\" COBID=\"1\"/>"
              "<row COBID=\"2\" OnTimer=\"Y\"/>"
              "<row COBID=\"3\" OnTimer=\"y\" OnChange=\"\" CAN_Type=\"2.0B (29 bits)\" Mnemonic=\"m\"/>"
              "</Transmit_Frames><!--SW_VERSION = 1.000-->");
    ShowDialog(F(), [&](TScriptedModalHook &) {
        EXPECT_EQ(RowTexts(G(), 1),
                  QStringList({"N", "1", "2.0A (11 bits)", "", "Y", "N", "N", "", "", "", "", "", "", "", "", "", ""}));
        EXPECT_EQ(RowTexts(G(), 2),
                  QStringList({"Y", "2", "2.0A (11 bits)", "", "Y", "N", "Y", "0", "", "", "", "", "", "", "", "", ""}));
        // Only an exact "Y" gives the period its default.
        EXPECT_EQ(RowTexts(G(), 3),
                  QStringList({"Y", "3", "2.0B (29 bits)", "", "", "N", "y", "", "", "", "", "", "", "", "", "", "m"}));
        // A new row's trigger boxes stay empty, and an empty OnTimer is no timer.
        G()->SetRow(1);
        GuiTest::Click(F()->Btn_InsRow);
        EXPECT_EQ(RowTexts(G(), 1), EmptyRow(G()));
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_TRUE(Messages.isEmpty());
}

} // namespace
