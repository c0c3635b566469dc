#pragma once

#include <cstdint>

class GxSurfaceBase;

// One element of a render-target stack. The entry does not own the surfaces. A rectangle of four zeros
// means that no viewport rectangle was given.
struct GxRenderTargetEntry
{
    GxSurfaceBase* m_pColor = nullptr;
    GxSurfaceBase* m_pDepth = nullptr;
    int32_t m_Left = 0;
    int32_t m_Top = 0;
    int32_t m_Right = 0;
    int32_t m_Bottom = 0;
};
