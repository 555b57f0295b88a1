// The masked edit in a shown form, driven by real keys: typing, deleting, the caret, the
// clipboard keys, validation and Escape.
#include "platform/Forms.h"
#include "platform/Mask.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

static void PrintTo(const QString &S, std::ostream *Os)
{
    *Os << '"' << S.toStdString() << '"';
}

namespace {

QString U(const char *S)
{
    return QString::fromUtf8(S);
}

// Counts the clipboard messages and can keep them from the masked edit's own handling, as a
// derived editor with its own paste rules does.
class TSpyMaskEdit : public TMaskEdit {
public:
    explicit TSpyMaskEdit(TComponent *AOwner) : TMaskEdit(AOwner) {}
    int Pastes = 0;
    bool TakePaste = false;

protected:
    void WMPaste(TMessage &Message) override
    {
        ++Pastes;
        if (!TakePaste)
            TMaskEdit::WMPaste(Message);
    }
};

class MaskEditInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(10, 10, 400, 300);
        Edit = new TSpyMaskEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(10, 10, 200, 24);
        Other = new TEdit(Form.get());
        Other->SetParent(Form.get());
        Other->SetBounds(10, 50, 200, 24);
        Edit->OnChange = [this](TObject *) { ++Changes; };
    }
    void ShowForm()
    {
        Form->Show();
        GuiTest::ProcessEvents();
        Edit->SetFocus();
        GuiTest::ProcessEvents();
    }
    void Caret(int Pos)
    {
        Edit->SetSelStart(Pos);
        Edit->SetSelLength(0);
    }
    std::unique_ptr<TForm> Form;
    TSpyMaskEdit *Edit = nullptr;
    TEdit *Other = nullptr;
    int Changes = 0;
};

TEST_F(MaskEditInput, TypingADateSkipsTheSeparatorsAndRefusesLetters)
{
    Edit->SetEditMask(U("!99/99/0000;1;_"));
    EXPECT_EQ(Edit->MaxLength(), 10);
    ShowForm();
    EXPECT_EQ(Edit->EditText(), U("__/__/____"));
    Caret(0);
    Changes = 0;
    GuiTest::TypeText(Edit, U("12x05"));
    EXPECT_EQ(Edit->EditText(), U("12/05/____"));
    EXPECT_EQ(Edit->SelStart(), 6);
    EXPECT_EQ(Changes, 4); // the refused letter changed nothing
    EXPECT_TRUE(Edit->Modified());
    GuiTest::TypeText(Edit, U("2024"));
    EXPECT_EQ(Edit->Text(), U("12/05/2024"));
    // Typing at the start overwrites, the text keeps its length.
    GuiTest::PressKey(Edit, VK_HOME);
    GuiTest::TypeText(Edit, U("3"));
    EXPECT_EQ(Edit->EditText(), U("32/05/2024"));
}

TEST_F(MaskEditInput, BackspaceAndDeleteBlankPositionsAndKeepLiterals)
{
    Edit->SetEditMask(U("!99/99/0000;1;_"));
    Edit->SetText(U("12/05/2024"));
    ShowForm();
    Caret(6);
    GuiTest::PressKey(Edit, VK_BACK);
    EXPECT_EQ(Edit->EditText(), U("12/0_/2024"));
    EXPECT_EQ(Edit->SelStart(), 4);
    GuiTest::PressKey(Edit, VK_BACK);
    GuiTest::PressKey(Edit, VK_BACK);
    EXPECT_EQ(Edit->EditText(), U("1_/__/2024"));
    Caret(6);
    GuiTest::PressKey(Edit, VK_DELETE);
    EXPECT_EQ(Edit->EditText(), U("1_/__/_024"));
    EXPECT_EQ(Edit->SelStart(), 6);
    // A selection is blanked as a whole.
    Edit->SetSelStart(0);
    Edit->SetSelLength(10);
    GuiTest::PressKey(Edit, VK_DELETE);
    EXPECT_EQ(Edit->EditText(), U("__/__/____"));
    EXPECT_EQ(Edit->Text(), U("  /  /    "));
}

