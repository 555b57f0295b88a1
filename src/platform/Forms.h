#pragma once
// Forms, the application object, the screen and the modal hook.
//
// A form class builds its controls in its constructor (as the form resource would: create each
// control with the form as owner, set its properties, assign the event handlers, e.g.
// `OnCreate = [this](TObject *S) { FormCreate(S); };`). OnCreate runs after construction, from
// AfterConstruction(): Application->CreateForm and NewForm<T>() call it; a form made with plain
// `new` gets it at the latest before it is first shown.
//
// Every modal run (ShowModal here; message boxes and the open and save dialogs in Dialogs.h)
// goes through the one modal hook (SetModalHook / TModalHookGuard). The default hook runs the
// real thing; a test installs its own to see what is shown and to answer it.

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Sets.h"
#include "platform/System.h"

#include <functional>
#include <memory>
#include <new>
#include <vector>

class QEventLoop;
class QObject;
class QTimer;
struct HCURSOR__;
using HCURSOR = HCURSOR__ *;
struct TWMScroll;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon, 4>;
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem, 8>;

using TCloseEvent = std::function<void(TObject *Sender, TCloseAction &Action)>;
using TCloseQueryEvent = std::function<void(TObject *Sender, bool &CanClose)>;
using TExceptionEvent = std::function<void(TObject *Sender, const Exception &E)>;

// Kinds and buttons of message boxes (MessageDlg and the error box of the exception handling).
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose };
using TMsgDlgButtons = TSet<TMsgDlgBtn, 16>;
// The modal result of each button.
TModalResult ModalResultOfButton(TMsgDlgBtn Button);

// ---- the modal hook ----

enum TModalKind { mkForm, mkMessage, mkOpenDialog, mkSaveDialog, mkOther };

// What a modal run shows. The fields describe it for the hook; RunDefault does the real run and
// returns its modal result. Dialogs that return more than a result (a file name) read the
// answer fields back after the run: a hook that answers without the real run fills them.
struct TModalRequest {
    TModalKind Kind = mkOther;
    // mkForm: the form, its class name ("TFAbout"), its Name and its Caption.
    TCustomForm *Form = nullptr;
    UnicodeString ClassName;
    UnicodeString Name;
    UnicodeString Caption;
    // mkMessage: the kind, the text and the buttons (in the order shown).
    TMsgDlgType DlgType = mtInformation;
    UnicodeString Text;
    std::vector<TMsgDlgBtn> Buttons;
    // Open and save dialogs: title in Caption; filter, initial folder, default extension and the
    // proposed file name.
    UnicodeString Filter;
    UnicodeString InitialDir;
    UnicodeString DefaultExt;
    UnicodeString FileName;
    // Answers of dialogs: the chosen file name(s).
    UnicodeString AnswerFileName;
    std::vector<UnicodeString> AnswerFiles;

    std::function<TModalResult(TModalRequest &)> RunDefault;
};

class TModalHook {
public:
    virtual ~TModalHook() = default;
    // Called for every modal run, the hook returns its modal result. The default calls
    // Request.RunDefault(Request).
    virtual TModalResult Run(TModalRequest &Request);
};

// The hook in force (never nullptr; the default one when none is installed).
TModalHook *ModalHook();
// Installs a hook (nullptr: the default) and returns the previous one.
TModalHook *SetModalHook(TModalHook *Hook);
// Runs a modal request through the hook.
TModalResult RunModal(TModalRequest &Request);

// Installs a hook for its lifetime.
class TModalHookGuard {
public:
    explicit TModalHookGuard(TModalHook *Hook) : FPrevious(SetModalHook(Hook)) {}
    ~TModalHookGuard() { SetModalHook(FPrevious); }
    TModalHookGuard(const TModalHookGuard &) = delete;
    TModalHookGuard &operator=(const TModalHookGuard &) = delete;

private:
    TModalHook *FPrevious;
};

// ---- forms ----

// A scroll bar of a scrolling control: the position in pixels over the whole content.
class TScrollingWinControl;
class TControlScrollBar {
public:
    bool Tracking() const { return FTracking; }
    void SetTracking(bool Value) { FTracking = Value; }
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value > 0 ? Value : 1; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Scroll position in pixels and the extent of the whole content.
    int Position() const { return FPosition; }
    // Kept within the content; on a scrolling control the children move along.
    void SetPosition(int Value);
    int Range() const { return FRange; }
    // Space kept free beyond a child that is scrolled into view.
    int Margin() const { return FMargin; }
    void SetMargin(int Value) { FMargin = Value > 0 ? Value : 0; }
    // True while the content does not fit and the bar shows.
    bool IsScrollBarVisible() const { return FShown; }

private:
    friend class TCategoryPanelGroup;
    friend class TScrollingWinControl;
    bool FTracking = false;
    int FIncrement = 8;
    bool FVisible = true;
    int FPosition = 0;
    int FRange = 0;
    int FMargin = 0;
    bool FShown = false;
    TScrollingWinControl *FControl = nullptr;
    bool FHorizontal = false;
};

