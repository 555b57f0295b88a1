// The CAN receive frames editor driven as a user would: what it shows, the frames typed and
// picked as "CAN_Rec_Frames.xml" writes them, the check of each enabled frame and the defaults
// of a file written by hand.
#include "helpers/RuleEditorsFixture.h"

#include "core/ULanguage.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

using GuiTest::TScriptedModalHook;

namespace {

const QStringList Attributes = {"Enable", "COBID", "CAN_Type", "Dim", "TimeOut", "Byte1", "Byte2",
                                "Byte3", "Byte4", "Byte5", "Byte6", "Byte7", "Byte8", "Mnemonic"};
const QStringList Good = {"Y", "291", "2.0A (11 bits)", "2", "100", "0", "None", "", "", "", "", "", "", "m"};

class ReceiveCAN : public TRuleEditorsTest {
protected:
    static TFReceiveCAN *F() { return FReceiveCAN; }
    static TExtColumnGrid *G() { return FReceiveCAN->ACG_CAN_Receive; }
    QString File() const { return FileText(QStringLiteral("CAN_Rec_Frames.xml")); }
};

TEST_F(ReceiveCAN, TypedFramesAreWrittenInGridOrderAndComeBackClosedUp)
{
    // Whatever the grid held before, a showing without a file shows numbered empty frames.
    G()->SetCells(2, 7, QStringLiteral("left over"));
    const TModalResult Result = ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(F()->Caption(), QStringLiteral("Receive CAN Frames Set Access"));
        EXPECT_EQ(F()->L_SW_Code->Caption(), QStringLiteral("CF40385"));
        EXPECT_EQ(F()->ClientWidth(), 1010);
        EXPECT_EQ(F()->ClientHeight(), 337);
        EXPECT_EQ(G()->RowCount(), 513);
        EXPECT_EQ(G()->ColCount(), 15);
        EXPECT_EQ(GuiTest::FocusedControl(), G());
        for (int r : {1, 7, 512}) {
            EXPECT_EQ(G()->Cells(0, r), QString::number(r));
            EXPECT_EQ(RowTexts(G(), r), EmptyRow(G())) << r;
        }
        const int Widths[15] = {40, 50, 90, 90, 70, 75, 48, 48, 48, 48, 48, 48, 48, 48, 185};
        for (int c = 0; c < 15; ++c)
            EXPECT_EQ(G()->ColWidths(c), Widths[c]) << c;
        EXPECT_EQ(G()->Cells(5, 0), QStringLiteral("TimeOut"));
        EXPECT_EQ(G()->Columns()->Items(6)->ComboItems()->Count(), 1501);
        EXPECT_EQ(G()->Columns()->Items(13)->ComboItems()->Strings(1500), QStringLiteral("1499"));

        TypeCell(G(), 2, 1, QStringLiteral("0x123"));
        PickItem(G(), 3, 1, 1);
        TypeCell(G(), 4, 1, QStringLiteral("2"));
        TypeCell(G(), 5, 1, QStringLiteral("250"));
        PickItem(G(), 6, 1, 11);
        PickItem(G(), 7, 1, 0);
        TypeCell(G(), 14, 1, QStringLiteral("Motor <1> & \"2\""));
        // A disabled frame with a value the check would refuse.
        ClickCell(G(), 1, 2);
        TypeCell(G(), 2, 2, QStringLiteral("99999999999"));
        // Row 3 stays blank; the frame below it is kept all the same.
        TypeCell(G(), 2, 4, QStringLiteral(" 7"));
        PickItem(G(), 3, 4, 0);
        TypeCell(G(), 4, 4, QStringLiteral("1"));
        TypeCell(G(), 5, 4, QStringLiteral("0"));
        EXPECT_TRUE(ClickOK(F(), hook, false));
    });
    ASSERT_EQ(Result, mrOk);
    EXPECT_TRUE(Messages.isEmpty());
    const QStringList First = {"Y", "0x123", "2.0B (29 bits)", "2", "250", "10", "None", "", "", "", "", "", "",
                               "Motor <1> & \"2\""};
    QStringList Disabled = EmptyRow(G());
    Disabled[0] = QStringLiteral("N");
    Disabled[1] = QStringLiteral("99999999999");
    QStringList Fourth = EmptyRow(G());
    Fourth[1] = QStringLiteral(" 7");
    Fourth[2] = QStringLiteral("2.0A (11 bits)");
    Fourth[3] = QStringLiteral("1");
    Fourth[4] = QStringLiteral("0");
    EXPECT_EQ(File().trimmed(), QStringLiteral("<Receive_Frames>") + RowXml(Attributes, First) + RowXml(Attributes, Disabled)
                                    + RowXml(Attributes, Fourth) + QStringLiteral("</Receive_Frames><!--SW_VERSION = 1.000-->"));

    const QByteArray Saved = ReadConf(QStringLiteral("CAN_Rec_Frames.xml"));
    EXPECT_EQ(ShowDialog(F(), [&](TScriptedModalHook &) {
                  EXPECT_EQ(RowTexts(G(), 1), First);
                  EXPECT_EQ(RowTexts(G(), 2), Disabled);
                  EXPECT_EQ(RowTexts(G(), 3), Fourth);
                  EXPECT_EQ(RowTexts(G(), 4), EmptyRow(G()));
                  TypeCell(G(), 2, 4, QStringLiteral("5"));
                  GuiTest::Click(F()->Btn_Cancel);
              }),
              mrCancel);
    EXPECT_EQ(ReadConf(QStringLiteral("CAN_Rec_Frames.xml")), Saved);
}

