// The combo box, the list box and the scroll bar.
#include "platform/StdCtrls.h"

#include "platform/StdCtrlsPrivate.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

using platform_detail::DropLinks;
using platform_detail::FromSignal;
using platform_detail::Links;

namespace {

// A list combo draws its field as a button; given a colour of its own it shows that colour there
// as an editable combo does in its field, and with the window colour it keeps the style's look.
void ApplyComboColors(QComboBox *C, TColor Back, TColor Text)
{
    platform_detail::ApplyControlColors(C, Back, Text, true);
    if (!C || C->isEditable())
        return;
    QPalette pal = C->palette();
    const QColor button = Back == clWindow ? QApplication::palette(C).color(QPalette::Button) : ColorToQColor(Back);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
        pal.setColor(g, QPalette::Button, button);
    C->setPalette(pal);
}

// A combo box that reports its list opening and closing.
class TQtComboBox : public QComboBox {
public:
    explicit TQtComboBox(QWidget *Parent) : QComboBox(Parent) {}
    std::function<void()> OnShowPopup;
    // WasShown: the list was open (a close of a closed list tells nobody it closed).
    std::function<void(bool WasShown)> OnHidePopup;
    void showPopup() override
    {
        if (OnShowPopup)
            OnShowPopup();
        FShown = true;
        QComboBox::showPopup();
    }
    void hidePopup() override
    {
        QComboBox::hidePopup();
        const bool was = FShown;
        FShown = false;
        if (OnHidePopup)
            OnHidePopup(was);
    }

private:
    bool FShown = false;
};

// Guards a counter for the time the window is brought in line with the control, so that
// the window's signals of that time are not taken for the user's doing.
struct TSyncGuard {
    int &Count;
    explicit TSyncGuard(int &C) : Count(C) { ++Count; }
    ~TSyncGuard() { --Count; }
    TSyncGuard(const TSyncGuard &) = delete;
    TSyncGuard &operator=(const TSyncGuard &) = delete;
};

// The selected index once the item list has changed at Index: it follows its item, and is lost
// with it (-1) when the item goes or the whole list is reset.
int IndexAfterChange(int Selected, TItemsChange Change, int Index)
{
    switch (Change) {
    case TItemsChange::icInsert:
        return Selected >= 0 && Index <= Selected ? Selected + 1 : Selected;
    case TItemsChange::icDelete:
        if (Index == Selected)
            return -1;
        return Index < Selected ? Selected - 1 : Selected;
    case TItemsChange::icChange:
        return Selected;
    case TItemsChange::icReset:
        return -1;
    }
    return Selected;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent *AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TControlItems>([this](TItemsChange C, int I) { ItemsChanged(C, I); }))
{
    FControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight};
    TControl::SetBounds(0, 0, 145, 21);
    SetColor(clWindow);
    SetTabStop(true);
}

TCustomComboBox::~TCustomComboBox()
{
    platform_detail::ForgetBalloonTipOwner(this);
    DropLinks(WidgetIfAllocated());
    // Leaving the parent while still a windowed control takes it out of the tab order too.
    SetParent(nullptr);
}

QComboBox *TCustomComboBox::Combo() const
{
    return static_cast<QComboBox *>(WidgetIfAllocated());
}

QWidget *TCustomComboBox::CreateWidget(QWidget *ParentWidget)
{
    auto *c = new TQtComboBox(ParentWidget);
    c->setEditable(!IsListStyle());
    c->setInsertPolicy(QComboBox::NoInsert);
    if (!FAutoComplete && c->lineEdit())
        c->setCompleter(nullptr);
    c->OnShowPopup = [this] { FromSignal(this, [this] { NotifyParent(CBN_DROPDOWN); DropDown(); }); };
    c->OnHidePopup = [this](bool WasShown) {
        FromSignal(this, [this, WasShown] {
            if (WasShown)
                NotifyParent(CBN_CLOSEUP);
            CloseUp();
        });
    };
    QObject *links = Links(c);
    QObject::connect(c, qOverload<int>(&QComboBox::activated), links, [this](int Index) {
        FromSignal(this, [this, Index] { UserSelected(Index); });
    });
    if (QLineEdit *e = c->lineEdit())
        QObject::connect(e, &QLineEdit::textEdited, links, [this](const QString &T) {
            FromSignal(this, [this, T] { UserEdited(T); });
        });
    return c;
}

