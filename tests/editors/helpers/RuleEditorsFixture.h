#pragma once
// The main window with the CAN receive, CAN transmit and KNX rule editors, a configuration
// open, and the means to drive an editor's grid as a user would.

#include "WritersFixture.h"

#include <gtest/gtest.h>

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "editors/can/UReceiveCAN.h"
#include "editors/can/UTransmitCAN.h"
#include "editors/knx/UKNXAccess.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Forms.h"
#include "platform/Windows.h"

#include <QFileInfo>
#include <functional>
#include <utility>
#include <vector>

class TRuleEditorsTest : public TWritersTest {
protected:
    void SetUp() override
    {
        TWritersTest::SetUp();
        Application->CreateForm(FReceiveCAN);
        Application->CreateForm(FTransmitCAN);
        Application->CreateForm(FKNXAccess);
    }
    void TearDown() override
    {
        delete FKNXAccess;
        FKNXAccess = nullptr;
        delete FTransmitCAN;
        FTransmitCAN = nullptr;
        delete FReceiveCAN;
        FReceiveCAN = nullptr;
        TWritersTest::TearDown();
    }

    // Shows an editor; Body runs inside its modal loop and must close it. Boxes_On_Show message
    // boxes that come while it loads are answered with OK. The texts of the message boxes shown
    // meanwhile are collected in Messages.
    TModalResult ShowDialog(TForm *Form, const std::function<void(GuiTest::TScriptedModalHook &)> &Body,
                            int Boxes_On_Show = 0)
    {
        return GuiTest::ShowScripted(Form, Body, Boxes_On_Show, Messages);
    }
    static QStringList Message_Texts(const GuiTest::TScriptedModalHook &hook) { return GuiTest::MessageTexts(hook); }
    QStringList Messages;

    // Clicks OK; true when the dialog closed. A refusal's message box is answered.
    static bool ClickOK(TFRuleEditor *F, GuiTest::TScriptedModalHook &hook, bool Refusal_Expected)
    {
        if (Refusal_Expected)
            hook.Answer(mrOk);
        GuiTest::Click(F->Btn_OK);
        return F->ModalResult() == mrOk;
    }