// A control whose children may reach past its client area: with AutoScroll, scroll bars show
// while they do, and moving a bar moves the children.
class TScrollingWinControl : public TCustomControl {
public:
    explicit TScrollingWinControl(TComponent *AOwner);
    ~TScrollingWinControl() override;

    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value);
    TControlScrollBar *VertScrollBar() { return &FVertScrollBar; }
    TControlScrollBar *HorzScrollBar() { return &FHorzScrollBar; }
    // The area beside the bars that show.
    TRect ClientRect() const override;
    // Measures the children again and shows or hides the bars.
    void UpdateScrollBars();

protected:
    void AlignControls(TControl *AControl, TRect &Rect) override;
    void BoundsChanged(bool Moved, bool Resized) override;
    void CreateWnd() override;
    void Dispatch(TMessage &Message) override;
    // Line, page and thumb codes move the bar's position.
    virtual void WMVScroll(TWMScroll &Message);
    virtual void WMHScroll(TWMScroll &Message);

private:
    friend class TControlScrollBar;
    void ScrollTo(TControlScrollBar &Bar, int Position);
    void Scroll(TControlScrollBar &Bar, TWMScroll &Message);
    void PlaceBars();
    bool FAutoScroll = true;
    bool FUpdating = false;
    TControlScrollBar FVertScrollBar;
    TControlScrollBar FHorzScrollBar;
};

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent *AOwner);
    ~TCustomForm() override;

    // Fires OnCreate once; called by CreateForm / NewForm after the constructor.
    virtual void AfterConstruction();
    // Fires OnDestroy once, while the whole form still exists: Release and the application's
    // end call it before freeing a form; the destructor calls it as a last resort (when a
    // subclass's members are already gone).
    void BeforeDestruction();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    // fsStayOnTop keeps the window above the other windows; the MDI styles act as fsNormal.
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    // The window's opacity: AlphaBlendValue (0 clear .. 255 opaque) while AlphaBlend is set.
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value);
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte Value);
    // Shows the form without taking the activation from the window that has it.
    void ShowNoActivate();
    // Every later showing leaves the activation where it is (ShowNoActivate sets it).
    bool NoActivate() const { return FNoActivate; }
    void SetNoActivate(bool Value);
    bool ShownWithoutActivation() const { return FNoActivate; }
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value) { FWindowState = Value; }
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    bool Scaled() const { return FScaled; }
    void SetScaled(bool Value) { FScaled = Value; }
    const TFormState &FormState() const { return FFormState; }

    // The control that has (or gets, when the form is activated) the focus.
    TWinControl *ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl *Control);
    // Called by a control that receives the focus; fires OnExit / OnEnter along the way.
    bool SetFocusedControl(TWinControl *Control);
    void FocusControl(TWinControl *Control);
    bool Active() const { return FActive; }
    // The window system's activation change: on a change the form is activated or deactivated
    // and gets WM_ACTIVATE (WA_ACTIVE or WA_INACTIVE; LParam Other, the window on the other side
    // of the change, or 0 when unknown).
    void WindowActivated(bool Value, HWND Other = nullptr);

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value);
    // Shows the form modally through the modal hook and returns its modal result.
    virtual TModalResult ShowModal();
    // The real modal run (what the default hook calls): shows the form, runs a nested loop until
    // ModalResult is set (closing the window gives mrCancel, OnCloseQuery may refuse), hides it.
    TModalResult ExecuteModal();

    void Show();
    void Hide();
    // Asks OnCloseQuery, then OnClose; hides the form (or ends the program for the main form).
    // In a modal run it sets ModalResult to mrCancel.
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the current message is handled.
    void Release();
    bool Showing() const override;
    void SetVisible(bool Value) override;
    // The client area is the window less its frame (border and caption by BorderStyle); the Qt
    // window is the client area.
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void SetFocus() override;
    bool CanFocus() const override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TKeyEvent OnShortCut;

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;
    void BoundsChanged(bool Moved, bool Resized) override;
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction &Action);
    virtual void Activate();
    virtual void Deactivate();
    void CMDialogKey(TCMDialogKey &Message) override;
    void WMSetFocus(TWMSetFocus &Message) override;
    void Dispatch(TMessage &Message) override;
    // WM_CLOSE from the window's close box.
    virtual void WMClose(TWMClose &Message);

