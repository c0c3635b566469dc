#include "graphics/GxTextureFlexFactory.h"

#include "core/GxMutexScopedLock.h"
#include "core/GxString.h"
#include "graphics/GxTextureFlex.h"

GxTextureFlexFactory::GxTextureFlexFactory() : GxResourceFactory(L"GxTextureFlexFactory", L"texture") {}

GxTextureFlexFactory& GxTextureFlexFactory::GetInstance()
{
    static GxTextureFlexFactory s_Factory;
    return s_Factory;
}

GxTextureFlex* GxTextureFlexFactory::Get(const std::wstring& name, uint32_t type, uint32_t width, uint32_t height,
                                         uint32_t arg5)
{
    GxMutexScopedLock lock(GetMutex());
    if (GxD3DResourceBase* held = FindAndAddRef(name))
        return static_cast<GxTextureFlex*>(held);
    if (type != kFile && type != kTexture)
        return nullptr;
    GxTextureFlex* made = new GxTextureFlex();
    const bool ok = type == kFile ? made->CreateFromFile(name, (D3DFORMAT)arg5, 0)
                                  : made->CreateTexture(name, width, height, (D3DFORMAT)arg5);
    if (!ok)
    {
        delete made;
        return nullptr;
    }
    Append(made);
    return made;
}

GxTextureFlex* GxTextureFlexFactory::GetA(const char* name, uint32_t type, uint32_t width, uint32_t height,
                                          uint32_t arg5)
{
    GxMutexScopedLock lock(GetMutex());
    return Get(GxString::ToWide(name), type, width, height, arg5);
}

GxTextureFlex* GxTextureFlexFactory::Find(const std::wstring& name)
{
    return static_cast<GxTextureFlex*>(FindResource(name));
}

GxTextureFlex* GxTextureFlexFactory::FindA(const char* name)
{
    return static_cast<GxTextureFlex*>(FindResourceA(name));
}

void GxTextureFlexFactory::Release(GxTextureFlex* texture)
{
    ReleaseResource(texture);
}
