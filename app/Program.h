#pragma once

namespace morvex {

// Starts the program in the running QApplication: loads and shows the main
// window. The program ends (the event loop quits) when no window is loaded
// any more, not when the last visible window closes.
void startProgram();

} // namespace morvex
