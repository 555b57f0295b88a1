#pragma once
// Edit masks and the masked edit.
//
// An edit mask has up to three fields separated by ';': the mask itself, whether the literal
// characters are part of Text ("0": no; anything else or missing: yes) and the character shown
// in empty positions (default '_'). In the mask:
//   0 digit required      9 digit optional      # digit, '+' or '-' optional
//   L letter required     l letter optional
//   A letter or digit required                  a letter or digit optional
//   C any character required                    c any character optional
//   >  upper case from here    <  lower case from here    <>  no case change
//   !  optional characters missing from Text are leading blanks instead of trailing ones
//   \  the next character is a literal           _  a blank literal (shown as a space)
//   :  /  the time and date separators of FormatSettings (read when the mask is set)
// Every other character is a literal that the caret skips while typing.
//
// EditText is what the window shows: always exactly one character per mask position, literals
// in place, empty positions holding the blank character. Text is the value: the input
// characters with the blank positions at the end trimmed (at the start with '!'), blanks as
// spaces, and the literals put back in place when the mask saves them.
//
// TEditMask is the parsed mask with the conversions between Text and EditText, TEditMaskEngine
// the editing rules on an edit text and a selection (no window), and TCustomMaskEdit the edit
// control that runs the engine on its keys, paste and cut.

#include "platform/Controls.h"
#include "platform/Messages.h"
#include "platform/StdCtrls.h"
#include "platform/System.h"

#include <vector>

FABRICOR_DECLARE_EXCEPTION(EDBEditError, Exception)

enum TMaskCharType { mcNone, mcLiteral, mcIntlLiteral, mcDirective, mcMask, mcMaskOpt, mcFieldSeparator, mcField };
enum TMaskCharCase { mccNone, mccUpper, mccLower };

// The index of the ';' that ends the mask field (a '\' escapes it), -1 when there is none.
int MaskGetFldSeparator(const UnicodeString &EditMask);
// Whether Text keeps the literal characters (the second field is not "0").
bool MaskGetMaskSave(const UnicodeString &EditMask);
// The character shown in empty positions (the third field, default '_').
QChar MaskGetMaskBlank(const UnicodeString &EditMask);
// Value put into the mask as Text would read it, blanks as spaces. With literals saved the value
// is read with its literals (each part between two literals padded or cut to its positions);
// without, its characters fill the input positions in order (from the right with '!'). The
// characters are placed as they are, neither checked nor case-converted.
UnicodeString FormatMaskText(const UnicodeString &EditMask, const UnicodeString &Value);

// One position of the edit text.
struct TMaskPosition {
    TMaskCharType Type = mcLiteral; // mcLiteral, mcIntlLiteral, mcMask (required) or mcMaskOpt
    QChar Char;                     // the mask character of an input position, else the literal shown
    TMaskCharCase Case = mccNone;
    bool IsInput() const { return Type == mcMask || Type == mcMaskOpt; }
    bool IsRequired() const { return Type == mcMask; }
};

class TEditMask {
public:
    TEditMask() = default;
    explicit TEditMask(const UnicodeString &EditMask);

    const UnicodeString &EditMask() const { return FEditMask; }
    bool IsMasked() const { return !FPositions.empty(); }
    int Length() const { return static_cast<int>(FPositions.size()); }
    const TMaskPosition &Position(int Index) const { return FPositions[static_cast<std::size_t>(Index)]; }
    bool IsInput(int Index) const { return Index >= 0 && Index < Length() && Position(Index).IsInput(); }
    bool SaveLiterals() const { return FSaveLiterals; }
    QChar Blank() const { return FBlank; }
    bool Reverse() const { return FReverse; }

    // The first input position at or after Pos, the last one before Pos; -1 when none.
    int NextInput(int Pos) const;
    int PrevInput(int Pos) const;
    // Whether Ch may be typed at input position Index; Ch becomes the character stored there
    // (case converted; a space in an optional position that is not 'c' becomes the blank).
    bool InputChar(int Index, QChar &Ch) const;

