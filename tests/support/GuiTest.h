#pragma once
// Driving forms headless: pumping the event loop with a time bound, real Qt input events sent to
// a control's window (so the translation into messages is exercised), pictures of windows and a
// scripted modal hook.
//
//     GuiTest::TScriptedModalHook hook;            // installed until it goes out of scope
//     hook.Answer(mrOk);                           // the next modal run returns mrOk unseen
//     hook.RunWith([&](TModalRequest &r) {         // the next one really runs; this is called
//         GuiTest::Click(btnOk);                   // from inside its modal loop once shown
//     });
//     form->ShowModal();
//     EXPECT_EQ(hook.Shown[0].ClassName, "TFAbout");

#include "platform/Controls.h"
#include "platform/Forms.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace GuiTest {

// Handles pending events (for at least Ms milliseconds when Ms > 0).
void ProcessEvents(int Ms = 0);
// Pumps the event loop until Cond holds or TimeoutMs has passed; returns Cond().
bool WaitUntil(const std::function<bool()> &Cond, int TimeoutMs = 3000);

// ---- real input events ----
// Keys go to the window of Target (not necessarily the focused one). Text is the character the
// key types; empty means the usual one of the key (letters by Shift, digits, space, Enter, Tab,
// Escape, Backspace).
void KeyDown(TWinControl *Target, Word Vk, TShiftState Shift = {}, const UnicodeString &Text = {});
void KeyUp(TWinControl *Target, Word Vk, TShiftState Shift = {});
void PressKey(TWinControl *Target, Word Vk, TShiftState Shift = {}, const UnicodeString &Text = {});
// Each character as a key press and release (letters, digits, space and common punctuation).
void TypeText(TWinControl *Target, const UnicodeString &Text);
// The window that has the focus in Qt's view, or nullptr.
TWinControl *FocusedControl();

// Mouse events at a point in Target's client coordinates (default: its centre). A graphic
// control gets them through its parent's window, as the real pointer would.
void MouseMove(TControl *Target, TPoint At, TShiftState Shift = {});
void MouseDown(TControl *Target, TPoint At, TMouseButton Button = mbLeft, TShiftState Shift = {});
void MouseUp(TControl *Target, TPoint At, TMouseButton Button = mbLeft, TShiftState Shift = {});
void Click(TControl *Target);
void Click(TControl *Target, TPoint At, TMouseButton Button = mbLeft, TShiftState Shift = {});
void DoubleClick(TControl *Target, TPoint At);
void Wheel(TControl *Target, int Delta, TPoint At, TShiftState Shift = {});
// The pointer leaves the window of Target (Qt's leave event).
void LeaveWindow(TWinControl *Target);
// Asks the window system to close the form's window (its close box).
void CloseWindow(TCustomForm *Form);

// ---- hints ----
// The hint on show, as the application's hint machinery put it up.
struct TShownHint {
    bool Visible = false;
    UnicodeString Text;
    TRect Rect;                 // screen coordinates
    TColor Color = clNone;
    UnicodeString ClassName;    // of the hint window
    THintWindow *Window = nullptr;
};
TShownHint ShownHint();
// Moves the pointer to At over Target (client coordinates) and lets it rest there for the
// application's hint pause, then reads the hint on show.
TShownHint RestPointer(TControl *Target, TPoint At);
// Hides any hint and lets the next rest ask again.
void ResetHints();

// ---- pictures ----
// Renders the window of Control (and its children) into a PNG file; true on success.
bool SaveWindowPng(TWinControl *Control, const UnicodeString &FileName);
// The colour of one pixel of the rendered window, as 0x00BBGGRR.
TColorRef PixelAt(TWinControl *Control, int X, int Y);
// The folder of the test program (the build folder's bin), for pictures kept for a person.
UnicodeString ArtefactDir();

// ---- the modal hook ----

// Installed once by the test entry beneath every scripted hook: a message box that comes with no
// script to answer it (as an exception reaching the application's handler shows) fails the test
// with its text and is answered mrCancel unseen, so that the test goes on instead of blocking.
void InstallHeadlessModalGuard();

struct TShownModal {
    TModalKind Kind = mkOther;
    UnicodeString ClassName;
    UnicodeString Name;
    UnicodeString Caption;
    UnicodeString Text;
    TMsgDlgType DlgType = mtInformation;
    std::vector<TMsgDlgBtn> Buttons;
    TCustomForm *Form = nullptr;
};

// Takes over every modal run while it exists. Each run is recorded in Shown and handled by the
// next step of the script; a run with no step left fails the test and answers mrCancel.
class TScriptedModalHook : public TModalHook {
public:
    TScriptedModalHook();
    ~TScriptedModalHook() override;

    // The next run returns Result without showing anything (a form's ModalResult becomes it;
    // a dialog's answer file name is FileName).
    TScriptedModalHook &Answer(TModalResult Result, const UnicodeString &FileName = {});
    // The next run really runs; Action is called from inside its modal loop once the form shows,
    // and should end it (a click, a key, ModalResult). A run still open TimeoutMs after that is
    // ended with mrCancel (a message box or dialog of the window system is rejected) and fails
    // the test.
    TScriptedModalHook &RunWith(std::function<void(TModalRequest &)> Action, int TimeoutMs = 5000);
    // The next run is handed to Fn entirely.
    TScriptedModalHook &Handle(std::function<TModalResult(TModalRequest &)> Fn);

    std::size_t Pending() const { return FScript.size(); }
    std::vector<TShownModal> Shown;

    TModalResult Run(TModalRequest &Request) override;

private:
    std::deque<std::function<TModalResult(TModalRequest &)>> FScript;
    TModalHook *FPrevious = nullptr;
};

// The texts of the message boxes the hook has seen so far.
QStringList MessageTexts(const TScriptedModalHook &Hook);

// Shows Form modally with Body run inside its modal loop (Body must close it); Boxes_On_Show
// message boxes that come while it shows are answered with OK first. Messages receives the
// texts of every message box shown meanwhile.
TModalResult ShowScripted(TForm *Form, const std::function<void(TScriptedModalHook &)> &Body, int Boxes_On_Show,
                          QStringList &Messages);

} // namespace GuiTest
