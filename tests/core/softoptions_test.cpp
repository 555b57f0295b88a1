// The options dialog: language pages, the language switch, the internet options and the
// version query against a local server.
#include "helpers/AppFixture.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/ULanguage.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/USoftOptions.h"
#include "platform/ComCtrls.h"
#include "platform/ExtCtrls.h"
#include "platform/FileUtils.h"
#include "platform/StdCtrls.h"

#include <QFile>
#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

namespace {

class SoftOptions : public TAppTest {
protected:
    // Shows the options dialog, runs Action inside it and returns the dialog's result.
    TModalResult RunOptions(const std::function<void()> &Action, TScriptedModalHook &hook)
    {
        hook.RunWith([Action](TModalRequest &) { Action(); });
        FFabricoreFirmWare->Btn_Opz->Click();
        return FSoftOptions->ModalResult();
    }
    // Writes an Italian language file that replaces a text of every form.
    void WriteItalian()
    {
        WriteLanguage(QStringLiteral("Italiano"),
                      {QStringLiteral("STR0 = Inizio"), QStringLiteral("STR18 = Errore! Progetto non valido"),
                       QStringLiteral("STR100 = Crea Nuova Configurazione"),
                       QStringLiteral("STR200 = Apri Configurazione"), QStringLiteral("STR300 = Opzioni Software")});
    }
    // Clicks the label of the slot that shows Name on the current page; false when none does.
    bool ClickLanguage(const QString &Name)
    {
        for (int k = 1; k <= Lang_Slots; ++k)
            if (FSoftOptions->Slot_Label(k)->Visible() && FSoftOptions->Slot_Label(k)->Caption() == Name) {
                FSoftOptions->LangClick(FSoftOptions->Slot_Label(k));
                return true;
            }
        return false;
    }
    void ExpectItalianEverywhere(bool italian)
    {
        EXPECT_EQ(FFabricoreFirmWare->L_Begin->Caption(), italian ? QStringLiteral("Inizio") : QStringLiteral("Begin"));
        EXPECT_EQ(FNew_Project->Caption(), italian ? QStringLiteral("Crea Nuova Configurazione") : QStringLiteral("Create New Configuration"));
        EXPECT_EQ(FOpenConf->Caption(), italian ? QStringLiteral("Apri Configurazione") : QStringLiteral("Open Configuration"));
        EXPECT_EQ(FSoftOptions->Caption(), italian ? QStringLiteral("Opzioni Software") : QStringLiteral("Software Options"));
    }
};

} // namespace