void TCustomComboBox::CreateWnd()
{
    TWinControl::CreateWnd();
    QComboBox *c = Combo();
    c->setMaxVisibleItems(std::max(FDropDownCount, 1));
    if (c->lineEdit() && FMaxLength > 0)
        c->lineEdit()->setMaxLength(FMaxLength);
    RebuildWidgetItems();
    ApplyComboColors(c, Color(), Font()->Color());
    if (FDroppedWidth > 0)
        c->view()->setMinimumWidth(FDroppedWidth);
}

void TCustomComboBox::RebuildWidgetItems()
{
    QComboBox *c = Combo();
    if (!c)
        return;
    TSyncGuard g(FSyncing);
    c->clear();
    QStringList list;
    for (int i = 0; i < FItems->Count(); ++i)
        list << FItems->Strings(i);
    c->addItems(list);
    ApplyIndexToWidget();
}

void TCustomComboBox::ApplyIndexToWidget()
{
    QComboBox *c = Combo();
    if (!c)
        return;
    TSyncGuard g(FSyncing);
    c->setCurrentIndex(FItemIndex);
    if (c->lineEdit() && c->lineEdit()->text() != TWinControl::GetText())
        c->lineEdit()->setText(TWinControl::GetText());
}

void TCustomComboBox::ItemsChanged(TItemsChange Change, int Index)
{
    FItemIndex = IndexAfterChange(FItemIndex, Change, Index);
    if (IsListStyle() || Change == TItemsChange::icReset) {
        // The shown text of a list is the selected item; a cleared list shows nothing.
        const UnicodeString t = FItemIndex >= 0 ? FItems->Strings(FItemIndex) : QString();
        if (t != TWinControl::GetText()) {
            TSyncGuard g(FSyncing);
            TControl::SetText(t);
        }
    }
    RebuildWidgetItems();
}

UnicodeString TCustomComboBox::GetText() const
{
    if (IsListStyle())
        return FItemIndex >= 0 && FItemIndex < FItems->Count() ? FItems->Strings(FItemIndex) : QString();
    return TWinControl::GetText();
}

void TCustomComboBox::TextChanged()
{
    if (FSyncing > 0)
        return;
    // Text set in code selects the item that has it; a list without it selects nothing.
    const UnicodeString t = TWinControl::GetText();
    FItemIndex = FItems->IndexOf(t);
    ApplyIndexToWidget();
}

void TCustomComboBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= FItems->Count())
        Value = -1;
    FItemIndex = Value;
    {
        TSyncGuard g(FSyncing);
        TControl::SetText(Value >= 0 ? FItems->Strings(Value) : QString());
    }
    ApplyIndexToWidget();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
    if (FStyle == Value)
        return;
    const UnicodeString t = Text();
    FStyle = Value;
    if (IsListStyle()) {
        FItemIndex = FItems->IndexOf(t);
        TSyncGuard g(FSyncing);
        TControl::SetText(FItemIndex >= 0 ? FItems->Strings(FItemIndex) : QString());
    }
    if (HandleAllocated()) {
        DropLinks(WidgetIfAllocated());
        RecreateWnd();
    }
}

void TCustomComboBox::SetDropDownCount(int Value)
{
    FDropDownCount = Value;
    if (QComboBox *c = Combo())
        c->setMaxVisibleItems(std::max(Value, 1));
}

void TCustomComboBox::SetSorted(bool Value)
{
    const UnicodeString selected = FItemIndex >= 0 ? FItems->Strings(FItemIndex) : QString();
    const bool had = FItemIndex >= 0;
    FItems->SetSorted(Value);
    if (had) {
        FItemIndex = FItems->IndexOf(selected);
        TSyncGuard g(FSyncing);
        TControl::SetText(selected);
        ApplyIndexToWidget();
    }
}

