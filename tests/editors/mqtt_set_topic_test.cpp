// The MQTT topics editor and its template dialog driven as a user would: the columns it shows
// and hides, the topics of "MQTT_Set_Topic.xml" with a template of several lines, the check of
// each topic, and the dialog's keyword list.
#include "helpers/RuleEditorsFixture.h"

#include "core/ULanguage.h"
#include "editors/mqtt/UMQTT_Set_Topic.h"
#include "editors/mqtt/UTopicTemplate.h"
#include "grid/core/ExtGrid.h"
#include "platform/ComCtrls.h"
#include "platform/ExtCtrls.h"
#include "platform/ExtCtrlsPanels.h"

#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

namespace {

const QStringList Pub_Attributes = {"Topic",    "Retained",      "QoS",      "DataType", "Dimension", "Position",
                                    "IPAddress", "InputTemplate", "Template", "OnChange", "Mnemonic"};
const QStringList Sub_Attributes = {"Topic",     "Retained", "QoS",           "DataType", "Dimension", "Position",
                                    "IPAddress", "Port",     "EthType",       "InputTemplate", "Template", "Mnemonic"};
const QStringList Good_Pub = {"plant/t1", "N", "1", "Int", "2", "0", "", "", "$VALUE$", "N", "m"};
const QStringList Good_Sub = {"plant/s1", "", "0", "Float", "4", "1439", "", "", "", "", "", "m"};

class MQTTSetTopic : public TRuleEditorsTest {
protected:
    void SetUp() override
    {
        TRuleEditorsTest::SetUp();
        Application->CreateForm(FMQTT_Set_Topic);
        Application->CreateForm(FTopicTemplate);
    }
    void TearDown() override
    {
        delete FTopicTemplate;
        FTopicTemplate = nullptr;
        delete FMQTT_Set_Topic;
        FMQTT_Set_Topic = nullptr;
        TRuleEditorsTest::TearDown();
    }
    static TFMQTT_Set_Topic *F() { return FMQTT_Set_Topic; }
    static TExtColumnGrid *P() { return FMQTT_Set_Topic->ACG_Pub; }
    static TExtColumnGrid *S() { return FMQTT_Set_Topic->ACG_Sub; }
    QString File() const { return FileText(QStringLiteral("MQTT_Set_Topic.xml")); }
    static QStringList Hidden(TExtColumnGrid *G)
    {
        QStringList All;
        for (int c = 0; c < G->ColCount() + G->NumHiddenColumns(); ++c)
            if (G->IsHiddenColumn(c))
                All << QString::number(c);
        return All;
    }
    // All columns of a row, hidden ones included.
    static QStringList AllTexts(TExtColumnGrid *G, int r)
    {
        QStringList All;
        for (int c = 1; c < G->ColCount() + G->NumHiddenColumns(); ++c)
            All << G->GetCellEx(c, r);
        return All;
    }
    static void FillAll(TExtColumnGrid *G, int r, const QStringList &Texts)
    {
        for (int k = 0; k < Texts.size(); ++k)
            G->SetCellEx(k + 1, r, Texts[k]);
    }
    static void ShowPage(int Index)
    {
        F()->PageControl1->SetActivePageIndex(Index);
        GuiTest::ProcessEvents();
    }
    static void DoubleClickCell(TExtColumnGrid *G, int c, int r)
    {
        const TRect R = G->CellRect(c, r);
        GuiTest::DoubleClick(G, TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
        GuiTest::ProcessEvents();
    }
};

TEST_F(MQTTSetTopic, TopicsWithATemplateOfTwoLinesAreWrittenAndShownAgain)
{
    const QStringList Pub = {"plant/temp", "Y", "2", "Float", "4", "12", "", "", "T=$VALUE$\r\nat $TIME$", "Y",
                             "Temperature"};
    QStringList Sub = Good_Sub;
    Sub[6] = QStringLiteral("10.0.0.9");
    QStringList Seen_In_Dialog;
    const TModalResult Result = ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(F()->Caption(), QStringLiteral("Set MQTT Topics"));
        EXPECT_EQ(F()->ClientWidth(), 1100);
        EXPECT_EQ(F()->TS_MQTT_Publish->Caption(), QStringLiteral("MQTT Publish"));
        EXPECT_EQ(F()->TS_MQTT_Subscribe->Caption(), QStringLiteral("MQTT Subscribe"));
        EXPECT_EQ(Hidden(P()), QStringList({"7", "8"}));
        EXPECT_EQ(Hidden(S()), QStringList({"2", "7", "8", "9", "10"}));
        EXPECT_EQ(P()->RowCount(), 1025);
        EXPECT_EQ(S()->RowCount(), 1025);
        EXPECT_EQ(AllTexts(P(), 1), QStringList(11, QString()));

        // The header at shown column 7 is the template's, hidden columns counted. The hint shows
        // before the picks below and must leave them to land in their cells.
        EXPECT_EQ(P()->RealColIndex(7), 9);
        GuiTest::ResetHints();
        const TRect H = P()->CellRect(7, 0);
        EXPECT_EQ(GuiTest::RestPointer(P(), TPoint{(H.Left + H.Right) / 2, (H.Top + H.Bottom) / 2}).Text,
                  Lang_Text(1836));

        TypeCell(P(), 1, 1, QStringLiteral("plant/temp"));
        ClickCell(P(), 2, 1);
        PickItem(P(), 3, 1, 2);
        PickItem(P(), 4, 1, 1);
        TypeCell(P(), 5, 1, QStringLiteral("4"));
        TypeCell(P(), 6, 1, QStringLiteral("12"));
        TypeCell(P(), 7, 1, QStringLiteral("T=1"));
        ClickCell(P(), 8, 1);
        TypeCell(P(), 9, 1, QStringLiteral("Temperature"));
        // The template typed in the dialog: two lines.
        GoTo(P(), 7, 1);
        hook.RunWith([&](TModalRequest &) {
            TFTopicTemplate *T = FTopicTemplate;
            Seen_In_Dialog << T->Caption() << T->RE_TopicTemplate->Text();
            EXPECT_EQ(GuiTest::FocusedControl(), T->RE_TopicTemplate);
            T->RE_TopicTemplate->SelectAll();
            GuiTest::TypeText(T->RE_TopicTemplate, QStringLiteral("T=$VALUE$"));
            GuiTest::PressKey(T->RE_TopicTemplate, VK_RETURN);
            GuiTest::TypeText(T->RE_TopicTemplate, QStringLiteral("at $TIME$"));
            GuiTest::Click(T->Btn_OK);
        });
        DoubleClickCell(P(), 7, 1);
        EXPECT_EQ(Seen_In_Dialog, QStringList({QStringLiteral("Set Template"), QStringLiteral("T=1")}));
        EXPECT_EQ(AllTexts(P(), 1), Pub);
        // Cancel keeps the cell; a double click elsewhere opens nothing.
        hook.RunWith([&](TModalRequest &) {
            GuiTest::TypeText(FTopicTemplate->RE_TopicTemplate, QStringLiteral("lost"));
            GuiTest::Click(FTopicTemplate->Btn_Cancel);
        });
        DoubleClickCell(P(), 7, 1);
        EXPECT_EQ(P()->GetCellEx(9, 1), Pub[8]);
        const std::size_t Shown = hook.Shown.size();
        DoubleClickCell(P(), 6, 1);
        EXPECT_EQ(hook.Shown.size(), Shown);

        ShowPage(1);
        FillRow(S(), 2, QStringList(Good_Sub.mid(0, 1)));
        S()->SetRow(2);
        GuiTest::Click(F()->Btn_InsRow);
        EXPECT_EQ(S()->GetCellEx(1, 3), QStringLiteral("plant/s1"));
        EXPECT_EQ(AllTexts(S(), 2), QStringList(12, QString()));
        EXPECT_EQ(AllTexts(P(), 2), QStringList(11, QString()));
        S()->SetCellEx(1, 3, QString());
        TypeCell(S(), 1, 1, QStringLiteral("plant/s1"));
        PickItem(S(), 2, 1, 0);
        PickItem(S(), 3, 1, 1);
        TypeCell(S(), 4, 1, QStringLiteral("4"));
        TypeCell(S(), 5, 1, QStringLiteral("1439"));
        TypeCell(S(), 7, 1, QStringLiteral("m"));
        // A hidden cell is kept and saved although nobody can see it.
        S()->SetCellEx(7, 1, QStringLiteral("10.0.0.9"));
        EXPECT_EQ(AllTexts(S(), 1), Sub);
        ShowPage(0);
        EXPECT_TRUE(ClickOK(F(), hook, false));
    });
    ASSERT_EQ(Result, mrOk);
    EXPECT_TRUE(Messages.isEmpty());
    QString Pub_Row = RowXml(Pub_Attributes, Pub);
    Pub_Row.replace(QStringLiteral("\r\n"), QStringLiteral("&#13;&#10;"));
    EXPECT_EQ(File().trimmed(), QStringLiteral("<MQTT_Set_Topic><MQTT_Publish>") + Pub_Row
                                    + QStringLiteral("</MQTT_Publish><MQTT_Subscribe>") + RowXml(Sub_Attributes, Sub)
                                    + QStringLiteral("</MQTT_Subscribe></MQTT_Set_Topic>"));

    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(AllTexts(P(), 1), Pub);
        EXPECT_EQ(AllTexts(S(), 1), Sub);
        EXPECT_EQ(F()->PageControl1->ActivePageIndex(), 0);
        GuiTest::Click(F()->Btn_Cancel);
    });
}

