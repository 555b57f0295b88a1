// The grid's text editor: the character filter of each text editor type, and the keys that
// validate before the edit ends or the grid moves on.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "platform/Clipboard.h"
#include "platform/Clipbrd.h"
#include "platform/Windows.h"


#include <QRegularExpression>

#include <algorithm>
#include <functional>

TExtInplaceEdit::TExtInplaceEdit(TExtStringGrid *AGrid) : TInplaceEdit(AGrid), FGrid(AGrid)
{
    // A cell's text may hold line breaks: the editor shows them, and keeps Enter for the grid
    // unless the grid lets Enter break the line.
    SetMultiLine(true);
    SetWantReturn(true);
    SetLineWrap(FGrid->WordWrap());
}

void TExtInplaceEdit::UpdateContents()
{
    SetLineWrap(FGrid->WordWrap());
    // A password is typed on one line; the window changes kind only when the type changes.
    SetPasswordChar(FGrid->EditControl == edPassword ? FGrid->PasswordChar() : WideChar(0));
    FGrid->FNoEditChange = true;
    try {
        TInplaceEdit::UpdateContents();
    } catch (...) {
        FGrid->FNoEditChange = false;
        throw;
    }
    FGrid->FNoEditChange = false;
    FColE = FGrid->Col();
    FRowE = FGrid->Row();
    FLengthLimit = FGrid->GetEditLimit();
    FGrid->DoGetEditorProp(FGrid->RealColIndex(FColE), FRowE);
}

bool TExtInplaceEdit::FilterChar(WideChar &Key)
{
    const ushort k = ushort(Key);
    const UnicodeString text = Text();
    const int start = SelStart(), len = SelLength();
    if (FLengthLimit > 0 && text.size() == FLengthLimit && len == 0 && k != 8 && k != 27 && k != 13) {
        Key = 0;
        return false;
    }
    auto control = [k] { return k == 8 || k == 9 || k == 13 || k == 27; };
    auto refuse = [&Key] {
        Key = 0;
        MessageBeep(0);
        return false;
    };
    // The program's number format decides the separators, as it does for every number shown.
    const QChar dec = QChar(char16_t(ExtGrid::GetDecimalSeparator()));
    const QChar thou = QChar(char16_t(ExtGrid::GetThousandSeparator()));
    const UnicodeString sel = text.mid(start, len);
    switch (FGrid->EditControl) {
    case edNumeric:
        if (control() || (Key >= u'0' && Key <= u'9'))
            return true;
        if (Key == u'-' && !text.contains(u'-') && start == 0)
            return true;
        return refuse();
    case edPositiveNumeric:
        if (control() || (Key >= u'0' && Key <= u'9'))
            return true;
        return refuse();
    case edFloat:
    case edPositiveFloat: {
        if (control() || (Key >= u'0' && Key <= u'9'))
            return true;
        if (Key == dec) {
            if (text.contains(dec) && !sel.contains(dec)) {
                Key = 0;
                return false;
            }
            return true;
        }
        if (Key == thou) {
            Key = 0;
            return false;
        }
        if (Key == u'-') {
            if (FGrid->EditControl == edPositiveFloat) {
                Key = 0;
                return false;
            }
            if ((start == 0 && !text.contains(u'-')) || sel.contains(u'-'))
                return true;
            return refuse();
        }
        if (Key == u',' || Key == u'.') {
            Key = 0;
            return false;
        }
        // Clipboard shortcuts arrive as control characters while Ctrl is held.
        if (k < 32)
            return true;
        Key = 0;
        return false;
    }
    case edCapital:
    case edUpperCase:
        Key = QChar(Key).toUpper().unicode();
        return true;
    case edLowerCase:
        Key = QChar(Key).toLower().unicode();
        return true;
    case edValidChars: {
        const bool valid = FGrid->FValidChars.isEmpty() ? k <= 255 && FGrid->ValidCharSet.test(k)
                                                        : FGrid->FValidChars.contains(Key);
        if (k == 8 || k == 13 || valid)
            return true;
        return refuse();
    }
    default:
        return true;
    }
}