TEST_F(SoftOptions, SevenLanguageFilesMakeTwoPagesSortedWithFlagsOrTheDefaultFlag)
{
    for (const char *name : {"zulu", "Deutsch", "english", "Francais", "Italiano", "español", "Polski"})
        WriteLanguage(QString::fromUtf8(name), {QStringLiteral("STR0 = x")});
    WriteLanguage(QStringLiteral("ReadOnly"), {});
    ASSERT_TRUE(FileSetReadOnly(LanguageDir() + QStringLiteral("/ReadOnly.lng"), true));
    ASSERT_TRUE(QDir().mkpath(LanguageDir() + QStringLiteral("/Folder.lng")));
    WriteBitmap(QStringLiteral("LANGUAGE/Deutsch.bmp"), clRed);
    WriteBitmap(QStringLiteral("LANGUAGE/DefaultFlag.bmp"), clBlue);
    StartApp();

    TScriptedModalHook hook;
    RunOptions([&] {
        TFSoftOptions *O = FSoftOptions;
        ASSERT_EQ(O->SL_Languages->Count(), 7);
        EXPECT_EQ(O->L_Sel_Lang->Caption(), QStringLiteral("Selected Language : English"));
        EXPECT_EQ(O->L_Page_Lang->Caption(), QStringLiteral("Page 1 / 2"));
        EXPECT_FALSE(O->Btn_Prev->Visible());
        EXPECT_TRUE(O->Btn_Next->Visible());
        const QStringList page1 = {QStringLiteral("Deutsch"), QStringLiteral("english"), QStringLiteral("español"),
                                   QStringLiteral("Francais"), QStringLiteral("Italiano"), QStringLiteral("Polski")};
        for (int k = 1; k <= 6; ++k) {
            EXPECT_TRUE(O->Slot_Label(k)->Visible()) << k;
            EXPECT_EQ(O->Slot_Label(k)->Caption(), page1[k - 1]) << k;
            EXPECT_TRUE(O->Slot_Image(k)->Visible()) << k;
        }
        // Its own flag for Deutsch, the default flag for the others.
        EXPECT_EQ(O->Slot_Image(1)->Picture()->Bitmap()->Canvas()->Pixels(2, 2), clRed);
        EXPECT_EQ(O->Slot_Image(2)->Picture()->Bitmap()->Canvas()->Pixels(2, 2), clBlue);

        O->Btn_NextClick(O->Btn_Next);
        EXPECT_EQ(O->L_Page_Lang->Caption(), QStringLiteral("Page 2 / 2"));
        EXPECT_TRUE(O->Btn_Prev->Visible());
        EXPECT_FALSE(O->Btn_Next->Visible());
        EXPECT_EQ(O->Slot_Label(1)->Caption(), QStringLiteral("zulu"));
        EXPECT_TRUE(O->Slot_Label(1)->Visible());
        for (int k = 2; k <= 6; ++k) {
            EXPECT_FALSE(O->Slot_Label(k)->Visible()) << k;
            EXPECT_FALSE(O->Slot_Image(k)->Visible()) << k;
        }
        O->Btn_NextClick(O->Btn_Next);
        EXPECT_EQ(O->Show_Page, 2);
        // Switching the language keeps the page shown.
        hook.Answer(mrYes);
        ASSERT_TRUE(ClickLanguage(QStringLiteral("zulu")));
        EXPECT_EQ(O->L_Page_Lang->Caption(), QStringLiteral("Page 2 / 2"));
        EXPECT_EQ(O->L_Sel_Lang->Caption(), QStringLiteral("Selected Language : zulu"));
        EXPECT_EQ(FFabricoreFirmWare->L_Begin->Caption(), QStringLiteral("x"));
        O->Btn_NextClick(O->Btn_Prev);
        EXPECT_EQ(O->L_Page_Lang->Caption(), QStringLiteral("Page 1 / 2"));
        O->Btn_Cancel->Click();
    }, hook);

    // Without the default flag a language without its own flag shows no picture.
    QFile::remove(LanguageDir() + QStringLiteral("/DefaultFlag.bmp"));
    FSoftOptions->Create_Lang_List();
    EXPECT_TRUE(FSoftOptions->Slot_Image(1)->Visible());
    EXPECT_FALSE(FSoftOptions->Slot_Image(2)->Visible());
    EXPECT_TRUE(FSoftOptions->Slot_Label(2)->Visible());
}

TEST_F(SoftOptions, AConfirmedLanguageChangesEveryFormAtOnceAndIsSaved)
{
    WriteItalian();
    StartApp();
    TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) {
        hook.Answer(mrYes);
        ASSERT_TRUE(ClickLanguage(QStringLiteral("Italiano")));
        ExpectItalianEverywhere(true);
        EXPECT_EQ(FSoftOptions->L_Sel_Lang->Caption(), QStringLiteral("Selected Language : Italiano"));
        FSoftOptions->Btn_OK->Click();
    });
    FFabricoreFirmWare->Btn_Opz->Click();
    ASSERT_EQ(hook.Shown.size(), 2u);
    EXPECT_EQ(hook.Shown[1].DlgType, mtConfirmation);
    EXPECT_EQ(hook.Shown[1].Text, QStringLiteral("Do you want to change the Language from English to Italiano?"));
    EXPECT_EQ(Language_Name, QStringLiteral("Italiano"));
    EXPECT_TRUE(SettingsText().contains(QStringLiteral("<language>Italiano</language>"))) << SettingsText().toStdString();

    hook.Answer(mrOk);
    FFabricoreFirmWare->Btn_CreateBin->Click();
    EXPECT_EQ(hook.Shown.back().Text, QStringLiteral("Errore! Progetto non valido"));

    RestartApp();
    ExpectItalianEverywhere(true);
}

TEST_F(SoftOptions, ALanguageChosenThenCancelledStaysForTheRunOnly)
{
    WriteItalian();
    StartApp();
    TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) {
        hook.Answer(mrNo);
        ASSERT_TRUE(ClickLanguage(QStringLiteral("Italiano")));
        ExpectItalianEverywhere(false);
        hook.Answer(mrYes);
        ASSERT_TRUE(ClickLanguage(QStringLiteral("Italiano")));
        FSoftOptions->Btn_Cancel->Click();
    });
    FFabricoreFirmWare->Btn_Opz->Click();
    ExpectItalianEverywhere(true);
    EXPECT_EQ(Language_Name, QStringLiteral("English"));
    EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("Fabricor.xml"))));

    RestartApp();
    ExpectItalianEverywhere(false);
    EXPECT_TRUE(SettingsText().contains(QStringLiteral("<language>English</language>")));
}

