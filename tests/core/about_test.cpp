// The about box shows the identity of this build in every language.
#include "helpers/AppFixture.h"

#include "controls/LbButton.h"
#include "core/UAbout.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/ULanguage.h"
#include "platform/ExtCtrls.h"
#include "platform/StdCtrls.h"

#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

namespace {
class About : public TAppTest {};
} // namespace

TEST_F(About, ShowsVersionSoftwareCodeAndManualCodeInEveryLanguage)
{
    WriteLanguage(QStringLiteral("Deutsch"), {QStringLiteral("STR12 = Information"), QStringLiteral("STR0 = Anfang")});
    for (const QString &language : {QStringLiteral("English"), QStringLiteral("Deutsch")}) {
        WriteSettings(QString(), language);
        StartApp();
        TScriptedModalHook hook;
        hook.RunWith([](TModalRequest &) {
            EXPECT_EQ(FAbout->Label10->Caption(), QStringLiteral("1.000"));
            EXPECT_EQ(FAbout->Label9->Caption(), QStringLiteral("CF40385"));
            EXPECT_EQ(FAbout->Label12->Caption(), QStringLiteral("UM40385"));
            EXPECT_EQ(FAbout->Label2->Caption(), QStringLiteral("EtherNet/IP Master / Serial Port - Converter"));
            EXPECT_EQ(FAbout->ClientWidth(), 425);
            EXPECT_EQ(FAbout->ClientHeight(), 148);
            FAbout->LbButton1->Click();
        });
        FFabricoreFirmWare->Btn_Info->Click();
        ASSERT_EQ(hook.Shown.size(), 1u);
        EXPECT_EQ(hook.Shown[0].Caption, QStringLiteral("About..."));
        EXPECT_EQ(FAbout->ModalResult(), mrOk);
        EXPECT_EQ(Language_Name, language);
        DestroyForms();
    }
}
