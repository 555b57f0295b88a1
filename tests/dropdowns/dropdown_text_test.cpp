// The edit types of the drop-down edit, typed key by key in a '.' and a ',' locale: which
// characters each type takes, the number rules, paste, the reformatting on focus loss, Prefix
// and Suffix keys, and one change notification per accepted key.
#include "dropdowns/ExtCustomDropDown.h"
#include "platform/Clipbrd.h"
#include "platform/SysUtils.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class TTextDropDown : public TExtCustomDropDown {
public:
    explicit TTextDropDown(TComponent *AOwner) : TExtCustomDropDown(AOwner) {}
    using TExtCustomDropDown::SetEditType;
};

class DropDownTextTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Saved = FormatSettings;
        // Parameter true: the ',' decimal locale with '.' grouping.
        if (GetParam()) {
            FormatSettings.DecimalSeparator = QLatin1Char(',');
            FormatSettings.ThousandSeparator = QLatin1Char('.');
        } else {
            FormatSettings.DecimalSeparator = QLatin1Char('.');
            FormatSettings.ThousandSeparator = QLatin1Char(',');
        }
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 100);
        Edit = NewDropDown<TTextDropDown>(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(10, 10, 200, 21);
        Edit->OnChange = [this](TObject *) { ++Changes; };
        Form->Show();
        GuiTest::ProcessEvents();
        Edit->SetFocus();
        GuiTest::ProcessEvents();
    }
    void TearDown() override
    {
        Form.reset();
        FormatSettings = Saved;
    }
    // Clears the edit and types Text.
    UnicodeString Typed(TDropDownEditType Type, const UnicodeString &Text, int Precision = 0, bool Signed = false)
    {
        Edit->SetEditType(Type);
        Edit->Signed = Signed;
        Edit->SetPrecision(static_cast<SmallInt>(Precision));
        Edit->SetTextInternal(UnicodeString());
        GuiTest::TypeText(Edit, Text);
        return Edit->GetText();
    }
    QString D() const { return GetParam() ? QStringLiteral(",") : QStringLiteral("."); }
    QString T() const { return GetParam() ? QStringLiteral(".") : QStringLiteral(","); }
    // Text written with '.' as decimal and ',' as grouping, in the locale of the run.
    QString L(QString S) const
    {
        for (QChar &c : S)
            c = c == QLatin1Char('.') ? D().at(0) : c == QLatin1Char(',') ? T().at(0) : c;
        return S;
    }
    TFormatSettings Saved;
    std::unique_ptr<TForm> Form;
    TTextDropDown *Edit = nullptr;
    int Changes = 0;
};

} // namespace