void TCustomComboBox::SetMaxLength(int Value)
{
    FMaxLength = std::max(Value, 0);
    if (QComboBox *c = Combo(); c && c->lineEdit())
        c->lineEdit()->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

bool TCustomComboBox::DroppedDown() const
{
    QComboBox *c = Combo();
    return c && c->view() && c->view()->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool Value)
{
    QComboBox *c = Combo();
    if (!c)
        return;
    if (Value)
        c->showPopup();
    else
        c->hidePopup();
}

void TCustomComboBox::Clear()
{
    FItems->Clear();
    TSyncGuard g(FSyncing);
    TControl::SetText(QString());
    ApplyIndexToWidget();
}

void TCustomComboBox::SelectAll()
{
    if (QComboBox *c = Combo(); c && c->lineEdit())
        c->lineEdit()->selectAll();
}

void TCustomComboBox::UserSelected(int Index)
{
    if (FSyncing > 0 || Index < 0 || Index >= FItems->Count())
        return;
    FItemIndex = Index;
    {
        TSyncGuard g(FSyncing);
        TControl::SetText(FItems->Strings(Index));
    }
    ApplyIndexToWidget();
    NotifyParent(CBN_SELCHANGE);
    Click();
    Select();
}

void TCustomComboBox::UserEdited(const UnicodeString &Text)
{
    if (FSyncing > 0 || IsListStyle())
        return;
    {
        TSyncGuard g(FSyncing);
        TControl::SetText(Text);
    }
    FItemIndex = FItems->IndexOf(Text);
    if (QComboBox *c = Combo()) {
        TSyncGuard g(FSyncing);
        if (c->currentIndex() != FItemIndex) {
            const int pos = c->lineEdit() ? c->lineEdit()->cursorPosition() : 0;
            c->setCurrentIndex(FItemIndex);
            if (c->lineEdit()) {
                c->lineEdit()->setText(Text);
                c->lineEdit()->setCursorPosition(pos);
            }
        }
    }
    NotifyParent(CBN_EDITCHANGE);
    Change();
}

void TCustomComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

void TCustomComboBox::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (DroppedDown())
        Message.Result |= DLGC_WANTALLKEYS;
}

void TCustomComboBox::CMColorChanged(TCMColorChanged &Message)
{
    ApplyComboColors(Combo(), Color(), Font()->Color());
    TWinControl::CMColorChanged(Message);
}

void TCustomComboBox::CMFontChanged(TCMFontChanged &Message)
{
    TWinControl::CMFontChanged(Message);
    ApplyComboColors(Combo(), Color(), Font()->Color());
}

// ---------------------------------------------------------------------------------------------
// TCustomListBox

TCustomListBox::TCustomListBox(TComponent *AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TControlItems>([this](TItemsChange C, int I) { ItemsChanged(C, I); }))
{
    FControlStyle = {csSetCaption, csDoubleClicks, csOpaque};
    TControl::SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
}

TCustomListBox::~TCustomListBox()
{
    DropLinks(WidgetIfAllocated());
    // Leaving the parent while still a windowed control takes it out of the tab order too.
    SetParent(nullptr);
}

QListWidget *TCustomListBox::List() const
{
    return static_cast<QListWidget *>(WidgetIfAllocated());
}

QWidget *TCustomListBox::CreateWidget(QWidget *ParentWidget)
{
    auto *l = new QListWidget(ParentWidget);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setUniformItemSizes(true);
    QObject *links = Links(l);
    // A click on the selected item reports itself too, as the classic list box does: a press
    // that did not move the selection is still a click.
    auto moved = std::make_shared<bool>(false);
    QObject::connect(l, &QListWidget::currentRowChanged, links, [this, moved, links](int Row) {
        if (FSyncing > 0)
            return;
        *moved = true;
        QTimer::singleShot(0, links, [moved] { *moved = false; });
        FromSignal(this, [this, Row] { UserSelected(Row); });
    });
    QObject::connect(l, &QListWidget::itemPressed, links, [this, moved](QListWidgetItem *) {
        if (*moved)
            return;
        FromSignal(this, [this] { Click(); });
    });
    QObject::connect(l, &QListWidget::itemDoubleClicked, links, [this](QListWidgetItem *) {
        FromSignal(this, [this] { DblClick(); });
    });
    return l;
}

void TCustomListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    RebuildWidgetItems();
    ApplyColors();
    SetTopIndex(FTopIndex);
}