private:
    friend class TApplication;
    friend class TWinControl;
    friend class TControlEventBridge;
    void PlaceOnShow();
    void ApplyBorder();
    // The window's size limits: fixed for a fixed frame, else the constraints.
    void ApplySizeHints();
    // The window that owns this form's window during a modal run; nullptr when none shows.
    QWidget *ModalOwnerWindow();
    QWidget *FModalOwner = nullptr;
    // WM_NCLBUTTONDOWN on the bottom-right corner: the window system resizes the window, or the
    // form follows the pointer itself to the release.
    void StartCornerResize();
    QObject *FCornerSizeTracker = nullptr;
    void ApplyAlpha();
    TFormBorderStyle FBorderStyle = bsSizeable;
    TFormStyle FFormStyle = fsNormal;
    bool FAlphaBlend = false;
    Byte FAlphaBlendValue = 255;
    bool FNoActivate = false;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    bool FKeyPreview = false;
    bool FScaled = true;
    bool FCreated = false;
    bool FActive = false;
    bool FPlaced = false;
    TFormState FFormState;
    TWinControl *FActiveControl = nullptr;
    TWinControl *FFocusedControl = nullptr;
    TModalResult FModalResult = mrNone;
    QEventLoop *FModalLoop = nullptr;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent *AOwner) : TCustomForm(AOwner) {}
};

// Makes a form and runs its creation (OnCreate).
template <class T, class... Args>
T *NewForm(Args &&...args)
{
    T *f = new T(std::forward<Args>(args)...);
    f->AfterConstruction();
    return f;
}

// True when Char (either case) is the letter after the first single "&" of Caption; "&&" is a
// plain ampersand. Buttons and labels answer Alt and that letter.
bool IsAccel(Word Char, const UnicodeString &Caption);

// ---- application ----

class QApplication;

// The program's connection to the window system; the program unit makes one before it
// initialises the application and keeps it until the message loop has ended.
class TApplicationHost {
public:
    TApplicationHost(int &argc, char **argv);
    ~TApplicationHost();
    TApplicationHost(const TApplicationHost &) = delete;
    TApplicationHost &operator=(const TApplicationHost &) = delete;

private:
    QApplication *FApp;
};

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent *AOwner);
    ~TApplication() override;

    void Initialize();
    // Makes a form owned by the application: Reference refers to it while its constructor and
    // OnCreate run; the first form made becomes the main form.
    template <class T>
    void CreateForm(T *&Reference)
    {
        void *mem = ::operator new(sizeof(T));
        Reference = static_cast<T *>(mem);
        try {
            new (mem) T(this);
        } catch (...) {
            ::operator delete(mem);
            Reference = nullptr;
            throw;
        }
        FormCreated(Reference);
        Reference->AfterConstruction();
    }
    // Shows the main form and runs the message loop until it closes or Terminate is called.
    void Run();
    // Handles every pending event and returns.
    void ProcessMessages();
    // Waits for one event and handles it.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    TCustomForm *MainForm() const { return FMainForm; }
    // The window that stands for the application (the main form's, once it has one; else 0).
    HWND Handle() const;
    bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
    void SetMainFormOnTaskBar(bool Value) { FMainFormOnTaskBar = Value; }
    const UnicodeString &Title() const { return FTitle; }
    void SetTitle(const UnicodeString &Value) { FTitle = Value; }
    // The full path of the program file.
    UnicodeString ExeName() const;
    // The number of modal runs under way.
    int ModalLevel() const { return FModalLevel; }

    // Default handling of an exception caught from an event (call it inside a catch block): EAbort
    // is ignored; otherwise OnException when assigned, else ShowException. Exceptions that are
    // no Exception reach them as one: std::bad_alloc as "Out of memory", another std::exception
    // with its text, anything else as "Unknown exception".
    void HandleException(TObject *Sender);
    // A modal error box with the message, through the modal hook.
    void ShowException(const Exception &E);
    TExceptionEvent OnException;

    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor Value) { FHintColor = Value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int Value) { FHintHidePause = Value; }

    TNotifyEvent OnIdle;

    // ---- hints ----
    // How long the pointer rests on a control before its hint is asked for (CM_HINTSHOW), and
    // how long a hint stays, in milliseconds.
    int HintPause() const { return FHintPause; }
    void SetHintPause(int Value) { FHintPause = Value; }
    // The pause before the next hint while one is showing.
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int Value) { FHintShortPause = Value; }
    // Hides the hint on show and forgets its control; the next rest over a control asks again.
    void CancelHint();
    // Asks the control under the pointer for its hint now, as if the pointer had rested there.
    void ActivateHint(TPoint CursorPos);
    // The window of the last hint shown (visible while the hint shows), or nullptr.
    THintWindow *HintWindow() const { return FHintWindow; }
    // Every pointer move over a control ends here, after the control had the move; CursorPos is
    // in screen coordinates.
    void HintMouseMessage(TControl *Control, TPoint CursorPos);
    // A control on its way out is forgotten.
    void HintControlDestroyed(TControl *Control);

