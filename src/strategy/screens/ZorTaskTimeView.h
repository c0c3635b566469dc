#pragma once

#include "strategy/screens/ZorViewDrawList.h"
#include "task/GxTaskActor.h"

class ZorUserData;

// The lord's panel on the defence screen: portrait, HP bar, the invaders still to come in this stage,
// and "HELL MODE" at the top right of the screen when the game runs in that mode.
class ZorTaskTimeView : public GxTaskActor
{
public:
    explicit ZorTaskTimeView(GxTaskBase* parent);
    ~ZorTaskTimeView() override;

    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // The panel drawn with its origin at (x0, y0), in screen coordinates ("HELL MODE" keeps its fixed
    // place whatever the origin).
    static void Layout(const ZorUserData& s, float x0, float y0, ZorViewDrawList& out);

private:
    ZorViewDrawList m_DrawList;
};
