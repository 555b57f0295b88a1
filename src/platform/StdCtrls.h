#pragma once
// The standard controls: label, edit, memo, combo box, check box, radio button, push button,
// list box, scroll bar and group box.
//
// Each windowed control wraps the matching Qt widget (made in CreateWidget when the handle is
// first needed) and keeps its properties itself until then, so a form can be built and filled
// before it is ever shown. What the user does in the widget arrives as the classic events:
// keys go through WM_KEYDOWN / WM_CHAR first (a Key set to 0 in OnKeyDown or OnKeyPress never
// reaches the widget), then the widget's own change becomes OnChange, OnClick or OnSelect.
//
// Notifications follow the classic framework: setting TCheckBox::Checked or
// TRadioButton::Checked in code fires OnClick when the state changes; setting Text of an edit
// fires OnChange; setting ItemIndex of a list or combo box fires nothing.

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Messages.h"
#include "platform/System.h"

#include <functional>
#include <memory>
#include <vector>

class QWidget;
class QLineEdit;
class QPlainTextEdit;
class QComboBox;
class QCheckBox;
class QRadioButton;
class QPushButton;
class QListWidget;
class QScrollBar;
class QGroupBox;

enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

using TScrollEvent = std::function<void(TObject *Sender, TScrollCode ScrollCode, int &ScrollPos)>;

// ---------------------------------------------------------------------------------------------
// The item list of list boxes and combo boxes

enum class TItemsChange { icInsert, icDelete, icChange, icReset };

// Strings and objects of a list control. The list keeps them; the control is told of every
// change so that its window shows the same. With Sorted, Add and AddObject insert in the
// order of the string lists (ignoring case).
class TControlItems : public TStrings {
public:
    using TChangeProc = std::function<void(TItemsChange Change, int Index)>;
    explicit TControlItems(TChangeProc OnChanged) : FOnChanged(std::move(OnChanged)) {}

    int Count() const override { return static_cast<int>(FStrings.size()); }
    UnicodeString Strings(int Index) const override;
    void SetStrings(int Index, const UnicodeString &S) override;
    TObject *Objects(int Index) const override;
    void SetObjects(int Index, TObject *AObject) override;
    int Add(const UnicodeString &S) override;
    int AddObject(const UnicodeString &S, TObject *AObject) override;
    void Insert(int Index, const UnicodeString &S) override;
    void InsertObject(int Index, const UnicodeString &S, TObject *AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);

private:
    void CheckIndex(int Index) const;
    void Notify(TItemsChange Change, int Index);
    TChangeProc FOnChanged;
    std::vector<UnicodeString> FStrings;
    std::vector<TObject *> FObjects;
    bool FSorted = false;
};