TEST_F(MaskEditInput, ArrowKeysSkipLiterals)
{
    Edit->SetEditMask(U(">LL-000;0;*"));
    ShowForm();
    Caret(1);
    GuiTest::PressKey(Edit, VK_RIGHT);
    EXPECT_EQ(Edit->SelStart(), 3);
    GuiTest::PressKey(Edit, VK_LEFT);
    EXPECT_EQ(Edit->SelStart(), 1);
    GuiTest::PressKey(Edit, VK_END);
    EXPECT_EQ(Edit->SelStart(), 6);
    GuiTest::PressKey(Edit, VK_HOME);
    EXPECT_EQ(Edit->SelStart(), 0);
    // A caret put on a literal by a click goes on to the next input position.
    Caret(2);
    Edit->Perform(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Edit->SelStart(), 3);
}

TEST_F(MaskEditInput, CodeWithoutLiteralsInText)
{
    Edit->SetEditMask(U(">LL-000;0;*"));
    Edit->SetText(U("XY"));
    ShowForm();
    // The focus selects the whole edit text, literals and blanks too.
    EXPECT_EQ(Edit->SelLength(), 6);
    EXPECT_EQ(Edit->SelText(), U("XY-***"));
    Caret(0);
    GuiTest::TypeText(Edit, U("ab1"));
    EXPECT_EQ(Edit->EditText(), U("AB-1**"));
    EXPECT_EQ(Edit->Text(), U("AB1"));
    // The selection counts on the edit text, which is longer than Text here.
    Edit->SetSelStart(4);
    Edit->SetSelLength(2);
    EXPECT_EQ(Edit->SelStart(), 4);
    EXPECT_EQ(Edit->SelText(), U("**"));
    Edit->SelectAll();
    EXPECT_EQ(Edit->SelLength(), 6);
    try {
        Edit->ValidateEdit();
        FAIL() << "an incomplete entry passed";
    } catch (const EDBEditError &x) {
        EXPECT_EQ(x.Message(), U("Invalid input value.  Use escape key to abandon changes"));
    }
    EXPECT_EQ(Edit->SelStart(), 4); // on the first empty required position
    Edit->SetText(U("cd456"));
    EXPECT_EQ(Edit->EditText(), U("cd-456"));
    EXPECT_FALSE(Edit->Modified());
    EXPECT_NO_THROW(Edit->ValidateEdit());
}

TEST_F(MaskEditInput, EscapeAbandonsTheChangesSinceTheFocusCame)
{
    Edit->SetEditMask(U("000;1;_"));
    Edit->SetText(U("123"));
    ShowForm();
    Caret(0);
    GuiTest::TypeText(Edit, U("9"));
    GuiTest::PressKey(Edit, VK_BACK);
    GuiTest::PressKey(Edit, VK_BACK);
    EXPECT_EQ(Edit->EditText(), U("_23"));
    GuiTest::PressKey(Edit, VK_ESCAPE);
    EXPECT_EQ(Edit->EditText(), U("123"));
    EXPECT_FALSE(Edit->Modified());
}

TEST_F(MaskEditInput, LeavingWithAnIncompleteEntryKeepsTheFocus)
{
    Edit->SetEditMask(U("000;1;_"));
    ShowForm();
    Caret(0);
    GuiTest::TypeText(Edit, U("1"));
    EXPECT_THROW(Edit->Perform(CM_EXIT, 0, 0), EDBEditError);
    GuiTest::ProcessEvents();
    EXPECT_TRUE(Edit->Focused());
    GuiTest::TypeText(Edit, U("23"));
    EXPECT_NO_THROW(Edit->Perform(CM_EXIT, 0, 0));
}

TEST_F(MaskEditInput, AFormClosedOverAnIncompleteEntryGoesQuietly)
{
    GuiTest::TScriptedModalHook hook; // any message shown would fail the test
    Edit->SetEditMask(U("000;1;_"));
    ShowForm();
    Caret(0);
    GuiTest::TypeText(Edit, U("1"));
    Form.reset();
    GuiTest::ProcessEvents();
    EXPECT_TRUE(hook.Shown.empty());
}