private:
    friend class TCustomForm;
    void FormCreated(TCustomForm *Form);
    void StartHintTimer(int Pause, bool ForShow);
    void StopHintTimer();
    void HideHint();
    void HintTimerExpired();
    TControl *FHintControl = nullptr;
    TRect FHintCursorRect;     // screen coordinates
    TPoint FHintCursor;        // where the pointer last rested, screen coordinates
    bool FHintActive = false;
    bool FHintTimerForShow = false;
    THintWindow *FHintWindow = nullptr;
    THintWindowClass FHintWindowMaker = nullptr;
    QTimer *FHintTimer = nullptr;
    int FHintPause = 500;
    int FHintShortPause = 50;
    TCustomForm *FMainForm = nullptr;
    bool FTerminated = false;
    bool FMainFormOnTaskBar = false;
    bool FShowHint = true;
    int FModalLevel = 0;
    int FHintHidePause = 2500;
    TColor FHintColor = clInfoBk;
    UnicodeString FTitle;
};

// The program's application object; made on first use.
extern TApplication *Application;

// The window a hint shows in: a top-most frameless pop-up that never takes the activation and
// lets the pointer through. The hint machinery makes it from HintWindowClass, sizes it with
// CalcHintRect and shows it with ActivateHintData; a kind of hint of its own derives from it.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent *AOwner);
    // The rectangle (0, 0, w, h) the text needs, wrapped at MaxWidth, margins and frame included.
    virtual TRect CalcHintRect(int MaxWidth, const UnicodeString &AHint, TObject *AData);
    // Shows the hint in Rect (screen coordinates).
    virtual void ActivateHint(TRect Rect, const UnicodeString &AHint);
    // The same with the data the control handed over in THintInfo::HintData.
    virtual void ActivateHintData(TRect Rect, const UnicodeString &AHint, TObject *AData);
    // Hides the hint by giving up the window.
    virtual void ReleaseHandle();
    // The rectangle the hint was last shown in (screen coordinates).
    TRect BoundsRect() const { return TRect(Left(), Top(), Left() + Width(), Top() + Height()); }
    // True while the window is on screen.
    bool Showing() const override;

protected:
    void CreateParams(TCreateParams &Params) override;
    void Paint() override;
    // Puts the window at Rect on top without activating it.
    void ShowAt(const TRect &Rect);
};

// The kind of window every hint shows in unless the control asks for another.
extern THintWindowClass HintWindowClass;

// One monitor of the screen layout.
class TMonitor {
public:
    int MonitorNum() const { return FNum; }
    bool Primary() const { return FNum == 0; }
    TRect BoundsRect() const { return FBounds; }
    TRect WorkareaRect() const { return FWork; }
    int Left() const { return FBounds.Left; }
    int Top() const { return FBounds.Top; }
    int Width() const { return FBounds.Right - FBounds.Left; }
    int Height() const { return FBounds.Bottom - FBounds.Top; }

private:
    friend class TScreen;
    int FNum = 0;
    TRect FBounds;
    TRect FWork;
};

enum TMonitorDefaultTo { mdNearest, mdNull, mdPrimary };

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent *AOwner);
    // The cursor shown over every window of the program; crDefault lets each control's own show.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    int Width() const;
    int Height() const;
    int PixelsPerInch() const { return 96; }
    TCustomForm *ActiveForm() const;
    TWinControl *ActiveControl() const;
    int FormCount() const;
    TCustomForm *Forms(int Index) const;
    // The monitor holding Point; outside every monitor, by MonitorDefault. The object stays
    // valid until the next call.
    TMonitor *MonitorFromPoint(TPoint Point, TMonitorDefaultTo MonitorDefault = mdNearest);
    // The program's cursor table: a control whose Cursor is a positive index shows the cursor
    // stored there (nullptr: none, the arrow shows).
    HCURSOR Cursors(int Index) const;
    void SetCursors(int Index, HCURSOR Value);

private:
    TCursor FCursor = crDefault;
    std::vector<std::unique_ptr<TMonitor>> FMonitors;
};

extern TScreen *Screen;

// The forms in existence, in creation order (used by TScreen and the test harness).
const std::vector<TCustomForm *> &AllForms();
