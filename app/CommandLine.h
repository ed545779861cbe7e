#pragma once

#include <optional>

namespace morvex {

// The program takes no command line but --help and --version (-h, -v);
// any other argument is ignored and the program starts as usual. This
// answers those two on standard output, --help in Japanese under a Japanese
// locale and in English otherwise, before anything of the user interface
// exists, so both work without a display. Returns the exit status then,
// nothing when the program is to start.
std::optional<int> answerCommandLine(int argc, char *argv[]);

} // namespace morvex
