// The open-configuration dialog: what it lists, what it preselects, and what OK and Cancel do.
#include "helpers/AppFixture.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/UOpenConf.h"
#include "platform/StdCtrls.h"

#include <QDir>
#include <algorithm>
#include <QFileInfo>
#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

namespace {

class OpenConf : public TAppTest {
protected:
    void MakeProjects(const QStringList &Folders)
    {
        for (const QString &f : Folders)
            ASSERT_TRUE(QDir().mkpath(ProjectsDir() + u'/' + f));
    }
    QStringList Listed() const
    {
        QStringList l;
        for (int i = 0; i < FOpenConf->ListBox1->Items()->Count(); ++i)
            l << FOpenConf->ListBox1->Items()->Strings(i);
        return l;
    }
};

} // namespace

TEST_F(OpenConf, ListsFoldersOnlyAndPreselectsTheOpenOneWhateverItsCase)
{
    StartApp();
    MakeProjects({QStringLiteral("Beta"), QStringLiteral("ALPHA"), QStringLiteral(".hidden"), QStringLiteral("Beta\\ALPHA")});
    WriteBytes(QStringLiteral("PROJECTS/notes.txt"), "not a configuration");
    Path_Active_Conf = Path_Projects + QStringLiteral("\\alpha");

    TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) {
        EXPECT_EQ(Listed(), (QStringList{QStringLiteral("ALPHA"), QStringLiteral("Beta")}));
        EXPECT_EQ(FOpenConf->ListBox1->ItemIndex(), 0);
        EXPECT_EQ(FOpenConf->Name_Conf, QStringLiteral("ALPHA"));
        FOpenConf->ListBox1->SetItemIndex(1);
        FOpenConf->ListBox1Click(FOpenConf->ListBox1);
        FOpenConf->Btn_OK->Click();
    });
    FFabricoreFirmWare->Btn_Open->Click();
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(Name_Active_Conf, QStringLiteral("Beta"));
    EXPECT_EQ(Path_Active_Conf, Path_Projects + QStringLiteral("\\Beta"));
    EXPECT_EQ(File_EtherNetIP_Master_Rules, Path_Active_Conf + QStringLiteral("\\EtherNetIP_Master_Rules.xml"));
    EXPECT_EQ(FFabricoreFirmWare->L_Name_Conf->Caption(), QStringLiteral("Opened Configuration of the Converter : "));
    EXPECT_EQ(FFabricoreFirmWare->L_Name_Conf_L2->Caption(), QStringLiteral("Beta"));
}

TEST_F(OpenConf, WithNoConfigurationOpenTheFirstFolderIsPreselected)
{
    StartApp();
    MakeProjects({QStringLiteral("one"), QStringLiteral("two")});
    TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) {
        EXPECT_EQ(FOpenConf->ListBox1->ItemIndex(), 0);
        FOpenConf->Btn_OK->Click();
    });
    FFabricoreFirmWare->Open_Project();
    EXPECT_EQ(Name_Active_Conf, QStringLiteral("one"));
}

TEST_F(OpenConf, CancelChangesNothing)
{
    MakeProjects({QStringLiteral("Kept"), QStringLiteral("Other")});
    WriteSettings(QStringLiteral("Kept"), QStringLiteral("English"));
    StartApp();
    TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) {
        FOpenConf->ListBox1->SetItemIndex(1);
        FOpenConf->ListBox1Click(FOpenConf->ListBox1);
        FOpenConf->Btn_Cancel->Click();
    });
    FFabricoreFirmWare->Open_Project();
    EXPECT_EQ(Name_Active_Conf, QStringLiteral("Kept"));
    EXPECT_EQ(FFabricoreFirmWare->L_Name_Conf_L2->Caption(), QStringLiteral("Kept"));
}

TEST_F(OpenConf, ConfirmingAnEmptyListLeavesNoConfigurationOpen)
{
    MakeProjects({QStringLiteral("Open")});
    WriteSettings(QStringLiteral("Open"), QStringLiteral("English"));
    StartApp();
    ASSERT_TRUE(QDir(ProjectsDir() + QStringLiteral("/Open")).removeRecursively());
    TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) {
        EXPECT_EQ(FOpenConf->ListBox1->Items()->Count(), 0);
        EXPECT_EQ(FOpenConf->ListBox1->ItemIndex(), -1);
        FOpenConf->Btn_OK->Click();
    });
    hook.Answer(mrOk);
    FFabricoreFirmWare->Open_Project();
    EXPECT_TRUE(Path_Active_Conf.isEmpty());
    EXPECT_EQ(FFabricoreFirmWare->L_Name_Conf->Caption(), QStringLiteral("None Configuration Opened "));
    FFabricoreFirmWare->Btn_Prm_Gen->Click();
    ASSERT_EQ(hook.Shown.size(), 2u);
    EXPECT_EQ(hook.Shown[1].Text, QStringLiteral("Error! Project not Valid"));
}

// Without regard to the case of ASCII letters, but a folder named exactly as the open
// configuration wins over its twin in another case (a file system that tells them apart).
TEST_F(OpenConf, TheOpenConfigurationIsFoundWithoutRegardToTheCaseOfAsciiLettersOnly)
{
    StartApp();
    FOpenConf->SL->Clear();
    for (const QString &name : {QStringLiteral("Plant_A"), QStringLiteral("S\u00fcd"), QStringLiteral("plant_a"), QStringLiteral("Beta")})
        FOpenConf->SL->Add(name);
    const struct {
        QString Name;
        int Index;
    } cases[] = {
        {QStringLiteral("PLANT_A"), 0},     {QStringLiteral("plant_a"), 2}, {QStringLiteral("s\u00fcd"), 1},
        {QStringLiteral("S\u00dcD"), -1},   {QStringLiteral("beta"), 3},    {QStringLiteral("Bet"), -1},
        {QStringLiteral("Beta "), -1},      {QString(), -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FOpenConf->Search_Open_Conf(c.Name), c.Index) << c.Name.toStdString();
}

TEST_F(OpenConf, AFolderOfTwentyThousandConfigurationsIsListedWholeAndInOrder)
{
    StartApp();
    ASSERT_TRUE(QDir().mkpath(ProjectsDir()));
    QDir projects(ProjectsDir());
    QStringList made;
    for (int i = 0; i < 20000; ++i) {
        const QString name = QStringLiteral("%1%2").arg(i % 3 ? QStringLiteral("Plant_") : QStringLiteral("line_")).arg((i * 7919) % 20000, 5, 10, QLatin1Char('0'));
        ASSERT_TRUE(projects.mkdir(name));
        made << name;
    }
    // What is no configuration stays out however many there are.
    ASSERT_TRUE(projects.mkdir(QStringLiteral(".hidden")));
    WriteBytes(QStringLiteral("PROJECTS/notes.txt"), "not a configuration");
    std::sort(made.begin(), made.end(), [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    Path_Active_Conf = Path_Projects + QStringLiteral("\\") + made[12345];

    TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) {
        EXPECT_EQ(Listed(), made);
        EXPECT_EQ(FOpenConf->ListBox1->ItemIndex(), 12345);
        FOpenConf->Btn_Cancel->Click();
    });
    FFabricoreFirmWare->Open_Project();
    ASSERT_EQ(hook.Shown.size(), 1u);
}