TEST_F(MaskEditInput, PasteGoesThroughTheMaskCharacterByCharacter)
{
    Edit->SetEditMask(U(">LL-000;0;*"));
    ShowForm();
    Caret(0);
    QGuiApplication::clipboard()->setText(U("ab-1x3"));
    GuiTest::PressKey(Edit, 'V', TShiftState{ssCtrl});
    EXPECT_EQ(Edit->Pastes, 1);
    EXPECT_EQ(Edit->EditText(), U("AB-1*3"));
    EXPECT_TRUE(Edit->Modified());
    // Shift+Insert pastes too; a derived editor may take the paste itself.
    Edit->TakePaste = true;
    Caret(0);
    GuiTest::PressKey(Edit, VK_INSERT, TShiftState{ssShift});
    EXPECT_EQ(Edit->Pastes, 2);
    EXPECT_EQ(Edit->EditText(), U("AB-1*3"));
    // Cut copies the selection and blanks it.
    Edit->SetSelStart(0);
    Edit->SetSelLength(2);
    GuiTest::PressKey(Edit, 'X', TShiftState{ssCtrl});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), U("AB"));
    EXPECT_EQ(Edit->EditText(), U("**-1*3"));
}

TEST_F(MaskEditInput, TextTheWindowTookPastTheKeysIsPutBackIntoShape)
{
    Edit->SetEditMask(U("!99/99/0000;1;_"));
    Edit->SetText(U("12/05/2024"));
    ShowForm();
    auto *line = qobject_cast<QLineEdit *>(Edit->Widget());
    ASSERT_NE(line, nullptr);
    // As the window's own context menu or a drop would insert it.
    line->setSelection(3, 2);
    line->insert(U("7"));
    EXPECT_EQ(Edit->EditText(), U("12/7_/2024"));
    EXPECT_EQ(Edit->SelStart(), 4);
    EXPECT_TRUE(Edit->Modified());
    line->setSelection(0, 0);
    line->del();
    EXPECT_EQ(Edit->EditText(), U("_2/7_/2024"));
    line->setSelection(6, 4);
    line->insert(U("1999"));
    EXPECT_EQ(Edit->EditText(), U("_2/7_/1999"));
    // A letter goes the way of a pasted one: its position stays blank.
    line->setSelection(0, 2);
    line->insert(U("x3"));
    EXPECT_EQ(Edit->EditText(), U("_3/7_/1999"));
}

TEST_F(MaskEditInput, WithoutAMaskItIsAPlainEdit)
{
    ShowForm();
    Edit->SetMaxLength(5);
    GuiTest::TypeText(Edit, U("abc"));
    GuiTest::PressKey(Edit, VK_BACK);
    EXPECT_EQ(Edit->Text(), U("ab"));
    QGuiApplication::clipboard()->setText(U("12345\r\n"));
    GuiTest::PressKey(Edit, 'V', TShiftState{ssCtrl});
    EXPECT_EQ(Edit->Pastes, 1);
    EXPECT_EQ(Edit->Text(), U("ab123")); // cut at MaxLength and at the line end
    EXPECT_EQ(Edit->EditText(), Edit->Text());
}

TEST_F(MaskEditInput, MaskSetOrClearedKeepsTheCharacters)
{
    Edit->SetText(U("12"));
    Edit->SetEditMask(U("!999;0;_"));
    EXPECT_EQ(Edit->EditText(), U("_12"));
    // The window made later shows the edit text.
    ShowForm();
    EXPECT_EQ(Edit->EditText(), U("_12"));
    EXPECT_EQ(Edit->Text(), U("12"));
    Edit->SetEditMask(U("0-00;1;_"));
    EXPECT_EQ(Edit->EditText(), U("1-2_"));
    Edit->SetEditMask(QString());
    EXPECT_FALSE(Edit->IsMasked());
    EXPECT_EQ(Edit->MaxLength(), 0);
    EXPECT_EQ(Edit->Text(), U("1-2 "));
    // Destroying the window keeps the edit text.
    Edit->SetEditMask(U("000;0;_"));
    Edit->SetEditText(U("4_6"));
    Edit->DestroyHandle();
    EXPECT_EQ(Edit->EditText(), U("4_6"));
    EXPECT_EQ(Edit->Text(), U("4 6"));
}

} // namespace
