// The edit-mask parser, the conversions between Text and the shown edit text, and the editing
// rules, driven without a window.
#include "platform/Mask.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable failures.
static void PrintTo(const QString &S, std::ostream *Os)
{
    *Os << '"' << S.toStdString() << '"';
}
static void PrintTo(QChar C, std::ostream *Os)
{
    *Os << '\'' << QString(C).toStdString() << '\'';
}

namespace {

QString U(const char *S)
{
    return QString::fromUtf8(S);
}

// ---- parsing ----

struct ParseCase {
    const char *Mask;
    const char *Empty; // the edit text of an empty edit
    bool Save;
    char16_t Blank;
    bool Reverse;
    const char *Kinds;    // per position: the mask character of an input position, '.' for a literal
    const char *Required; // per position: 'r' required input, 'o' optional input, '.' literal
};

class MaskParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(MaskParse, FieldsPositionsAndEmptyEditText)
{
    const ParseCase c = GetParam();
    const TEditMask m(U(c.Mask));
    EXPECT_EQ(m.EmptyEditText(), U(c.Empty));
    EXPECT_EQ(m.SaveLiterals(), c.Save);
    EXPECT_EQ(MaskGetMaskSave(U(c.Mask)), c.Save);
    EXPECT_EQ(m.Blank(), QChar(c.Blank));
    EXPECT_EQ(MaskGetMaskBlank(U(c.Mask)), QChar(c.Blank));
    EXPECT_EQ(m.Reverse(), c.Reverse);
    QString kinds, req;
    for (int i = 0; i < m.Length(); ++i) {
        kinds += m.Position(i).IsInput() ? m.Position(i).Char : QChar(u'.');
        req += m.Position(i).IsRequired() ? QChar(u'r') : m.Position(i).IsInput() ? QChar(u'o') : QChar(u'.');
    }
    EXPECT_EQ(kinds, U(c.Kinds));
    EXPECT_EQ(req, U(c.Required));
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskParse,
    ::testing::Values(ParseCase{"!99/99/0000;1;_", "__/__/____", true, u'_', true, "99.99.0000", "oo.oo.rrrr"},
                      ParseCase{">LL-000;0;*", "**-***", false, u'*', false, "LL.000", "rr.rrr"},
                      ParseCase{"(999) 000-0000", "(___) ___-____", true, u'_', false, ".999..000.0000",
                                ".ooo..rrr.rrrr"},
                      // Escaped mask characters are literals; a space as the blank.
                      ParseCase{"\\L\\0aA;1; ", "L0  ", true, u' ', false, "..aA", "..or"},
                      // '_' is a literal space; case directives take no position.
                      ParseCase{"cC#_l", "___ _", true, u'_', false, "cC#.l", "oro.o"},
                      ParseCase{">l<l<>l", "___", true, u'_', false, "lll", "ooo"},
                      // An escaped ';' belongs to the mask; a missing blank field keeps '_'.
                      ParseCase{"0\\;0;0", "_;_", false, u'_', false, "0.0", "r.r"},
                      // Any second field but "0" saves the literals; an empty one too.
                      ParseCase{"00-00;x;#", "##-##", true, u'#', false, "00.00", "rr.rr"},
                      ParseCase{"00-00;;", "__-__", true, u'_', false, "00.00", "rr.rr"},
                      ParseCase{"", "", true, u'_', false, "", ""}));

TEST(MaskParseFields, FieldSeparatorSkipsEscapes)
{
    EXPECT_EQ(MaskGetFldSeparator(U("!99/99/0000;1;_")), 11);
    EXPECT_EQ(MaskGetFldSeparator(U("0\\;0;0")), 4);
    EXPECT_EQ(MaskGetFldSeparator(U("000")), -1);
}

TEST(MaskParseFields, DateAndTimeSeparatorsComeFromTheFormatSettings)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DateSeparator = QChar(u'.');
    FormatSettings.TimeSeparator = QChar(u'h');
    const TEditMask m(U("99/99 00:00"));
    FormatSettings = saved;
    EXPECT_EQ(m.EmptyEditText(), U("__.__ __h__"));
    EXPECT_EQ(m.Position(2).Type, mcIntlLiteral);
    // An escaped separator is the character itself.
    EXPECT_EQ(TEditMask(U("99\\/99")).EmptyEditText(), U("__/__"));
}

