// The calculator drop-down: key sequences clicked on its key panel and typed into its popup,
// the cancel of the popup, the memory and the edit's own operator characters.
#include "dropdowns/ExtCalculatorDropDown.h"
#include "platform/MultiMon.h"
#include "platform/SysUtils.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CalculatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        SetScreenLayout({{TRect(0, 0, 1000, 700), TRect(0, 0, 1000, 660)}});
        Saved = FormatSettings;
        FormatSettings.DecimalSeparator = QLatin1Char('.');
        FormatSettings.ThousandSeparator = QLatin1Char(',');
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 400, 300);
        Form->Show();
        GuiTest::ProcessEvents();
    }
    void TearDown() override
    {
        Form.reset();
        FormatSettings = Saved;
        ResetScreenLayout();
    }
    TExtCalculatorDropdown *Make()
    {
        auto *e = NewDropDown<TExtCalculatorDropdown>(Form.get());
        e->SetParent(Form.get());
        e->SetBounds(10, 10, 200, 21);
        e->SetFocus();
        GuiTest::ProcessEvents();
        return e;
    }
    // Clicks the keys with these captions (space separated) on the open popup's panel.
    static void Click(TExtCalculatorDropdown *E, const char *Captions)
    {
        TButtonItems *keys = E->ButtonPanel()->Buttons();
        for (const QString &cap : QString::fromLatin1(Captions).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            int k = 0;
            while (k < keys->Count() && keys->Items(k)->Caption != cap)
                ++k;
            ASSERT_LT(k, keys->Count()) << cap.toStdString();
            E->ButtonClick(E->ButtonPanel(), k);
        }
    }
    TFormatSettings Saved;
    std::unique_ptr<TForm> Form;
};

} // namespace

TEST_F(CalculatorTest, KeySequencesClickedAndTyped)
{
    struct Case {
        const char *Keys;
        const char *Typed; // the same in the popup's keyboard, nullptr when it has none
        const char *Shown;
        double Accumulator;
    } cases[] = {
        {"1 2 + 3 =", "12+3=", "15.00", 15},
        {"2 0 0 + 1 0 %", "200+10%", "20.00", 200},
        {"2 0 0 + 1 0 % =", "200+10%=", "220.00", 220},
        {"5 / 0 =", "5/0=", "Error", 0},
        {". 5", nullptr, "0.50", 0},
        {". 5 5", nullptr, "0.55", 0},
        {"1 2 +/-", nullptr, "-12.00", 0},
        {"1 2 +/- +/-", nullptr, "12.00", 0},
        {"4 + Back", nullptr, "4.00", 4},
        {"9 sqrt", nullptr, "3.00", 0},
        {"4 1/x", nullptr, "0.25", 0},
        {"3 MS C MR", nullptr, "3.00", 0},
    };
    for (const Case &c : cases) {
        for (bool typed : {false, true}) {
            if (typed && !c.Typed)
                continue;
            TExtCalculatorDropdown *e = Make();
            e->ShowDropDown();
            ASSERT_TRUE(e->DroppedDown());
            if (typed)
                GuiTest::TypeText(e->DropDownForm(), QString::fromLatin1(c.Typed));
            else
                Click(e, c.Keys);
            EXPECT_EQ(e->GetText(), QString::fromLatin1(c.Shown)) << c.Keys << (typed ? " typed" : " clicked");
            EXPECT_EQ(double(e->Accumulator()), c.Accumulator) << c.Keys << (typed ? " typed" : " clicked");
            delete e;
        }
    }
}

TEST_F(CalculatorTest, EscRestoresTheDisplayOfTheOpeningAndKeepsTheCalculator)
{
    TExtCalculatorDropdown *e = Make();
    e->SetText(QStringLiteral("7"));
    e->ShowDropDown();
    Click(e, "4 + 5");
    EXPECT_EQ(e->GetText(), QStringLiteral("5.00"));
    GuiTest::PressKey(e->DropDownForm(), VK_ESCAPE);
    EXPECT_FALSE(e->DroppedDown());
    EXPECT_EQ(e->GetText(), QStringLiteral("7.00"));
    EXPECT_EQ(double(e->Accumulator()), 4) << "the accumulator stays as the keys left it";
}

TEST_F(CalculatorTest, MemoryReadsAGroupedDisplay)
{
    TExtCalculatorDropdown *e = Make();
    e->SetShowThousandSeparator(true);
    e->SetFloatValue(1234);
    ASSERT_EQ(e->GetText(), QStringLiteral("1,234.00"));
    e->ShowDropDown();
    Click(e, "MS");
    EXPECT_EQ(double(e->Memory()), 1234);
    Click(e, "M+");
    EXPECT_EQ(double(e->Memory()), 2468);
}

TEST_F(CalculatorTest, EditCharactersWithThePopupClosed)
{
    TExtCalculatorDropdown *e = Make();
    GuiTest::TypeText(e, QStringLiteral("12+3"));
    e->CalcResult();
    EXPECT_EQ(e->GetText(), QStringLiteral("15.00"));
    GuiTest::TypeText(e, QStringLiteral("C"));
    EXPECT_EQ(e->GetText(), QStringLiteral("0.00"));
    EXPECT_EQ(double(e->Accumulator()), 15) << "C in the edit keeps the accumulator";
    e->ShowDropDown();
    GuiTest::TypeText(e->DropDownForm(), QStringLiteral("C"));
    EXPECT_EQ(double(e->Accumulator()), 0) << "C in the popup clears it";
}

TEST_F(CalculatorTest, FullDisplayTakesNoDigitSignOrPoint)
{
    TExtCalculatorDropdown *e = Make();
    e->SetPrecision(0);
    e->SetMaxLength(3);
    e->ShowDropDown();
    Click(e, "1 2 3");
    ASSERT_EQ(e->GetText(), QStringLiteral("123"));
    e->SetModified(false);
    Click(e, "4 +/- .");
    EXPECT_EQ(e->GetText(), QStringLiteral("123"));
    EXPECT_FALSE(e->Modified());
}

TEST_F(CalculatorTest, EnteringSelectsTheValueWithoutPrefixOrSuffix)
{
    auto *other = new TEdit(Form.get());
    other->SetParent(Form.get());
    other->SetBounds(10, 100, 100, 21);
    TExtCalculatorDropdown *e = Make();
    e->Prefix = QStringLiteral("$ ");
    e->SetFloatValue(12);
    other->SetFocus();
    GuiTest::ProcessEvents();
    e->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_EQ(e->SelText(), QStringLiteral("12.00"));
}