// ---------------------------------------------------------------------------------------------
// TLabel

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent *AOwner);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // Transparent: the parent shows through; otherwise the label fills itself with Color.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    // "&" underlines the next character ("&&" is one "&").
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TWinControl *FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl *Value) { FFocusControl = Value; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Paint() override;
    // Sizes the label to its text when AutoSize is set, keeping the edge its alignment names.
    void AdjustBounds();
    void CMTextChanged(TCMTextChanged &Message) override;
    void CMFontChanged(TCMFontChanged &Message) override;
    void CMDialogChar(TCMDialogChar &Message) override;

private:
    int TextFlags() const;
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FAdjusting = false;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    TWinControl *FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent *AOwner) : TCustomLabel(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// TEdit and TMemo

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// ---- edit control messages answered by TCustomEdit ----
// EM_POSFROMCHAR: WParam a character index; the result packs the client position of that
// character's top-left corner (x in the low word, y in the high word), or -1 when the index is
// at or past the end of the text. It is measured with the control's font and margins, so it
// answers also before the window exists.
inline constexpr Cardinal EM_SETMARGINS = 0x00D3;
inline constexpr Cardinal EM_GETMARGINS = 0x00D4;
inline constexpr Cardinal EM_POSFROMCHAR = 0x00D6;
inline constexpr WPARAM EC_LEFTMARGIN = 0x0001;
inline constexpr WPARAM EC_RIGHTMARGIN = 0x0002;

// ---- lines, character positions and the balloon tip of an edit ----
// EM_LINEFROMCHAR: WParam a character index (-1: the caret's); answers its line.
// EM_GETLINECOUNT: the number of lines shown (at least 1).
// EM_CHARFROMPOS: LParam a client point (x low, y high word); answers the nearest character's
// index in the low word and its line in the high word, -1 for a point outside the client area.
// EM_SHOWBALLOONTIP: LParam an EDITBALLOONTIP; EM_HIDEBALLOONTIP hides the tip.
// Character indices count a line break as two characters (CR LF), as the control's Text does.
inline constexpr Cardinal EM_GETLINECOUNT = 0x00BA;
inline constexpr Cardinal EM_LINEFROMCHAR = 0x00C9;
inline constexpr Cardinal EM_CHARFROMPOS = 0x00D7;
inline constexpr Cardinal EM_SHOWBALLOONTIP = 0x1503;
inline constexpr Cardinal EM_HIDEBALLOONTIP = 0x1504;

// The icons of a balloon tip (TTI_...) are in Messages.h.

struct EDITBALLOONTIP {
    DWORD cbStruct = sizeof(EDITBALLOONTIP);
    const UnicodeString *pszTitle = nullptr;
    const UnicodeString *pszText = nullptr;
    int ttiIcon = TTI_NONE;
};

// What the last balloon tip showed, kept after it is gone so that a caller can tell what the
// user was told. Owner is the control it pointed at; Visible while it is still up.
struct TBalloonTipInfo {
    TWinControl *Owner = nullptr;
    UnicodeString Title;
    UnicodeString Text;
    int Icon = TTI_NONE;
    // Screen position of the tip's stem.
    TPoint At;
    bool Visible = false;
    // How many tips were shown since the program started.
    int Count = 0;
};
const TBalloonTipInfo &LastBalloonTip();
// Takes the tip down when it points at Owner (any tip with nullptr).
void HideBalloonTipOf(TWinControl *Owner);

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent *AOwner);
    ~TCustomEdit() override;

    // Typed text stops at MaxLength characters (0: no limit); text set in code is kept whole.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    // Any character but #0 hides the text.
    WideChar PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(WideChar Value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    // True after the user changed the text; setting Text in code clears it.
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }

    // Selection, counted in characters from 0.
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    UnicodeString SelText() const;
    // Replaces the selection (inserts at the caret when nothing is selected).
    void SetSelText(const UnicodeString &Value);
    void SelectAll();
    void ClearSelection();
    void Clear();

    // ---- text alignment and the formatting rectangle ----
    // taRightJustify is the right-aligned edit (ES_RIGHT).
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // The part of the window the text lies in, in client coordinates (EM_SETRECT, EM_SETRECTNP;
    // EM_GETRECT answers it). The window keeps its text clear of the rest, as margins of the
    // line; an empty rectangle gives the whole window back.
    TRect FormattingRect() const;
    void SetFormattingRect(const TRect &Value);

    TNotifyEvent OnChange;

    // ---- multi-line mode and lines ----
    // A multi-line edit breaks its text at its line breaks and, with LineWrap, at the window's
    // width; WantReturn keeps Enter for the edit rather than the dialog. A password character
    // keeps the edit on one line whatever MultiLine says. A change between one and several lines
    // makes the window anew, keeping text and selection.
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool Value);
    bool WantReturn() const { return FWantReturn; }
    void SetWantReturn(bool Value) { FWantReturn = Value; }
    bool LineWrap() const { return FLineWrap; }
    void SetLineWrap(bool Value);
    // The window shows (or will show) several lines.
    virtual bool IsMultiLine() const;
    // Line of a character index (-1: of the caret). Without a window, lines break only at line
    // breaks.
    int LineFromChar(int Index) const;
    int LineCount() const;
    // Client position of a character's top-left corner; (-1, -1) at or past the end.
    TPoint PosFromChar(int Index) const;
    // The character nearest to a client point and, when Line is given, its line; -1 outside
    // the client area.
    int CharFromPos(TPoint Pos, int *Line = nullptr) const;

    // ---- balloon tip ----
    // Shows a tip window of the program's own below the caret (Icon: TTI_...); a new tip
    // replaces the one shown. Typing, leaving the edit or closing it takes the tip down.
    bool ShowBalloonTip(const UnicodeString &Title, const UnicodeString &Text, int Icon);
    void HideBalloonTip() { HideBalloonTipOf(this); }

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void BoundsChanged(bool Moved, bool Resized) override;
    // Characters and editing keys sent in code (WM_CHAR, WM_KEYDOWN) edit the text as typed
    // ones do; those of real key presses are Qt's.
    void DefaultHandler(TMessage &Message) override;
    // Applies the alignment and the formatting rectangle to the window.
    void ApplyEditLayout();
    // EM_SETRECT, EM_SETRECTNP and EM_GETRECT; false for any other message.
    bool EditLayoutMessage(TMessage &Message);
    // Leaving the edit takes its balloon tip down.
    void WMKillFocus(TWMKillFocus &Message) override;
    UnicodeString GetText() const override;
    void TextChanged() override;
    virtual void Change();
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    void WMChar(TWMKey &Message) override;
    void CMColorChanged(TCMColorChanged &Message) override;
    void CMFontChanged(TCMFontChanged &Message) override;
    void CMEnter(TCMEnter &Message) override;
    // EM_POSFROMCHAR, EM_SETMARGINS and EM_GETMARGINS, the formatting rectangle's messages;
    // the rest as any windowed control.
    void Dispatch(TMessage &Message) override;

    // The text as the window holds it and as it is written to the window; the memo overrides
    // these for its multi-line widget.
    virtual UnicodeString WidgetText() const;
    virtual void SetWidgetText(const UnicodeString &Value);
    virtual void WidgetSelection(int &Start, int &Length) const;
    virtual void SetWidgetSelection(int Start, int Length);
    virtual void ApplyEditState();
    // Called by the window when the user changed the text.
    void UserEdited();
    // EN_CHANGE to the parent, then Change.
    void NotifyChange();
    void ApplyColors();
    // While set, Text answers the control's own copy rather than the window's.
    bool FSettingText = false;
    bool FQuietText = false;

