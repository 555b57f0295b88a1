// Forms: creation through the application, modal runs and their results, the modal hook with
// nested runs, the default exception handling, default and cancel buttons, and a rendered demo.
#include "platform/Controls.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QFileInfo>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <stdexcept>

namespace {

// A push button as the form framework's buttons behave: a click sets the form's modal result,
// Enter reaches a default button and Escape a cancel button through the dialog keys.
class TTestButton : public TCustomControl {
public:
    explicit TTestButton(TComponent *AOwner) : TCustomControl(AOwner)
    {
        SetTabStop(true);
        SetBounds(0, 0, 75, 25);
    }
    TModalResult ModalResult = mrNone;
    bool Default = false;
    bool Cancel = false;

    void Click() override
    {
        TCustomControl::Click();
        if (ModalResult != mrNone)
            if (TCustomForm *f = GetParentForm())
                f->SetModalResult(ModalResult);
    }

protected:
    void CMDialogKey(TCMDialogKey &Message) override
    {
        if ((Message.CharCode == VK_RETURN && Default) || (Message.CharCode == VK_ESCAPE && Cancel)) {
            Click();
            Message.Result = 1;
            return;
        }
        TCustomControl::CMDialogKey(Message);
    }
    void Paint() override
    {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->Pen()->SetColor(clGray);
        Canvas()->Rectangle(0, 0, Width(), Height());
        Canvas()->TextOut(8, 5, Caption());
    }
};

// An edit-like control that wants Enter for itself.
class TWantsEnter : public TCustomControl {
public:
    explicit TWantsEnter(TComponent *AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
    int Enters = 0;

protected:
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override
    {
        if (Message.CharCode == VK_RETURN)
            Message.Result = 1;
        else
            TCustomControl::CMWantSpecialKey(Message);
    }
    void KeyDown(Word &Key, TShiftState Shift) override
    {
        if (Key == VK_RETURN)
            ++Enters;
        TCustomControl::KeyDown(Key, Shift);
    }
};

class TDialog : public TForm {
public:
    explicit TDialog(TComponent *AOwner) : TForm(AOwner)
    {
        SetName(QStringLiteral("Dialog"));
        SetCaption(QStringLiteral("A dialog"));
        SetBorderStyle(bsDialog);
        SetClientSize(240, 100);
        Edit = new TWantsEnter(this);
        Edit->SetParent(this);
        Edit->SetBounds(10, 10, 100, 20);
        Ok = new TTestButton(this);
        Ok->SetParent(this);
        Ok->SetCaption(QStringLiteral("OK"));
        Ok->SetBounds(70, 60, 75, 25);
        Ok->ModalResult = mrOk;
        Ok->Default = true;
        CancelBtn = new TTestButton(this);
        CancelBtn->SetParent(this);
        CancelBtn->SetCaption(QStringLiteral("Cancel"));
        CancelBtn->SetBounds(155, 60, 75, 25);
        CancelBtn->ModalResult = mrCancel;
        CancelBtn->Cancel = true;
        OnCreate = [this](TObject *) { ++Created; };
        OnShow = [this](TObject *) {
            ++Shows;
            EXPECT_TRUE(Visible());
            // As a dialog does on show: the focus to its edit when it can take it.
            if (Edit->CanFocus())
                Edit->SetFocus();
        };
    }
    TWantsEnter *Edit;
    TTestButton *Ok;
    TTestButton *CancelBtn;
    int Created = 0;
    int Shows = 0;
};

class FormsModalTest : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
};

TEST_F(FormsModalTest, ShowModalReturnsTheResultOfTheButtonClicked)
{
    auto dlg = std::unique_ptr<TDialog>(NewForm<TDialog>(nullptr));
    EXPECT_EQ(dlg->Created, 1);
    GuiTest::TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &r) {
        EXPECT_TRUE(dlg->Visible());
        EXPECT_TRUE(dlg->FormState().Contains(fsModal));
        GuiTest::Click(dlg->Ok);
    });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(dlg->Visible()) << "hidden after the run";
    EXPECT_EQ(dlg->ModalResult(), mrOk);
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].Kind, mkForm);
    EXPECT_EQ(hook.Shown[0].ClassName, QStringLiteral("TDialog"));
    EXPECT_EQ(hook.Shown[0].Name, QStringLiteral("Dialog"));
    EXPECT_EQ(hook.Shown[0].Caption, QStringLiteral("A dialog"));
    EXPECT_EQ(dlg->Shows, 1);

    // The same form runs again: each run starts without a result.
    hook.RunWith([&](TModalRequest &) { GuiTest::Click(dlg->CancelBtn); });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_EQ(dlg->Shows, 2);
}

