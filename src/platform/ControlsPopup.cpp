// Presses outside a dropped-down list: the list hears WM_CANCELMODE.
#include "platform/Controls.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

class TOutsideClickFilter : public QObject {
public:
    std::vector<TWinControl *> Watched;

    bool eventFilter(QObject *Target, QEvent *Event) override
    {
        if (Event->type() != QEvent::MouseButtonPress || Watched.empty())
            return false;
        auto *target = qobject_cast<QWidget *>(Target);
        // A copy: a control may stop being watched while it hears of the press.
        const std::vector<TWinControl *> watched = Watched;
        for (TWinControl *c : watched) {
            if (std::find(Watched.begin(), Watched.end(), c) == Watched.end())
                continue;
            QWidget *w = c->WidgetIfAllocated();
            if (!w || !w->isVisible())
                continue;
            if (target && (target == w || w->isAncestorOf(target)))
                continue;
            c->Perform(WM_CANCELMODE, 0, 0);
        }
        return false;
    }
};

TOutsideClickFilter *Filter()
{
    static QPointer<TOutsideClickFilter> filter;
    if (!filter && qApp) {
        filter = new TOutsideClickFilter;
        filter->setParent(qApp);
        qApp->installEventFilter(filter);
    }
    return filter;
}

TOutsideClickFilter *ExistingFilter() { return Filter(); }

} // namespace

void WatchOutsideClicks(TWinControl *Control, bool On)
{
    TOutsideClickFilter *f = On ? Filter() : ExistingFilter();
    if (!f || !Control)
        return;
    auto &w = f->Watched;
    w.erase(std::remove(w.begin(), w.end(), Control), w.end());
    if (On)
        w.push_back(Control);
}
