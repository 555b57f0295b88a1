// The slave access rules editor driven as a user would: what it shows, the check and its
// messages, the row buttons, "EtherNetIP_Master_Rules.xml" as it is written and read back.
#include "EditorsFixture.h"

#include "controls/LbButton.h"
#include "core/ULanguage.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/Windows.h"

#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

// Texts in failure messages as text.
void PrintTo(const QString &S, std::ostream *Out)
{
    *Out << '"' << S.toStdString() << '"';
}

namespace {

const char *const Good_Rule[12] = {"Y", "192.168.0.10", "0", "8", "0", "4", "1000", "1", "100", "1", "101", "Slave"};

class RulesEditor : public TEditorsTest {
protected:
    void SetUp() override
    {
        TEditorsTest::SetUp();
        StartEditors();
        OpenConf(QStringLiteral("Plant"));
    }

    static TFEtherNetIP_Master_Access *F() { return FEtherNetIP_Master_Access; }
    static TExtColumnGrid *G() { return FEtherNetIP_Master_Access->ACG; }
    static QString Cell(int c, int r) { return G()->Cells(c, r); }
    // The texts of columns 1 to 12 of a row.
    static QStringList RowTexts(int r)
    {
        QStringList All;
        for (int c = 1; c <= 12; ++c)
            All << Cell(c, r);
        return All;
    }
    static void FillRow(int r, const char *const Texts[12])
    {
        for (int c = 1; c <= 12; ++c)
            G()->SetCells(c, r, QString::fromUtf8(Texts[c - 1]));
    }

    TModalResult Show(const std::function<void(TScriptedModalHook &)> &Body, int Boxes_On_Show = 0)
    {
        return ShowDialog(F(), Body, Boxes_On_Show);
    }

    // Clicks OK; true when the dialog closed. A refusal's message box is answered.
    static bool ClickOK(TScriptedModalHook &hook, bool Refusal_Expected)
    {
        if (Refusal_Expected)
            hook.Answer(mrOk);
        GuiTest::Click(F()->Btn_OK);
        return F()->ModalResult() == mrOk;
    }

    // The control that takes the keys: the cell editor while it is open, else the grid.
    static TWinControl *Focused()
    {
        TWinControl *W = GuiTest::FocusedControl();
        return W ? W : G();
    }
    static void Key(Word Vk, TShiftState Shift = {}) { GuiTest::PressKey(Focused(), Vk, Shift); }
    static void FocusGrid()
    {
        G()->SetFocus();
        GuiTest::WaitUntil([] { return GuiTest::FocusedControl() == G(); });
    }
    // Goes to a cell and types Text into it, ending with Enter.
    static void TypeCell(int c, int r, const QString &Text)
    {
        FocusGrid();
        G()->SetCol(c);
        G()->SetRow(r);
        GuiTest::TypeText(Focused(), Text);
        Key(VK_RETURN);
        GuiTest::ProcessEvents();
    }

    QString FileText() const
    {
        return QString::fromUtf8(ReadBytes(QStringLiteral("PROJECTS/Plant/EtherNetIP_Master_Rules.xml")));
    }
    void WriteFile(const QByteArray &Text) const
    {
        WriteBytes(QStringLiteral("PROJECTS/Plant/EtherNetIP_Master_Rules.xml"), Text);
    }
    bool FileExists() const { return QFileInfo::exists(ConfPath(QStringLiteral("EtherNetIP_Master_Rules.xml"))); }

    // A stored row as the editor writes it.
    static QString RowXml(const QStringList &T)
    {
        static const char *const Names[12] = {"Enable", "IP_Address", "Start_Input", "Num_Input", "Start_Output",
                                              "Num_Output", "Time_Poll", "Instance_T_O", "Connection_Point_T_O",
                                              "Instance_O_T", "Connection_Point_O_T", "Mnemonic"};
        QString S = QStringLiteral("<row");
        for (int k = 0; k < 12; ++k)
            S += QStringLiteral(" %1=\"%2\"").arg(QString::fromLatin1(Names[k]), T[k]);
        return S + QStringLiteral("/>");
    }
    static QStringList Texts(const char *const T[12])
    {
        QStringList All;
        for (int k = 0; k < 12; ++k)
            All << QString::fromUtf8(T[k]);
        return All;
    }
};

QStringList Empty_Rule()
{
    QStringList T{QStringLiteral("Y")};
    for (int k = 1; k < 12; ++k)
        T << QString();
    return T;
}

} // namespace

