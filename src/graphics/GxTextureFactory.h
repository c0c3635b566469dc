// Textures by name: image files (type 1), plain textures (2), render targets (3) and movie textures (7).
#pragma once

#include "graphics/GxResourceFactory.h"
#include "platform/PfD3DTypes.h"

#include <cstdint>
#include <string>

class GxTextureBase;

class GxTextureFactory : public GxResourceFactory
{
public:
    enum Type : uint32_t
    {
        kFile = 1,
        kTexture = 2,
        kRenderTarget = 3,
        kText = 5,
        kTextEx = 6,
        kMovie = 7,
    };

    GxTextureFactory();
    static GxTextureFactory& GetInstance();

    // arg5 mip levels, arg6 format (0 = the device's), arg7 unused, arg8 stretch of file textures.
    // A name already held is returned with one more reference whatever type is asked for.
    GxTextureBase* Get(const std::wstring& name, uint32_t type, uint32_t width, uint32_t height, uint32_t arg5,
                       uint32_t arg6, uint32_t arg7, uint32_t arg8);
    GxTextureBase* GetA(const char* name, uint32_t type, uint32_t width, uint32_t height, uint32_t arg5, uint32_t arg6,
                        uint32_t arg7, uint32_t arg8);
    GxTextureBase* Find(const std::wstring& name);
    GxTextureBase* FindA(const char* name);
    void Release(GxTextureBase* texture);
};
