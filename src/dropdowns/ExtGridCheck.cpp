#include "dropdowns/ExtGridCheck.h"

UnicodeString TExtStringGridCheck::MarkError(int, int, const UnicodeString &s) { return s; }

UnicodeString TExtStringGridCheck::Correct(int, int, const UnicodeString &s) { return s; }

void TExtStringGridCheck::StartCheck() {}

void TExtStringGridCheck::StopCheck() {}
