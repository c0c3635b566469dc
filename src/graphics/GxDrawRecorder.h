#pragma once

#include "graphics/GxVertex2D.h"
#include "platform/PfD3DTypes.h"

#include <cstdint>
#include <vector>

class PfGLTexture;

// Keeps every primitive the 2D drawers produce, with its texture and blend preset, while it is installed
// with GxGraphics::SetDrawRecorder. Lets the vertex output of the drawers be examined without a device.
class GxDrawRecorder
{
public:
    struct Primitive
    {
        D3DPRIMITIVETYPE m_Type = D3DPT_TRIANGLEFAN;
        PfGLTexture* m_pTexture = nullptr;
        uint32_t m_BlendPreset = 0;
        std::vector<GxVertex2D> m_Vertices;
    };

    void Record(D3DPRIMITIVETYPE type, PfGLTexture* texture, uint32_t blend, const GxVertex2D* vertices,
                uint32_t count)
    {
        m_Primitives.push_back({type, texture, blend, std::vector<GxVertex2D>(vertices, vertices + count)});
    }
    void Clear() { m_Primitives.clear(); }

    std::vector<Primitive> m_Primitives;
};
