#include "platform/PfPictureFit.h"

#include <cstdint>

PfRect PfPictureFit::Fit(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return {0, 0, 0, 0};
    // Compared as cross products, so that an area of exactly the picture's shape gets no bar at all.
    int width = areaWidth;
    int height = areaHeight;
    const int64_t wide = static_cast<int64_t>(areaWidth) * pictureHeight;
    const int64_t tall = static_cast<int64_t>(areaHeight) * pictureWidth;
    if (wide > tall)
        width = static_cast<int>((static_cast<int64_t>(pictureWidth) * areaHeight * 2 + pictureHeight) /
                                 (2 * static_cast<int64_t>(pictureHeight)));
    else if (wide < tall)
        height = static_cast<int>((static_cast<int64_t>(pictureHeight) * areaWidth * 2 + pictureWidth) /
                                  (2 * static_cast<int64_t>(pictureWidth)));
    const int left = (areaWidth - width) / 2;
    const int top = (areaHeight - height) / 2;
    return {left, top, left + width, top + height};
}
