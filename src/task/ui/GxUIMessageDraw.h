#pragma once

#include <cstdint>

class GxTaskUIBase;
class GxUIMessageLayout;

// Draws a laid-out page of the message or text window over its widget: rubies with a shadow 1 pixel off,
// then the body characters with a shadow 2 pixels off (blend preset 2). Positions are scaled by the
// actor's scale from its world position; every alpha is multiplied by the actor's alpha / 255. Nothing is
// laid out or allocated here.
class GxUIMessageDraw
{
public:
    // unflaggedColor: the colour of body characters typed without a colour tag (the message window's
    // system or read colour); the text window draws every record in its own colour.
    static void Draw(const GxUIMessageLayout& layout, const GxTaskUIBase& widget, uint32_t unflaggedColor);
};