TEST_F(ReceiveCAN, EachBadValueOfAnEnabledFrameIsReportedWithItsRow)
{
    const TCheck_Case Cases[] = {
        {{{2, "2047"}}, ""},
        {{{2, "2048"}}, "Error row 3!! CobID must be between 0 and 2047"},
        {{{2, "0x7FF"}}, ""},
        {{{2, "$7FF"}}, ""},
        {{{3, "2.0B (29 bits)"}, {2, "536870911"}}, ""},
        {{{3, "2.0B (29 bits)"}, {2, "536870912"}}, "Error row 3!! CobID must be between 0x00000000 and 0x1FFFFFFF"},
        {{{3, ""}, {2, "536870911"}}, ""},
        {{{3, " 2.0A (11 bits) "}, {2, "2048"}}, "Error row 3!! CobID must be between 0 and 2047"},
        {{{3, "2.0a (11 bits)"}, {2, "536870912"}}, "Error row 3!! CobID must be between 0x00000000 and 0x1FFFFFFF"},
        {{{2, "-1"}}, "Error row 3!! CobID must be between 0 and 2047"},
        {{{4, "0"}}, "Error row 3!! Dimension must be between 1 and 8"},
        {{{4, "9"}}, "Error row 3!! Dimension must be between 1 and 8"},
        {{{4, ""}}, "Error row 3!! Dimension must be between 1 and 8"},
        {{{4, "8 "}}, "Error row 3!! Dimension must be between 1 and 8"},
        {{{5, ""}}, "Error row 3!! TimeOut must be between 0 and 100000000 milliseconds"},
        {{{5, "0"}}, ""},
        {{{5, "100000000"}}, ""},
        {{{5, "100000001"}}, "Error row 3!! TimeOut must be between 0 and 100000000 milliseconds"},
        {{{6, "None"}}, ""},
        {{{6, ""}}, ""},
        {{{6, "1499"}}, ""},
        {{{6, "1500"}}, "Error row 3!! Byte1 must be between 0 and 1499 or None"},
        {{{8, "abc"}}, ""},
        {{{4, "3"}, {8, "abc"}}, "Error row 3!! Byte3 must be between 0 and 1499 or None"},
        {{{4, "8"}, {13, "-1"}}, "Error row 3!! Byte8 must be between 0 and 1499 or None"},
        {{{1, "N"}, {2, "99999999999"}, {4, "x"}}, ""},
        {{{1, " y "}, {2, "2048"}}, "Error row 3!! CobID must be between 0 and 2047"},
    };
    for (const TCheck_Case &C : Cases)
        Check_Case(F(), Good, C, QStringLiteral("CAN_Rec_Frames.xml"));
}

TEST_F(ReceiveCAN, AttributesMissingFromAFileTakeTheirDefaults)
{
    WriteConf(QStringLiteral("CAN_Rec_Frames.xml"),
              "<Receive_Frames>"
              "<row COBID=\"536870911\" Dim=\"1\"/>"
              "<row Enable=\"N\" COBID=\"5\" CAN_Type=\"2.0A (11 bits)\" Dim=\"8\" TimeOut=\"7\" Byte1=\"1\" Byte2=\"2\" "
              "Byte3=\"3\" Byte4=\"4\" Byte5=\"5\" Byte6=\"6\" Byte7=\"7\" Byte8=\"8\" Mnemonic=\"all\"/>"
              "</Receive_Frames>");
    bool Closed = false;
    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(RowTexts(G(), 1), QStringList({"Y", "536870911", "", "1", "0", "", "", "", "", "", "", "", "", ""}));
        EXPECT_EQ(RowTexts(G(), 2),
                  QStringList({"N", "5", "2.0A (11 bits)", "8", "7", "1", "2", "3", "4", "5", "6", "7", "8", "all"}));
        // An empty type is taken for 29 bits.
        Closed = ClickOK(F(), hook, false);
    });
    EXPECT_TRUE(Closed);
    EXPECT_TRUE(Messages.isEmpty());
}

} // namespace