TEST_F(MQTTSetTopic, EachBadValueOfATopicIsReported)
{
    const QString PP = QStringLiteral("Error row 3!! [MQTT Publish] ");
    const TCheck_Case Cases[] = {
        {{{4, " "}}, "Data Type must be selected"},
        {{{4, "Float"}, {5, "2"}}, "Dimension must be equal to 4 or 8"},
        {{{4, "float "}, {5, "8"}}, ""},
        {{{4, "Int"}, {5, "3"}}, "Dimension must be equal to 1 or 2 or 4 or 8"},
        {{{4, "Int"}, {5, "8"}}, ""},
        {{{4, "Base64"}, {5, "0"}}, "Dimension must be major of 0"},
        {{{4, "String"}, {5, "300"}}, ""},
        {{{6, "1439"}}, ""},
        {{{6, "1440"}}, "Position must be beetween 0 and 1439"},
        {{{6, "-1"}}, "Position must be beetween 0 and 1439"},
        {{{6, ""}}, "Position must be beetween 0 and 1439"},
        {{{9, "$VALUE$"}}, ""},
        {{{9, "no keyword"}}, ""},
        {{{9, "cost $5"}}, "Template not Correct, Check the Keywords"},
        // Hidden columns are not checked.
        {{{7, "not an address"}, {8, "$"}}, ""},
    };
    for (TCheck_Case C : Cases) {
        if (!C.Message.isEmpty())
            C.Message.prepend(PP);
        Check_Case(F(), Good_Pub, C, QStringLiteral("MQTT_Set_Topic.xml"));
    }
    const QString PS = QStringLiteral("Error row 3!! [MQTT Subscribe] ");
    const TCheck_Case Sub_Cases[] = {
        {{{4, ""}}, "Data Type must be selected"},
        {{{4, "Int"}, {5, "5"}}, "Dimension must be equal to 1 or 2 or 4 or 8"},
        {{{5, "2"}}, "Dimension must be equal to 4 or 8"},
        {{{4, "String"}, {5, "x"}}, "Dimension must be major of 0"},
        {{{6, "1440"}}, "Position must be beetween 0 and 1439"},
        {{{11, "$VALUE"}}, "Template not Correct, Check the Keywords"},
    };
    for (TCheck_Case C : Sub_Cases) {
        if (!C.Message.isEmpty())
            C.Message.prepend(PS);
        Messages.clear();
        Check_Case(F(), Good_Sub, C, QStringLiteral("MQTT_Set_Topic.xml"), 1);
    }
    // The subscribe list is checked only once the publish list passes.
    Messages.clear();
    QFile::remove(ConfPath(QStringLiteral("MQTT_Set_Topic.xml")));
    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        QStringList Bad_Pub = Good_Pub;
        Bad_Pub[5] = QStringLiteral("2000");
        QStringList Bad_Sub = Good_Sub;
        Bad_Sub[3] = QString();
        FillAll(P(), 2, Bad_Pub);
        FillAll(S(), 1, Bad_Sub);
        EXPECT_FALSE(ClickOK(F(), hook, true));
        P()->SetCellEx(1, 2, QString());
        EXPECT_FALSE(ClickOK(F(), hook, true));
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_EQ(Messages, QStringList({QStringLiteral("Error row 2!! [MQTT Publish] Position must be beetween 0 and 1439"),
                                     QStringLiteral("Error row 1!! [MQTT Subscribe] Data Type must be selected")}));
}

