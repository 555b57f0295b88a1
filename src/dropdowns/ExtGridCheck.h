#pragma once
// The base of cell checkers: components that correct or mark the texts of string grid cells
// while a cell is edited or when the application checks a range. The flags tell the grid when
// to call the checker; the base corrects and marks nothing.

#include "platform/Classes.h"

class TExtStringGridCheck : public TComponent {
public:
    explicit TExtStringGridCheck(TComponent *AOwner) : TComponent(AOwner) {}

    virtual UnicodeString MarkError(int ACol, int ARow, const UnicodeString &s);
    virtual UnicodeString Correct(int ACol, int ARow, const UnicodeString &s);
    virtual void StartCheck();
    virtual void StopCheck();

    bool GotoCell = false;
    bool AutoCorrect = false;
    bool AutoMarkError = false;
    bool UseCorrect = false;
    bool UseMarkError = false;
};