private:
    int FMaxLength = 0;
    bool FReadOnly = false;
    WideChar FPasswordChar = 0;
    TEditCharCase FCharCase = ecNormal;
    TBorderStyle FBorderStyle = bsSingle;
    bool FAutoSelect = true;
    bool FModified = false;
    // The selection while there is no window.
    int FSelStart = 0;
    int FSelLength = 0;
    TAlignment FAlignment = taLeftJustify;
    TRect FFormatRect{0, 0, 0, 0};
    // ---- margins and character positions ----
    void EMPosFromChar(TMessage &Message);
    int FLeftMargin = 1;
    int FRightMargin = 1;
    // ---- multi-line mode ----
    QWidget *CreateMultiLineWidget(QWidget *ParentWidget);
    void ApplyMultiLineState();
    bool MultiLineMessage(TMessage &Message);
    // The text as it is shown (password characters in place of the text).
    UnicodeString ShownText() const;
    bool FMultiLine = false;
    bool FWantReturn = false;
    bool FLineWrap = true;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent *AOwner) : TCustomEdit(AOwner) {}
};

class TCustomMemo;

// The lines of a memo: a live view of its text.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo *Memo) : FMemo(Memo) {}
    int Count() const override;
    UnicodeString Strings(int Index) const override;
    void SetStrings(int Index, const UnicodeString &S) override;
    void Insert(int Index, const UnicodeString &S) override;
    void Delete(int Index) override;
    void Clear() override;
    UnicodeString Text() const override;
    void SetText(const UnicodeString &Value) override;

private:
    std::vector<UnicodeString> Split() const;
    void Join(const std::vector<UnicodeString> &Lines);
    TCustomMemo *FMemo;
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent *AOwner);
    ~TCustomMemo() override;

    TStrings *Lines() const { return FLines.get(); }
    void SetLines(TStrings *Value) { FLines->Assign(Value); }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    bool IsMultiLine() const override { return true; }

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    UnicodeString WidgetText() const override;
    void SetWidgetText(const UnicodeString &Value) override;
    void WidgetSelection(int &Start, int &Length) const override;
    void SetWidgetSelection(int Start, int Length) override;
    void ApplyEditState() override;