bool TExtInplaceEdit::PasteText(UnicodeString Value)
{
    if (FLengthLimit > 0 && Value.size() > FLengthLimit)
        return false;
    const int crlf = Value.indexOf(u"\r\n");
    if (crlf >= 0 && crlf == Value.size() - 2)
        Value.chop(2);
    const UnicodeString text = Text();
    const int start = SelStart(), len = SelLength();
    const UnicodeString newText = text.left(start) + Value + text.mid(start + len);
    if (FLengthLimit > 0 && newText.size() > FLengthLimit)
        return false;
    auto isWhole = [](const UnicodeString &s) {
        static const QRegularExpression re(QStringLiteral("^-?[0-9]+$"));
        return re.match(s).hasMatch() && NumberKindOf(s) == 0;
    };
    auto isNumber = [](const UnicodeString &s) {
        const int kind = NumberKindOf(s);
        return kind == 0 || kind == 1;
    };
    UnicodeString put = Value;
    bool take = true;
    switch (FGrid->EditControl) {
    case edNumeric: take = isWhole(newText); break;
    case edPositiveNumeric: take = isWhole(newText) && !newText.contains(u'-'); break;
    case edFloat: take = isNumber(newText); break;
    case edPositiveFloat: take = isNumber(newText) && !newText.contains(u'-'); break;
    case edLowerCase: put = Value.toLower(); break;
    case edUpperCase: put = Value.toUpper(); break;
    case edValidChars:
        for (QChar c : Value)
            if (!FGrid->FValidChars.contains(c))
                take = false;
        break;
    default: break;
    }
    if (take) {
        SetText(text.left(start) + put + text.mid(start + len));
        if (len > 0) {
            SetSelStart(start);
            SetSelLength(put.size());
        } else {
            SetSelStart(start + put.size());
            SetSelLength(0);
        }
    } else {
        SetSelStart(start + Value.size() > Text().size() ? Text().size() : start + Value.size());
        SetSelLength(0);
    }
    FGrid->SetCurrentCellText(Text());
    if (FGrid->OnClipboardAfterPasteCell)
        FGrid->OnClipboardAfterPasteCell(this, FGrid->Col(), FGrid->Row(), Text());
    return take;
}

void TExtInplaceEdit::WMChar(TWMKey &Message)
{
    WideChar key = WideChar(ushort(Message.CharCode));
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (key == u'.' && (Message.KeyData & ExtGrid::KeypadDecimalBit) && FGrid->ExcelStyleDecimalSeparator)
        key = ExtGrid::GetDecimalSeparator();
    // Ctrl+Enter types a line feed, as it does on the classic platform.
    if (key == 13 && ctrl)
        key = 10;
    // Ctrl+A selects on key-down; Ctrl+Enter breaks the line only where cells show lines.
    const bool lines = FGrid->WordWrap() || FGrid->FMultilineCells;
    if ((key == 1 && ctrl) || (key == 10 && ctrl && !(FGrid->FNavigation->AllowCtrlEnter && lines))) {
        Message.CharCode = 0;
        Message.Result = 1;
        return;
    }
    const bool textTypes = FGrid->EditControl == edNormal || FGrid->EditControl == edCapital ||
                           FGrid->EditControl == edMixedCase || FGrid->EditControl == edLowerCase ||
                           FGrid->EditControl == edUpperCase || FGrid->EditControl == edValidChars;
    if (textTypes && ((key == 10 && ctrl) || (key == 13 && FGrid->FNavigation->LineFeedOnEnter))) {
        BreakLine();
        Message.CharCode = 0;
        Message.Result = 1;
        return;
    }
    if (!FilterChar(key)) {
        Message.Result = 1;
        return;
    }
    Message.CharCode = Word(key);
    TInplaceEdit::WMChar(Message);
}

void TExtInplaceEdit::BreakLine()
{
    if (!ReadOnly())
        SetSelText(QStringLiteral("\r\n"));
}

bool TExtStringGrid::EditorPasteAllowed(TObject *Editor, UnicodeString &Value)
{
    bool allow = Clipboard()->HasFormat(CF_TEXT);
    Value = allow ? Clipboard()->AsText() : UnicodeString();
    if (OnClipboardPaste)
        OnClipboardPaste(Editor, allow);
    if (allow && OnClipboardBeforePasteCell)
        OnClipboardBeforePasteCell(Editor, Col(), Row(), Value, allow);
    return allow;
}

void TExtInplaceEdit::WMPaste(TMessage &)
{
    UnicodeString value;
    if (ReadOnly() || !FGrid->EditorPasteAllowed(this, value))
        return;
    PasteText(value);
}

namespace {

bool ClipboardAllowed(TObject *Editor, const std::function<void(TObject *, bool &)> &Ask)
{
    bool allow = true;
    if (Ask)
        Ask(Editor, allow);
    return allow;
}

} // namespace

