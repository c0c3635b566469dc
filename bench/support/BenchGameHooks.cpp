// Every benchmark program starts its cores the way the program does: with the game's start-up and
// shut-down installed before main runs (the benchmark library supplies main).
#include "game/GxGameRoot.h"

namespace
{

const bool s_Installed = (GxGameRoot::Install(), true);

} // namespace
