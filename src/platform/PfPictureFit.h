#pragma once

#include "platform/PfD3DTypes.h"

// Where a picture of one size is shown in an area of another without changing its shape: scaled
// uniformly to the largest size that fits, centred, the rest of the area left to black bars. Present
// shows the back buffer this way in a full-screen or resized window, and the mouse is mapped back through
// the same rectangle.
class PfPictureFit
{
public:
    // The picture's rectangle inside a width x height area (0 x 0 at the origin for an empty area or
    // picture). Sizes are rounded to whole pixels; the bars on either side differ by one pixel at most.
    static PfRect Fit(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight);
};
