#pragma once

namespace brenzola {

class Dialogs;

// Runs the program: the splash, then the main window until it closes.
// Returns the exit status: 0, or 1 when the store could not be used.
int AvviaProgramma(Dialogs& dialogs);

}  // namespace brenzola