TEST_F(FormsModalTest, AModalFormIsADialogOwnedByTheWindowItWasOpenedFrom)
{
    auto main = std::make_unique<TForm>(nullptr);
    main->SetBounds(10, 10, 400, 300);
    main->Show();
    GuiTest::ProcessEvents();
    auto first = std::unique_ptr<TDialog>(NewForm<TDialog>(nullptr));
    first->SetBorderStyle(bsSingle);
    auto second = std::unique_ptr<TDialog>(NewForm<TDialog>(nullptr));
    second->SetBorderStyle(bsSingle);
    auto ownerOf = [](TCustomForm *F) {
        QWindow *w = F->Widget()->windowHandle();
        return w ? w->transientParent() : nullptr;
    };
    GuiTest::TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) {
        EXPECT_EQ(first->Widget()->windowType(), Qt::Dialog);
        EXPECT_EQ(ownerOf(first.get()), main->Widget()->windowHandle());
        // A dialog opened from the dialog belongs to that dialog.
        ASSERT_TRUE(GuiTest::WaitUntil([&] { return first->Active(); }));
        hook.RunWith([&](TModalRequest &) {
            EXPECT_EQ(second->Widget()->windowType(), Qt::Dialog);
            EXPECT_EQ(ownerOf(second.get()), first->Widget()->windowHandle());
            GuiTest::Click(second->Ok);
        });
        EXPECT_EQ(second->ShowModal(), mrOk);
        GuiTest::Click(first->Ok);
    });
    EXPECT_EQ(first->ShowModal(), mrOk);
    // Between runs the forms are windows of their own again, so freeing the owner first is safe.
    for (TDialog *D : {first.get(), second.get()}) {
        EXPECT_EQ(D->Widget()->parentWidget(), nullptr);
        EXPECT_EQ(D->Widget()->windowType(), Qt::Window);
    }
    main.reset();
    EXPECT_FALSE(first->Visible());
}

TEST_F(FormsModalTest, EscapeReachesTheCancelButtonAndEnterTheDefaultUnlessTheControlWantsIt)
{
    auto dlg = std::unique_ptr<TDialog>(NewForm<TDialog>(nullptr));
    GuiTest::TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) {
        EXPECT_TRUE(dlg->Edit->Focused()) << "the first control in tab order has the focus";
        GuiTest::PressKey(dlg->Edit, VK_ESCAPE);
    });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);

    hook.RunWith([&](TModalRequest &) {
        GuiTest::PressKey(dlg->Edit, VK_RETURN); // the edit wants Enter: no default button
        EXPECT_EQ(dlg->Edit->Enters, 1);
        EXPECT_EQ(dlg->ModalResult(), mrNone);
        dlg->Ok->SetFocus();
        GuiTest::PressKey(dlg->Ok, VK_RETURN);
    });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
}

TEST_F(FormsModalTest, ClosingTheWindowGivesCancelAndCloseQueryMayRefuse)
{
    auto dlg = std::unique_ptr<TDialog>(NewForm<TDialog>(nullptr));
    int queries = 0;
    QStringList closes;
    dlg->OnCloseQuery = [&](TObject *, bool &CanClose) { CanClose = ++queries > 1; };
    dlg->OnClose = [&](TObject *, TCloseAction &Action) { closes << QString::number(Action); };
    GuiTest::TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) {
        GuiTest::CloseWindow(dlg.get()); // refused by OnCloseQuery: the run goes on
        QTimer::singleShot(30, [&] {
            EXPECT_TRUE(dlg->Visible());
            EXPECT_EQ(dlg->ModalResult(), mrNone);
            GuiTest::CloseWindow(dlg.get());
        });
    });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(closes, QStringList{QString::number(caHide)});
    EXPECT_FALSE(dlg->Visible());

    EXPECT_THROW({
        dlg->Show();
        dlg->ShowModal();
    }, EInvalidOperation);
    dlg->Hide();
}