TEST_F(RulesEditor, FirstShowingShowsTenNumberedEnabledEmptyRulesAndCancelWritesNothing)
{
    // Whatever the grid held before, a showing without a file shows the empty rules.
    G()->SetCells(2, 3, QStringLiteral("10.0.0.1"));
    G()->SetCells(1, 4, QStringLiteral("N"));
    const TModalResult Result = Show([&](TScriptedModalHook &) {
        EXPECT_EQ(F()->Caption(), QStringLiteral("Set EtherNet/IP Slaves Access"));
        EXPECT_EQ(F()->L_SW_Code->Caption(), QStringLiteral("CF40385"));
        EXPECT_EQ(F()->ClientWidth(), 1180);
        EXPECT_EQ(F()->ClientHeight(), 337);
        EXPECT_EQ(G()->RowCount(), 11);
        EXPECT_EQ(G()->ColCount(), 13);
        for (int r = 1; r <= 10; ++r) {
            EXPECT_EQ(Cell(0, r), QString::number(r));
            EXPECT_EQ(RowTexts(r), Empty_Rule()) << r;
        }
        const QStringList Headers{"N", "Enable", "IP Address", "Start Input", "Num Input", "Start Output",
                                  "Num Output", "Time Poll", "Instance T > O", "Conn. Point T > O",
                                  "Instance O > T", "Conn. Point O > T", "Mnemonic"};
        const int Widths[13] = {40, 50, 110, 80, 80, 85, 85, 80, 105, 120, 105, 120, 95};
        for (int c = 0; c < 13; ++c) {
            EXPECT_EQ(Cell(c, 0), Headers[c]);
            EXPECT_EQ(G()->ColWidths(c), Widths[c]) << c;
        }
        EXPECT_EQ(G()->RowHeights(0), 22);
        EXPECT_EQ(G()->Columns()->Items(1)->Editor(), edDataCheckBox);
        EXPECT_EQ(G()->Columns()->Items(1)->Alignment(), taCenter);
        for (int c = 2; c <= 12; ++c)
            EXPECT_EQ(G()->Columns()->Items(c)->Editor(), edNormal);
        // The row buttons at the left of the button panel, OK and Cancel at its right.
        const TLbButton *Row_Buttons[] = {F()->Btn_DelRow, F()->Btn_InsRow, F()->Btn_CopyRow, F()->Btn_PasteRow};
        const QStringList Captions{"Delete Row", "Insert Row", "Copy Row", "Paste Row"};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Row_Buttons[i]->Caption(), Captions[i]);
            EXPECT_LT(Row_Buttons[i]->Left() + Row_Buttons[i]->Width(), F()->Btn_OK->Left());
        }
        EXPECT_LT(F()->Btn_OK->Left(), F()->Btn_Cancel->Left());
        EXPECT_LE(F()->Btn_Cancel->Left() + F()->Btn_Cancel->Width(), F()->P_Button->Width());
        EXPECT_EQ(F()->Btn_OK->Hint(), QStringLiteral("Confirm and save the EtherNet/IP Slaves Access List"));
        EXPECT_EQ(F()->Btn_PasteRow->Hint(), QStringLiteral("Paste the Copied Fields in the Selected Row"));
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_EQ(Result, mrCancel);
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_FALSE(FileExists());
}

TEST_F(RulesEditor, OkOnTheEmptyRulesWritesTheRootAndTheCommentOnly)
{
    const TModalResult Result = Show([&](TScriptedModalHook &hook) { EXPECT_TRUE(ClickOK(hook, false)); });
    EXPECT_EQ(Result, mrOk);
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(FileText().trimmed(), QStringLiteral("<EtherNetIP_Master_Access/><!--SW_VERSION = 1.005-->"));
}