void TCustomListBox::ApplyColors()
{
    platform_detail::ApplyControlColors(List(), Color(), Font()->Color(), true);
}

void TCustomListBox::RebuildWidgetItems()
{
    QListWidget *l = List();
    if (!l)
        return;
    TSyncGuard g(FSyncing);
    l->clear();
    for (int i = 0; i < FItems->Count(); ++i)
        l->addItem(FItems->Strings(i));
    ApplyIndexToWidget();
    WidgetItemsSynced();
}

void TCustomListBox::ApplyIndexToWidget()
{
    QListWidget *l = List();
    if (!l)
        return;
    TSyncGuard g(FSyncing);
    l->setCurrentRow(FItemIndex);
    if (FItemIndex < 0)
        l->clearSelection();
}

void TCustomListBox::ItemsChanged(TItemsChange Change, int Index)
{
    ItemsChanging(Change, Index);
    FItemIndex = IndexAfterChange(FItemIndex, Change, Index);
    QListWidget *l = List();
    if (!l)
        return;
    // The window follows one row at a time: rebuilt at every added item, filling a list of
    // N items took N * N steps (a folder of thousands of configurations, seconds).
    const int count = FItems->Count();
    const int before = Change == TItemsChange::icInsert ? count - 1 : Change == TItemsChange::icDelete ? count + 1 : count;
    if (Change == TItemsChange::icReset || l->count() != before || Index < 0 || Index > before) {
        RebuildWidgetItems();
        return;
    }
    {
        TSyncGuard g(FSyncing);
        switch (Change) {
        case TItemsChange::icInsert:
            l->insertItem(Index, FItems->Strings(Index));
            break;
        case TItemsChange::icDelete:
            delete l->takeItem(Index);
            break;
        case TItemsChange::icChange:
            if (QListWidgetItem *item = l->item(Index))
                item->setText(FItems->Strings(Index));
            break;
        case TItemsChange::icReset:
            break;
        }
    }
    if (l->currentRow() != FItemIndex || (FItemIndex < 0 && !l->selectedItems().isEmpty()))
        ApplyIndexToWidget();
    WidgetItemsSynced();
}

void TCustomListBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= FItems->Count())
        Value = -1;
    FItemIndex = Value;
    ApplyIndexToWidget();
}

void TCustomListBox::SetSorted(bool Value)
{
    const UnicodeString selected = FItemIndex >= 0 ? FItems->Strings(FItemIndex) : QString();
    const bool had = FItemIndex >= 0;
    FItems->SetSorted(Value);
    if (had) {
        FItemIndex = FItems->IndexOf(selected);
        ApplyIndexToWidget();
    }
}

int TCustomListBox::TopIndex() const
{
    if (QListWidget *l = List()) {
        const QModelIndex i = l->indexAt(QPoint(1, 1));
        return i.isValid() ? i.row() : 0;
    }
    return FTopIndex;
}

