// Drawing from memory in a caller's vertex format: the world-space draws of animation layers.
#include "graphics/GxGraphics.h"

#include "platform/PfGLDevice.h"

void GxGraphics::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices, uint32_t stride,
                                 uint32_t fvf)
{
    PfGLDevice* device = GetDevice();
    if (!device || !vertices || primitiveCount == 0)
        return;
    FlushDraws();
    device->SetFVF(fvf);
    device->DrawPrimitiveUP(type, primitiveCount, vertices, stride);
}