TEST_F(RulesEditor, EachBadValueOfAnEnabledRuleIsReportedWithItsRowAndNothingIsWritten)
{
    struct Case {
        int Col;
        const char *Text;
        int Refusal; // text number, 0 when the value passes
    };
    const Case Cases[] = {
        {2, "192.168.0", 832}, {2, "192.168.0.256", 832}, {2, "192.168.0.10 ", 832}, {2, "1 .0.0.10", 832},
        {2, " 10.0.0.1", 0}, {3, "70000", 833},  {4, "-1", 834},
        {5, "abc", 835},       {6, "70000", 836},         {7, "0", 837},      {7, "100000000", 0},
        {7, "100000001", 837}, {8, "65536", 845},         {9, "65536", 851},  {10, "65536", 846},
        {11, "65536", 852},    {3, "65535", 0},           {12, "70000 abc", 0},        {8, "0", 0},
    };
    for (const Case &C : Cases) {
        SCOPED_TRACE(testing::Message() << "column " << C.Col << " \"" << C.Text << "\"");
        QFile::remove(ConfPath(QStringLiteral("EtherNetIP_Master_Rules.xml")));
        bool Closed = false;
        QString Typed;
        const TModalResult Result = Show([&](TScriptedModalHook &hook) {
            FillRow(1, Good_Rule);
            FillRow(3, Good_Rule);
            TypeCell(C.Col, 3, QString::fromLatin1(C.Text));
            Typed = Cell(C.Col, 3);
            Closed = ClickOK(hook, C.Refusal != 0);
            if (!Closed) {
                // The dialog keeps what was typed.
                EXPECT_EQ(Cell(C.Col, 3), QString::fromLatin1(C.Text));
                GuiTest::Click(F()->Btn_Cancel);
            }
        });
        EXPECT_EQ(Typed, QString::fromLatin1(C.Text));
        if (C.Refusal) {
            EXPECT_FALSE(Closed);
            EXPECT_EQ(Result, mrCancel);
            EXPECT_EQ(Messages, QStringList{QStringLiteral("Error row 3") + Lang_Text(C.Refusal)});
            EXPECT_FALSE(FileExists());
        } else {
            EXPECT_TRUE(Closed);
            EXPECT_EQ(Result, mrOk);
            EXPECT_TRUE(Messages.isEmpty());
            EXPECT_TRUE(FileText().contains(QStringLiteral("\"") + QString::fromLatin1(C.Text) + QStringLiteral("\"")));
        }
    }
    EXPECT_EQ(Lang_Text(836), QStringLiteral("!! Num Output must be major or equal to 0"));
}

TEST_F(RulesEditor, TheTotalsOfEnabledRulesAreLimitedTo1438BytesEach)
{
    struct Case {
        const char *In1, *In2, *Out1, *Out2;
        bool Disable_Second;
        const char *Message; // empty when the rules pass
    };
    const Case Cases[] = {
        {"800", "700", "0", "0", false,
         "Error!! The Total Number of Input Bytes must be between 0 and 1438"},
        {"0", "0", "800", "700", false,
         "Error!! The Total Number of Output Bytes must be between 0 and 1438"},
        {"800", "700", "800", "700", false,
         "Error!! The Total Number of Input Bytes must be between 0 and 1438"},
        {"738", "700", "719", "719", false, ""},
        {"800", "700", "800", "700", true, ""},
    };
    for (const Case &C : Cases) {
        SCOPED_TRACE(testing::Message() << C.In1 << "+" << C.In2 << " " << C.Out1 << "+" << C.Out2);
        QFile::remove(ConfPath(QStringLiteral("EtherNetIP_Master_Rules.xml")));
        bool Closed = false;
        Show([&](TScriptedModalHook &hook) {
            FillRow(2, Good_Rule);
            FillRow(5, Good_Rule);
            G()->SetCells(4, 2, QString::fromLatin1(C.In1));
            G()->SetCells(4, 5, QString::fromLatin1(C.In2));
            G()->SetCells(6, 2, QString::fromLatin1(C.Out1));
            G()->SetCells(6, 5, QString::fromLatin1(C.Out2));
            if (C.Disable_Second)
                G()->SetCells(1, 5, QStringLiteral("N"));
            Closed = ClickOK(hook, *C.Message != 0);
            if (!Closed)
                GuiTest::Click(F()->Btn_Cancel);
        });
        EXPECT_EQ(Closed, *C.Message == 0);
        EXPECT_EQ(Messages, *C.Message ? QStringList{QString::fromLatin1(C.Message)} : QStringList{});
    }
}