TEST_F(SoftOptions, TheOptionsAreKeptOnlyWithOkAndTheTimerFollowsBothInternetOptions)
{
    StartApp();
    const struct {
        bool internet, update, timer;
    } cases[] = {{true, true, true}, {false, true, false}, {true, false, false}, {false, false, false}};
    for (const auto &c : cases) {
        TScriptedModalHook hook;
        RunOptions([&] {
            TFSoftOptions *O = FSoftOptions;
            O->CB_En_Con->SetChecked(true);
            O->CB_Update->SetChecked(c.update);
            O->CB_En_Con->SetChecked(c.internet);
            EXPECT_EQ(O->CB_Update->Enabled(), c.internet);
            EXPECT_EQ(O->Btn_Check_Update->Enabled(), c.internet && c.update);
            O->CB_Soft_Set_Jump_Table->SetChecked(c.internet);
            O->CB_DoubleClick_Auto_Size->SetChecked(c.update);
            O->Btn_OK->Click();
        }, hook);
        EXPECT_EQ(Opt_Internet, c.internet);
        // A disabled check box still gives its check mark.
        EXPECT_EQ(Opt_Check_Update, c.update);
        EXPECT_EQ(Opt_Jump_Field, c.internet);
        EXPECT_EQ(Opt_AutoSize_Col, c.update);
        EXPECT_EQ(FFabricoreFirmWare->Timer_Update->Enabled(), c.timer);
        EXPECT_TRUE(SettingsText().contains(QStringLiteral("<enable_update>%1</enable_update>").arg(c.update ? 1 : 0)));
    }

    TScriptedModalHook hook;
    RunOptions([&] {
        FSoftOptions->CB_En_Con->SetChecked(true);
        FSoftOptions->CB_Update->SetChecked(true);
        FSoftOptions->Btn_Cancel->Click();
    }, hook);
    EXPECT_FALSE(Opt_Internet);
    EXPECT_FALSE(FFabricoreFirmWare->Timer_Update->Enabled());
}

TEST_F(SoftOptions, CheckVersionReportsOnlyANewerPublishedVersion)
{
    StartApp();
    const struct {
        std::string answer;
        int status;
        bool newer;
    } cases[] = {
        {"VER. 1.001", 200, true},
        {"  ver. 2.500\r\n", 200, true},
        {"VER. 1.000", 200, false},
        {"ver. 0.000", 200, false},
        {"VER. 0.999", 200, false},
        {"", 200, false},
        {"<html><body>Service unavailable</body></html>", 200, false},
        {"VER. $.FFF", 200, false},
        {"VER. 1.1", 200, false},
        {"VER. 9.999", 500, false},
    };
    for (const auto &c : cases) {
        Web.SetAnswer(c.answer, c.status);
        EXPECT_EQ(FSoftOptions->Check_Version(), c.newer) << c.answer;
        FSoftOptions->Btn_Check_UpdateClick(FSoftOptions->Btn_Check_Update);
        EXPECT_TRUE(FSoftOptions->LL_Check_Update->Visible());
        EXPECT_EQ(FSoftOptions->LL_Check_Update->Caption().contains(QStringLiteral("New Version Available")), c.newer) << c.answer;
        if (!c.newer) {
            EXPECT_EQ(FSoftOptions->LL_Check_Update->Caption(), QStringLiteral("No Update Available"));
        }
    }
    EXPECT_EQ(Web.LastRequestLine(), "GET /home/download/GetversionSW.asp?nomesw=CF40385 HTTP/1.0");

    // Nobody listening: no newer version and no message.
    setenv("FABRICOR_WEB_HOST", "127.0.0.1:1", 1);
    TScriptedModalHook hook;
    EXPECT_FALSE(FSoftOptions->Check_Version());
    EXPECT_TRUE(hook.Shown.empty());
}

TEST_F(SoftOptions, ConvVersionJoinsTheFourDigits)
{
    StartApp();
    const struct {
        const char *text;
        int value;
    } cases[] = {{"VER. 1.001", 1001}, {"1.000", 1000}, {"VER.  0.123 ", 123}, {"VER. 1.00", -1},
                 {"VER. a.bcd", -1}, {"VER. 0x1.F", -1}, {"", -1}};
    for (const auto &c : cases)
        EXPECT_EQ(FSoftOptions->Conv_Version(QString::fromUtf8(c.text)), c.value) << c.text;
}