TEST(MaskParseFields, CharactersEachPositionTakes)
{
    const TEditMask m(U(">0#9aAlLcC<l"));
    struct Case {
        int Pos;
        char16_t Ch;
        bool Ok;
        char16_t Stored;
    } table[] = {
        {0, u'5', true, u'5'},  {0, u'x', false, 0},   {0, u' ', false, 0},    {0, u'\u0663', false, 0},
        {1, u'-', true, u'-'},  {1, u'+', true, u'+'}, {1, u'7', true, u'7'},  {1, u'x', false, 0},
        {2, u' ', true, u'_'},  {2, u'.', false, 0},   {3, u'q', true, u'Q'},  {3, u'7', true, u'7'},
        {3, u'%', false, 0},    {4, u' ', false, 0},   {5, u'\u00e9', true, u'\u00c9'},
        {6, u'9', false, 0},    {6, u'z', true, u'Z'}, {7, u'%', true, u'%'},  {7, u' ', true, u' '},
        {8, u' ', true, u' '},  {8, u'\t', false, 0},  {9, u'Q', true, u'q'},  {10, u'a', false, 0},
    };
    for (const Case &t : table) {
        QChar ch(t.Ch);
        EXPECT_EQ(m.InputChar(t.Pos, ch), t.Ok) << t.Pos << " " << int(t.Ch);
        if (t.Ok) {
            EXPECT_EQ(ch, QChar(t.Stored)) << t.Pos << " " << int(t.Ch);
        }
    }
}

// ---- Text and EditText ----

struct TextCase {
    const char *Mask;
    const char *Value; // Text set
    const char *Edit;  // the edit text shown for it
    const char *Text;  // Text read back
};

class MaskText : public ::testing::TestWithParam<TextCase> {};

TEST_P(MaskText, SetTextShowsAndReadsBack)
{
    const TextCase c = GetParam();
    TEditMaskEngine e(U(c.Mask));
    e.SetText(U(c.Value));
    EXPECT_EQ(e.EditText(), U(c.Edit));
    EXPECT_EQ(e.Text(), U(c.Text));
    // What Text gives shows the same edit text again.
    TEditMaskEngine again(U(c.Mask));
    again.SetText(e.Text());
    EXPECT_EQ(again.EditText(), e.EditText());
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskText,
    ::testing::Values(TextCase{"!99/99/0000;1;_", "12/05/2024", "12/05/2024", "12/05/2024"},
                      TextCase{"!99/99/0000;1;_", "", "__/__/____", "  /  /    "},
                      TextCase{"!99/99/0000;1;_", "  /  /    ", "__/__/____", "  /  /    "},
                      // Each part between literals is padded in front under '!'...
                      TextCase{"!99/99/0000;1;_", "1/5/2024", "_1/_5/2024", " 1/ 5/2024"},
                      // ...and behind without it.
                      TextCase{"99/99/0000;1;_", "1/5/2024", "1_/5_/2024", "1 /5 /2024"},
                      // A value without the literals fills the positions in order.
                      TextCase{"(999) 000-0000;1;_", "0123456789", "(012) 345-6789", "(012) 345-6789"},
                      TextCase{">LL-000;0;*", "AB123", "AB-123", "AB123"},
                      TextCase{">LL-000;0;*", "AB1", "AB-1**", "AB1"},
                      // Text set in code is neither checked nor case-converted.
                      TextCase{">LL-000;0;*", "xy789", "xy-789", "xy789"},
                      // A space inside the value is a blank, trailing blanks are trimmed.
                      TextCase{">LL-000;0;*", "A 1", "A*-1**", "A 1"},
                      // Under '!' the value fills from the right.
                      TextCase{"!999;0;_", "5", "__5", "5"},
                      // A space in a 'c' position is a character.
                      TextCase{"cc;0;_", " a", " a", " a"},
                      TextCase{"!90:00:00;1; ", "9:30:00", " 9:30:00", " 9:30:00"},
                      // Too long: cut at the mask's length.
                      TextCase{"000;0;_", "12345", "123", "123"}));

