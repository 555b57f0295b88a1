// Cursors drawn as the program's resources, set over the window under the pointer as the
// classic set-cursor handling does.
#include "platform/Windows.h"

#include "platform/Controls.h"
#include "platform/ControlsPrivate.h"
#include "platform/Forms.h"
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

// Cursors loaded by name, kept like those loaded by id.
std::map<QString, std::unique_ptr<HCURSOR__>> &NamedCursors()
{
    static std::map<QString, std::unique_ptr<HCURSOR__>> cursors;
    return cursors;
}

// The screen's cursor table.
std::map<int, HCURSOR> &CursorTable()
{
    static std::map<int, HCURSOR> table;
    return table;
}

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

HCURSOR LoadCursor(HANDLE, const UnicodeString &Name)
{
    auto &cursors = NamedCursors();
    const QString key = Name.toUpper();
    if (auto it = cursors.find(key); it != cursors.end())
        return it->second.get();
    QImage image;
    TPoint hot;
    if (!FindResourceCursor(Name, image, hot))
        return nullptr;
    auto c = std::make_unique<HCURSOR__>();
    c->Cursor = QCursor(QPixmap::fromImage(image), hot.X, hot.Y);
    HCURSOR h = c.get();
    cursors.emplace(key, std::move(c));
    return h;
}

TPoint CursorHotSpot(HCURSOR Cursor)
{
    if (!Cursor)
        return {};
    const QPoint p = Cursor->Cursor.hotSpot();
    return {p.x(), p.y()};
}

HCURSOR TScreen::Cursors(int Index) const
{
    const auto &table = CursorTable();
    const auto it = table.find(Index);
    return it == table.end() ? nullptr : it->second;
}

void TScreen::SetCursors(int Index, HCURSOR Value)
{
    if (Value)
        CursorTable()[Index] = Value;
    else
        CursorTable().erase(Index);
}

namespace platform_detail {

QCursor QtCursorOf(TCursor Cursor)
{
    if (Cursor > 0)
        if (HCURSOR h = Screen ? Screen->Cursors(Cursor) : nullptr)
            return h->Cursor;
    return QCursor(static_cast<Qt::CursorShape>(CursorToQtShape(Cursor)));
}


} // namespace platform_detail