void TCustomListBox::SetTopIndex(int Value)
{
    FTopIndex = std::max(Value, 0);
    if (QListWidget *l = List(); l && FTopIndex < l->count())
        l->scrollToItem(l->item(FTopIndex), QAbstractItemView::PositionAtTop);
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const
{
    if (QListWidget *l = List()) {
        const QModelIndex i = l->indexAt(l->viewport()->mapFrom(l, QPoint(Pos.X, Pos.Y)));
        if (i.isValid())
            return i.row();
        return Existing ? -1 : FItems->Count();
    }
    const int row = TopIndex() + Pos.Y / std::max(FItemHeight, 1);
    if (Pos.Y >= 0 && row < FItems->Count())
        return row;
    return Existing ? -1 : FItems->Count();
}

void TCustomListBox::UserSelected(int Index)
{
    if (FSyncing > 0)
        return;
    FItemIndex = Index >= 0 && Index < FItems->Count() ? Index : -1;
    Click();
}

void TCustomListBox::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TCustomListBox::CMColorChanged(TCMColorChanged &Message)
{
    ApplyColors();
    TWinControl::CMColorChanged(Message);
}

void TCustomListBox::CMFontChanged(TCMFontChanged &Message)
{
    TWinControl::CMFontChanged(Message);
    ApplyColors();
}

// ---------------------------------------------------------------------------------------------
// TCheckListBox

namespace {
// The width of the mark at an item's left edge.
constexpr int CheckMarkWidth = 18;
} // namespace

bool TCheckListBox::Checked(int Index) const
{
    return Index >= 0 && Index < int(FChecked.size()) && FChecked[std::size_t(Index)];
}

void TCheckListBox::SetChecked(int Index, bool Value)
{
    if (Index < 0 || Index >= Count())
        return;
    if (int(FChecked.size()) < Count())
        FChecked.resize(std::size_t(Count()), 0);
    FChecked[std::size_t(Index)] = Value ? 1 : 0;
    ShowMark(Index);
}

void TCheckListBox::ToggleCheck(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    SetChecked(Index, !Checked(Index));
    ClickCheck();
}

void TCheckListBox::ClickCheck()
{
    if (OnClickCheck)
        OnClickCheck(this);
}

void TCheckListBox::ItemsChanging(TItemsChange Change, int Index)
{
    switch (Change) {
    case TItemsChange::icInsert:
        if (Index >= 0 && Index <= int(FChecked.size()))
            FChecked.insert(FChecked.begin() + Index, 0);
        break;
    case TItemsChange::icDelete:
        if (Index >= 0 && Index < int(FChecked.size()))
            FChecked.erase(FChecked.begin() + Index);
        break;
    case TItemsChange::icReset:
        FChecked.clear();
        break;
    case TItemsChange::icChange:
        break;
    }
}

void TCheckListBox::WidgetItemsSynced()
{
    for (int i = 0; i < Count(); ++i)
        ShowMark(i);
}

void TCheckListBox::ShowMark(int Index)
{
    if (QListWidget *l = List())
        if (QListWidgetItem *item = l->item(Index))
            item->setCheckState(Checked(Index) ? Qt::Checked : Qt::Unchecked);
}

void TCheckListBox::WMLButtonDown(TWMMouse &Message)
{
    const int i = ItemAtPos(TPoint(Message.XPos, Message.YPos), true);
    if (i >= 0 && Message.XPos < CheckMarkWidth) {
        SetItemIndex(i);
        ToggleCheck(i);
        return;
    }
    TCustomListBox::WMLButtonDown(Message);
}

void TCheckListBox::WMKeyDown(TWMKey &Message)
{
    if (Message.CharCode == VK_SPACE && ItemIndex() >= 0) {
        ToggleCheck(ItemIndex());
        return;
    }
    TCustomListBox::WMKeyDown(Message);
}

// ---------------------------------------------------------------------------------------------
// TScrollBar

TScrollBar::TScrollBar(TComponent *AOwner) : TWinControl(AOwner)
{
    FControlStyle = {csFramed, csDoubleClicks, csOpaque};
    TControl::SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
}

TScrollBar::~TScrollBar()
{
    DropLinks(WidgetIfAllocated());
    // Leaving the parent while still a windowed control takes it out of the tab order too.
    SetParent(nullptr);
}

QScrollBar *TScrollBar::Bar() const
{
    return static_cast<QScrollBar *>(WidgetIfAllocated());
}

QWidget *TScrollBar::CreateWidget(QWidget *ParentWidget)
{
    auto *b = new QScrollBar(FKind == sbVertical ? Qt::Vertical : Qt::Horizontal, ParentWidget);
    QObject *links = Links(b);
    QObject::connect(b, &QScrollBar::actionTriggered, links, [this](int Action) {
        FromSignal(this, [this, Action] {
            QScrollBar *bar = Bar();
            if (!bar)
                return;
            TScrollCode code = scPosition;
            switch (Action) {
            case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; break;
            case QAbstractSlider::SliderSingleStepSub: code = scLineUp; break;
            case QAbstractSlider::SliderPageStepAdd: code = scPageDown; break;
            case QAbstractSlider::SliderPageStepSub: code = scPageUp; break;
            case QAbstractSlider::SliderToMinimum: code = scTop; break;
            case QAbstractSlider::SliderToMaximum: code = scBottom; break;
            case QAbstractSlider::SliderMove: code = scTrack; break;
            default: code = scPosition; break;
            }
            ReportToParent(code, bar->sliderPosition());
            int pos = bar->sliderPosition();
            Scroll(code, pos);
            if (pos != bar->sliderPosition()) {
                TSyncGuard g(FSyncing);
                bar->setSliderPosition(pos);
            }
        });
    });
    // As the classic control does, the end of a thumb drag reaches the parent as the final
    // position and the end of scrolling.
    QObject::connect(b, &QScrollBar::sliderReleased, links, [this] {
        FromSignal(this, [this] {
            if (QScrollBar *bar = Bar()) {
                ReportToParent(scPosition, bar->sliderPosition());
                ReportToParent(scEndScroll, 0);
            }
        });
    });
    QObject::connect(b, &QScrollBar::valueChanged, links, [this](int Value) {
        FromSignal(this, [this, Value] {
            if (FSyncing > 0 || Value == FPosition)
                return;
            FPosition = Value;
            Change();
        });
    });
    return b;
}

void TScrollBar::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyRange();
}