TEST(MaskTextFormat, FormatMaskTextPutsTheValueIntoTheMask)
{
    struct Case {
        const char *Mask, *Value, *Result;
    } table[] = {
        {"000\\.000\\.000\\-00;0;_", "12345678901", "123.456.789-01"},
        {"!99/99/0000;1;_", "1/5/2024", " 1/ 5/2024"},
        {">LL-000;0;*", "ab12", "ab-12 "},
        {"(999) 000-0000", "0123456789", "(012) 345-6789"},
        {"(999) 000-0000", "(012) 345-6789", "(012) 345-6789"},
        {"!999;0;_", "5", "  5"},
        {"", "as is", "as is"},
    };
    for (const Case &c : table)
        EXPECT_EQ(FormatMaskText(U(c.Mask), U(c.Value)), U(c.Result)) << c.Mask << " " << c.Value;
}

TEST(MaskTextFormat, NewMaskKeepsTheInputCharacters)
{
    TEditMaskEngine e(U("000;0;_"));
    e.SetText(U("12"));
    e.SetEditMask(U("!999;0;_"));
    EXPECT_EQ(e.EditText(), U("_12"));
    e.SetEditMask(U("9-99;1;_"));
    EXPECT_EQ(e.EditText(), U("1-2_"));
    // Without a mask, Text is what the masked edit's Text was.
    e.SetEditMask(QString());
    EXPECT_FALSE(e.IsMasked());
    EXPECT_EQ(e.EditText(), U("1-2 "));
    e.SetEditMask(U("00;0;_"));
    EXPECT_EQ(e.EditText(), U("1-"));
}

TEST(MaskTextFormat, SetEditTextKeepsTheShapeOfTheMask)
{
    TEditMaskEngine e(U("!99/99/0000;1;_"));
    e.SetEditText(U("12x05"));
    EXPECT_EQ(e.EditText(), U("12/05/____"));
    e.SetEditText(U("12/05/20245678"));
    EXPECT_EQ(e.EditText(), U("12/05/2024"));
}

// ---- editing ----

// Keys in a script: characters are typed, these codes are the editing keys.
constexpr char16_t kBack = 8, kDel = 127, kLeft = 1, kRight = 2, kHome = 3, kEnd = 4;

struct EditCase {
    const char *Mask;
    const char *Start; // Text before
    int Caret;
    const char16_t *Keys;
    const char *Edit; // edit text after
    int CaretAfter;
    int Refused; // typed characters refused (each one beeps)
    const char *Text;
};

class MaskEditing : public ::testing::TestWithParam<EditCase> {};

TEST_P(MaskEditing, KeysChangeTheEditText)
{
    const EditCase c = GetParam();
    TEditMaskEngine e(U(c.Mask));
    e.SetText(U(c.Start));
    e.SetSel(c.Caret, 0);
    int refused = 0;
    for (const char16_t *k = c.Keys; *k; ++k) {
        switch (*k) {
        case kBack: e.Backspace(); break;
        case kDel: e.Delete(); break;
        case kLeft: e.MoveCaret(TEditMaskEngine::ckLeft); break;
        case kRight: e.MoveCaret(TEditMaskEngine::ckRight); break;
        case kHome: e.MoveCaret(TEditMaskEngine::ckHome); break;
        case kEnd: e.MoveCaret(TEditMaskEngine::ckEnd); break;
        default: refused += e.TypeChar(QChar(*k)) ? 0 : 1; break;
        }
    }
    EXPECT_EQ(e.EditText(), U(c.Edit));
    EXPECT_EQ(e.SelStart(), c.CaretAfter);
    EXPECT_EQ(e.SelLength(), 0);
    EXPECT_EQ(refused, c.Refused);
    EXPECT_EQ(e.Text(), U(c.Text));
}