void TExtInplaceEdit::WMCopy(TMessage &Message)
{
    if (ClipboardAllowed(this, FGrid->OnClipboardCopy))
        TInplaceEdit::WMCopy(Message);
}

void TExtInplaceEdit::WMCut(TMessage &Message)
{
    if (ClipboardAllowed(this, FGrid->OnClipboardCut))
        TInplaceEdit::WMCut(Message);
}

void TExtInplaceEdit::WMLButtonDblClk(TWMMouse &Message)
{
    TInplaceEdit::WMLButtonDblClk(Message);
    if (FGrid->OnDblClickCell)
        FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
}

bool TExtInplaceEdit::ValidateText()
{
    FGrid->FValidating = true;
    FGrid->SetCurrentCell(Text());
    FGrid->FValidating = false;
    if (FGrid->ValidateCell(Text())) {
        if (Text() != FGrid->FNewCellText)
            SetText(FGrid->FNewCellText);
        return true;
    }
    return false;
}

void TExtInplaceEdit::KeyDown(Word &Key, TShiftState Shift)
{
    // Completion only follows keys that add text.
    if (Key == VK_BACK || Key == VK_DELETE)
        FWorkmode = false;
    else if (Key != VK_UP && Key != VK_DOWN)
        FWorkmode = true;
    FSelKeyDown = SelStart();
    FOldSelStart = SelStart();
    FGrid->DoEditorKeyDown(Key, Shift);
    TNavigation *nav = FGrid->FNavigation;
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool shift = Shift.Contains(ssShift);
    bool leftOnLine = false;
    switch (Key) {
    case VK_ESCAPE: {
        // Escape gives back the text the cell had when the edit began.
        const UnicodeString cache = FGrid->FCellCache;
        SetText(cache);
        FGrid->HideInplaceEdit();
        FGrid->FEditing = false;
        Key = 0;
        return;
    }
    case VK_TAB:
        if (FGrid->NeedsEditorTab() && !Shift.Contains(ssAlt)) {
            if (ValidateText()) {
                FGrid->HideInplaceEdit();
                FGrid->KeyDown(Key, Shift);
            }
            Key = 0;
            return;
        }
        break;
    case VK_LEFT:
    case VK_RIGHT:
        // Selecting on past the edge of the text leaves the editor with the value kept.
        if (nav->CursorWalkEditor && Shift == TShiftState{ssShift} &&
            SelStart() == (Key == VK_LEFT ? 0 : int(Text().size()))) {
            Key = 0;
            if (ValidateText()) {
                FGrid->HideInplaceEdit();
                if (FGrid->CanFocus())
                    FGrid->SetFocus();
            }
            return;
        }
        break;
    case VK_UP:
    case VK_DOWN: {
        // A multi-line text moves its caret; the first or last line leaves the cell.
        const int line = LineFromChar(-1);
        const bool firstLine = line <= 0;
        const bool lastLine = line >= LineCount() - 1;
        if ((Key == VK_UP && !firstLine) || (Key == VK_DOWN && !lastLine)) {
            TCustomMaskEdit::KeyDown(Key, Shift);
            return;
        }
        if (!ValidateText()) {
            Key = 0;
            return;
        }
        leftOnLine = true;
        break;
    }
    case VK_RETURN: {
        const bool lines = FGrid->WordWrap() || FGrid->FMultilineCells;
        // Ctrl+Enter breaks a line only where cells show lines; it never leaves the cell.
        if (ctrl && !(nav->AllowCtrlEnter && lines)) {
            Key = 0;
            return;
        }
        if (!ctrl && !nav->LineFeedOnEnter && !ValidateText()) {
            FEnterRefused = true;
            Key = 0;
            return;
        }
        if (ctrl && nav->LineFeedOnEnter) {
            Key = 0;
            return;
        }
        if (!nav->AllowCtrlEnter && lines)
            FGrid->FEditing = false;
        // The line break that follows makes room for itself.
        if ((ctrl || shift) && FGrid->FSizeWhileTyping->Height && FGrid->FMultilineCells)
            SizeRowWhileTyping(CountTextLines(Text(), true) + 1);
        if (ctrl || nav->LineFeedOnEnter) {
            // The character that follows breaks the line: the window must not break it too.
            TInplaceEdit::KeyDown(Key, Shift);
            Key = 0;
            return;
        }
        break;
    }
    case VK_HOME:
    case VK_END:
        // Home and End reach over all lines of the text.
        if (!ctrl && !shift) {
            SetSelStart(Key == VK_HOME ? 0 : int(Text().size()));
            SetSelLength(0);
        }
        break;
    default:
        break;
    }
    TInplaceEdit::KeyDown(Key, Shift);
    if (leftOnLine && FGrid->FMouseActions->DisjunctRowSelect()) {
        FGrid->ClearRowSelect();
        FGrid->SetRowSelect(FGrid->Row(), true);
    }
}

