// The header and footer settings of the drop-down popup: defaults, the events they fire and
// copying between them.
#include "controls/ExtDropDown.h"

#include <gtest/gtest.h>

namespace {

TEST(DropDownAppearance, Defaults)
{
    TPersistent owner;
    THeaderAppearance header(&owner);
    TFooterAppearance footer(&owner);
    TFont plain;
    struct TView {
        bool Visible;
        int Height, BorderWidth, ImageIndex;
        UnicodeString Caption;
        TColor Color, ColorTo, BorderColor;
        TGradientDirection Direction;
        TButtonAlignment Alignment;
        int Buttons;
    };
    const auto viewOf = [](auto &a) {
        return TView{a.Visible(), a.Height(), a.BorderWidth(), a.ImageIndex(), a.Caption(), a.Color(), a.ColorTo(),
                     a.BorderColor(), a.GradientDirection(), a.ButtonAlignment(), a.Buttons()->Count()};
    };
    for (const TView &v : {viewOf(header), viewOf(footer)}) {
        EXPECT_TRUE(v.Visible);
        EXPECT_EQ(v.Height, 22);
        EXPECT_EQ(v.BorderWidth, 1);
        EXPECT_EQ(v.ImageIndex, -1);
        EXPECT_TRUE(v.Caption.isEmpty());
        EXPECT_EQ(v.Color, clSilver);
        EXPECT_EQ(v.ColorTo, clWhite);
        EXPECT_EQ(v.BorderColor, clBlack);
        EXPECT_EQ(v.Direction, gdVertical);
        EXPECT_EQ(v.Alignment, baRight);
        EXPECT_EQ(v.Buttons, 0);
    }
    EXPECT_EQ(header.Font()->Name(), "Tahoma");
    EXPECT_EQ(footer.Font()->Name(), plain.Name());
    EXPECT_TRUE(footer.SizeGrip());
    EXPECT_EQ(header.Buttons()->Owner(), &owner);
    EXPECT_EQ(footer.Buttons()->Owner(), &owner);

    THeaderButton *hb = header.Buttons()->Add();
    EXPECT_TRUE(hb->Caption().isEmpty());
    EXPECT_EQ(hb->ImageIndex(), -1);
    EXPECT_TRUE(hb->Enabled());
    EXPECT_EQ(hb->Width(), 0);
    EXPECT_EQ(hb->Height(), 0);
    TFooterButton *fb = footer.Buttons()->Add();
    EXPECT_EQ(fb->ModalResult(), mrNone);
    EXPECT_EQ(footer.Buttons()->GetItem(0), fb);
}

TEST(DropDownAppearance, VisibleFiresOnlyOnAChange)
{
    THeaderAppearance header(nullptr);
    TFooterAppearance footer(nullptr);
    int changes = 0;
    header.OnChange = [&](TObject *Sender) {
        EXPECT_EQ(Sender, &header);
        ++changes;
    };
    footer.OnChange = [&](TObject *) { ++changes; };
    header.SetVisible(true);
    footer.SetVisible(true);
    EXPECT_EQ(changes, 0);
    header.SetVisible(false);
    footer.SetVisible(false);
    EXPECT_EQ(changes, 2);
    // Other settings are stored without a word.
    header.SetHeight(40);
    header.SetColor(clRed);
    footer.SetSizeGrip(false);
    EXPECT_EQ(changes, 2);
}

template <class TAppearance>
void ButtonNotifications()
{
    TAppearance a(nullptr);
    auto *b = a.Buttons()->Add();
    int changes = 0;
    a.OnButtonsChanged = [&](TObject *Sender) {
        EXPECT_EQ(Sender, &a);
        ++changes;
    };
    struct TStep {
        std::function<void()> Do;
        int Fires;
    };
    const TStep steps[] = {
        {[&] { b->SetHeight(30); }, 0},   {[&] { b->SetImageIndex(4); }, 0}, {[&] { b->SetCaption("OK"); }, 1},
        {[&] { b->SetCaption("OK"); }, 0}, {[&] { b->SetEnabled(false); }, 1}, {[&] { b->SetEnabled(false); }, 0},
        {[&] { b->SetWidth(60); }, 1},     {[&] { b->SetWidth(60); }, 0},
    };
    for (const TStep &s : steps) {
        const int before = changes;
        s.Do();
        EXPECT_EQ(changes - before, s.Fires);
    }
    EXPECT_EQ(b->Height(), 30);
    EXPECT_EQ(b->ImageIndex(), 4);
}

TEST(DropDownAppearance, ButtonChangesThatMatterAreReported)
{
    ButtonNotifications<THeaderAppearance>();
    ButtonNotifications<TFooterAppearance>();
}

TEST(DropDownAppearance, AssignCopiesEverythingOfTheSameClassOnly)
{
    TFooterAppearance from(nullptr);
    from.SetCaption("Pick");
    from.SetColor(clRed);
    from.SetColorTo(clBlue);
    from.SetBorderColor(clLime);
    from.SetBorderWidth(3);
    from.SetImageIndex(2);
    from.SetHeight(30);
    from.SetVisible(false);
    from.SetSizeGrip(false);
    from.SetGradientDirection(gdHorizontal);
    from.SetButtonAlignment(baLeft);
    from.Font()->SetName("Verdana");
    TFooterButton *b = from.Buttons()->Add();
    b->SetCaption("Close");
    b->SetModalResult(mrCancel);
    b->SetWidth(50);

    TFooterAppearance to(nullptr);
    int visibleChanges = 0, buttonChanges = 0;
    to.OnChange = [&](TObject *) { ++visibleChanges; };
    to.OnButtonsChanged = [&](TObject *) { ++buttonChanges; };
    to.Assign(&from);
    EXPECT_EQ(to.Caption(), "Pick");
    EXPECT_EQ(to.Color(), clRed);
    EXPECT_EQ(to.ColorTo(), clBlue);
    EXPECT_EQ(to.BorderColor(), clLime);
    EXPECT_EQ(to.BorderWidth(), 3);
    EXPECT_EQ(to.ImageIndex(), 2);
    EXPECT_EQ(to.Height(), 30);
    EXPECT_FALSE(to.Visible());
    EXPECT_FALSE(to.SizeGrip());
    EXPECT_EQ(to.GradientDirection(), gdHorizontal);
    EXPECT_EQ(to.ButtonAlignment(), baLeft);
    EXPECT_EQ(to.Font()->Name(), "Verdana");
    ASSERT_EQ(to.Buttons()->Count(), 1);
    EXPECT_EQ(to.Buttons()->Items(0)->Caption(), "Close");
    EXPECT_EQ(to.Buttons()->Items(0)->ModalResult(), mrCancel);
    EXPECT_EQ(to.Buttons()->Items(0)->Width(), 50);
    EXPECT_EQ(visibleChanges, 1);
    EXPECT_GE(buttonChanges, 1);

    // A footer handed to a header (and the other way) changes nothing.
    THeaderAppearance header(nullptr);
    header.Assign(&from);
    header.AssignColors(&from);
    EXPECT_EQ(header.Color(), clSilver);
    EXPECT_TRUE(header.Caption().isEmpty());
    EXPECT_TRUE(header.Visible());
    TFooterAppearance footer(nullptr);
    footer.Assign(&header);
    EXPECT_TRUE(footer.SizeGrip());
    footer.Assign(nullptr);

    // Colours only.
    THeaderAppearance h1(nullptr), h2(nullptr);
    h1.SetColor(clRed);
    h1.SetCaption("Kept out");
    h1.SetBorderColor(clNavy);
    h1.Font()->SetName("Verdana");
    h2.AssignColors(&h1);
    EXPECT_EQ(h2.Color(), clRed);
    EXPECT_EQ(h2.BorderColor(), clNavy);
    EXPECT_EQ(h2.Font()->Name(), "Verdana");
    EXPECT_TRUE(h2.Caption().isEmpty());
}

TEST(DropDownAppearance, ButtonsCopyOnlyFromTheirOwnClass)
{
    THeaderButtons headers(nullptr);
    TFooterButtons footers(nullptr);
    THeaderButton *h = headers.Add();
    h->SetCaption("A");
    TFooterButton *f = footers.Add();
    f->SetCaption("B");
    f->SetModalResult(mrOk);
    TFooterButton *g = footers.Add();
    g->Assign(f);
    EXPECT_EQ(g->Caption(), "B");
    EXPECT_EQ(g->ModalResult(), mrOk);
    EXPECT_THROW(h->Assign(f), Exception);
    EXPECT_EQ(h->Caption(), "A");
    // Setting the whole collection copies it.
    THeaderAppearance a(nullptr), b(nullptr);
    a.Buttons()->Add()->SetCaption("X");
    b.SetButtons(a.Buttons());
    ASSERT_EQ(b.Buttons()->Count(), 1);
    EXPECT_EQ(b.Buttons()->Items(0)->Caption(), "X");
    EXPECT_NE(b.Buttons()->Items(0), a.Buttons()->Items(0));
}

} // namespace
