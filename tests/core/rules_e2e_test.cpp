// Steps 1, 3 and 4 in a row, as a user drives the configurator: a new configuration, its slave
// access rules typed into the grid with keys and clicks, and the image compiled from them.
#include "EditorsFixture.h"

#include "controls/LbButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Graphics.h"
#include "platform/Windows.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

void PrintTo(const QString &S, std::ostream *Out)
{
    *Out << '"' << S.toStdString() << '"';
}

namespace {

LongWord U32At(const QByteArray &Bytes, int Offset)
{
    LongWord V = 0;
    for (int i = 3; i >= 0; --i)
        V = (V << 8) | static_cast<Byte>(Bytes[Offset + i]);
    return V;
}
Word U16At(const QByteArray &Bytes, int Offset)
{
    return Word(static_cast<Byte>(Bytes[Offset]) | (static_cast<Byte>(Bytes[Offset + 1]) << 8));
}

class RulesEndToEnd : public TEditorsTest {
protected:
    void SetUp() override
    {
        TEditorsTest::SetUp();
        StartEditors();
        Saved_Jump = Opt_Jump_Field;
        Saved_AutoSize = Opt_AutoSize_Col;
    }
    void TearDown() override
    {
        Opt_Jump_Field = Saved_Jump;
        Opt_AutoSize_Col = Saved_AutoSize;
        TEditorsTest::TearDown();
    }

    static TFEtherNetIP_Master_Access *F() { return FEtherNetIP_Master_Access; }
    static TExtColumnGrid *G() { return FEtherNetIP_Master_Access->ACG; }
    static QString Cell(int c, int r) { return G()->Cells(c, r); }

    // Step 3; Body runs inside the dialog and must close it. The texts of the message boxes
    // shown meanwhile are collected in Messages.
    void Step3(const std::function<void(TScriptedModalHook &)> &Body)
    {
        TScriptedModalHook hook;
        hook.RunWith([&](TModalRequest &) { Body(hook); });
        ClickButton(FFabricoreFirmWare->Btn_EtherNetIP_Access);
        ASSERT_GE(hook.Shown.size(), 1u);
        EXPECT_EQ(hook.Shown[0].Form, F());
        Messages = Message_Texts(hook);
        EXPECT_EQ(hook.Pending(), 0u);
    }

    static TWinControl *Focused()
    {
        TWinControl *W = GuiTest::FocusedControl();
        return W ? W : G();
    }
    static void Key(Word Vk, TShiftState Shift = {})
    {
        GuiTest::PressKey(Focused(), Vk, Shift);
        GuiTest::ProcessEvents();
    }
    static void TypeText(const QString &Text)
    {
        GuiTest::TypeText(Focused(), Text);
        GuiTest::ProcessEvents();
    }

