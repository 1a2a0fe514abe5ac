// What the program knows about itself: its title with the version and the developer's machine.
#pragma once

#include <string>

namespace tavrik {

// Only on this machine may F7 switch the offset display mode.
inline constexpr const char* DeveloperMachineId = "5A3C91E7";

// "Tavrik v" major.minor.release " (Build " build ")", or "Tavrik" alone when the version is unknown.
std::string ProgramTitle();

// Lowers the calling thread's scheduling priority a little, once at start-up.
void LowerThreadPriority();

} // namespace tavrik