TEST_F(FormsModalTest, NestedModalRunsAreScriptedInOrder)
{
    auto outer = std::unique_ptr<TDialog>(NewForm<TDialog>(nullptr));
    auto inner = std::unique_ptr<TDialog>(NewForm<TDialog>(nullptr));
    inner->SetName(QStringLiteral("Inner"));
    TModalResult innerResult = mrNone;
    // The outer dialog's OK asks the inner dialog (answered by the script) and then shows a
    // message box (the error box of the exception handling) before it closes.
    outer->Ok->OnClick = [&](TObject *) {
        innerResult = inner->ShowModal();
        Application->ShowException(Exception(QStringLiteral("Check the value")));
    };
    GuiTest::TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) { GuiTest::Click(outer->Ok); })
        .Answer(mrYes)          // the inner dialog, not shown
        .Answer(mrOk);          // the error box
    EXPECT_EQ(outer->ShowModal(), mrOk);
    EXPECT_EQ(innerResult, mrYes);
    EXPECT_EQ(inner->ModalResult(), mrYes);
    EXPECT_FALSE(inner->Visible());
    ASSERT_EQ(hook.Shown.size(), 3u);
    EXPECT_EQ(hook.Shown[0].Name, QStringLiteral("Dialog"));
    EXPECT_EQ(hook.Shown[1].Name, QStringLiteral("Inner"));
    EXPECT_EQ(hook.Shown[2].Kind, mkMessage);
    EXPECT_EQ(hook.Shown[2].DlgType, mtError);
    EXPECT_EQ(hook.Shown[2].Text, QStringLiteral("Check the value."));
    EXPECT_EQ(hook.Shown[2].Buttons, std::vector<TMsgDlgBtn>{mbOK});
    EXPECT_EQ(hook.Pending(), 0u);
}

TEST_F(FormsModalTest, AnExceptionInAClickHandlerIsReportedAndTheProgramGoesOn)
{
    TForm form(nullptr);
    auto *btn = new TTestButton(&form);
    btn->SetParent(&form);
    int clicks = 0;
    btn->OnClick = [&](TObject *) {
        if (++clicks == 1)
            throw EConvertError(QStringLiteral("'x' is not a valid integer value"));
        if (clicks == 2)
            Abort();
    };
    form.Show();
    GuiTest::TScriptedModalHook hook;
    hook.Answer(mrOk);
    GuiTest::Click(btn);
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].Text, QStringLiteral("'x' is not a valid integer value."));
    GuiTest::Click(btn); // EAbort: silent
    GuiTest::Click(btn); // and the program keeps going
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(hook.Shown.size(), 1u);

    // OnException takes over the default box.
    QString seen;
    Application->OnException = [&](TObject *, const Exception &E) { seen = E.Message(); };
    btn->OnClick = [](TObject *) { throw Exception(QStringLiteral("handled elsewhere")); };
    GuiTest::Click(btn);
    Application->OnException = nullptr;
    EXPECT_EQ(seen, QStringLiteral("handled elsewhere"));
    EXPECT_EQ(hook.Shown.size(), 1u);
}

TEST_F(FormsModalTest, StandardExceptionsFromAHandlerAreShownAsWell)
{
    TForm form(nullptr);
    auto *btn = new TTestButton(&form);
    btn->SetParent(&form);
    const struct {
        std::function<void()> Raise;
        const char *Shown;
    } cases[] = {
        // What a reader of an endless file raised before it was bounded.
        {[] { throw std::bad_alloc(); }, "Out of memory."},
        {[] { throw std::length_error("vector too long"); }, "vector too long."},
        {[] { throw 42; }, "Unknown exception."},
    };
    form.Show();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Shown);
        btn->OnClick = [&](TObject *) { c.Raise(); };
        GuiTest::TScriptedModalHook hook;
        hook.Answer(mrOk);
        GuiTest::Click(btn);
        ASSERT_EQ(hook.Shown.size(), 1u);
        EXPECT_EQ(hook.Shown[0].DlgType, mtError);
        EXPECT_EQ(hook.Shown[0].Text, QString::fromLatin1(c.Shown));
    }
}