private:
    std::unique_ptr<TMemoStrings> FLines;
    bool FWordWrap = true;
    bool FWantReturns = true;
    bool FWantTabs = false;
    TScrollStyle FScrollBars = ssNone;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent *AOwner) : TCustomMemo(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// TComboBox

// CB_GETCURSEL answers the selected item (-1: none). CB_GETLBTEXT copies item WParam's text
// with a closing 0 into LParam (a char16_t buffer of at least CB_GETLBTEXTLEN + 1 characters)
// and answers its length, CB_ERR for an index out of range.
inline constexpr Cardinal CB_GETCURSEL = 0x0147;
inline constexpr Cardinal CB_GETLBTEXT = 0x0148;
inline constexpr Cardinal CB_GETLBTEXTLEN = 0x0149;
inline constexpr LRESULT CB_ERR = -1;

class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent *AOwner);
    ~TCustomComboBox() override;

    // csDropDown takes free text; csDropDownList and the owner-drawn styles offer only the list.
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    TStrings *Items() const { return FItems.get(); }
    void SetItems(TStrings *Value) { FItems->Assign(Value); }
    // -1: nothing selected.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool Value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value) { FItemHeight = Value; }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool DroppedDown() const;
    void SetDroppedDown(bool Value);
    void Clear();
    void SelectAll();

    // ---- the dropped-down list's width ----
    // The least width of the list when it drops down (CB_SETDROPPEDWIDTH); 0: the box's width.
    int DroppedWidth() const { return FDroppedWidth; }
    void SetDroppedWidth(int Value);
    // EM_CHARFROMPOS sent to the box answers for its edit field (a list style answers -1).
    // ---- completion in the edit field ----
    // On (the default), typing in the edit field completes to the first item it begins; an
    // editor that completes by its own rules switches it off.
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool Value);
    void Dispatch(TMessage &Message) override;

    // ---- balloon tip on the edit field ----
    // Only a box with an edit field (csDropDown, csSimple) shows one; the others answer false.
    bool ShowBalloonTip(const UnicodeString &Title, const UnicodeString &Text, int Icon);

    // OnSelect fires when the user picks an item; without an OnSelect, OnChange fires instead.
    // OnChange also fires when the user edits the text of a csDropDown box.
    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;
    UnicodeString GetText() const override;
    void TextChanged() override;
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    void CMColorChanged(TCMColorChanged &Message) override;
    void CMFontChanged(TCMFontChanged &Message) override;
    bool IsListStyle() const { return FStyle != csDropDown && FStyle != csSimple; }
    // The user picked item Index in the window.
    void UserSelected(int Index);
    void UserEdited(const UnicodeString &Text);

private:
    void ItemsChanged(TItemsChange Change, int Index);
    void ApplyIndexToWidget();
    void RebuildWidgetItems();
    QComboBox *Combo() const;
    // The parent hears of the change (WM_COMMAND) before the box's own handling runs.
    void NotifyParent(Word Code);
    std::unique_ptr<TControlItems> FItems;
    TComboBoxStyle FStyle = csDropDown;
    int FItemIndex = -1;
    int FDropDownCount = 8;
    int FItemHeight = 16;
    int FMaxLength = 0;
    int FSyncing = 0;
    int FDroppedWidth = 0;
    bool FAutoComplete = true;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent *AOwner) : TCustomComboBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// Buttons

class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent *AOwner);
    ~TButtonControl() override;

protected:
    void CMColorChanged(TCMColorChanged &Message) override;
    void CMFontChanged(TCMFontChanged &Message) override;
    void TextChanged() override;
    void CreateWnd() override;
    void ApplyColors();
    // Writes the caption to the window ("&" marks the mnemonic in both worlds).
    virtual void ApplyCaption();
};

class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent *AOwner);

    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    // Changing the state fires OnClick, whether the user or the code changed it.
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;
    // The user's click: the next state (grayed only with AllowGrayed).
    virtual void Toggle();
    void ApplyState();

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
    explicit TCheckBox(TComponent *AOwner) : TCustomCheckBox(AOwner) {}
};

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent *AOwner);

    bool Checked() const { return FChecked; }
    // Checking one turns off the other radio buttons of the same parent and fires OnClick.
    void SetChecked(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;
    void ApplyState();

private:
    bool FChecked = false;
    TAlignment FAlignment = taRightJustify;
};

class TCustomButton : public TButtonControl {
public:
    explicit TCustomButton(TComponent *AOwner);

    // Enter clicks the default button unless another button has the focus; Escape clicks the
    // cancel button.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    // Given to the form when the button is clicked (mrNone: the form stays open).
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