    // The control that takes the keys: the cell editor while it is open, else the grid.
    static TWinControl *Focused(TExtColumnGrid *G)
    {
        TWinControl *W = GuiTest::FocusedControl();
        return W ? W : G;
    }
    static void FocusGrid(TExtColumnGrid *G)
    {
        if (GuiTest::FocusedControl() != G) {
            G->SetFocus();
            GuiTest::WaitUntil([G] { return GuiTest::FocusedControl() == G; });
        }
    }
    static void GoTo(TExtColumnGrid *G, int c, int r)
    {
        FocusGrid(G);
        G->SetCol(c);
        G->SetRow(r);
    }
    // Goes to a cell and types Text into it, ending with Enter.
    static void TypeCell(TExtColumnGrid *G, int c, int r, const QString &Text)
    {
        GoTo(G, c, r);
        // The first key opens the cell's editor, which takes the others.
        for (const QChar Ch : Text) {
            GuiTest::TypeText(Focused(G), QString(Ch));
            GuiTest::ProcessEvents();
        }
        GuiTest::PressKey(Focused(G), VK_RETURN);
        GuiTest::ProcessEvents();
    }
    // Picks item Index of a list cell that holds no item yet: the list opens on its first item.
    static void PickItem(TExtColumnGrid *G, int c, int r, int Index)
    {
        GoTo(G, c, r);
        GuiTest::PressKey(G, VK_F2);
        for (int i = 0; i < Index; ++i)
            GuiTest::PressKey(Focused(G), VK_DOWN);
        GuiTest::PressKey(Focused(G), VK_RETURN);
        GuiTest::ProcessEvents();
    }
    // Clicks the middle of a cell (a check box toggles).
    static void ClickCell(TExtColumnGrid *G, int c, int r)
    {
        const TRect R = G->CellRect(c, r);
        GuiTest::Click(G, TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
        GuiTest::ProcessEvents();
    }
    // The texts of columns 1 .. Last of a row.
    static QStringList RowTexts(TExtColumnGrid *G, int r)
    {
        QStringList All;
        for (int c = 1; c < G->ColCount(); ++c)
            All << G->Cells(c, r);
        return All;
    }
    static void FillRow(TExtColumnGrid *G, int r, const QStringList &Texts)
    {
        for (int k = 0; k < Texts.size(); ++k)
            G->SetCells(k + 1, r, Texts[k]);
    }
    // A reset row: "Y" in Enable when the grid has one, the rest empty.
    static QStringList EmptyRow(TExtColumnGrid *G, bool Enable = true)
    {
        QStringList All;
        for (int c = 1; c < G->ColCount(); ++c)
            All << (c == 1 && Enable ? QStringLiteral("Y") : QString());
        return All;
    }

    // A rule of a check table: cells that change the good rule, and the message that refuses it
    // (empty when the rule passes).
    struct TCheck_Case {
        std::vector<std::pair<int, const char *>> Cells;
        QString Message;
    };
    // Rows 1 and 3 of the editor's grid Grid_Index hold Good, row 2 stays blank, the case's cells go
    // into row 3, then OK: a refused rule shows its message alone, keeps what was typed and
    // writes nothing; a passing one closes the dialog and writes File.
    void Check_Case(TFRuleEditor *F, const QStringList &Good, const TCheck_Case &C, const QString &File,
                    int Grid_Index = 0)
    {
        SCOPED_TRACE(testing::Message() << "column " << C.Cells.back().first << " \"" << C.Cells.back().second << "\"");
        QFile::remove(ConfPath(File));
        TExtColumnGrid *G = F->Grid(Grid_Index);
        const bool Refused = !C.Message.isEmpty();
        bool Closed = false;
        ShowDialog(F, [&](GuiTest::TScriptedModalHook &hook) {
            FillRow(G, 1, Good);
            FillRow(G, 3, Good);
            for (const auto &[Col, Text] : C.Cells)
                G->SetCells(Col, 3, QString::fromUtf8(Text));
            const QStringList Typed = RowTexts(G, 3);
            Closed = ClickOK(F, hook, Refused);
            if (!Closed) {
                EXPECT_EQ(RowTexts(G, 3), Typed);
                GuiTest::Click(F->Btn_Cancel);
            }
        });
        EXPECT_EQ(Closed, !Refused);
        EXPECT_EQ(Messages, Refused ? QStringList{C.Message} : QStringList{});
        EXPECT_EQ(ConfFileExists(File), !Refused);
    }

    struct TGrid_Case {
        int Grid;
        std::vector<std::pair<int, const char *>> Cells;
        QString Message; // empty: the lists pass
    };
    // The same for an editor with two grids: rows 1 and 3 of both grids hold the good rows, row 2 stays blank, the case's cells go into
    // row 3 of its grid, then OK.
    void Check_Grid_Cases(TFRuleEditor *F, const QStringList Good[2], const std::vector<TGrid_Case> &Cases, const QString &File)
    {
        for (const TGrid_Case &C : Cases) {
            SCOPED_TRACE(testing::Message() << "grid " << C.Grid << " column " << C.Cells.back().first << " \""
                                            << C.Cells.back().second << "\"");
            QFile::remove(ConfPath(File));
            const bool Refused = !C.Message.isEmpty();
            bool Closed = false;
            ShowDialog(F, [&](GuiTest::TScriptedModalHook &hook) {
                for (int g = 0; g < 2; ++g) {
                    FillRow(F->Grid(g), 1, Good[g]);
                    FillRow(F->Grid(g), 3, Good[g]);
                }
                for (const auto &[Col, Text] : C.Cells)
                    F->Grid(C.Grid)->SetCells(Col, 3, QString::fromUtf8(Text));
                Closed = ClickOK(F, hook, Refused);
                if (!Closed)
                    GuiTest::Click(F->Btn_Cancel);
            });
            EXPECT_EQ(Closed, !Refused);
            EXPECT_EQ(Messages, Refused ? QStringList{C.Message} : QStringList{});
            EXPECT_EQ(ConfFileExists(File), !Refused);
        }
    }

    QString FileText(const QString &Name) const { return QString::fromUtf8(ReadConf(Name)); }
    bool ConfFileExists(const QString &Name) const { return QFileInfo::exists(ConfPath(Name)); }

    // A stored row: the attributes in order with their texts (escaped as the writer does).
    static QString RowXml(const QStringList &Names, const QStringList &Texts)
    {
        QString S = QStringLiteral("<row");
        for (int k = 0; k < Names.size(); ++k) {
            QString V = Texts[k];
            V.replace(QLatin1Char('&'), QStringLiteral("&amp;"))
                .replace(QLatin1Char('<'), QStringLiteral("&lt;"))
                .replace(QLatin1Char('"'), QStringLiteral("&quot;"));
            S += QStringLiteral(" %1=\"%2\"").arg(Names[k], V);
        }
        return S + QStringLiteral("/>");
    }
};