TEST_F(FormsModalTest, ExceptionsFromTimersArePostedMessagesAreHandledToo)
{
    TForm form(nullptr);
    GuiTest::TScriptedModalHook hook;
    hook.Answer(mrOk).Answer(mrOk);
    auto *timer = new TTimer(&form);
    timer->SetInterval(10);
    int ticks = 0;
    timer->OnTimer = [&](TObject *) {
        ++ticks;
        timer->SetEnabled(false);
        throw Exception(QStringLiteral("tick failed"));
    };
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return hook.Shown.size() == 1; }));
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(hook.Shown[0].Text, QStringLiteral("tick failed."));

    struct TThrowing : TCustomControl {
        using TCustomControl::TCustomControl;
        void WndProc(TMessage &M) override
        {
            if (M.Msg == WM_USER)
                throw Exception(QStringLiteral("posted failed"));
            TCustomControl::WndProc(M);
        }
    };
    auto *c = new TThrowing(&form);
    c->SetParent(&form);
    PostMessage(c->Handle(), WM_USER, 0, 0);
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return hook.Shown.size() == 2; }));
    EXPECT_EQ(hook.Shown[1].Text, QStringLiteral("posted failed."));
}

TEST_F(FormsModalTest, ReleaseFreesTheFormAfterTheCurrentHandler)
{
    static bool freed = false;
    struct TTransient : TDialog {
        using TDialog::TDialog;
        ~TTransient() override { freed = true; }
    };
    freed = false;
    auto *f = NewForm<TTransient>(nullptr);
    bool destroyEvent = false;
    f->OnDestroy = [&](TObject *) { destroyEvent = true; };
    f->Ok->OnClick = [f](TObject *) {
        f->Close();
        f->Release();
        EXPECT_FALSE(freed) << "still alive inside its own handler";
    };
    f->Show();
    GuiTest::Click(f->Ok);
    EXPECT_FALSE(freed);
    ASSERT_TRUE(GuiTest::WaitUntil([] { return freed; }));
    EXPECT_TRUE(destroyEvent);
    GuiTest::ProcessEvents();
}

// The application's forms: made in order, the first is the main form, Run ends with it.
class TMainForm;
TMainForm *GMain = nullptr;
TDialog *GSecond = nullptr;
bool GRefSetDuringCreate = false;

class TMainForm : public TDialog {
public:
    explicit TMainForm(TComponent *AOwner) : TDialog(AOwner)
    {
        SetName(QStringLiteral("Main"));
        OnCreate = [this](TObject *) { GRefSetDuringCreate = GMain == this; };
    }
};

TEST_F(FormsModalTest, ApplicationCreatesFormsInOrderAndRunsUntilTheMainFormCloses)
{
    Application->CreateForm(GMain);
    Application->CreateForm(GSecond);
    EXPECT_TRUE(GRefSetDuringCreate) << "the reference names the form while its OnCreate runs";
    EXPECT_EQ(GSecond->Created, 1);
    EXPECT_EQ(Application->MainForm(), GMain);
    EXPECT_EQ(GMain->Owner(), Application);
    EXPECT_TRUE(QFileInfo(Application->ExeName()).isFile());

    QTimer::singleShot(0, [] {
        EXPECT_TRUE(GMain->Visible());
        GSecond->Show();
        GuiTest::CloseWindow(GMain);
    });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(GMain->Visible());
    delete GSecond;
    delete GMain;
    GSecond = nullptr;
    GMain = nullptr;
    EXPECT_EQ(Application->MainForm(), nullptr);
    Application->Initialize();
}

// A label-like graphic control: text on the parent's background.
class TTextLabel : public TGraphicControl {
public:
    explicit TTextLabel(TComponent *AOwner) : TGraphicControl(AOwner) {}

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
        Canvas()->TextOut(0, 0, Caption());
    }
};

