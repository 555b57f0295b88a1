// What every rule editor does alike, shown on the CAN receive editor: a damaged file, a file that
// cannot be written, the header hints, the look of the grid and the row buttons.
#include "helpers/RuleEditorsFixture.h"

#include "core/ULanguage.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

namespace {

const QStringList Frame_A = {"Y", "1", "2.0A (11 bits)", "1", "0", "None", "", "", "", "", "", "", "", "A"};
const QStringList Frame_B = {"N", "2", "2.0B (29 bits)", "2", "5", "1", "2", "", "", "", "", "", "", "B"};

class RuleFrame : public TRuleEditorsTest {
protected:
    static TFReceiveCAN *F() { return FReceiveCAN; }
    static TExtColumnGrid *G() { return FReceiveCAN->ACG_CAN_Receive; }
    QString Path() const { return ConfPath(QStringLiteral("CAN_Rec_Frames.xml")); }
    static TPoint Centre(int c, int r)
    {
        const TRect R = G()->CellRect(c, r);
        return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
};

TEST_F(RuleFrame, AFileThatIsNotXmlIsReportedOnceAndConfirmingWritesAGoodOne)
{
    WriteConf(QStringLiteral("CAN_Rec_Frames.xml"), "<Receive_Frames><row Enable=\"N\" COBID=\"1\" Dim=\"1\"/>");
    const TModalResult Result = ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(RowTexts(G(), 1), EmptyRow(G()));
        FillRow(G(), 1, Frame_A);
        EXPECT_TRUE(ClickOK(F(), hook, false));
    }, 1);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("CAN_Rec_Frames.xml"))) << Messages[0].toStdString();
    EXPECT_EQ(Result, mrOk);
    EXPECT_TRUE(FileText(QStringLiteral("CAN_Rec_Frames.xml")).startsWith(QStringLiteral("<Receive_Frames><row Enable=\"Y\" COBID=\"1\"")));
}