TEST_F(RulesEditor, OkStoresEveryRowWithAnAddressAsTypedAndTheNextShowingReadsThemBack)
{
    const char *const Second[12] = {"Y", " 10.0.0.2", "16", "32", "8", "2", "250", "2", "110", "3", "111", "<B & \"C\">"};
    // Not checked: a disabled rule keeps out-of-range values and "y " counts as no "Y".
    const char *const Disabled[12] = {"N", "10.0.0.3", "70000", "-5", "x", "", "0", "", "", "", "", ""};
    const TModalResult Result = Show([&](TScriptedModalHook &hook) {
        FillRow(1, Good_Rule);
        // Row 2 is left blank: the rules below it are kept all the same.
        G()->SetCells(1, 2, QStringLiteral("N"));
        FillRow(3, Second);
        FillRow(4, Disabled);
        // An enabled row without an address is not checked and not stored.
        G()->SetCells(4, 5, QStringLiteral("99999"));
        G()->SetCells(2, 5, QStringLiteral("   "));
        EXPECT_TRUE(ClickOK(hook, false));
    });
    ASSERT_EQ(Result, mrOk);
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(FileText().trimmed(),
              QStringLiteral("<EtherNetIP_Master_Access>") + RowXml(Texts(Good_Rule))
                  + RowXml(Texts(Second)).replace(QStringLiteral("<B & \"C\">"), QStringLiteral("&lt;B &amp; &quot;C&quot;>"))
                  + RowXml(Texts(Disabled)) + QStringLiteral("</EtherNetIP_Master_Access><!--SW_VERSION = 1.005-->"));

    const QByteArray Saved = ReadBytes(QStringLiteral("PROJECTS/Plant/EtherNetIP_Master_Rules.xml"));
    EXPECT_EQ(Show([&](TScriptedModalHook &) {
                  EXPECT_EQ(RowTexts(1), Texts(Good_Rule));
                  EXPECT_EQ(RowTexts(2), Texts(Second));
                  EXPECT_EQ(RowTexts(3), Texts(Disabled));
                  for (int r = 4; r <= 10; ++r)
                      EXPECT_EQ(RowTexts(r), Empty_Rule()) << r;
                  for (int r = 1; r <= 10; ++r)
                      EXPECT_EQ(Cell(0, r), QString::number(r));
                  // Edits that are cancelled leave the file alone.
                  G()->SetCells(2, 1, QStringLiteral("10.9.9.9"));
                  G()->SetCells(1, 3, QStringLiteral("Y"));
                  GuiTest::Click(F()->Btn_Cancel);
              }),
              mrCancel);
    EXPECT_EQ(ReadBytes(QStringLiteral("PROJECTS/Plant/EtherNetIP_Master_Rules.xml")), Saved);
    Show([&](TScriptedModalHook &) {
        EXPECT_EQ(Cell(2, 1), QStringLiteral("192.168.0.10"));
        EXPECT_EQ(Cell(1, 3), QStringLiteral("N"));
        GuiTest::Click(F()->Btn_Cancel);
    });
}

