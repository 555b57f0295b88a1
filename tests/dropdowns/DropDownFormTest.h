#pragma once
// A shown borderless form on a one-monitor fake screen with one focused drop-down of type T,
// for the tests that drive a drop-down's popup as a user does.
#include "dropdowns/ExtCustomDropDown.h"
#include "platform/MultiMon.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

template <class T>
class DropDownFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        SetScreenLayout({{TRect(0, 0, 1000, 700), TRect(0, 0, 1000, 660)}});
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 400, 300);
        AddControls();
        Edit = NewDropDown<T>(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(10, 10, EditWidth, 21);
        Form->Show();
        GuiTest::ProcessEvents();
        Edit->SetFocus();
        GuiTest::ProcessEvents();
    }
    void TearDown() override
    {
        Form.reset();
        ResetScreenLayout();
    }
    // Other controls of the form, made before the drop-down.
    virtual void AddControls() {}
    int EditWidth = 200;
    std::unique_ptr<TForm> Form;
    T *Edit = nullptr;
};
