// Cursors drawn as the program's resources, set over the window under the pointer as the
// classic set-cursor handling does.
#include "platform/Windows.h"

#include "platform/Controls.h"
#include "platform/Graphics.h"

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <map>
#include <memory>

struct HCURSOR__ {
    int ID = 0;
    QCursor Cursor;
};

namespace {

// Loaded once and kept: a cursor handle stays valid for the program's life.
std::map<int, std::unique_ptr<HCURSOR__>> &LoadedCursors()
{
    static std::map<int, std::unique_ptr<HCURSOR__>> cursors;
    return cursors;
}

HCURSOR GCurrentCursor = nullptr;

} // namespace

HCURSOR LoadCursor(HANDLE, int ResID)
{
    auto &cursors = LoadedCursors();
    if (auto it = cursors.find(ResID); it != cursors.end())
        return it->second.get();
    QImage image;
    TPoint hot;
    if (!FindResourceCursor(QString::number(ResID), image, hot))
        return nullptr;
    auto c = std::make_unique<HCURSOR__>();
    c->ID = ResID;
    c->Cursor = QCursor(QPixmap::fromImage(image), hot.X, hot.Y);
    HCURSOR h = c.get();
    cursors.emplace(ResID, std::move(c));
    return h;
}

HCURSOR SetCursor(HCURSOR Cursor)
{
    HCURSOR previous = GCurrentCursor;
    GCurrentCursor = Cursor;
    TControl *c = GetMouseControl();
    TWinControl *w = dynamic_cast<TWinControl *>(c);
    if (!w && c)
        w = c->Parent();
    if (QWidget *widget = w ? w->WidgetIfAllocated() : nullptr) {
        if (Cursor)
            widget->setCursor(Cursor->Cursor);
        else
            widget->unsetCursor();
    }
    return previous;
}

HCURSOR GetCursor()
{
    return GCurrentCursor;
}

int CursorResourceID(HCURSOR Cursor)
{
    return Cursor ? Cursor->ID : 0;
}