TEST_F(RuleFrame, AFileThatCannotBeWrittenIsReportedAndTheDialogStaysOpen)
{
    // A folder where the file belongs: nothing can replace it.
    ASSERT_TRUE(QDir().mkpath(Path()));
    bool Closed = true;
    const TModalResult Result = ShowDialog(F(), [&](TScriptedModalHook &hook) {
        FillRow(G(), 1, Frame_A);
        Closed = ClickOK(F(), hook, true);
        EXPECT_EQ(RowTexts(G(), 1), Frame_A);
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_FALSE(Closed);
    EXPECT_EQ(Result, mrCancel);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("CAN_Rec_Frames.xml"))) << Messages[0].toStdString();
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST_F(RuleFrame, HeaderCellsHintTheirColumnAndNothingElseDoes)
{
    QStringList Seen;
    ShowDialog(F(), [&](TScriptedModalHook &) {
        G()->SetCells(14, 1, QStringLiteral("Pump"));
        for (const TPoint At : {Centre(5, 0), Centre(1, 0), Centre(0, 0), Centre(14, 1)}) {
            GuiTest::ResetHints();
            const GuiTest::TShownHint H = GuiTest::RestPointer(G(), At);
            Seen << (H.Visible ? H.Text : QStringLiteral("(none)"));
        }
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_EQ(Seen, QStringList({Lang_Text(1434), Lang_Text(1429), QStringLiteral("(none)"), QStringLiteral("(none)")}));
    EXPECT_EQ(Seen[0], QStringLiteral("Insert the TimeOut in milliseconds of data for each CAN frames, insert 0 do disable the function"));
}

TEST_F(RuleFrame, ColumnsAreColouredByGroupAndTheEnableBoxShowsItsState)
{
    ShowDialog(F(), [&](TScriptedModalHook &) {
        // Row 2: the current cell of row 1 is drawn selected.
        GuiTest::ProcessEvents();
        const TRect Enable = G()->CellRect(1, 2);
        const TRect Byte = G()->CellRect(6, 2);
        const TRect Address = G()->CellRect(2, 2);
        EXPECT_EQ(GuiTest::PixelAt(G(), Enable.Left + 3, Enable.Top + 3), TColorRef(11589887));
        EXPECT_EQ(GuiTest::PixelAt(G(), Byte.Left + 3, Byte.Top + 3), TColorRef(0xF4D6FC));
        EXPECT_EQ(GuiTest::PixelAt(G(), Address.Left + 3, Address.Top + 3), TColorRef(0xFEFAE0));
        // The tick is dark on the light box.
        const QString Png = PathOf(QStringLiteral("grid.png"));
        const auto Dark_Pixels = [&] {
            EXPECT_TRUE(GuiTest::SaveWindowPng(G(), Png));
            const QImage Picture(Png);
            int Count = 0;
            for (int x = Enable.Left + 1; x < Enable.Right - 1; ++x)
                for (int y = Enable.Top + 1; y < Enable.Bottom - 1; ++y) {
                    const QRgb P = Picture.pixel(x, y);
                    Count += qRed(P) + qGreen(P) + qBlue(P) < 200;
                }
            return Count;
        };
        const int Ticked = Dark_Pixels();
        G()->SetCells(1, 2, QStringLiteral("N"));
        GuiTest::ProcessEvents();
        EXPECT_GT(Ticked, Dark_Pixels() + 5);
        GuiTest::SaveWindowPng(F(), GuiTest::ArtefactDir() + QStringLiteral("/can_receive_editor.png"));
        GuiTest::Click(F()->Btn_Cancel);
    });
}

TEST_F(RuleFrame, RowButtonsWorkOnTheCurrentRow)
{
    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        FillRow(G(), 1, Frame_A);
        FillRow(G(), 2, Frame_B);
        FillRow(G(), 512, Frame_A);

        // Paste before any copy of this showing.
        G()->SetRow(3);
        hook.Answer(mrOk);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(Message_Texts(hook), QStringList{Lang_Text(1102)});
        EXPECT_EQ(RowTexts(G(), 3), EmptyRow(G()));

        // Insert: a new enabled frame, the others move down, the last one is lost.
        G()->SetRow(1);
        GuiTest::Click(F()->Btn_InsRow);
        EXPECT_EQ(RowTexts(G(), 1), EmptyRow(G()));
        EXPECT_EQ(RowTexts(G(), 2), Frame_A);
        EXPECT_EQ(RowTexts(G(), 3), Frame_B);
        EXPECT_EQ(RowTexts(G(), 512), EmptyRow(G()));
        EXPECT_EQ(G()->Cells(0, 512), QStringLiteral("512"));

        // Copy B over A: asked first; No keeps A, Yes overwrites it.
        G()->SetRow(3);
        GuiTest::Click(F()->Btn_CopyRow);
        EXPECT_TRUE(F()->Copy_Flag(0));
        G()->SetRow(2);
        hook.Answer(mrNo);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(RowTexts(G(), 2), Frame_A);
        hook.Answer(mrYes);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(RowTexts(G(), 2), Frame_B);
        // Into an empty row without a question.
        G()->SetRow(5);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(RowTexts(G(), 5), Frame_B);

        // Delete: No keeps the row, Yes moves the rows below up.
        G()->SetRow(2);
        hook.Answer(mrNo);
        GuiTest::Click(F()->Btn_DelRow);
        EXPECT_EQ(RowTexts(G(), 2), Frame_B);
        hook.Answer(mrYes);
        GuiTest::Click(F()->Btn_DelRow);
        EXPECT_EQ(RowTexts(G(), 2), Frame_B);
        EXPECT_EQ(RowTexts(G(), 4), Frame_B);
        EXPECT_EQ(Message_Texts(hook).mid(1), QStringList({Lang_Text(1100), Lang_Text(1100),
                                                           QStringLiteral("Are you sure to delete the Row number 2"),
                                                           QStringLiteral("Are you sure to delete the Row number 2")}));
        GuiTest::Click(F()->Btn_Cancel);
    });

    // The copy belongs to the showing it was made in, and to its editor.
    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_FALSE(F()->Copy_Flag(0));
        hook.Answer(mrOk);
        GuiTest::Click(F()->Btn_PasteRow);
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_EQ(Messages, QStringList{Lang_Text(1102)});
}

} // namespace
