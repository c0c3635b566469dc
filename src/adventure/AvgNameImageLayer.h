#pragma once

#include "task/GxTaskLayer.h"

// The speaker's name picture "$NAMEIMAGE:SeqAvgMain", a layer inside the name window. A layer draws by
// its own visible flag only; this one is also left out while its window is not shown, so hiding the
// windows (by the player or by a script command) takes the name picture with them, and showing them
// again brings it back as it was.
class AvgNameImageLayer : public GxTaskLayer
{
public:
    AvgNameImageLayer(GxTaskBase* window, const wchar_t* globalName);

    int32_t Draw(int32_t param, int32_t layer) override;
};
