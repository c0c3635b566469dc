#include "graphics/GxSurfaceBase.h"

#include "graphics/GxGraphics.h"
#include "platform/PfGLDevice.h"

bool GxSurfaceBase::SetRenderTarget(uint32_t index)
{
    PfGLDevice* device = GxGraphics::GetDevice();
    PfGLTexture* texture = GetD3DResource();
    if (!device || !texture)
        return false;
    return PfSucceeded(device->SetRenderTarget(index, texture));
}
