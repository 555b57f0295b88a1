#pragma once
// Fills the main window's table of protocol steps with the writers and dialogs of this layer.

// The program calls it once its forms exist; calling it again fills the same entries.
void Register_Protocol_Steps();
