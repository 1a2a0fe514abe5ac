// What the program knows about itself: its title with the version.
#pragma once

#include <string>

namespace tavrik {

// "Tavrik v" major.minor.release " (Build " build ")", or "Tavrik" alone when the version is unknown.
std::string ProgramTitle();

// Lowers the calling thread's scheduling priority a little, once at start-up.
void LowerThreadPriority();

} // namespace tavrik