TEST_P(DropDownTextTest, CharactersEachTypeTakes)
{
    struct Case {
        TDropDownEditType Type;
        const char *Input;
        const char *Want;
    } cases[] = {
        {etString, "a1-;x", "a1-;x"},
        {etNumeric, "12a-3", "123"},
        {etUppercase, "abC", "ABC"},
        {etLowerCase, "AbC", "abc"},
        {etMixedCase, "john smith", "John Smith"},
        {etRange, "1-5;7", "1-5;7"},
        {etRange, ";1--2", "1-2"},
        {etHex, "0fAgz", "0fA"},
        {etAlphaNumeric, "a-1 B", "a1B"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Typed(c.Type, QString::fromLatin1(c.Input)), QString::fromLatin1(c.Want)) << c.Input;
    Edit->ValidChars = QStringLiteral("xy");
    EXPECT_EQ(Typed(etValidChars, QStringLiteral("axyb")), QStringLiteral("xy"));
}

TEST_P(DropDownTextTest, SignRulesForNumbers)
{
    EXPECT_EQ(Typed(etNumeric, QStringLiteral("12-")), QStringLiteral("12")) << "unsigned: '-' does nothing";
    EXPECT_EQ(Typed(etNumeric, QStringLiteral("12-"), 0, true), QStringLiteral("-12"));
    GuiTest::TypeText(Edit, QStringLiteral("-"));
    EXPECT_EQ(Edit->GetText(), QStringLiteral("12"));
}

TEST_P(DropDownTextTest, FloatSeparatorAndPrecision)
{
    // Typing DS into an empty value gives 0 and DS with the caret behind it.
    EXPECT_EQ(Typed(etFloat, D(), 2), QStringLiteral("0") + D());
    EXPECT_EQ(Edit->SelStart(), 2);
    // A full precision takes no further digit at the end...
    Typed(etFloat, L("1.25"), 2);
    EXPECT_EQ(Edit->GetText(), L("1.25"));
    GuiTest::TypeText(Edit, QStringLiteral("9"));
    EXPECT_EQ(Edit->GetText(), L("1.25"));
    // ...but overwrites the digit after the caret.
    Edit->SetSelStart(3);
    GuiTest::TypeText(Edit, QStringLiteral("7"));
    EXPECT_EQ(Edit->GetText(), L("1.27"));
    // A second DS only moves the caret behind the first.
    Edit->SetSelStart(0);
    GuiTest::TypeText(Edit, D());
    EXPECT_EQ(Edit->GetText(), L("1.27"));
    EXPECT_EQ(Edit->SelStart(), 2);
}

TEST_P(DropDownTextTest, KeypadDecimalKeyTypesTheLocalesSeparator)
{
    // The keypad's decimal key types '.' or ',' as its keyboard layout says; with
    // ExcelStyleDecimalSeparator it always gives the decimal separator. The main keys do not.
    struct Case {
        const char *Name;
        bool Excel;
        Word Vk;
        QString Char;
        bool GivesSeparator;
    } cases[] = {
        {"keypad '.'", true, VK_DECIMAL, QStringLiteral("."), true},
        {"keypad ','", true, VK_DECIMAL, QStringLiteral(","), true},
        {"main key of the other separator", true, VK_OEM_PERIOD, T(), false},
        {"keypad without the option", false, VK_DECIMAL, T(), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        Edit->ExcelStyleDecimalSeparator = c.Excel;
        Typed(etFloat, QStringLiteral("12"), 2);
        GuiTest::PressKey(Edit, c.Vk, {}, c.Char);
        GuiTest::TypeText(Edit, QStringLiteral("5"));
        if (c.GivesSeparator)
            EXPECT_EQ(Edit->GetText(), QStringLiteral("12") + D() + QStringLiteral("5"));
        else
            EXPECT_FALSE(Edit->GetText().contains(D()));
    }
}

TEST_P(DropDownTextTest, MoneyGroupsWhileTypingAndFormatsOnFocusLoss)
{
    Edit->SetEditType(etMoney);
    Edit->SetPrecision(2);
    Edit->SetTextInternal(UnicodeString());
    Changes = 0;
    GuiTest::TypeText(Edit, QStringLiteral("1234"));
    EXPECT_EQ(Edit->GetText(), L("1,234"));
    EXPECT_EQ(Edit->SelStart(), Edit->GetText().length());
    EXPECT_EQ(Changes, 4) << "one change per accepted key, the grouping rewrite adds none";
    GuiTest::TypeText(Edit, QStringLiteral("x"));
    EXPECT_EQ(Changes, 4) << "a dropped key reports nothing";
    GuiTest::TypeText(Edit, QStringLiteral("5"));
    EXPECT_EQ(Changes, 5) << "and does not swallow the next real change";
    Edit->Perform(WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(Edit->GetText(), L("12,345.00"));
}

TEST_P(DropDownTextTest, SetTextAndValues)
{
    Edit->SetEditType(etNumeric);
    Edit->SetText(UnicodeString());
    EXPECT_EQ(Edit->GetText(), QStringLiteral("0"));
    Edit->SetEditType(etString);
    Edit->SetText(UnicodeString());
    EXPECT_EQ(Edit->GetText(), UnicodeString());
    Edit->SetEditType(etFloat);
    Edit->SetPrecision(2);
    Edit->SetText(QStringLiteral("Error"));
    EXPECT_EQ(Edit->GetText(), QStringLiteral("Error"));
    Edit->SetText(L("3.14159"));
    EXPECT_EQ(Edit->GetText(), L("3.14"));
    Edit->SetEditType(etHex);
    Edit->SetText(QStringLiteral("ff"));
    EXPECT_EQ(Edit->GetText(), QStringLiteral("FF"));
    EXPECT_EQ(Edit->GetFloatValue(), 255);
    Edit->SetTextInternal(QStringLiteral("1G"));
    EXPECT_EQ(Edit->GetFloatValue(), 16);
}

TEST_P(DropDownTextTest, PasteFollowsTheType)
{
    struct Case {
        TDropDownEditType Type;
        const char *Clip;
        const char *Want;
    } cases[] = {
        {etNumeric, "12ab", "5"},
        {etNumeric, "42", "542"},
        {etHex, "FF", "5"},
        {etRange, "1-2", "5"},
        {etUppercase, "ab", "5AB"},
        {etAlphaNumeric, "a b", "5"},
    };
    for (const Case &c : cases) {
        Edit->SetEditType(c.Type);
        Edit->SetText(QStringLiteral("5"));
        Edit->SetSelStart(1);
        Edit->SetSelLength(0);
        Clipboard()->SetAsText(QString::fromLatin1(c.Clip));
        Edit->Perform(WM_PASTE, 0, 0);
        EXPECT_EQ(Edit->GetText(), QString::fromLatin1(c.Want)) << c.Type << " " << c.Clip;
    }
}

TEST_P(DropDownTextTest, APastedNumberLeavesTheCaretAfterItOrSelectsWhatReplacedTheSelection)
{
    struct Case {
        TDropDownEditType Type;
        int SelStart, SelLength;
        const char *Clip;
        const char *Want;
        int WantStart, WantLength;
    } cases[] = {
        {etFloat, 1, 0, "12", "5129", 3, 0},
        {etFloat, 0, 1, "7", "79", 0, 1},
        {etMoney, 1, 0, "1", "519", 2, 0},
        {etMoney, 1, 1, "3", "53", 1, 1},
    };
    for (const Case &c : cases) {
        Edit->SetEditType(c.Type);
        Edit->SetPrecision(0);
        Edit->SetText(QStringLiteral("59"));
        Edit->SetSelStart(c.SelStart);
        Edit->SetSelLength(c.SelLength);
        Clipboard()->SetAsText(QString::fromLatin1(c.Clip));
        Edit->Perform(WM_PASTE, 0, 0);
        EXPECT_EQ(Edit->GetText(), QString::fromLatin1(c.Want)) << c.Type << " " << c.Clip;
        EXPECT_EQ(Edit->SelStart(), c.WantStart) << c.Type << " " << c.Clip;
        EXPECT_EQ(Edit->SelLength(), c.WantLength) << c.Type << " " << c.Clip;
    }
}

TEST_P(DropDownTextTest, PrefixAndSuffixKeepTheCaretOnTheValue)
{
    Edit->Prefix = QStringLiteral("$ ");
    Edit->Suffix = QStringLiteral(" kg");
    Edit->SetText(QStringLiteral("12"));
    EXPECT_EQ(Edit->EditText(), QStringLiteral("$ 12 kg"));
    GuiTest::PressKey(Edit, VK_END);
    EXPECT_EQ(Edit->SelStart(), 4);
    GuiTest::PressKey(Edit, VK_RIGHT);
    EXPECT_EQ(Edit->SelStart(), 4);
    GuiTest::PressKey(Edit, VK_HOME);
    EXPECT_EQ(Edit->SelStart(), 2);
    GuiTest::PressKey(Edit, VK_LEFT);
    EXPECT_EQ(Edit->SelStart(), 2);
    GuiTest::PressKey(Edit, VK_BACK);
    EXPECT_EQ(Edit->EditText(), QStringLiteral("$ 12 kg"));
}

INSTANTIATE_TEST_SUITE_P(Locales, DropDownTextTest, ::testing::Values(false, true));
