#pragma once

// The sample game as tools/samplegen writes it, shared by every test program.
//
// CTest runs every case in a process of its own and writing the sample game takes seconds, so it is
// written once per build of samplegen into the tools folder (sample-game-<stamp>) and only read from then
// on: made in a temporary folder beside it and renamed into place, a process sees it whole or not at
// all, and one that loses the race drops its own copy. A case that changes the game's files works on a
// copy of its own (CopySampleGame).

#include <string>

namespace kvtest
{

// The shared sample game's folder, written first when this build of samplegen has none; "" when it
// cannot be had (no KV_TOOLS_DIR, no samplegen, or samplegen failed).
std::string SharedSampleGame();

// Copies the shared sample game into folder (made when missing; files already there are replaced).
// False, with a test failure saying why, when there is no sample game or the copy fails.
bool CopySampleGame(const std::string& folder);

} // namespace kvtest
