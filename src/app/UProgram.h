#pragma once
// The forms of the program, made as it starts.

// Creates every form in the program's order, each owned by the application: the main window
// first, so that the language table exists before the others take their texts, then the
// configurator's own dialogs and the editors of the sibling converters.
void Create_Program_Forms();
