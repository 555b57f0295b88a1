#pragma once

#include "platform/Controls.h"
#include "platform/Forms.h"

// The hourglass while a file or a server works, the old cursor back on every path, failures
// included.
class THourGlass {
public:
    THourGlass()
    {
        if (Screen) {
            FOld = Screen->Cursor();
            Screen->SetCursor(crHourGlass);
        }
    }
    ~THourGlass()
    {
        if (Screen)
            Screen->SetCursor(FOld);
    }
    THourGlass(const THourGlass &) = delete;
    THourGlass &operator=(const THourGlass &) = delete;

private:
    TCursor FOld = crDefault;
};
