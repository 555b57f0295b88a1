// The dialog that composes the GSDML file name: the fixed parts, the user's part as typed or
// pasted, the date of the program's start and the texts of the language table.
#include "helpers/WritersFixture.h"

#include "controls/LbButton.h"
#include "core/UFabricoreFirmWare.h"
#include "core/ULanguage.h"
#include "editors/gsdml/UProfinetFileName.h"
#include "platform/StdCtrls.h"

#include <gmock/gmock.h>

namespace {

class ProfinetFileNameTest : public TWritersTest {
protected:
    void SetUp() override
    {
        TWritersTest::SetUp();
        delete FProfinetFileName;
        SetFixedClock(2013, 1, 9, 23, 59, 0);
        Application->CreateForm(FProfinetFileName);
    }
    // The name that OK composes for the user part.
    static QString Compose(const QString &User)
    {
        FProfinetFileName->E_XML_User->SetText(User);
        FProfinetFileName->Name_File_XML.clear();
        FProfinetFileName->Btn_OKClick(nullptr);
        EXPECT_EQ(FProfinetFileName->ModalResult(), mrOk);
        return FProfinetFileName->Name_File_XML;
    }
};

TEST_F(ProfinetFileNameTest, ComposedNames)
{
    // The date is the one of the program's start, whatever the clock says later.
    SetFixedClock(2014, 2, 10, 0, 0, 1);
    const std::pair<QString, QString> Cases[] = {
        {"", "GSDML-V2.31-Veltra-DV40368-20130109.xml"},
        {"   ", "GSDML-V2.31-Veltra-DV40368-20130109.xml"},
        {"plant", "GSDML-V2.31-Veltra-DV40368_plant-20130109.xml"},
        {"_plant", "GSDML-V2.31-Veltra-DV40368_plant-20130109.xml"},
        {" x ", "GSDML-V2.31-Veltra-DV40368_ x -20130109.xml"},
    };
    for (const auto &[User, Name] : Cases)
        EXPECT_EQ(Compose(User), Name) << User.toStdString();
    EXPECT_EQ(FProfinetFileName->ClientWidth(), 540);
    EXPECT_EQ(FProfinetFileName->ClientHeight(), 205);
    EXPECT_EQ(FProfinetFileName->L_XML_Fix2->Caption(), QStringLiteral("-20130109.xml"));
}

// The user part is one file name in the chosen folder: what a file name cannot hold never
// gets in, typed or pasted.
TEST_F(ProfinetFileNameTest, UserPartKeepsOnlyFileNameCharacters)
{
    GuiTest::TScriptedModalHook Hook;
    Hook.RunWith([](TModalRequest &) {
        TEdit *E = FProfinetFileName->E_XML_User;
        E->SetText(QString());
        GuiTest::TypeText(E, QStringLiteral("a/b:c"));
        EXPECT_EQ(E->Text(), QStringLiteral("abc"));
        E->SetText(QStringLiteral("..\\x*y?z\"<>|\t1"));
        EXPECT_EQ(E->Text(), QStringLiteral("..xyz1"));
        GuiTest::Click(FProfinetFileName->Btn_OK);
    });
    EXPECT_EQ(FProfinetFileName->ShowModal(), mrOk);
    EXPECT_EQ(FProfinetFileName->Name_File_XML, QStringLiteral("GSDML-V2.31-Veltra-DV40368_..xyz1-20130109.xml"));
}

TEST_F(ProfinetFileNameTest, CancelWritesNothing)
{
    GuiTest::TScriptedModalHook Hook;
    Hook.RunWith([](TModalRequest &) { GuiTest::Click(FProfinetFileName->Btn_Cancel); });
    Step(FFabricoreFirmWare->Btn_PROFINET_XML);
    EXPECT_EQ(Hook.Shown.size(), 1u);
    EXPECT_EQ(QDir(ConfPath(QString())).entryList(QDir::Files), QStringList());
}

TEST_F(ProfinetFileNameTest, LanguageChangeRenewsTheTexts)
{
    EXPECT_EQ(FProfinetFileName->Caption(), QStringLiteral("PROFINET XML File Name"));
    EXPECT_EQ(FProfinetFileName->E_XML_User->Hint(), QStringLiteral("Insert here the User part of GSDML file"));
    for (int n = 900; n <= 910; ++n)
        SL_Lang_Text->SetStrings(n, QStringLiteral("T%1").arg(n));
    FFabricoreFirmWare->Change_Language();
    TFProfinetFileName *F = FProfinetFileName;
    EXPECT_EQ(F->Caption(), QStringLiteral("T900"));
    EXPECT_EQ(F->L_SW_Desc->Caption(), QStringLiteral("T901"));
    EXPECT_EQ(F->Btn_OK->Caption(), QStringLiteral("T902"));
    EXPECT_EQ(F->Btn_Cancel->Caption(), QStringLiteral("T903"));
    EXPECT_EQ(F->Label1->Caption(), QStringLiteral("T904"));
    EXPECT_EQ(F->Label2->Caption(), QStringLiteral("T905"));
    EXPECT_EQ(F->Label4->Caption(), QStringLiteral("T906"));
    EXPECT_EQ(F->Label5->Caption(), QStringLiteral("T907"));
    EXPECT_EQ(F->E_XML_User->Hint(), QStringLiteral("T908"));
    EXPECT_EQ(F->Btn_OK->Hint(), QStringLiteral("T909"));
    EXPECT_EQ(F->Btn_Cancel->Hint(), QStringLiteral("T910"));
}

} // namespace