    UnicodeString EmptyEditText() const;
    // Characters without literals placed into the input positions in order (from the right
    // with '!'), the literals between them; positions left over get BlankChar.
    UnicodeString FormatInput(const UnicodeString &Input, QChar BlankChar) const;
    // A value with literals: each part before a literal of the mask fills the input positions
    // before it, padded with BlankChar (in front with '!', else behind) or cut; from the first
    // literal the value lacks, its remaining characters fill the remaining positions in order.
    UnicodeString PadInputLiterals(const UnicodeString &Value, QChar BlankChar) const;
    // The input characters of an edit text, the blank run at the end (at the start with '!')
    // trimmed, inner blanks as spaces.
    UnicodeString RemoveFormat(const UnicodeString &EditText) const;
    // Text of an edit text and edit text of a Text (a space in an input position shows as the
    // blank, except in 'C' and 'c' positions, where it is a character of its own).
    UnicodeString TextOf(const UnicodeString &EditText) const;
    UnicodeString EditTextOf(const UnicodeString &Text) const;
    // Input characters (no literals) as an edit text, spaces shown as above.
    UnicodeString EditTextOfInput(const UnicodeString &Input) const;
    // Any string made a well-formed edit text: cut or padded with blanks, literals in place.
    UnicodeString Conform(const UnicodeString &EditText) const;
    // The first required position that is empty (blank, or a space outside 'C'), -1 when none.
    int FirstMissing(const UnicodeString &EditText) const;

private:
    UnicodeString SpacesToBlanks(UnicodeString EditText) const;
    UnicodeString FEditMask;
    std::vector<TMaskPosition> FPositions;
    bool FSaveLiterals = true;
    QChar FBlank = QLatin1Char('_');
    bool FReverse = false;
};

// The editing rules of a masked edit on an edit text and a selection. Typing overwrites, the
// caret skips literals, deleting blanks input positions and leaves literals. Every operation
// needs a mask; without one they change nothing.
class TEditMaskEngine {
public:
    enum TCaretKey { ckLeft, ckRight, ckHome, ckEnd };

    TEditMaskEngine() = default;
    explicit TEditMaskEngine(const UnicodeString &EditMask) { SetEditMask(EditMask); }

    // A new mask keeps the input characters of the old edit text (all of it when there was no
    // mask); without a mask EditText is Text.
    void SetEditMask(const UnicodeString &Value);
    const TEditMask &Mask() const { return FMask; }
    bool IsMasked() const { return FMask.IsMasked(); }

    const UnicodeString &EditText() const { return FEditText; }
    // Made well-formed (see TEditMask::Conform); the selection is kept inside it.
    void SetEditText(const UnicodeString &Value);
    UnicodeString Text() const;
    // The caret goes to 0.
    void SetText(const UnicodeString &Value);

    int SelStart() const { return FSelStart; }
    int SelLength() const { return FSelLength; }
    void SetSel(int Start, int Length);
    UnicodeString SelText() const { return FEditText.mid(FSelStart, FSelLength); }

    // The character typed at the caret (a selection is blanked first, its first input position
    // takes the character); the caret moves on to the next input position. A character the
    // position refuses is not stored and the answer is false (the edit beeps) - except the
    // literal that follows: typing it moves the caret past it, and typing the literal the caret
    // has just skipped changes nothing.
    bool TypeChar(QChar Ch);
    // Backspace blanks the input position before the caret (a selection of more than one
    // character instead) and puts the caret there; Delete blanks the input position at or
    // after the caret (or the selection) and leaves the caret. False when there was no input
    // position to blank.
    bool Backspace();
    bool Delete();
    // Blanks the input positions of the selection; the caret goes to its start.
    bool ClearSelection();
    // Pasted text replaces the selection from its start: each character goes to the next
    // position; a pasted character equal to the literal there is taken as that literal,
    // another one moves on to the next position. A character an input position refuses
    // leaves it blank. The caret ends after the last position written.
    void Paste(const UnicodeString &Value);
    // Caret movement without Shift; a selection of one character counts as the caret.
    void MoveCaret(TCaretKey Key);
    // A caret on a literal moves to the next input position (the end when there is none).
    void CheckCursor();
    // The first required position left empty, -1 when the text is complete.
    int Validate() const { return FMask.IsMasked() ? FMask.FirstMissing(FEditText) : -1; }

private:
    void SetCaret(int Pos);
    void BlankRange(int Start, int Length);
    TEditMask FMask;
    UnicodeString FEditText;
    int FSelStart = 0;
    int FSelLength = 0;
};

