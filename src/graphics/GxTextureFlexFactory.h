// Flexible textures by name: image files (type 1) and empty pictures of a size (type 2).
#pragma once

#include "graphics/GxResourceFactory.h"

#include <cstdint>
#include <string>

class GxTextureFlex;

class GxTextureFlexFactory : public GxResourceFactory
{
public:
    enum Type : uint32_t
    {
        kFile = 1,
        kTexture = 2,
    };

    GxTextureFlexFactory();
    static GxTextureFlexFactory& GetInstance();

    // arg5 is the format (0 = the device's).
    GxTextureFlex* Get(const std::wstring& name, uint32_t type, uint32_t width, uint32_t height, uint32_t arg5);
    GxTextureFlex* GetA(const char* name, uint32_t type, uint32_t width, uint32_t height, uint32_t arg5);
    GxTextureFlex* Find(const std::wstring& name);
    GxTextureFlex* FindA(const char* name);
    void Release(GxTextureFlex* texture);
};
