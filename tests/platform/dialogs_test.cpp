// Message boxes and file dialogs: what the modal hook sees, the answers the caller gets, and the
// real box under the default hook.
#include "platform/Dialogs.h"
#include "support/GuiTest.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using GuiTest::TScriptedModalHook;

TEST(Dialogs, ConfirmationScriptedToAnswerYesReturnsMrYes)
{
    TScriptedModalHook hook;
    hook.Answer(mrYes);
    EXPECT_EQ(MessageDlg(QStringLiteral("Are you sure to delete the Row number 3"), mtConfirmation, {mbYes, mbNo}, 0), mrYes);
    ASSERT_EQ(hook.Shown.size(), 1u);
    const auto &s = hook.Shown[0];
    EXPECT_EQ(s.Kind, mkMessage);
    EXPECT_EQ(s.DlgType, mtConfirmation);
    EXPECT_EQ(s.Caption, QStringLiteral("Confirm"));
    EXPECT_EQ(s.Text, QStringLiteral("Are you sure to delete the Row number 3"));
    EXPECT_EQ(s.Buttons, (std::vector<TMsgDlgBtn>{mbYes, mbNo}));
}

TEST(Dialogs, KindsGiveTheClassicCaptionsAndButtonsComeInTheClassicOrder)
{
    struct Case {
        TMsgDlgType Type;
        const char *Caption;
    };
    for (const Case &c : {Case{mtError, "Error"}, Case{mtWarning, "Warning"}, Case{mtInformation, "Information"},
                          Case{mtConfirmation, "Confirm"}}) {
        TScriptedModalHook hook;
        hook.Answer(mrCancel);
        EXPECT_EQ(MessageDlg(QStringLiteral("x"), c.Type, {mbCancel, mbNo, mbYes}, 0), mrCancel);
        ASSERT_EQ(hook.Shown.size(), 1u);
        EXPECT_EQ(hook.Shown[0].Caption, QString::fromLatin1(c.Caption));
        EXPECT_EQ(hook.Shown[0].Buttons, (std::vector<TMsgDlgBtn>{mbYes, mbNo, mbCancel}));
    }
}

TEST(Dialogs, ShowMessageShowsTheTextWithOk)
{
    TScriptedModalHook hook;
    hook.Answer(mrOk);
    ShowMessage(QStringLiteral("Done"));
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].Text, QStringLiteral("Done"));
    EXPECT_EQ(hook.Shown[0].Buttons, std::vector<TMsgDlgBtn>{mbOK});
}

// The real box: the button clicked gives its modal result; Escape gives Cancel when there is one.
TEST(Dialogs, RealMessageBoxAnswersWithTheClickedButton)
{
    Application->Initialize();
    TScriptedModalHook hook;
    auto clickButton = [](QMessageBox::StandardButton Which) {
        return [Which](TModalRequest &) {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Confirm"));
            ASSERT_NE(box->button(Which), nullptr);
            box->button(Which)->click();
        };
    };
    hook.RunWith(clickButton(QMessageBox::No));
    EXPECT_EQ(MessageDlg(QStringLiteral("Overwrite?"), mtConfirmation, {mbYes, mbNo, mbCancel}, 0), mrNo);
    hook.RunWith(clickButton(QMessageBox::Yes));
    EXPECT_EQ(MessageDlg(QStringLiteral("Overwrite?"), mtConfirmation, {mbYes, mbNo, mbCancel}, 0), mrYes);
    hook.RunWith([](TModalRequest &) {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->reject();
    });
    EXPECT_EQ(MessageDlg(QStringLiteral("Overwrite?"), mtConfirmation, {mbYes, mbNo, mbCancel}, 0), mrCancel);
}

class FileDialogs : public TempDirTest {};

TEST_F(FileDialogs, SaveDialogScriptedWithANameReturnsItWithTheDefaultExtension)
{
    TSaveDialog dlg(nullptr);
    dlg.SetFilter(QStringLiteral("Management Information Base (*.mib)|*.mib"));
    dlg.SetDefaultExt(QStringLiteral("*.mib"));
    dlg.SetInitialDir(QStringLiteral("/projects/plant"));
    TScriptedModalHook hook;
    hook.Handle([](TModalRequest &r) {
        EXPECT_EQ(r.Kind, mkSaveDialog);
        EXPECT_EQ(r.Filter, QStringLiteral("Management Information Base (*.mib)|*.mib"));
        EXPECT_EQ(r.InitialDir, QStringLiteral("/projects/plant"));
        EXPECT_EQ(r.DefaultExt, QStringLiteral("*.mib"));
        r.AnswerFileName = QStringLiteral("/projects/plant/traps");
        return mrOk;
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.FileName(), QStringLiteral("/projects/plant/traps.mib"));
    EXPECT_EQ(dlg.Files()->Count(), 1);
}

TEST_F(FileDialogs, DefaultExtensionOnlyForNamesWithoutOne)
{
    TSaveDialog dlg(nullptr);
    struct Case {
        const char *Ext, *Chosen, *Result;
    };
    for (const Case &c : {Case{"eds", "a/dev", "a/dev.eds"}, Case{".eds", "dev", "dev.eds"}, Case{"*.eds", "dev", "dev.eds"},
                          Case{"eds", "dev.txt", "dev.txt"}, Case{"eds", "my.dir/dev", "my.dir/dev.eds"},
                          Case{"", "dev", "dev"}}) {
        dlg.SetDefaultExt(QString::fromLatin1(c.Ext));
        TScriptedModalHook hook;
        hook.Answer(mrOk, QString::fromLatin1(c.Chosen));
        ASSERT_TRUE(dlg.Execute());
        EXPECT_EQ(dlg.FileName(), QString::fromLatin1(c.Result)) << c.Ext << " " << c.Chosen;
    }
}

TEST_F(FileDialogs, CancelLeavesTheFileNameAlone)
{
    TOpenDialog dlg(nullptr);
    dlg.SetFileName(QStringLiteral("old.csv"));
    TScriptedModalHook hook;
    hook.Answer(mrCancel, QStringLiteral("new.csv"));
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.FileName(), QStringLiteral("old.csv"));
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].Kind, mkOpenDialog);
    EXPECT_EQ(hook.Shown[0].Caption, QStringLiteral("Open"));
}

TEST(Dialogs, FilterBecomesQtNameFilters)
{
    EXPECT_EQ(FilterToNameFilters(QStringLiteral("CSV (MS-DOS) (*.csv)|*.csv")), QStringList{QStringLiteral("CSV (MS-DOS) (*.csv)")});
    EXPECT_EQ(FilterToNameFilters(QStringLiteral("Pictures|*.bmp;*.png|All|*.*")),
              (QStringList{QStringLiteral("Pictures (*.bmp *.png)"), QStringLiteral("All (*.*)")}));
    EXPECT_TRUE(FilterToNameFilters(QString()).isEmpty());
}

} // namespace