    void Click() override;

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    void CMDialogKey(TCMDialogKey &Message) override;
    void CMDialogChar(TCMDialogChar &Message) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

class TButton : public TCustomButton {
public:
    explicit TButton(TComponent *AOwner) : TCustomButton(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// TListBox

class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent *AOwner);
    ~TCustomListBox() override;

    TStrings *Items() const { return FItems.get(); }
    void SetItems(TStrings *Value) { FItems->Assign(Value); }
    // -1: nothing selected.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool Value);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle Value) { FStyle = Value; }
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value) { FItemHeight = Value; }
    int TopIndex() const;
    void SetTopIndex(int Value);
    int Count() const { return FItems->Count(); }
    // The item at a client point; -1 when there is none.
    int ItemAtPos(TPoint Pos, bool Existing) const;
    void Clear() { FItems->Clear(); }

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    void CMColorChanged(TCMColorChanged &Message) override;
    void CMFontChanged(TCMFontChanged &Message) override;
    // The user moved the selection: OnClick.
    void UserSelected(int Index);
    // Told of each change of the items before the window follows it, and after the window's
    // items were made again or changed.
    virtual void ItemsChanging(TItemsChange Change, int Index) {}
    virtual void WidgetItemsSynced() {}
    QListWidget *List() const;

private:
    void ItemsChanged(TItemsChange Change, int Index);
    void RebuildWidgetItems();
    void ApplyIndexToWidget();
    void ApplyColors();
    std::unique_ptr<TControlItems> FItems;
    int FItemIndex = -1;
    int FItemHeight = 13;
    int FTopIndex = 0;
    int FSyncing = 0;
    TListBoxStyle FStyle = lbStandard;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent *AOwner) : TCustomListBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// TCheckListBox

// A list box whose items carry a check mark. A click on the mark or Space on the selected item
// toggles it and calls ClickCheck (OnClickCheck); a mark set from code tells no one. The marks
// move with their items when items are inserted or deleted.
class TCheckListBox : public TCustomListBox {
public:
    explicit TCheckListBox(TComponent *AOwner) : TCustomListBox(AOwner) {}
    bool Checked(int Index) const;
    void SetChecked(int Index, bool Value);
    // What a click on the item's mark does.
    void ToggleCheck(int Index);
    TNotifyEvent OnClickCheck;

protected:
    virtual void ClickCheck();
    void ItemsChanging(TItemsChange Change, int Index) override;
    void WidgetItemsSynced() override;
    void WMLButtonDown(TWMMouse &Message) override;
    void WMKeyDown(TWMKey &Message) override;

private:
    void ShowMark(int Index);
    std::vector<char> FChecked;
};

// ---------------------------------------------------------------------------------------------
// TScrollBar

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent *AOwner);
    ~TScrollBar() override;

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const { return FMin; }
    void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
    int Position() const { return FPosition; }
    void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
    // The position is kept within Min..Max - PageSize + 1 (Min..Max with no page).
    void SetParams(int APosition, int AMin, int AMax);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int &ScrollPos);
    // WM_HSCROLL / WM_VSCROLL requests sent to the scroll bar itself.
    void Dispatch(TMessage &Message) override;
    void DoScrollRequest(int Code, int Pos);

private:
    // A child bar tells its parent what the user did: WM_VSCROLL / WM_HSCROLL with the code, the
    // position and the bar's window.
    void ReportToParent(TScrollCode Code, int Pos);
    void ApplyRange();
    QScrollBar *Bar() const;
    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
    int FPageSize = 0;
    int FSyncing = 0;
};

// ---------------------------------------------------------------------------------------------
// TGroupBox

class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent *AOwner);
    // The area inside the frame, below the caption.
    TRect ClientRect() const override;

protected:
    void Paint() override;
    void CMTextChanged(TCMTextChanged &Message) override;
};

class TGroupBox : public TCustomGroupBox {
public:
    explicit TGroupBox(TComponent *AOwner) : TCustomGroupBox(AOwner) {}
};

namespace platform_detail {
// The palette colours of a wrapped widget: Color as its base, the font colour as its text.
void ApplyControlColors(QWidget *Widget, TColor Back, TColor Text, bool Fill);
} // namespace platform_detail