INSTANTIATE_TEST_SUITE_P(
    Date, MaskEditing,
    ::testing::Values(
        // The caret jumps over the separators.
        EditCase{"!99/99/0000;1;_", "", 0, u"12052024", "12/05/2024", 10, 0, "12/05/2024"},
        EditCase{"!99/99/0000;1;_", "", 0, u"12", "12/__/____", 3, 0, "12/  /    "},
        // A letter in a digit position is refused and the caret stays.
        EditCase{"!99/99/0000;1;_", "", 0, u"1x2", "12/__/____", 3, 1, "12/  /    "},
        // Typing the separators the caret skipped anyway changes nothing.
        EditCase{"!99/99/0000;1;_", "", 0, u"12/05/2024", "12/05/2024", 10, 0, "12/05/2024"},
        // A separator typed early jumps to the next part.
        EditCase{"!99/99/0000;1;_", "", 0, u"1/5/2024", "1_/5_/2024", 10, 0, "1 /5 /2024"},
        // Beyond the last position nothing is taken.
        EditCase{"!99/99/0000;1;_", "12/05/2024", 10, u"9", "12/05/2024", 10, 1, "12/05/2024"},
        // Typing overwrites.
        EditCase{"!99/99/0000;1;_", "12/05/2024", 0, u"3", "32/05/2024", 1, 0, "32/05/2024"},
        // Backspace blanks the position before the caret, over the separator; literals stay.
        EditCase{"!99/99/0000;1;_", "12/05/2024", 6, u"\b", "12/0_/2024", 4, 0, "12/0 /2024"},
        EditCase{"!99/99/0000;1;_", "12/05/2024", 10, u"\b\b\b\b\b", "12/0_/____", 4, 0, "12/0 /    "},
        EditCase{"!99/99/0000;1;_", "12/05/2024", 0, u"\b", "12/05/2024", 0, 0, "12/05/2024"},
        // Delete blanks the position at the caret (the next one from a literal); the caret stays.
        EditCase{"!99/99/0000;1;_", "12/05/2024", 0, u"\x7f", "_2/05/2024", 0, 0, " 2/05/2024"},
        EditCase{"!99/99/0000;1;_", "12/05/2024", 2, u"\x7f", "12/_5/2024", 2, 0, "12/ 5/2024"},
        // Blank optional day and month: leading blanks are trimmed under '!'.
        EditCase{"!99/99/0000;1;_", "", 6, u"2024", "__/__/2024", 10, 0, "  /  /2024"},
        // Left and Right skip the separators; Home goes to the first position, End past the last.
        EditCase{"!99/99/0000;1;_", "", 0, u"12\x01", "12/__/____", 1, 0, "12/  /    "},
        EditCase{"!99/99/0000;1;_", "", 3, u"\x01\x01\x01\x02\x02", "__/__/____", 3, 0, "  /  /    "},
        EditCase{"!99/99/0000;1;_", "", 5, u"\x04\x01", "__/__/____", 9, 0, "  /  /    "},
        EditCase{"!99/99/0000;1;_", "12/05/2024", 7, u"\x03" "9", "92/05/2024", 1, 0, "92/05/2024"}));

INSTANTIATE_TEST_SUITE_P(
    Code, MaskEditing,
    ::testing::Values(
        // Upper-cased, literals not in Text.
        EditCase{">LL-000;0;*", "", 0, u"ab123", "AB-123", 6, 0, "AB123"},
        EditCase{">LL-000;0;*", "", 0, u"a1", "A*-***", 1, 1, "A"},
        EditCase{">LL-000;0;*", "", 0, u"ab-123", "AB-123", 6, 0, "AB123"},
        // '-' typed in the letters moves to the digits; the empty letter stays blank.
        EditCase{">LL-000;0;*", "", 0, u"a-1", "A*-1**", 4, 0, "A 1"},
        // A space is no letter: a required position refuses it.
        EditCase{">LL-000;0;*", "", 0, u" ", "**-***", 0, 1, ""},
        EditCase{">LL-000;0;*", "AB123", 6, u"\b", "AB-12*", 5, 0, "AB12"},
        EditCase{">LL-000;0;*", "AB123", 6, u"\b\b\b\b", "A*-***", 1, 0, "A"},
        EditCase{">LL-000;0;*", "AB123", 3, u"\x03" "c", "CB-123", 1, 0, "CB123"}));

INSTANTIATE_TEST_SUITE_P(
    Others, MaskEditing,
    ::testing::Values(
        // A mask starting with a literal: typing at 0 fills the first input position.
        EditCase{"(999) 000-0000;1;_", "", 0, u"5551234567", "(555) 123-4567", 14, 0, "(555) 123-4567"},
        // A space empties an optional position.
        EditCase{"999;0;_", "123", 0, u" ", "_23", 1, 0, " 23"},
        EditCase{"#00;1;_", "", 0, u"-42", "-42", 3, 0, "-42"},
        EditCase{"<LLL;0;_", "", 0, u"AbC", "abc", 3, 0, "abc"},
        EditCase{"<>LLL;0;_", "", 0, u"AbC", "AbC", 3, 0, "AbC"},
        EditCase{"aa-cc;1;_", "", 0, u"1-", "1_-__", 3, 0, "1 -  "},
        // A time with a space as the blank.
        EditCase{"!90:00:00;1; ", "", 0, u"0930", "09:30:  ", 6, 0, "09:30:  "},
        EditCase{"!90:00:00;1; ", "9:30:00", 0, u"1", "19:30:00", 1, 0, "19:30:00"}));

