// Menu items and the pop-up menu, shown through the modal hook as a Qt menu.
#include "platform/Menus.h"

#include "platform/Forms.h"
#include "platform/GraphicsPrivate.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <algorithm>
#include <map>

UnicodeString StripHotkey(const UnicodeString &Caption)
{
    int mark = -1;
    return GraphicsImpl::StripAccelerator(Caption, mark);
}

// ---------------------------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent *AOwner) : TComponent(AOwner)
{
}

TMenuItem::~TMenuItem()
{
    Clear();
    if (FParent)
        FParent->Remove(this);
}

TMenuItem *TMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(QString::fromLatin1(SListIndexError).arg(Index));
    return FItems[static_cast<std::size_t>(Index)];
}

void TMenuItem::Add(TMenuItem *Item)
{
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem *Item)
{
    if (!Item)
        return;
    if (Item->FParent)
        throw EInvalidOperation(QStringLiteral("Menu inserted twice"));
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
}

void TMenuItem::Remove(TMenuItem *Item)
{
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    if (it == FItems.end())
        return;
    FItems.erase(it);
    Item->FParent = nullptr;
}

void TMenuItem::Delete(int Index)
{
    delete Items(Index);
}

void TMenuItem::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

int TMenuItem::IndexOf(const TMenuItem *Item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenuItem *TMenuItem::Find(const UnicodeString &ACaption) const
{
    for (TMenuItem *i : FItems)
        if (StripHotkey(i->Caption()).compare(StripHotkey(ACaption), Qt::CaseInsensitive) == 0)
            return i;
    return nullptr;
}

void TMenuItem::SetChecked(bool Value)
{
    FChecked = Value;
    if (Value && FRadioItem && FParent)
        for (TMenuItem *i : FParent->FItems)
            if (i != this && i->FRadioItem && i->FGroupIndex == FGroupIndex)
                i->FChecked = false;
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    if (FAutoCheck)
        SetChecked(!FChecked);
    if (OnClick)
        OnClick(this);
}

// ---------------------------------------------------------------------------------------------
// TPopupMenu

TPopupMenu::TPopupMenu(TComponent *AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr))
{
}

TPopupMenu::~TPopupMenu()
{
    delete FItems;
}

void TPopupMenu::ChoosableEntries(TMenuItem *Root, std::vector<std::pair<UnicodeString, TMenuItem *>> &Entries)
{
    std::function<void(TMenuItem *, const UnicodeString &)> walk = [&](TMenuItem *Item, const UnicodeString &Prefix) {
        for (int i = 0; i < Item->Count(); ++i) {
            TMenuItem *c = Item->Items(i);
            if (!c->Visible() || !c->Enabled() || c->IsLine())
                continue;
            const UnicodeString line = Prefix + StripHotkey(c->Caption());
            if (c->Count() > 0)
                walk(c, line + QStringLiteral(" > "));
            else
                Entries.emplace_back(line, c);
        }
    };
    walk(Root, QString());
}

namespace {

void BuildQtMenu(QMenu *Menu, TMenuItem *Item, std::map<QAction *, TMenuItem *> &Map)
{
    for (int i = 0; i < Item->Count(); ++i) {
        TMenuItem *c = Item->Items(i);
        if (!c->Visible())
            continue;
        if (c->IsLine()) {
            Menu->addSeparator();
            continue;
        }
        if (c->Count() > 0) {
            QMenu *sub = Menu->addMenu(c->Caption());
            sub->setEnabled(c->Enabled());
            BuildQtMenu(sub, c, Map);
            continue;
        }
        QAction *a = Menu->addAction(c->Caption());
        a->setEnabled(c->Enabled());
        if (c->Checked() || c->AutoCheck()) {
            a->setCheckable(true);
            a->setChecked(c->Checked());
        }
        Map[a] = c;
    }
}

} // namespace

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup)
        OnPopup(this);
    std::vector<std::pair<UnicodeString, TMenuItem *>> entries;
    ChoosableEntries(FItems, entries);
    TModalRequest request;
    request.Kind = mkOther;
    request.ClassName = ClassName();
    request.Name = Name();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0)
            request.Text += QLatin1Char('\n');
        request.Text += entries[i].first;
    }
    request.RunDefault = [this, X, Y, &entries](TModalRequest &R) {
        QMenu menu(QApplication::activeWindow());
        std::map<QAction *, TMenuItem *> map;
        BuildQtMenu(&menu, FItems, map);
        QAction *chosen = menu.exec(QPoint(X, Y));
        auto it = map.find(chosen);
        if (it == map.end())
            return mrCancel;
        for (const auto &e : entries)
            if (e.second == it->second) {
                R.AnswerFileName = e.first;
                return mrOk;
            }
        return mrCancel;
    };
    if (RunModal(request) != mrOk)
        return;
    for (const auto &e : entries)
        if (e.first == request.AnswerFileName) {
            e.second->Click();
            return;
        }
}