    static TPoint CentreOf(int c, int r)
    {
        const TRect R = G()->CellRect(c, r);
        return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    static void ClickCell(int c, int r)
    {
        GuiTest::Click(G(), CentreOf(c, r));
        GuiTest::ProcessEvents();
    }
    static QImage Render()
    {
        QWidget *W = G()->Widget();
        QImage Img(W->size(), QImage::Format_ARGB32);
        Img.fill(Qt::black);
        W->render(&Img);
        return Img;
    }
    static QColor Centre(const QImage &Img, int c, int r)
    {
        const TRect R = G()->CellRect(c, r);
        return Img.pixelColor((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }

    bool Saved_Jump = false;
    bool Saved_AutoSize = false;
};

const char *const Rules[3][11] = {
    {"192.168.1.10", "0", "8", "0", "4", "100", "1", "100", "1", "101", "Drive"},
    {"192.168.1.11", "5", "16", "2", "6", "250", "2", "110", "3", "111", "Valve"},
    {"10.0.0.7", "1", "32", "3", "10", "1000", "4", "120", "5", "121", "Pump"},
};

} // namespace

TEST_F(RulesEndToEnd, TheEmptyRulesShowNumberedWithTheirColumnColoursAndATickedBox)
{
    NewConfiguration(QStringLiteral("Line1"));
    Step3([&](TScriptedModalHook &) {
        for (int r = 1; r <= 10; ++r) {
            EXPECT_EQ(Cell(0, r), QString::number(r));
            EXPECT_EQ(Cell(1, r), QStringLiteral("Y"));
            for (int c = 2; c <= 12; ++c)
                EXPECT_EQ(Cell(c, r), QString()) << c << "," << r;
        }
        // Row 5 is away from the current cell and the selection.
        const QImage Img = Render();
        Img.save(QDir(GuiTest::ArtefactDir()).filePath(QStringLiteral("rules_editor.png")));
        const struct {
            int Col;
            QColor Colour;
        } Colours[] = {{2, QColor(224, 250, 254)}, {3, QColor(255, 255, 168)}, {5, QColor(252, 214, 244)},
                       {7, QColor(168, 255, 168)}, {8, QColor(213, 213, 255)}, {12, QColor(255, 255, 255)}};
        for (const auto &C : Colours)
            EXPECT_EQ(Centre(Img, C.Col, 5), C.Colour) << C.Col;

        // The box in column 1 is drawn ticked: it differs from the same box unticked, which is
        // drawn as well (a frame on the cell's colour).
        const TRect Box = G()->CellRect(1, 5);
        const QColor Back(255, 216, 176);
        G()->SetCells(1, 5, QStringLiteral("N"));
        const QImage Unticked = Render();
        int Frame = 0, Tick = 0, Left = Box.Right, Right = Box.Left;
        for (int y = Box.Top + 1; y < Box.Bottom - 1; ++y)
            for (int x = Box.Left + 1; x < Box.Right - 1; ++x) {
                if (Unticked.pixelColor(x, y) != Back) {
                    ++Frame;
                    Left = std::min(Left, x);
                    Right = std::max(Right, x);
                }
                Tick += Unticked.pixelColor(x, y) != Img.pixelColor(x, y);
            }
        EXPECT_GT(Frame, 20);
        EXPECT_GT(Tick, 10);
        // The column is centred, and so is its box.
        EXPECT_NEAR((Left + Right) / 2, (Box.Left + Box.Right) / 2, 2);
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(ConfPath(QStringLiteral("EtherNetIP_Master_Rules.xml"))));
}

TEST_F(RulesEndToEnd, RulesTypedWithKeysReachTheImageOfStep4)
{
    NewConfiguration(QStringLiteral("Line2"));
    Opt_Jump_Field = true;
    Step3([&](TScriptedModalHook &hook) {
        G()->SetFocus();
        ASSERT_TRUE(GuiTest::WaitUntil([] { return GuiTest::FocusedControl() == G(); }));
        ASSERT_EQ(G()->Col(), 1);
        ASSERT_EQ(G()->Row(), 1);
        // Each rule from column 2: Enter moves on to the next cell and from the last column to
        // column 1 of the next row; Right leaves the check box.
        for (int r = 0; r < 3; ++r) {
            Key(VK_RIGHT);
            ASSERT_EQ(G()->Col(), 2);
            ASSERT_EQ(G()->Row(), r + 1);
            for (int k = 0; k < 11; ++k) {
                TypeText(QString::fromLatin1(Rules[r][k]));
                Key(VK_RETURN);
            }
        }
        EXPECT_EQ(G()->Col(), 1);
        EXPECT_EQ(G()->Row(), 4);
        // The second rule is switched off with a click on its box.
        ClickCell(1, 2);
        EXPECT_EQ(Cell(1, 2), QStringLiteral("N"));
        EXPECT_EQ(G()->Row(), 2);
        // Up and Down move between the rules; the header is never current.
        Key(VK_DOWN);
        EXPECT_EQ(G()->Row(), 3);
        Key(VK_UP);
        Key(VK_UP);
        Key(VK_UP);
        EXPECT_EQ(G()->Row(), 1);
        GuiTest::Click(F()->Btn_OK);
        EXPECT_EQ(F()->ModalResult(), mrOk);
        (void)hook;
    });
    ASSERT_TRUE(Messages.isEmpty()) << Messages.join(QStringLiteral(" | ")).toStdString();
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 11; ++k)
            EXPECT_EQ(Cell(k + 2, r + 1), QString::fromLatin1(Rules[r][k])) << r << "," << k;
    EXPECT_EQ(Cell(1, 2), QStringLiteral("N"));

    // Step 4, the update dialog answered Cancel.
    TScriptedModalHook hook;
    hook.Answer(mrCancel);
    ClickButton(FFabricoreFirmWare->Btn_CreateBin);
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].Form, FBoot);
    const QByteArray Image = ReadBytes(QStringLiteral("PROJECTS/Line2/bin/bank.bin"));
    ASSERT_EQ(Image.size(), 2368);
    EXPECT_EQ(U32At(Image, 0x278), 2u);
    EXPECT_EQ(U32At(Image, 0x074), 8u + 32u);
    EXPECT_EQ(U32At(Image, 0x078), 4u + 10u);
    const struct {
        int Rule;
        Byte IP[4];
        Word Offset_In, Offset_Out;
    } Records[] = {{0, {192, 168, 1, 10}, 0, 0}, {2, {10, 0, 0, 7}, 8, 4}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const int At = 0x800 + 32 * i;
        const auto &R = Records[i];
        const char *const *T = Rules[R.Rule];
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(static_cast<Byte>(Image[At + k]), R.IP[k]);
        auto Num = [&](int k) { return Word(QString::fromLatin1(T[k]).toInt()); };
        EXPECT_EQ(U16At(Image, At + 4), Num(1));
        EXPECT_EQ(U16At(Image, At + 6), Num(2));
        EXPECT_EQ(U16At(Image, At + 8), R.Offset_In);
        EXPECT_EQ(U16At(Image, At + 10), Num(3));
        EXPECT_EQ(U16At(Image, At + 12), Num(4));
        EXPECT_EQ(U16At(Image, At + 14), R.Offset_Out);
        EXPECT_EQ(U16At(Image, At + 16), Num(6));
        EXPECT_EQ(U16At(Image, At + 18), Num(7));
        EXPECT_EQ(U16At(Image, At + 20), Num(8));
        EXPECT_EQ(U16At(Image, At + 22), Num(9));
        EXPECT_EQ(U32At(Image, At + 24), LongWord(QString::fromLatin1(T[5]).toInt()));
        EXPECT_EQ(U32At(Image, At + 28), 0u);
    }
    EXPECT_EQ(Image.mid(0x800 + 64), QByteArray(32 * 8, '\0'));
}

TEST_F(RulesEndToEnd, TheRowButtonsAndTheHeadersWorkWithKeysAndClicks)
{
    NewConfiguration(QStringLiteral("Line3"));
    WriteBytes(QStringLiteral("PROJECTS/Line3/EtherNetIP_Master_Rules.xml"),
               "<EtherNetIP_Master_Access>"
               "<row Enable=\"Y\" IP_Address=\"10.0.0.1\" Start_Input=\"0\" Num_Input=\"1\" Start_Output=\"0\" "
               "Num_Output=\"1\" Time_Poll=\"100\" Instance_T_O=\"1\" Connection_Point_T_O=\"100\" Instance_O_T=\"1\" "
               "Connection_Point_O_T=\"101\" Mnemonic=\"A\"/>"
               "<row Enable=\"N\" IP_Address=\"10.0.0.2\" Mnemonic=\"B\"/>"
               "<row/><row/><row/><row/><row/><row/><row/>"
               "<row Enable=\"Y\" IP_Address=\"10.0.0.10\" Mnemonic=\"the last rule with a rather long mnemonic\"/>"
               "</EtherNetIP_Master_Access>");
    Opt_AutoSize_Col = true;
    Step3([&](TScriptedModalHook &hook) {
        auto Row = [](int r) {
            QStringList T;
            for (int c = 1; c <= 12; ++c)
                T << Cell(c, r);
            return T.join(QLatin1Char('|'));
        };
        const QString A = QStringLiteral("Y|10.0.0.1|0|1|0|1|100|1|100|1|101|A");
        const QString B = QStringLiteral("N|10.0.0.2||||||||||B");
        const QString New = QStringLiteral("Y|||||||||||");
        const QString Off = QStringLiteral("N|||||||||||");

        // A double click on a header sizes its column to the content, on a rule it does not.
        const int Width = G()->ColWidths(12);
        GuiTest::DoubleClick(G(), CentreOf(12, 5));
        GuiTest::ProcessEvents();
        EXPECT_EQ(G()->ColWidths(12), Width);
        GuiTest::DoubleClick(G(), CentreOf(12, 0));
        GuiTest::ProcessEvents();
        EXPECT_GT(G()->ColWidths(12), Width);
        Opt_AutoSize_Col = false;
        const int Sized = G()->ColWidths(2);
        GuiTest::DoubleClick(G(), CentreOf(2, 0));
        GuiTest::ProcessEvents();
        EXPECT_EQ(G()->ColWidths(2), Sized);

        // Paste before any copy.
        ClickCell(3, 4);
        hook.Answer(mrOk);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(Message_Texts(hook), QStringList{QStringLiteral("Error!!! Copy a valid row before Paste it")});

        // Insert at row 1: a new enabled rule, the last one is lost.
        ClickCell(3, 1);
        GuiTest::Click(F()->Btn_InsRow);
        EXPECT_EQ(Row(1), New);
        EXPECT_EQ(Row(2), A);
        EXPECT_EQ(Row(3), B);
        EXPECT_EQ(Row(10), Off);

        // Copy A (a row down), paste it over B (asked) and into an empty rule (not asked).
        G()->SetFocus();
        Key(VK_DOWN);
        ASSERT_EQ(G()->Row(), 2);
        GuiTest::Click(F()->Btn_CopyRow);
        G()->SetFocus();
        Key(VK_DOWN);
        ASSERT_EQ(G()->Row(), 3);
        hook.Answer(mrYes);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(Message_Texts(hook).last(), QStringLiteral("Row Already used. Do you want to overwrite the values?"));
        EXPECT_EQ(Row(3), A);
        ClickCell(5, 7);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(Message_Texts(hook).size(), 2);
        EXPECT_EQ(Row(7), A);

        // Space on a box switches the rule off and on.
        ClickCell(2, 7);
        G()->SetFocus();
        Key(VK_LEFT);
        ASSERT_EQ(G()->Col(), 1);
        Key(VK_SPACE);
        EXPECT_EQ(Cell(1, 7), QStringLiteral("N"));

        // Delete asks with the row number: No keeps the rule, Yes deletes it.
        ClickCell(4, 3);
        hook.Answer(mrNo);
        GuiTest::Click(F()->Btn_DelRow);
        EXPECT_EQ(Message_Texts(hook).last(), QStringLiteral("Are you sure to delete the Row number 3"));
        EXPECT_EQ(Row(3), A);
        hook.Answer(mrYes);
        GuiTest::Click(F()->Btn_DelRow);
        EXPECT_EQ(Message_Texts(hook).size(), 4);
        EXPECT_EQ(Row(3), Off);
        EXPECT_EQ(Row(6), QStringLiteral("N|10.0.0.1|0|1|0|1|100|1|100|1|101|A"));
        EXPECT_EQ(Row(10), QStringLiteral("|||||||||||"));
        GuiTest::Click(F()->Btn_OK);
        EXPECT_EQ(F()->ModalResult(), mrOk);
    });
    EXPECT_EQ(QString::fromUtf8(ReadBytes(QStringLiteral("PROJECTS/Line3/EtherNetIP_Master_Rules.xml"))).count(QStringLiteral("<row ")), 2);
}
