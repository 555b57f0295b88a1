// The new-configuration dialog: names it accepts and refuses, and what it leaves behind.
#include "helpers/AppFixture.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/UNew_Project.h"
#include "platform/StdCtrls.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

namespace {

class NewProject : public TAppTest {
protected:
    // Confirms the dialog with Name typed; returns the message shown, empty when none.
    QString Confirm(const QString &Name)
    {
        TScriptedModalHook hook;
        hook.Answer(mrOk);
        FNew_Project->SetModalResult(mrNone);
        FNew_Project->E_New_Proj->SetText(Name);
        FNew_Project->Btn_OKClick(FNew_Project->Btn_OK);
        return hook.Shown.empty() ? QString() : hook.Shown[0].Text;
    }
    // Every name in the program folder and below it, relative to it.
    QStringList Tree()
    {
        QStringList all;
        QDir base(Dir());
        std::function<void(const QString &)> walk = [&](const QString &path) {
            for (const QFileInfo &fi : QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
                all << base.relativeFilePath(fi.absoluteFilePath());
                if (fi.isDir())
                    walk(fi.absoluteFilePath());
            }
        };
        walk(Dir());
        all.sort();
        return all;
    }
};

} // namespace

TEST_F(NewProject, RefusedNamesKeepTheDialogOpenAndCreateNothing)
{
    StartApp();
    ASSERT_TRUE(QDir().mkpath(ProjectsDir() + QStringLiteral("/Existing")));
    const QStringList before = Tree();
    const struct {
        QString name;
        int text;
    } cases[] = {
        {QString(), 107},
        {QStringLiteral("Existing"), 106},
        {QStringLiteral("."), 105},
        {QStringLiteral(".."), 105},
        {QStringLiteral("../Escaped"), 105},
        {QStringLiteral("..\\Escaped"), 105},
        {QStringLiteral("a/b"), 105},
        {QStringLiteral("a\\b"), 105},
        {QStringLiteral("/tmp/abs"), 105},
        {QStringLiteral("tab\tname"), 105},
        {QStringLiteral("line\nname"), 105},
        {QStringLiteral(".hidden"), 105},
        {QString(300, u'x'), 105},
    };
    const QString texts[] = {QStringLiteral("Error! Name project is not valid"),
                             QStringLiteral("Error! Name project is not valid because directory already exists"),
                             QStringLiteral("Error! Name Project is not valid")};
    for (const auto &c : cases) {
        EXPECT_EQ(Confirm(c.name), texts[c.text - 105]) << c.name.toStdString();
        EXPECT_EQ(FNew_Project->ModalResult(), mrNone) << c.name.toStdString();
        EXPECT_EQ(FNew_Project->E_New_Proj->Text(), c.name);
    }
    EXPECT_EQ(Tree(), before);
    EXPECT_TRUE(Path_Active_Conf.isEmpty());
}

TEST_F(NewProject, AnyOtherFolderNameIsAccepted)
{
    StartApp();
    for (const QString &name : {QStringLiteral("Plant 7 - Süd"), QStringLiteral(" padded "), QStringLiteral("a.b")}) {
        EXPECT_EQ(Confirm(name), QString()) << name.toStdString();
        EXPECT_EQ(FNew_Project->ModalResult(), mrOk);
        EXPECT_TRUE(QFileInfo(ProjectsDir() + u'/' + name + QStringLiteral("/bin")).isDir()) << name.toStdString();
        EXPECT_EQ(Name_Active_Conf, name);
        EXPECT_EQ(File_ParGen, Path_Projects + QStringLiteral("\\") + name + QStringLiteral("\\ParGen.xml"));
    }
}

TEST_F(NewProject, CancelAndAShowingLeaveTheOpenConfigurationAlone)
{
    StartApp();
    EXPECT_EQ(Confirm(QStringLiteral("First")), QString());
    FFabricoreFirmWare->Set_Lang();
    TScriptedModalHook hook;
    hook.RunWith([](TModalRequest &) {
        EXPECT_EQ(FNew_Project->E_New_Proj->Text(), QString());
        GuiTest::TypeText(FNew_Project->E_New_Proj, QStringLiteral("Second"));
        FNew_Project->Btn_Cancel->Click();
    });
    FFabricoreFirmWare->Create_New_Project();
    EXPECT_EQ(Name_Active_Conf, QStringLiteral("First"));
    EXPECT_EQ(FFabricoreFirmWare->L_Name_Conf_L2->Caption(), QStringLiteral("First"));
    EXPECT_FALSE(QFileInfo::exists(ProjectsDir() + QStringLiteral("/Second")));
}