TEST(MaskEditingSelection, TypingOverASelectionBlanksItFirst)
{
    TEditMaskEngine e(U(">LL-000;0;*"));
    e.SetText(U("AB123"));
    e.SetSel(1, 4);
    ASSERT_TRUE(e.TypeChar(QChar(u'z')));
    EXPECT_EQ(e.EditText(), U("AZ-**3"));
    EXPECT_EQ(e.SelStart(), 3);
    // A refused character leaves the selection and the text alone.
    e.SetSel(0, 6);
    EXPECT_FALSE(e.TypeChar(QChar(u'1')));
    EXPECT_EQ(e.EditText(), U("AZ-**3"));
    EXPECT_EQ(e.SelLength(), 6);
    // One selected character is the caret of the classic edit: typing replaces it.
    e.SetSel(4, 1);
    ASSERT_TRUE(e.TypeChar(QChar(u'7')));
    EXPECT_EQ(e.EditText(), U("AZ-*73"));
    EXPECT_EQ(e.SelStart(), 5);
    e.SetSel(0, 6);
    EXPECT_TRUE(e.Backspace());
    EXPECT_EQ(e.EditText(), U("**-***"));
    EXPECT_EQ(e.SelStart(), 0);
}

struct PasteCase {
    const char *Mask;
    const char *Start;
    int SelStart, SelLength;
    const char *Pasted;
    const char *Edit;
    int CaretAfter;
};

class MaskPaste : public ::testing::TestWithParam<PasteCase> {};

TEST_P(MaskPaste, CharacterByCharacter)
{
    const PasteCase c = GetParam();
    TEditMaskEngine e(U(c.Mask));
    e.SetText(U(c.Start));
    e.SetSel(c.SelStart, c.SelLength);
    e.Paste(U(c.Pasted));
    EXPECT_EQ(e.EditText(), U(c.Edit));
    EXPECT_EQ(e.SelStart(), c.CaretAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskPaste,
    ::testing::Values(PasteCase{"!99/99/0000;1;_", "", 0, 0, "12/05/2024", "12/05/2024", 10},
                      // Literals missing from the pasted text are stepped over.
                      PasteCase{"!99/99/0000;1;_", "", 0, 0, "12052024", "12/05/2024", 10},
                      PasteCase{"!99/99/0000;1;_", "12/05/2024", 3, 0, "11", "12/11/2024", 6},
                      // A character the position refuses leaves it blank.
                      PasteCase{">LL-000;0;*", "", 0, 0, "a1-9x9", "A*-9*9", 6},
                      PasteCase{">LL-000;0;*", "AB123", 3, 3, "9", "AB-9**", 4},
                      // The line end of a copied cell is not pasted.
                      PasteCase{"000;1;_", "", 0, 0, "12\r\n", "12_", 2},
                      PasteCase{"000;1;_", "987", 1, 0, "", "987", 1}));

TEST(MaskValidate, FindsTheFirstEmptyRequiredPosition)
{
    struct Case {
        const char *Mask, *Edit;
        int Missing;
    } table[] = {
        {"!99/99/0000;1;_", "12/05/202_", 9},
        {"!99/99/0000;1;_", "__/__/2024", -1},
        {">LL-000;0;*", "AB-12*", 5},
        {">LL-000;0;*", "A*-123", 1},
        {">LL-000;0;*", "AB-123", -1},
        // A space fills a 'C' position, no other.
        {"CC;1;_", "a ", -1},
        {"CC;1;_", "a_", 1},
        {"00;1;_", "1 ", 1},
    };
    for (const Case &c : table) {
        TEditMaskEngine e(U(c.Mask));
        e.SetEditText(U(c.Edit));
        EXPECT_EQ(e.Validate(), c.Missing) << c.Mask << " " << c.Edit;
    }
}

TEST(MaskValidate, WithoutAMaskNothingChanges)
{
    TEditMaskEngine e;
    e.SetText(U("abc"));
    EXPECT_FALSE(e.TypeChar(QChar(u'x')));
    EXPECT_FALSE(e.Backspace());
    EXPECT_EQ(e.EditText(), U("abc"));
    EXPECT_EQ(e.Text(), U("abc"));
    EXPECT_EQ(e.Validate(), -1);
}

} // namespace
