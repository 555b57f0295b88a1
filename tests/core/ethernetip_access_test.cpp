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

    // Shows the editor; Body runs inside its modal loop and must close it. Boxes_On_Show
    // message boxes that come while the editor loads are answered with OK. The texts of the
    // message boxes shown meanwhile are collected in Messages.
    TModalResult Show(const std::function<void(TScriptedModalHook &)> &Body, int Boxes_On_Show = 0)
    {
        TScriptedModalHook hook;
        hook.RunWith([&](TModalRequest &) { Body(hook); });
        for (int i = 0; i < Boxes_On_Show; ++i)
            hook.Answer(mrOk);
        const TModalResult Result = F()->ShowModal();
        Messages.clear();
        for (const auto &S : hook.Shown)
            if (S.Kind == mkMessage)
                Messages << S.Text;
        EXPECT_EQ(hook.Pending(), 0u);
        return Result;
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

    QStringList Messages;
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
