// Push buttons, check boxes, radio buttons and the group box.
#include "platform/StdCtrls.h"

#include "platform/Forms.h"
#include "platform/GraphicsPrivate.h"
#include "platform/StdCtrlsPrivate.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

using platform_detail::DropLinks;
using platform_detail::FromSignal;
using platform_detail::Links;

namespace {

// The whole window of a check box or radio button takes the click, not only the box and text.
template <class TButtonWidget>
class TWholeAreaButton : public TButtonWidget {
public:
    using TButtonWidget::TButtonWidget;

protected:
    bool hitButton(const QPoint &Pos) const override { return this->rect().contains(Pos); }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// TButtonControl

TButtonControl::TButtonControl(TComponent *AOwner) : TWinControl(AOwner)
{
    // Clicks come from the window (a mouse click or the space bar), not from the mouse messages.
    FControlStyle = {csSetCaption, csDoubleClicks};
    SetTabStop(true);
}

TButtonControl::~TButtonControl()
{
    DropLinks(WidgetIfAllocated());
    // Leaving the parent while still a windowed control takes it out of the tab order too.
    SetParent(nullptr);
}

void TButtonControl::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyCaption();
    ApplyColors();
}

void TButtonControl::ApplyCaption()
{
    if (auto *b = static_cast<QAbstractButton *>(WidgetIfAllocated()))
        b->setText(Caption());
}

void TButtonControl::ApplyColors()
{
    QWidget *w = WidgetIfAllocated();
    if (!w)
        return;
    if (dynamic_cast<TCustomButton *>(this)) {
        // Push buttons keep the system's face; only the text takes the font colour.
        QPalette pal = w->palette();
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
            pal.setColor(g, QPalette::ButtonText, ColorToQColor(Font()->Color()));
        w->setPalette(pal);
        return;
    }
    platform_detail::ApplyControlColors(w, Color(), Font()->Color(), false);
}

void TButtonControl::TextChanged()
{
    ApplyCaption();
}

void TButtonControl::CMColorChanged(TCMColorChanged &Message)
{
    ApplyColors();
    TWinControl::CMColorChanged(Message);
}

void TButtonControl::CMFontChanged(TCMFontChanged &Message)
{
    TWinControl::CMFontChanged(Message);
    ApplyColors();
}

// ---------------------------------------------------------------------------------------------
// TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent *AOwner) : TButtonControl(AOwner)
{
    TControl::SetBounds(0, 0, 97, 17);
}

QWidget *TCustomCheckBox::CreateWidget(QWidget *ParentWidget)
{
    auto *b = new TWholeAreaButton<QCheckBox>(ParentWidget);
    QObject::connect(b, &QCheckBox::clicked, Links(b), [this](bool) { FromSignal(this, [this] { Toggle(); }); });
    return b;
}

void TCustomCheckBox::CreateWnd()
{
    TButtonControl::CreateWnd();
    ApplyState();
}

void TCustomCheckBox::ApplyState()
{
    auto *b = static_cast<QCheckBox *>(WidgetIfAllocated());
    if (!b)
        return;
    const QSignalBlocker block(b);
    b->setTristate(FAllowGrayed || FState == cbGrayed);
    b->setCheckState(FState == cbChecked ? Qt::Checked : FState == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    b->setLayoutDirection(FAlignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TCustomCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::SetState(TCheckBoxState Value)
{
    if (FState == Value) {
        ApplyState(); // the window may have moved on by itself
        return;
    }
    FState = Value;
    ApplyState();
    Click();
}

void TCustomCheckBox::SetAllowGrayed(bool Value)
{
    FAllowGrayed = Value;
    ApplyState();
}

void TCustomCheckBox::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    ApplyState();
}

// ---------------------------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent *AOwner) : TButtonControl(AOwner)
{
    TControl::SetBounds(0, 0, 113, 17);
}

QWidget *TRadioButton::CreateWidget(QWidget *ParentWidget)
{
    auto *b = new TWholeAreaButton<QRadioButton>(ParentWidget);
    // The group rule is ours: one checked button per parent.
    b->setAutoExclusive(false);
    QObject::connect(b, &QRadioButton::clicked, Links(b), [this](bool) {
        FromSignal(this, [this] {
            if (FChecked)
                ApplyState(); // a click on the checked button leaves it checked
            else
                SetChecked(true);
        });
    });
    return b;
}

void TRadioButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    ApplyState();
}

void TRadioButton::ApplyState()
{
    auto *b = static_cast<QRadioButton *>(WidgetIfAllocated());
    if (!b)
        return;
    const QSignalBlocker block(b);
    b->setChecked(FChecked);
    b->setLayoutDirection(FAlignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TRadioButton::SetChecked(bool Value)
{
    if (FChecked == Value)
        return;
    FChecked = Value;
    ApplyState();
    if (!Value)
        return;
    if (TWinControl *p = Parent())
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto *r = dynamic_cast<TRadioButton *>(p->Controls(i)); r && r != this)
                r->SetChecked(false);
    Click();
}

void TRadioButton::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    ApplyState();
}

// ---------------------------------------------------------------------------------------------
// TCustomButton

TCustomButton::TCustomButton(TComponent *AOwner) : TButtonControl(AOwner)
{
    TControl::SetBounds(0, 0, 75, 25);
}

QWidget *TCustomButton::CreateWidget(QWidget *ParentWidget)
{
    auto *b = new QPushButton(ParentWidget);
    b->setAutoDefault(false);
    b->setDefault(FDefault);
    QObject::connect(b, &QPushButton::clicked, Links(b), [this](bool) { FromSignal(this, [this] { Click(); }); });
    return b;
}

void TCustomButton::SetDefault(bool Value)
{
    FDefault = Value;
    if (auto *b = static_cast<QPushButton *>(WidgetIfAllocated()))
        b->setDefault(Value);
}

void TCustomButton::Click()
{
    if (FModalResult != mrNone)
        if (TCustomForm *form = GetParentForm())
            form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TCustomButton::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = DLGC_BUTTON | (FDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void TCustomButton::CMDialogKey(TCMDialogKey &Message)
{
    bool active = Focused();
    if (!active && FDefault) {
        // The default button answers Enter unless another button has the focus.
        TCustomForm *form = GetParentForm();
        TWinControl *focused = form ? form->ActiveControl() : nullptr;
        active = !dynamic_cast<TCustomButton *>(focused);
    }
    if (((Message.CharCode == VK_RETURN && active) || (Message.CharCode == VK_ESCAPE && FCancel)) &&
        KeyDataToShiftState(Message.KeyData).Empty() && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
    }
    TButtonControl::CMDialogKey(Message);
}

void TCustomButton::CMDialogChar(TCMDialogChar &Message)
{
    if (IsAccel(Message.CharCode, Caption()) && CanFocus() && (Message.KeyData & KF_ALTDOWN_BIT)) {
        Click();
        Message.Result = 1;
        return;
    }
    TButtonControl::CMDialogChar(Message);
}

// ---------------------------------------------------------------------------------------------
// TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent *AOwner) : TCustomControl(AOwner)
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControl::SetBounds(0, 0, 185, 105);
}

TRect TCustomGroupBox::ClientRect() const
{
    const QFontMetrics fm(Font()->QtFont());
    const int top = fm.height();
    return {2, top, std::max(Width() - 2, 2), std::max(Height() - 2, top)};
}

void TCustomGroupBox::Paint()
{
    QPainter *p = Canvas()->Painter();
    if (!p)
        return;
    const QFont f = Font()->QtFont();
    const QFontMetrics fm(f);
    const int mid = fm.height() / 2;
    p->save();
    p->fillRect(QRect(0, 0, Width(), Height()), ColorToQColor(Color()));
    // The etched frame of the classic group box.
    const QRect frame(0, mid, Width() - 1, Height() - mid - 1);
    p->setPen(ColorToQColor(clBtnShadow));
    p->drawRect(frame.adjusted(0, 0, -1, -1));
    p->setPen(ColorToQColor(clBtnHighlight));
    p->drawRect(frame.adjusted(1, 1, 0, 0));
    if (!Caption().isEmpty()) {
        p->setFont(f);
        int mark = -1;
        const int w = fm.horizontalAdvance(GraphicsImpl::StripAccelerator(Caption(), mark)) + 4;
        const QRect tr(6, 0, w, fm.height());
        p->fillRect(tr, ColorToQColor(Color()));
        p->setPen(ColorToQColor(Enabled() ? Font()->Color() : clGrayText));
        p->drawText(tr, Qt::AlignCenter | Qt::TextShowMnemonic, Caption());
    }
    p->restore();
}

void TCustomGroupBox::CMTextChanged(TCMTextChanged &Message)
{
    Invalidate();
    TCustomControl::CMTextChanged(Message);
}