TEST_F(MQTTSetTopic, AFileRowWithoutQoSIsReportedOnceWithTheRowsBeforeItShown)
{
    WriteConf(QStringLiteral("MQTT_Set_Topic.xml"),
              "<MQTT_Set_Topic><MQTT_Publish>"
              "<row Topic=\"a\" Retained=\"N\" QoS=\"0\" Mnemonic=\"first\"/>"
              "<row Topic=\"b\" Retained=\"N\" Template=\"x\" Mnemonic=\"second\"/>"
              "<row Topic=\"c\" Retained=\"N\" QoS=\"0\" Mnemonic=\"third\"/>"
              "</MQTT_Publish></MQTT_Set_Topic>");
    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(AllTexts(P(), 1), QStringList({"a", "N", "0", "", "", "", "", "", "", "N", "first"}));
        EXPECT_EQ(AllTexts(P(), 2), QStringList({"b", "N", "", "", "", "", "", "", "", "", ""}));
        EXPECT_EQ(AllTexts(P(), 3), QStringList(11, QString()));
        GuiTest::Click(F()->Btn_Cancel);
    }, 1);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("\"QoS\""))) << Messages[0].toStdString();
}

TEST_F(MQTTSetTopic, TheTemplateDialogListsTheKeywordsAndTitlesItselfAtEveryShowing)
{
    TFTopicTemplate *T = FTopicTemplate;
    EXPECT_EQ(T->ClientWidth(), 635);
    EXPECT_EQ(T->ClientHeight(), 396);
    EXPECT_EQ(T->Caption(), QStringLiteral("Set Topic"));
    EXPECT_EQ(T->Splitter1->SizedControl(), T->P_Legend);
    const auto Check_Shown = [&](TScriptedModalHook &) {
        EXPECT_EQ(T->Caption(), QStringLiteral("Set Template"));
        EXPECT_EQ(T->L_SW_Desc->Caption(), QStringLiteral("Set Template"));
        TExtStringGrid *K = T->ESG_Keywords;
        ASSERT_EQ(K->RowCount(), 4);
        const QStringList Words = {"$TIME$", "$VALUE$", "$DESC$"};
        for (int r = 1; r <= 3; ++r) {
            EXPECT_EQ(K->Cells(0, r), Words[r - 1]);
            EXPECT_EQ(K->Cells(1, r), Lang_Text(1946 + r));
        }
        EXPECT_EQ(GuiTest::FocusedControl(), T->RE_TopicTemplate);
        // A description is only read; a keyword takes typing, which the next showing undoes.
        K->SetFocus();
        K->SetCol(1);
        K->SetRow(2);
        GuiTest::TypeText(K, QStringLiteral("x"));
        GuiTest::PressKey(GuiTest::FocusedControl(), VK_RETURN);
        EXPECT_EQ(K->Cells(1, 2), Lang_Text(1948));
        K->SetFocus();
        K->SetCol(0);
        K->SetRow(1);
        GuiTest::TypeText(K, QStringLiteral("y"));
        GuiTest::PressKey(GuiTest::FocusedControl(), VK_RETURN);
        EXPECT_EQ(K->Cells(0, 1), QStringLiteral("y"));
        GuiTest::Click(T->Btn_Cancel);
    };
    EXPECT_EQ(GuiTest::ShowScripted(T, Check_Shown, 0, Messages), mrCancel);
    T->Set_Lang();
    EXPECT_EQ(T->Caption(), QStringLiteral("Set Topic"));
    EXPECT_EQ(GuiTest::ShowScripted(T, Check_Shown, 0, Messages), mrCancel);

    // The splitter sizes the legend, never below its least size.
    GuiTest::ShowScripted(T, [&](TScriptedModalHook &) {
        TSplitter *Bar = T->Splitter1;
        const int Height = T->P_Legend->Height();
        GuiTest::MouseDown(Bar, TPoint{50, 1});
        GuiTest::MouseMove(Bar, TPoint{50, -39}, TShiftState{ssLeft});
        GuiTest::MouseUp(Bar, TPoint{50, -39});
        EXPECT_EQ(T->P_Legend->Height(), Height + 40);
        EXPECT_EQ(Bar->Top() + Bar->Height(), T->P_Legend->Top());
        GuiTest::MouseDown(Bar, TPoint{50, 1});
        GuiTest::MouseMove(Bar, TPoint{50, 400}, TShiftState{ssLeft});
        GuiTest::MouseUp(Bar, TPoint{50, 400});
        EXPECT_EQ(T->P_Legend->Height(), Bar->MinSize());
        GuiTest::Click(T->Btn_Cancel);
    }, 0, Messages);
}

} // namespace