// A title band: a windowed control with its own Paint and graphic children.
class TTitleBand : public TCustomControl {
public:
    explicit TTitleBand(TComponent *AOwner) : TCustomControl(AOwner) {}

protected:
    void Paint() override
    {
        Canvas()->Pen()->SetColor(clSilver);
        Canvas()->MoveTo(0, Height() - 1);
        Canvas()->LineTo(Width(), Height() - 1);
    }
};

TEST_F(FormsModalTest, DemoFormRendersToAPicture)
{
    auto dlg = std::unique_ptr<TDialog>(NewForm<TDialog>(nullptr));
    dlg->SetClientSize(331, 162);
    dlg->SetColor(15595512);
    dlg->Font()->SetName(QStringLiteral("Verdana"));
    auto *title = new TTitleBand(dlg.get());
    title->SetParent(dlg.get());
    title->SetHeight(69);
    title->SetAlign(alTop);
    auto *code = new TTextLabel(dlg.get());
    code->SetParent(title);
    code->SetBounds(16, 8, 200, 40);
    code->Font()->SetHeight(-32);
    code->Font()->SetColor(clGray);
    code->SetCaption(QStringLiteral("CF40385"));
    auto *desc = new TTextLabel(dlg.get());
    desc->SetParent(title);
    desc->SetBounds(16, 46, 300, 16);
    desc->Font()->SetStyle({TFontStyle::fsBold});
    desc->Font()->SetColor(clGray);
    desc->SetCaption(QStringLiteral("New configuration"));
    dlg->Edit->SetBounds(16, 94, 297, 21);
    dlg->Edit->SetColor(clWhite);
    dlg->Ok->SetBounds(120, 128, 90, 25);
    dlg->CancelBtn->SetBounds(222, 128, 90, 25);
    dlg->Show();
    const QString file = GuiTest::ArtefactDir() + QStringLiteral("/demo_form.png");
    ASSERT_TRUE(GuiTest::SaveWindowPng(dlg.get(), file));
    EXPECT_TRUE(QFileInfo(file).size() > 0);
    // The form's colour fills its client area; the controls paint over it.
    EXPECT_EQ(GuiTest::PixelAt(dlg.get(), 5, 150), RGB(248, 247, 237));
    EXPECT_EQ(GuiTest::PixelAt(dlg.get(), 120, 128), RGB(128, 128, 128)) << "the OK button's frame";
    EXPECT_EQ(GuiTest::PixelAt(dlg.get(), 100, 100), RGB(255, 255, 255)) << "the edit's own colour";
    EXPECT_EQ(GuiTest::PixelAt(dlg.get(), 5, 68), RGB(192, 192, 192)) << "the title band's rule";
    dlg->Hide();
}

// A failure inside the statement of EXPECT_NONFATAL_FAILURE may use no local: the button is here.
TTestButton *GThrowing = nullptr;
void ClickThrowing()
{
    GuiTest::Click(GThrowing);
}

TEST_F(FormsModalTest, AnExceptionThatNoScriptAnswersFailsTheTestInsteadOfBlockingIt)
{
    TForm form(nullptr);
    GThrowing = new TTestButton(&form);
    GThrowing->SetParent(&form);
    GThrowing->OnClick = [](TObject *) { throw Exception(QStringLiteral("the value is lost")); };
    form.Show();
    // No script at all: the failure names the exception.
    EXPECT_NONFATAL_FAILURE(ClickThrowing(), "An exception reached the application's handler: the value is lost.");
    // A script whose next step was meant for a dialog: the real box is taken away after the step's time.
    {
        GuiTest::TScriptedModalHook hook;
        hook.RunWith([](TModalRequest &) {}, 50);
        EXPECT_NONFATAL_FAILURE(ClickThrowing(), "still open after its scripted action");
        ASSERT_EQ(hook.Shown.size(), 1u);
        EXPECT_EQ(hook.Shown[0].Text, QStringLiteral("the value is lost."));
    }
    // The next click after the guard answered finds the program going on.
    int clicks = 0;
    GThrowing->OnClick = [&](TObject *) { ++clicks; };
    ClickThrowing();
    EXPECT_EQ(clicks, 1);
}

} // namespace
