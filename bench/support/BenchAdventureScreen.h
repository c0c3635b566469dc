#pragma once

#include "support/BenchDevice.h"
#include "support/BenchGameCore.h"

class SeqAvgMain;

// The sample game's adventure screen for the drawing and typing benchmarks: the device, the game's core,
// the screen started (its sequence run until it has begun) with the room as its background.
class BenchAdventureScreen
{
public:
    // False when the device, the core or the screen cannot be started.
    bool Start(const char* title);
    // One update step and draw registration as the core's frame runs them, without drawing or pacing.
    void Step();

    BenchDevice device;
    BenchGameCore core;
    SeqAvgMain* screen = nullptr;
    bool ready = false;
};
