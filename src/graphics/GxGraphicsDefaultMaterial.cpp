#include "graphics/GxGraphics.h"

#include "graphics/GxMaterial.h"

void GxGraphics::ReleaseDefaultMaterial()
{
    GxMaterial& material = GxMaterial::GetDefault();
    material.ReleaseShader();
    material.ReleaseTextures();
}
