// Edit masks and the masked edit: a mask from the input parsed and used to format values, the
// editing engine driven by a script of keys, pastes, selections and texts, and the masked edit
// control driven by the same kind of script through its messages. With a mask the edit text
// always has one character per mask position and the selection stays inside it.
//
// Input: the mask up to the first line feed, then the script: a command byte and its operand
// (a character, two positions, or a length byte and UTF-8 text).
#include "support/FuzzSupport.h"

#include "platform/Forms.h"
#include "platform/Mask.h"
#include "platform/Messages.h"
#include "platform/Windows.h"

namespace {

struct TScript {
    const uint8_t *P;
    const uint8_t *End;
    bool Done() const { return P >= End; }
    Byte Next() { return P < End ? *P++ : 0; }
    QChar Char()
    {
        const Byte Lo = Next();
        const Byte Hi = Next() & 0x03; // Latin and a little beyond
        return QChar(char16_t(Lo | (Hi << 8)));
    }
    UnicodeString Text()
    {
        const int Length = Next() % 48;
        const int Left = static_cast<int>(End - P);
        const int Take = Length < Left ? Length : Left;
        const UnicodeString S = QString::fromUtf8(reinterpret_cast<const char *>(P), Take);
        P += Take;
        return S;
    }
};

void CheckEngine(const TEditMaskEngine &E)
{
    const int Length = static_cast<int>(E.EditText().size());
    if (E.IsMasked())
        Fuzz::Check(Length == E.Mask().Length(), "the edit text does not fit the mask");
    Fuzz::Check(E.SelStart() >= 0 && E.SelLength() >= 0 && E.SelStart() + E.SelLength() <= Length, "the selection leaves the edit text");
}

void FuzzEngine(const UnicodeString &Mask, TScript S)
{
    const TEditMask M(Mask);
    (void)M.EmptyEditText();
    (void)FormatMaskText(Mask, QStringLiteral("12/31 ab"));
    TEditMaskEngine E(Mask);
    CheckEngine(E);
    for (int Step = 0; !S.Done() && Step < 200; ++Step) {
        switch (S.Next() % 11) {
        case 0: E.TypeChar(S.Char()); break;
        case 1: E.Backspace(); break;
        case 2: E.Delete(); break;
        case 3: {
            const int Start = static_cast<signed char>(S.Next());
            E.SetSel(Start, static_cast<signed char>(S.Next()));
            break;
        }
        case 4: E.Paste(S.Text()); break;
        case 5: E.MoveCaret(static_cast<TEditMaskEngine::TCaretKey>(S.Next() % 4)); break;
        case 6: E.SetText(S.Text()); break;
        case 7: E.SetEditText(S.Text()); break;
        case 8: E.ClearSelection(); break;
        case 9: E.CheckCursor(); break;
        default: {
            const UnicodeString Text = S.Text();
            (void)FormatMaskText(Mask, Text);
            (void)M.TextOf(M.Conform(Text));
            (void)M.EditTextOf(Text);
            (void)M.PadInputLiterals(Text, M.Blank());
            break;
        }
        }
        CheckEngine(E);
        (void)E.Text();
        (void)E.Validate();
    }
}

void CheckEdit(TMaskEdit *Edit)
{
    if (Edit->IsMasked())
        Fuzz::Check(static_cast<int>(Edit->EditText().size()) == Edit->Mask().Length(), "the masked edit's text does not fit the mask");
}

void FuzzEdit(const UnicodeString &Mask, TScript S)
{
    static TForm *Form = nullptr;
    static TMaskEdit *Edit = nullptr;
    if (!Form) {
        Fuzz::NeedApplication();
        Form = new TForm(nullptr);
        Edit = new TMaskEdit(Form);
        Edit->SetParent(Form);
        (void)Edit->Handle();
    }
    Edit->SetEditMask(QString());
    Edit->SetText(QString());
    Edit->SetEditMask(Mask);
    CheckEdit(Edit);
    static const Word Keys[] = {VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_BACK, VK_DELETE, VK_UP, VK_DOWN, VK_ESCAPE};
    for (int Step = 0; !S.Done() && Step < 100; ++Step) {
        switch (S.Next() % 7) {
        case 0: Edit->Perform(WM_CHAR, S.Char().unicode()); break;
        case 1: {
            const Word Key = Keys[S.Next() % 9];
            Edit->Perform(WM_KEYDOWN, Key);
            break;
        }
        case 2:
            Edit->SetSelStart(S.Next() % 40);
            Edit->SetSelLength(S.Next() % 40);
            break;
        case 3: Edit->SetText(S.Text()); break;
        case 4: Edit->SetEditText(S.Text()); break;
        case 5: Edit->Perform(WM_CLEAR); break;
        default: Edit->SetSelText(S.Text()); break;
        }
        CheckEdit(Edit);
        (void)Edit->Text();
        (void)Edit->SelText();
    }
    try {
        Edit->ValidateEdit();
    } catch (const EDBEditError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const uint8_t *End = Data + Size;
    const uint8_t *Line = Data;
    while (Line < End && *Line != '\n')
        ++Line;
    const UnicodeString Mask = QString::fromUtf8(reinterpret_cast<const char *>(Data), Line - Data);
    const TScript Script{Line < End ? Line + 1 : End, End};
    FuzzEngine(Mask, Script);
    FuzzEdit(Mask, Script);
    return 0;
}