void TExtInplaceEdit::SizeRowWhileTyping(int Lines)
{
    const int row = FGrid->Row();
    // The columns of a grid kept in step must not follow a row that grows as it is typed.
    TColumnSize *columns = FGrid->ColumnSize();
    const bool synch = columns->SynchWithGrid;
    columns->SynchWithGrid = false;
    if (Lines < FGrid->GetMaxRowLines(row))
        FGrid->AutoSizeRow(row);
    else
        FGrid->SizeRowToLines(row, Lines, FGrid->GetTotalYOffset());
    columns->SynchWithGrid = synch;
    if (FGrid->OnEndRowSize)
        FGrid->OnEndRowSize(FGrid, row);
}

void TExtInplaceEdit::KeyPress(WideChar &Key)
{
    if (Key == u'\r' && FEnterRefused) {
        FEnterRefused = false;
        Key = 0;
        return;
    }
    FEnterRefused = false;
    TInplaceEdit::KeyPress(Key);
}

void TExtInplaceEdit::KeyUp(Word &Key, TShiftState Shift)
{
    TNavigation *nav = FGrid->FNavigation;
    if (nav->CursorWalkEditor && Shift.Empty() && SelLength() == 0 &&
        ((Key == VK_LEFT && SelStart() == 0 && FSelKeyDown == 0) ||
         (Key == VK_RIGHT && FOldSelStart == Text().size()))) {
        const bool right = Key == VK_RIGHT;
        Key = 0;
        // Both directions validate first: a refused value stays in its cell.
        const bool walked = FGrid->EditorCursorWalk(
            right, true, [this] { return ValidateText(); },
            [this] {
                if (!ValidateText())
                    return false;
                FGrid->HideInplaceEdit();
                return true;
            });
        if (walked) {
            if (nav->CursorWalkAlwaysEdit)
                FGrid->ShowEditor();
            else
                FGrid->HideInplaceEdit();
        }
        return;
    }
    TInplaceEdit::KeyUp(Key, Shift);
    if (FGrid->FSizeWhileTyping->Width)
        FGrid->SizeColToContent(FGrid->Col(), true);
    if (FGrid->FSizeWhileTyping->Height && FGrid->WordWrap())
        SizeRowWhileTyping(0);
    ReportCaret();
}

bool TExtStringGrid::EditorCursorWalk(bool Right, bool Wrap, const std::function<bool()> &Valid,
                                      const std::function<bool()> &Leave)
{
    const int col = Col(), row = Row();
    const int target = Right ? col + 1 + CellSpan(RealColIndex(col), row).X : col - 1;
    const bool inside = Right ? col < ColCount() - FFixedRightCols - 1 : col > FixedCols();
    if (inside) {
        const TPoint b = BaseCell(RealColIndex(target), row);
        if (IsControlCell(b.X, b.Y)) {
            // A check box or button beside is stepped onto, never edited.
            if (Valid()) {
                HideInplaceEdit();
                SetCol(target);
            }
            return false;
        }
    } else if (!Wrap) {
        return false;
    }
    if (!Leave)
        FocusGridQuietly();
    else if (!Leave())
        return false;
    const TAdvanceDirection dir = FNavigation->AdvanceDirection();
    FNavigation->SetAdvanceDirection(adLeftRight);
    AdvanceCell(col, row, true, true, Right, false, true);
    FNavigation->SetAdvanceDirection(dir);
    return true;
}

void TExtInplaceEdit::ReportCaret()
{
    // Formula bars and caret followers hear where the caret stands after each key.
    const UnicodeString text = Text();
    const int caret = SelStart();
    if (caret != 0)
        FGrid->DoEditCaretMove(text, PosFromChar(caret - 1), caret);
    FGrid->DoEditFormulaState(text.startsWith(u'='));
}

void TExtInplaceEdit::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    TInplaceEdit::CMWantSpecialKey(Message);
    if (Message.CharCode == VK_TAB && FGrid->NeedsEditorTab())
        Message.Result = 1;
}