// The masked edit. Without a mask it is a plain edit. With one, the window always shows the
// edit text; Text reads and writes the value. Ctrl+V and Shift+Insert send WM_PASTE, Ctrl+X and
// Shift+Delete WM_CUT, Ctrl+C and Ctrl+Insert WM_COPY to the control itself, so that derived
// editors can take them in their own handlers (with or without a mask). With a mask, key-down
// moves the caret over literals (Left, Right, Home, End), blanks on Backspace and Delete and
// swallows Up and Down; key-press takes every character: Escape runs Reset, printable
// characters go through the mask (a refused one beeps), other control characters are dropped.
class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent *AOwner);

    const UnicodeString &EditMask() const { return FEditMask; }
    // Keeps the input characters (a change is reported when the edit text changes); MaxLength
    // becomes the mask's length (0 without a mask).
    void SetEditMask(const UnicodeString &Value);
    bool IsMasked() const { return FEngine.IsMasked(); }
    const TEditMask &Mask() const { return FEngine.Mask(); }
    // The text as the window shows it, with literals and blank characters.
    UnicodeString EditText() const;
    // Written as it is (made well-formed: cut or padded, literals in place); reports a change
    // and leaves Modified alone.
    void SetEditText(const UnicodeString &Value);
    // After a change of the user, a required position left empty raises EDBEditError with the
    // caret put on it; the focus leaving the edit runs it.
    virtual void ValidateEdit();
    // Escape: the edit text from when the edit got the focus (or Text or the mask was last set
    // in code), Modified cleared.
    virtual void Reset();

    // The selection counted on the edit text (these hide the edit's own, which count on Text).
    void SetSelStart(int Value);
    void SetSelLength(int Value);
    UnicodeString SelText() const;
    void SetSelText(const UnicodeString &Value);
    void SelectAll();
    void ClearSelection();

    void Dispatch(TMessage &Message) override;

protected:
    UnicodeString GetText() const override;
    void TextChanged() override;
    void Change() override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
    void WMLButtonUp(TWMMouse &Message) override;
    void CMEnter(TCMEnter &Message) override;
    void CMExit(TCMExit &Message) override;
    // The clipboard messages; the defaults paste as the mask allows (plainly without one), cut
    // and copy the selection.
    virtual void WMPaste(TMessage &Message);
    virtual void WMCut(TMessage &Message);
    virtual void WMCopy(TMessage &Message);
    virtual void WMClear(TMessage &Message);
    // Whether the text may change now (not read-only); derived editors may refuse more.
    virtual bool EditCanModify();
    // The engine on the current edit text and selection; Apply shows its result, reports the
    // change and marks the edit modified.
    TEditMaskEngine &LoadEngine();
    void ApplyEngine();

private:
    friend class TMaskTextScope;
    void ShowEditText(const UnicodeString &Value, int SelStart, int SelLength);
    UnicodeString FEditMask;
    TEditMaskEngine FEngine;
    UnicodeString FEditText;   // the edit text while there is no window
    UnicodeString FOldValue;   // the edit text when the edit got the focus
    bool FShowingEditText = false;
    // While set, GetText answers the edit text: the edit's own selection code counts on it.
    int FEditTextAsText = 0;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    explicit TMaskEdit(TComponent *AOwner) : TCustomMaskEdit(AOwner) {}
};
