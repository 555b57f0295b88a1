// The page control with its tab sheets, and the pop-up menu.
#include "platform/ComCtrls.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/StdCtrls.h"
#include "support/GuiTest.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTabBar>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class PageControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(10, 10, 400, 300);
        PC = new TPageControl(Form.get());
        PC->SetParent(Form.get());
        PC->SetAlign(alClient);
        for (const char *c : {"Language", "Connection", "Settings"}) {
            auto *s = new TTabSheet(Form.get());
            s->SetPageControl(PC);
            s->SetCaption(QString::fromLatin1(c));
            Sheets.push_back(s);
        }
    }
    // A click on the tab with the given position among the shown tabs.
    void ClickTab(int TabIndex)
    {
        QTabBar *bar = PC->Widget()->findChild<QTabBar *>();
        ASSERT_NE(bar, nullptr);
        const QPoint p = bar->tabRect(TabIndex).center();
        QMouseEvent press(QEvent::MouseButtonPress, p, bar->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, p, bar->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &press);
        QCoreApplication::sendEvent(bar, &release);
        GuiTest::ProcessEvents();
    }
    int ShownTabs() const { return PC->Widget()->findChild<QTabBar *>()->count(); }
    std::unique_ptr<TForm> Form;
    TPageControl *PC = nullptr;
    std::vector<TTabSheet *> Sheets;
};

TEST_F(PageControlTest, FirstPageIsActiveAndOnlyTheActivePageShows)
{
    EXPECT_EQ(PC->PageCount(), 3);
    EXPECT_EQ(PC->ActivePage(), Sheets[0]);
    Form->Show();
    GuiTest::ProcessEvents();
    EXPECT_TRUE(Sheets[0]->Visible());
    EXPECT_FALSE(Sheets[1]->Visible());
    PC->SetActivePage(Sheets[2]);
    EXPECT_EQ(PC->ActivePageIndex(), 2);
    EXPECT_FALSE(Sheets[0]->Visible());
    EXPECT_TRUE(Sheets[2]->Visible());
    // The page fills the display area below the tabs.
    const TRect r = PC->DisplayRect();
    EXPECT_EQ(Sheets[2]->BoundsRect(), r);
    EXPECT_GT(r.Top, 10);
}

TEST_F(PageControlTest, TabClickAsksOnChangingThenFiresOnChange)
{
    std::vector<UnicodeString> log;
    bool allow = true;
    PC->OnChanging = [&](TObject *, bool &Allow) {
        log.push_back(QStringLiteral("changing from ") + PC->ActivePage()->Caption());
        Allow = allow;
    };
    PC->OnChange = [&](TObject *) { log.push_back(QStringLiteral("now ") + PC->ActivePage()->Caption()); };
    Form->Show();
    GuiTest::ProcessEvents();
    ClickTab(1);
    EXPECT_EQ(PC->ActivePage(), Sheets[1]);
    allow = false;
    ClickTab(2);
    EXPECT_EQ(PC->ActivePage(), Sheets[1]);
    EXPECT_EQ(PC->Widget()->findChild<QTabBar *>()->currentIndex(), 1);
    EXPECT_EQ(log, (std::vector<UnicodeString>{QStringLiteral("changing from Language"), QStringLiteral("now Connection"),
                                               QStringLiteral("changing from Connection")}));
    PC->SetActivePage(Sheets[0]); // in code: no events
    EXPECT_EQ(log.size(), 3u);
}

TEST_F(PageControlTest, HiddenTabsAreSkipped)
{
    Form->Show();
    GuiTest::ProcessEvents();
    Sheets[1]->SetTabVisible(false);
    EXPECT_EQ(ShownTabs(), 2);
    EXPECT_EQ(Sheets[1]->TabIndex(), -1);
    EXPECT_EQ(Sheets[2]->TabIndex(), 1);
    ClickTab(1);
    EXPECT_EQ(PC->ActivePage(), Sheets[2]);
    // Hiding the active page's tab moves on to the next page with a tab.
    Sheets[2]->SetTabVisible(false);
    EXPECT_EQ(PC->ActivePage(), Sheets[0]);
    Sheets[1]->SetTabVisible(true);
    EXPECT_EQ(ShownTabs(), 2);
    Sheets[1]->SetCaption(QStringLiteral("Options"));
    EXPECT_EQ(PC->Widget()->findChild<QTabBar *>()->tabText(1), QStringLiteral("Options"));
}

TEST_F(PageControlTest, ControlsOnAPageGoWithIt)
{
    auto *cb = new TCheckBox(Form.get());
    cb->SetParent(Sheets[1]);
    Form->Show();
    GuiTest::ProcessEvents();
    EXPECT_FALSE(cb->CanFocus());
    PC->SetActivePage(Sheets[1]);
    EXPECT_TRUE(cb->CanFocus());
    delete Sheets[1];
    EXPECT_EQ(PC->PageCount(), 2);
    EXPECT_EQ(PC->ActivePage(), Sheets[2]);
}

// ---- pop-up menus ----

TEST(PopupMenu, ScriptedChoiceClicksTheEntry)
{
    TForm form(nullptr);
    auto *menu = new TPopupMenu(&form);
    std::vector<UnicodeString> clicked;
    auto add = [&](TMenuItem *Parent, const char *Caption) {
        auto *i = new TMenuItem(&form);
        i->SetCaption(QString::fromLatin1(Caption));
        i->OnClick = [&clicked, i](TObject *) { clicked.push_back(i->Caption()); };
        Parent->Add(i);
        return i;
    };
    add(menu->Items(), "&Copy Row");
    add(menu->Items(), "-");
    TMenuItem *disabled = add(menu->Items(), "Paste");
    disabled->SetEnabled(false);
    TMenuItem *view = add(menu->Items(), "View");
    TMenuItem *small = add(view, "Small");
    TMenuItem *large = add(view, "Large");
    small->SetRadioItem(true);
    large->SetRadioItem(true);
    large->SetAutoCheck(true);
    small->SetChecked(true);

    GuiTest::TScriptedModalHook hook;
    hook.Answer(mrOk, QStringLiteral("View > Large"));
    menu->Popup(100, 100);
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].ClassName, QStringLiteral("TPopupMenu"));
    EXPECT_EQ(hook.Shown[0].Text, QStringLiteral("Copy Row\nView > Small\nView > Large"));
    EXPECT_EQ(clicked, std::vector<UnicodeString>{QStringLiteral("Large")});
    EXPECT_TRUE(large->Checked());
    EXPECT_FALSE(small->Checked());

    hook.Answer(mrCancel);
    menu->Popup(0, 0);
    hook.Answer(mrOk, QStringLiteral("Paste")); // not a choice: disabled
    menu->Popup(0, 0);
    EXPECT_EQ(clicked.size(), 1u);
    EXPECT_EQ(view->IndexOf(large), 1);
    EXPECT_EQ(StripHotkey(QStringLiteral("&Save && Close")), QStringLiteral("Save & Close"));
}

} // namespace