void TExtInplaceEdit::Change()
{
    if (FRecasing)
        return;
    // A mixed-case entry is a name: every change leaves it cased as one.
    if (!FGrid->FNoEditChange && FGrid->EditControl == edMixedCase) {
        const UnicodeString t = Text();
        const UnicodeString cased = ProperCaseName(t);
        if (cased != t) {
            const int at = SelStart();
            FRecasing = true;
            try {
                SetText(cased);
            } catch (...) {
                FRecasing = false;
                throw;
            }
            FRecasing = false;
            SetSelStart(at);
        }
    }
    TInplaceEdit::Change();
    if (!FGrid->FNoEditChange && FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
    if (!FGrid->FNoEditChange)
        DoChange();
    // A complete fixed-length entry moves on by itself.
    TNavigation *nav = FGrid->FNavigation;
    if (!FGrid->FNoEditChange && !FCompleting && nav->AdvanceAuto() && nav->AdvanceOnEnter && FGrid->MaxEditLength() > 0 &&
        Text().size() == FGrid->MaxEditLength() && SelLength() == 0 && SelStart() == Text().size()) {
        WideChar enter = u'\r';
        if (ValidateText())
            FGrid->KeyPress(enter);
    }
}

void TExtInplaceEdit::DoChange()
{
    TStringList *items = FGrid->LookupItems();
    if (!FWorkmode || FCompleting || SelLength() > 0 || !FGrid->Lookup || !items || items->Count() == 0)
        return;
    const UnicodeString text = Text();
    const int caret = SelStart();
    const Qt::CaseSensitivity cs = FGrid->LookupCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const UnicodeString typed = text.left(caret);
    if (typed.isEmpty())
        return;
    for (int i = 0; i < items->Count(); ++i) {
        const UnicodeString item = items->Strings(i);
        if (!item.startsWith(typed, cs))
            continue;
        const UnicodeString completed = (typed + item.mid(typed.size())).left(std::max<int>(255, typed.size()));
        if (completed == text)
            return;
        FCompleting = true;
        try {
            SetText(completed);
        } catch (...) {
            FCompleting = false;
            throw;
        }
        FCompleting = false;
        SetSelStart(typed.size());
        SetSelLength(completed.size() - typed.size());
        return;
    }
}

void TExtInplaceEdit::WMSetFocus(TWMSetFocus &Message)
{
    TInplaceEdit::WMSetFocus(Message);
    FGotFocus = true;
    FGrid->FNoEditChange = false;
    // A masked entry typed from the keyboard starts on its first position.
    if (IsMasked() && FGrid->FNavigation->ImproveMaskSel && !FGrid->LButFlg) {
        SetSelStart(0);
        SetSelLength(1);
        return;
    }
    if (!FGrid->FNavigation->EditSelectAll) {
        SetSelStart(Text().size());
        SetSelLength(0);
    }
    // An edit opened by a click puts the caret where the click was.
    if (FGrid->LButFlg) {
        TPoint p;
        if (GetCursorPos(p)) {
            p = ScreenToClient(p);
            const int at = CharFromPos(p);
            if (at >= 0) {
                SetSelStart(at);
                SetSelLength(0);
                FGrid->LButFlg = false;
            }
        }
    }
}

void TExtInplaceEdit::WMKillFocus(TWMKillFocus &Message)
{
    FGrid->FStartEditChar = WideChar(0);
    if (FGrid->LookupHistory && FGrid->LookupItems() && !Text().isEmpty() && FGrid->LookupItems()->IndexOf(Text()) < 0)
        FGrid->LookupItems()->Add(Text());
    TInplaceEdit::WMKillFocus(Message);
    // The user went elsewhere (the editor is still up and the focus is not the grid's): the
    // edit is validated and closed where it was made. The grid putting its editor away
    // decides itself what becomes of the text.
    const bool toGrid = FGrid->HandleAllocated() && Message.FocusedWnd == FGrid->Handle();
    if (!toGrid && Visible() && FGrid->EditMode) {
        FGrid->ValidateCell(Text());
        FGrid->FNoEditChange = true;
        SetText(FGrid->GetCurrentCellText());
        FGrid->FNoEditChange = false;
        FGrid->HideInplaceEdit();
        FGrid->FEditing = false;
        FGrid->EditMode = false;
        FGrid->SelectCell(FColE, FRowE);
    }
    FGrid->DoEditFormulaState(false);
    FGrid->DoEditCaretMove(Text(), TPoint{-1, -1}, -1);
    if (!FGotFocus)
        return;
    FGotFocus = false;
    FGrid->EditDone(FGrid->RealColIndex(FColE), FRowE);
}
