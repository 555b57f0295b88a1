#pragma once
// Menu items and the pop-up menu.
//
// TPopupMenu::Popup runs through the modal hook (kind mkOther, class name "TPopupMenu"). The
// request's Text lists the entries that can be chosen, one per line: every visible, enabled
// item without sub-items and not a separator ("-"), its caption without "&", an entry of a
// sub-menu written "Parent > Entry". The answer is the modal result mrOk with the chosen line in
// AnswerFileName (GuiTest: `hook.Answer(mrOk, "Copy Row")`); anything else chooses nothing. The
// chosen item is clicked after the menu has closed.

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/System.h"

#include <vector>

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent *AOwner);
    // Frees the sub-items too.
    ~TMenuItem() override;

    const UnicodeString &Caption() const { return FCaption; }
    void SetCaption(const UnicodeString &Value) { FCaption = Value; }
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the radio items of its group among its siblings.
    void SetChecked(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value) { FRadioItem = Value; }
    Byte GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Byte Value) { FGroupIndex = Value; }
    // A click toggles Checked first.
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    const UnicodeString &Hint() const { return FHint; }
    void SetHint(const UnicodeString &Value) { FHint = Value; }
    bool IsLine() const { return FCaption == QStringLiteral("-"); }

    // Sub-items.
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem *Items(int Index) const;
    void Add(TMenuItem *Item);
    void Insert(int Index, TMenuItem *Item);
    // Takes the item out without freeing it.
    void Remove(TMenuItem *Item);
    // Frees the sub-item at Index.
    void Delete(int Index);
    void Clear();
    int IndexOf(const TMenuItem *Item) const;
    TMenuItem *Parent() const { return FParent; }
    int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
    TMenuItem *Find(const UnicodeString &ACaption) const;

    // Runs the item as a user's choice: AutoCheck, then OnClick.
    virtual void Click();
    TNotifyEvent OnClick;

private:
    UnicodeString FCaption;
    UnicodeString FHint;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FRadioItem = false;
    bool FAutoCheck = false;
    Byte FGroupIndex = 0;
    TMenuItem *FParent = nullptr;
    std::vector<TMenuItem *> FItems;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent *AOwner);
    ~TPopupMenu() override;

    // The root item whose sub-items are the menu's entries.
    TMenuItem *Items() const { return FItems; }
    // Shows the menu at the screen point and clicks the entry chosen.
    virtual void Popup(int X, int Y);
    // The control the menu was last shown for.
    TComponent *PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent *Value) { FPopupComponent = Value; }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }

    TNotifyEvent OnPopup;

    // The lines of the entries that can be chosen, with their items (see above).
    static void ChoosableEntries(TMenuItem *Root, std::vector<std::pair<UnicodeString, TMenuItem *>> &Entries);

private:
    TMenuItem *FItems;
    TComponent *FPopupComponent = nullptr;
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
};

// The caption without its accelerator marks ("&Copy" -> "Copy", "&&" -> "&").
UnicodeString StripHotkey(const UnicodeString &Caption);