void TScrollBar::ApplyRange()
{
    QScrollBar *b = Bar();
    if (!b)
        return;
    TSyncGuard g(FSyncing);
    b->setRange(FMin, std::max(FMin, FMax - std::max(FPageSize - 1, 0)));
    b->setPageStep(FPageSize > 0 ? FPageSize : FLargeChange);
    b->setSingleStep(FSmallChange);
    b->setValue(FPosition);
}

void TScrollBar::SetKind(TScrollBarKind Value)
{
    if (FKind == Value)
        return;
    FKind = Value;
    SetBounds(Left(), Top(), Height(), Width());
    if (HandleAllocated()) {
        DropLinks(WidgetIfAllocated());
        RecreateWnd();
    }
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    if (AMax < AMin)
        throw EInvalidOperation(QStringLiteral("Scroll bar property out of range"));
    const int top = std::max(AMin, AMax - std::max(FPageSize - 1, 0));
    APosition = std::clamp(APosition, AMin, top);
    const bool changed = APosition != FPosition;
    FMin = AMin;
    FMax = AMax;
    FPosition = APosition;
    ApplyRange();
    if (changed)
        Change();
}

void TScrollBar::SetSmallChange(int Value)
{
    FSmallChange = std::max(Value, 1);
    ApplyRange();
}

void TScrollBar::SetLargeChange(int Value)
{
    FLargeChange = std::max(Value, 1);
    ApplyRange();
}

void TScrollBar::SetPageSize(int Value)
{
    FPageSize = std::clamp(Value, 0, FMax - FMin + 1);
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::Change()
{
    if (OnChange)
        OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int &ScrollPos)
{
    if (OnScroll)
        OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case CN_HSCROLL:
    case CN_VSCROLL:
        DoScrollRequest(Message.WParamLo(), static_cast<SmallInt>(Message.WParamHi()));
        Message.Result = 0;
        return;
    default:
        TWinControl::Dispatch(Message);
    }
}

void TScrollBar::ReportToParent(TScrollCode Code, int Pos)
{
    TWinControl *p = Parent();
    if (!p || !HandleAllocated())
        return;
    p->Perform(FKind == sbVertical ? WM_VSCROLL : WM_HSCROLL, MakeWParam(int(Code), Pos),
               reinterpret_cast<LPARAM>(Handle()));
}

void TScrollBar::DoScrollRequest(int Code, int Pos)
{
    int pos = FPosition;
    TScrollCode code = scEndScroll;
    switch (Code) {
    case SB_LINEUP: code = scLineUp; pos -= FSmallChange; break;
    case SB_LINEDOWN: code = scLineDown; pos += FSmallChange; break;
    case SB_PAGEUP: code = scPageUp; pos -= FPageSize > 0 ? FPageSize : FLargeChange; break;
    case SB_PAGEDOWN: code = scPageDown; pos += FPageSize > 0 ? FPageSize : FLargeChange; break;
    case SB_THUMBPOSITION: code = scPosition; pos = Pos; break;
    case SB_THUMBTRACK: code = scTrack; pos = Pos; break;
    case SB_TOP: code = scTop; pos = FMin; break;
    case SB_BOTTOM: code = scBottom; pos = FMax; break;
    default: break;
    }
    Scroll(code, pos);
    if (code != scEndScroll)
        SetPosition(pos);
}