TEST_F(RulesEditor, EnabledMeansWhatTheImageCompilerTakes)
{
    // " y" reaches the image as an enabled rule, so its values are checked like a "Y" rule's.
    bool Closed = true;
    Show([&](TScriptedModalHook &hook) {
        FillRow(1, Good_Rule);
        G()->SetCells(1, 1, QStringLiteral(" y"));
        G()->SetCells(7, 1, QStringLiteral("0"));
        Closed = ClickOK(hook, true);
        if (!Closed)
            GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_FALSE(Closed);
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Error row 1") + Lang_Text(837)});
}

TEST_F(RulesEditor, TheFileIsReadRowByRowEachAttributeUnderItsOwnGuard)
{
    // Another root name, a declaration and a comment in front, indentation, a row without
    // "Enable", attributes in another order, a comment between rows and twelve rows in all.
    QByteArray Xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- by hand -->\n<Rules>\n"
                     "  <row IP_Address=\"10.0.0.1\" Mnemonic=\"no enable\"/>\n"
                     "  <!-- between -->\n"
                     "  <row Mnemonic=\"m2\" Time_Poll=\"5\" Enable=\"Y\" IP_Address=\"10.0.0.2\"/>\n";
    for (int i = 3; i <= 12; ++i)
        Xml += "  <row Enable=\"Y\" IP_Address=\"10.0.0." + QByteArray::number(i) + "\"/>\n";
    Xml += "</Rules>\n";
    WriteFile(Xml);
    const TModalResult Result = Show([&](TScriptedModalHook &hook) {
        EXPECT_EQ(RowTexts(1), QStringList({"N", "10.0.0.1", "", "", "", "", "", "", "", "", "", "no enable"}));
        EXPECT_EQ(RowTexts(2), QStringList({"Y", "10.0.0.2", "", "", "", "", "5", "", "", "", "", "m2"}));
        for (int r = 3; r <= 10; ++r)
            EXPECT_EQ(Cell(2, r), QStringLiteral("10.0.0.%1").arg(r));
        // The rules read are checked like typed ones.
        Key(VK_ESCAPE);
        EXPECT_FALSE(ClickOK(hook, true));
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_EQ(Result, mrCancel);
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Error row 2") + Lang_Text(833)});
}

TEST_F(RulesEditor, AFileThatIsNotXmlIsReportedOnceAndConfirmingWritesAGoodOne)
{
    WriteFile("<EtherNetIP_Master_Access><row Enable=\"Y\" IP_Address=\"10.0.0.1\"/>");
    const TModalResult Result = Show([&](TScriptedModalHook &hook) {
        for (int r = 1; r <= 10; ++r)
            EXPECT_EQ(RowTexts(r), Empty_Rule()) << r;
        FillRow(1, Good_Rule);
        EXPECT_TRUE(ClickOK(hook, false));
    }, 1);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("EtherNetIP_Master_Rules.xml"))) << Messages[0].toStdString();
    EXPECT_EQ(Result, mrOk);
    EXPECT_EQ(FileText().trimmed(), QStringLiteral("<EtherNetIP_Master_Access>") + RowXml(Texts(Good_Rule))
                                        + QStringLiteral("</EtherNetIP_Master_Access><!--SW_VERSION = 1.005-->"));
}

TEST_F(RulesEditor, AFileThatCannotBeWrittenIsReportedAndTheDialogStaysOpen)
{
    // A folder where the file belongs: nothing can replace it.
    ASSERT_TRUE(QDir().mkpath(ConfPath(QStringLiteral("EtherNetIP_Master_Rules.xml"))));
    bool Closed = true;
    const TModalResult Result = Show([&](TScriptedModalHook &hook) {
        FillRow(1, Good_Rule);
        Closed = ClickOK(hook, true);
        EXPECT_EQ(RowTexts(1), Texts(Good_Rule));
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_FALSE(Closed);
    EXPECT_EQ(Result, mrCancel);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("EtherNetIP_Master_Rules.xml"))) << Messages[0].toStdString();
    EXPECT_TRUE(QFileInfo(ConfPath(QStringLiteral("EtherNetIP_Master_Rules.xml"))).isDir());
}

TEST_F(RulesEditor, TheRowButtonsWorkOnTheCurrentRow)
{
    const char *const A[12] = {"Y", "10.0.0.1", "1", "1", "1", "1", "100", "1", "100", "1", "101", "A"};
    const char *const B[12] = {"N", "10.0.0.2", "2", "2", "2", "2", "200", "2", "100", "2", "101", "B"};
    const char *const Last[12] = {"Y", "10.0.0.10", "", "", "", "", "", "", "", "", "", "last"};
    Show([&](TScriptedModalHook &hook) {
        FillRow(1, A);
        FillRow(2, B);
        FillRow(10, Last);
        SL_Copy_Row->Clear();
        SL_Copy_Row->Add(QStringLiteral("left over from another showing"));

        // Paste before a copy in this showing.
        G()->SetRow(3);
        hook.Answer(mrOk);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(Message_Texts(hook), QStringList{Lang_Text(1102)});
        EXPECT_EQ(RowTexts(3), Empty_Rule());

        // Insert at row 1: a new enabled rule, the others move down, the last one is lost.
        G()->SetRow(1);
        GuiTest::Click(F()->Btn_InsRow);
        EXPECT_EQ(RowTexts(1), Empty_Rule());
        EXPECT_EQ(RowTexts(2), Texts(A));
        EXPECT_EQ(RowTexts(3), Texts(B));
        EXPECT_EQ(RowTexts(10), Empty_Rule());
        for (int r = 1; r <= 10; ++r)
            EXPECT_EQ(Cell(0, r), QString::number(r));

        // Copy rule A; pasting it into a used row asks first, into an empty one not.
        G()->SetRow(2);
        GuiTest::Click(F()->Btn_CopyRow);
        EXPECT_TRUE(F()->Do_Copy);
        G()->SetRow(3);
        hook.Answer(mrYes);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(Message_Texts(hook).mid(1), QStringList{Lang_Text(1100)});
        EXPECT_EQ(RowTexts(3), Texts(A));
        G()->SetRow(6);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(Message_Texts(hook).size(), 2);
        EXPECT_EQ(RowTexts(6), Texts(A));

        // Delete asks with the row number: No keeps the row, Yes deletes it.
        G()->SetRow(3);
        hook.Answer(mrNo);
        GuiTest::Click(F()->Btn_DelRow);
        EXPECT_EQ(Message_Texts(hook).last(), QStringLiteral("Are you sure to delete the Row number 3"));
        EXPECT_EQ(hook.Shown.back().DlgType, mtConfirmation);
        EXPECT_EQ(RowTexts(3), Texts(A));
        hook.Answer(mrYes);
        GuiTest::Click(F()->Btn_DelRow);
        EXPECT_EQ(RowTexts(3), Empty_Rule());
        EXPECT_EQ(RowTexts(5), Texts(A));
        EXPECT_EQ(RowTexts(10), QStringList(12, QString()));
        GuiTest::Click(F()->Btn_Cancel);
    });
    // The copy flag belongs to a showing.
    Show([&](TScriptedModalHook &) {
        EXPECT_FALSE(F()->Do_Copy);
        GuiTest::Click(F()->Btn_Cancel);
    });
}

TEST_F(RulesEditor, ALanguageChangeRenewsCaptionHeadersButtonsAndHints)
{
    Apply_Lang_Line(QStringLiteral("STR800 =Zugriff"));
    Apply_Lang_Line(QStringLiteral("STR801 =Zugriffsregeln"));
    Apply_Lang_Line(QStringLiteral("STR804 =Zeile loeschen"));
    Apply_Lang_Line(QStringLiteral("STR810 =Loescht die Zeile"));
    Apply_Lang_Line(QStringLiteral("STR847 =Verb. T > O"));
    Apply_Lang_Line(QStringLiteral("STR849 =Verbindungspunkt T > O"));
    Apply_Lang_Line(QStringLiteral("STR400 =Kommunikation"));
    FFabricoreFirmWare->Change_Language();
    EXPECT_EQ(F()->Caption(), QStringLiteral("Zugriff"));
    EXPECT_EQ(F()->L_SW_Desc->Caption(), QStringLiteral("Zugriffsregeln"));
    EXPECT_EQ(F()->Btn_DelRow->Caption(), QStringLiteral("Zeile loeschen"));
    EXPECT_EQ(F()->Btn_DelRow->Hint(), QStringLiteral("Loescht die Zeile"));
    EXPECT_EQ(G()->Cells(9, 0), QStringLiteral("Verb. T > O"));
    EXPECT_EQ(G()->Columns()->Items(9)->Header(), QStringLiteral("Verb. T > O"));
    EXPECT_EQ(F()->Hint->Count(), 12);
    EXPECT_EQ(FParGen->Caption(), QStringLiteral("Kommunikation"));
    UnicodeString Text = QStringLiteral("own");
    UnicodeString Wide;
    G()->DoGridHint(9, 0, Text, Wide);
    EXPECT_EQ(Text, QStringLiteral("Verbindungspunkt T > O"));
}

TEST_F(RulesEditor, HeaderCellsHintTheirColumnAndDataCellsKeepTheGridsHint)
{
    const struct {
        int Col, Row;
        const char *Hint; // the text the grid offered stays when empty
    } Cases[] = {
        {1, 0, "Enable or Disable the Row"},
        {2, 0, "Insert the IP Address of EtherNet/IP Slave"},
        {7, 0, "Insert the Time between the Data Request of Slave. expressed in milliseconds"},
        {8, 0, "Insert the Instance Target To Oginator (T > O). Default Value 1"},
        {9, 0, "Insert the Connection Point Target To Oginator (T > O). Default Value 100"},
        {10, 0, "Insert the Instance Oginator To Target (O > T). Default Value 1"},
        {11, 0, "Insert the Connection Point Oginator To Target (O > T). Default Value 101"},
        {12, 0, "Description of Slave EtherNet/IP"},
        {0, 0, ""},
        {9, 1, ""},
        {0, 4, ""},
    };
    for (const auto &C : Cases) {
        UnicodeString Text = QStringLiteral("grid");
        UnicodeString Wide;
        G()->DoGridHint(C.Col, C.Row, Text, Wide);
        EXPECT_EQ(Text, *C.Hint ? QString::fromLatin1(C.Hint) : QStringLiteral("grid")) << C.Col << "," << C.Row;
    }
}

TEST_F(RulesEditor, RestingThePointerOnAHeaderShowsItsHintInTheLanguageInForce)
{
    const auto Centre = [](int c, int r) {
        const TRect R = G()->CellRect(c, r);
        return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    };
    QStringList Seen;
    auto Rest = [&](int c, int r) {
        GuiTest::ResetHints();
        const GuiTest::TShownHint H = GuiTest::RestPointer(G(), Centre(c, r));
        Seen << (H.Visible ? H.Text : QStringLiteral("(none)"));
    };
    Show([&](TScriptedModalHook &) {
        G()->SetCells(12, 2, QStringLiteral("Pump station"));
        Rest(9, 0);
        Rest(2, 0);
        Rest(12, 2);
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_EQ(Seen, QStringList({Lang_Text(849), Lang_Text(824), QStringLiteral("Pump station")}));
    EXPECT_EQ(Seen[0], QStringLiteral("Insert the Connection Point Target To Oginator (T > O). Default Value 100"));

    Apply_Lang_Line(QStringLiteral("STR849 =Verbindungspunkt T > O"));
    FFabricoreFirmWare->Change_Language();
    Seen.clear();
    Show([&](TScriptedModalHook &) {
        Rest(9, 0);
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_EQ(Seen, QStringList{QStringLiteral("Verbindungspunkt T > O")});
}

TEST_F(RulesEditor, OpensWithTheTableFocusedOnTheFirstRulesFirstCell)
{
    // Twice: the second opening follows one that ended on another cell with the focus on OK.
    for (int Opening = 0; Opening < 2; ++Opening) {
        SCOPED_TRACE(Opening);
        Show([&](TScriptedModalHook &hook) {
            GuiTest::ProcessEvents();
            EXPECT_EQ(GuiTest::FocusedControl(), G());
            EXPECT_EQ(G()->Col(), 1);
            EXPECT_EQ(G()->Row(), 1);
            // What is typed right away lands in the table.
            G()->SetCol(2);
            GuiTest::TypeText(Focused(), QStringLiteral("10.0.0.1"));
            Key(VK_RETURN);
            GuiTest::ProcessEvents();
            EXPECT_EQ(Cell(2, 1), QStringLiteral("10.0.0.1"));
            EXPECT_EQ(F()->ModalResult(), mrNone);
            G()->SetRow(4);
            F()->Btn_OK->SetFocus();
            GuiTest::Click(F()->Btn_Cancel);
        });
    }
}
