#pragma once
// A drop-down edit for a multi-line text: the lines live in MemoText and are edited in a memo in
// the popup. The edit shows the whole text when it is editable, else the first line with a
// continuation mark.

#include "dropdowns/ExtCustomDropDown.h"

class TPopupMenu;

class TExtMemoDropDown : public TExtCustomDropDown {
public:
    explicit TExtMemoDropDown(TComponent *AOwner);
    ~TExtMemoDropDown() override;

    TStringList *MemoText() const { return FMemoText.get(); }
    void SetMemoText(TStrings *Value);
    TPopupMenu *MemoPopup() const { return FMemoPopup; }
    // Shown by a right click in the popup's memo.
    void SetMemoPopup(TPopupMenu *Value);
    TScrollStyle MemoScrollBars() const { return FMemoScrollBars; }
    // Applied at the next opening.
    void SetMemoScrollBars(TScrollStyle Value) { FMemoScrollBars = Value; }
    bool MemoReadOnly() const { return FMemoReadOnly; }
    void SetMemoReadOnly(bool Value);
    bool AutoDrop = false;
    TNotifyEvent OnMemoChange;
    TMemo *Memo() const { return FMemo; }

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoHideDropDown(bool Cancel) override;
    void DropDownHidden() override;
    void ControlKeyDown(Word &Key, TShiftState Shift) override;
    void ControlKeyUp(Word &Key, TShiftState Shift) override;
    void ControlKeyPress(WideChar &Key) override;

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void DoEnter() override;
    void Change() override;

private:
    // Shows MemoText in the edit.
    void MemoTextChanged(TObject *Sender);
    void MemoChange(TObject *Sender);
    std::unique_ptr<TStringList> FMemoText;
    TMemo *FMemo = nullptr;
    TPopupMenu *FMemoPopup = nullptr;
    TScrollStyle FMemoScrollBars = ssNone;
    bool FMemoReadOnly = false;
    bool FInternalUpdate = false;
};

// The first line cut from the end, one character at a time and followed by "...", until it
// measures narrower than Available; the line itself when none does. Width measures a candidate.
UnicodeString ShortenWithEllipsis(const UnicodeString &Line, int Available,
                                  const std::function<int(const UnicodeString &)> &Width);
