#pragma once
// Actions: a command with a caption, a checked and enabled state, a group and a hint that
// controls link to. A control with an Action shows the action's caption and states and runs it
// when clicked; a change of the action reaches every linked control through its action link,
// property by property, as long as the control still shows what the action says.
//
//     auto *act = new TCustomAction(form);
//     act->SetCaption("&Find");
//     act->OnExecute = [this](TObject *) { Find(); };
//     button->SetAction(act);

#include "platform/Classes.h"
#include "platform/Controls.h"

#include <vector>

class TBasicActionLink;
class TCustomImageList;

// A list of actions sharing one image list, from which each action may name its picture.
class TCustomActionList : public TComponent {
public:
    explicit TCustomActionList(TComponent *AOwner);
    TCustomImageList *Images() const { return FImages; }
    void SetImages(TCustomImageList *Value);

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    TCustomImageList *FImages = nullptr;
};

class TActionList : public TCustomActionList {
public:
    using TCustomActionList::TCustomActionList;
};

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent *AOwner);
    ~TBasicAction() override;

    // Runs OnExecute; true when there is one.
    virtual bool Execute();
    TNotifyEvent OnExecute;

    // The links of the controls that show this action.
    const std::vector<TBasicActionLink *> &Clients() const { return FClients; }
    void RegisterChanges(TBasicActionLink *Link);
    void UnRegisterChanges(TBasicActionLink *Link);

private:
    std::vector<TBasicActionLink *> FClients;
};

class TCustomAction : public TBasicAction {
public:
    explicit TCustomAction(TComponent *AOwner);

    const UnicodeString &Caption() const { return FCaption; }
    void SetCaption(const UnicodeString &Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    const UnicodeString &Hint() const { return FHint; }
    void SetHint(const UnicodeString &Value);
    // The list the action belongs to, and its picture there (-1: none).
    TCustomActionList *ActionList() const { return FActionList; }
    void SetActionList(TCustomActionList *Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    TCustomActionList *FActionList = nullptr;
    int FImageIndex = -1;
    UnicodeString FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    int FGroupIndex = 0;
    UnicodeString FHint;
};

// The tie between an action and one client. The queries answer whether a property of the
// client still follows the action; the setters change the client only then.
class TBasicActionLink : public TObject {
public:
    TBasicActionLink() = default;
    ~TBasicActionLink() override;
    TBasicActionLink(const TBasicActionLink &) = delete;
    TBasicActionLink &operator=(const TBasicActionLink &) = delete;

    TBasicAction *Action() const { return FAction; }
    void SetAction(TBasicAction *Value);
    // Runs the action; false without one.
    virtual bool Execute(TComponent *Target = nullptr);

    virtual void AssignClient(TObject *AClient) {}
    virtual bool IsCaptionLinked() { return dynamic_cast<TCustomAction *>(FAction) != nullptr; }
    virtual bool IsCheckedLinked() { return dynamic_cast<TCustomAction *>(FAction) != nullptr; }
    virtual bool IsEnabledLinked() { return dynamic_cast<TCustomAction *>(FAction) != nullptr; }
    virtual bool IsGroupIndexLinked() { return dynamic_cast<TCustomAction *>(FAction) != nullptr; }
    virtual bool IsHintLinked() { return dynamic_cast<TCustomAction *>(FAction) != nullptr; }
    virtual void SetCaption(const UnicodeString &) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetGroupIndex(int) {}
    virtual void SetHint(const UnicodeString &) {}

protected:
    TCustomAction *CustomAction() const { return dynamic_cast<TCustomAction *>(FAction); }

private:
    friend class TBasicAction;
    TBasicAction *FAction = nullptr;
};

// The link of a control: caption, enabled state and hint follow the action while the control
// shows the action's values.
class TControlActionLink : public TBasicActionLink {
public:
    void AssignClient(TObject *AClient) override;
    TControl *Client() const { return FClient; }

    bool IsCaptionLinked() override;
    bool IsEnabledLinked() override;
    bool IsHintLinked() override;
    void SetCaption(const UnicodeString &Value) override;
    void SetEnabled(bool Value) override;
    void SetHint(const UnicodeString &Value) override;

protected:
    TControl *FClient = nullptr;
};
