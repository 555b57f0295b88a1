#pragma once
// The forms of the program, made as it starts.

// Creates every form in the program's order, each owned by the application: the main window
// first, so that the language table exists before the others take their texts, then the
// configurator's own dialogs and the editors of the sibling converters.
void Create_Program_Forms();

// Frees the forms in the reverse of their making, the main window last, as the program ends;
// for a program that makes them more than once (tests, measurements).
void Free_Program_Forms();
