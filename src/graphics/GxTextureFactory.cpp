#include "graphics/GxTextureFactory.h"

#include "core/GxMutexScopedLock.h"
#include "core/GxString.h"
#include "graphics/GxTexture.h"
#include "graphics/GxTextureMovie.h"
#include "graphics/GxTextureText.h"
#include "graphics/GxTextureTextEx.h"

GxTextureFactory::GxTextureFactory() : GxResourceFactory(L"GxTextureFactory", L"texture") {}

GxTextureFactory& GxTextureFactory::GetInstance()
{
    static GxTextureFactory s_Factory;
    return s_Factory;
}

GxTextureBase* GxTextureFactory::Get(const std::wstring& name, uint32_t type, uint32_t width, uint32_t height,
                                     uint32_t arg5, uint32_t arg6, uint32_t arg7, uint32_t arg8)
{
    (void)arg7;
    GxMutexScopedLock lock(GetMutex());
    if (GxD3DResourceBase* held = FindAndAddRef(name))
        return static_cast<GxTextureBase*>(held);
    const D3DFORMAT format = (D3DFORMAT)arg6;
    GxTextureBase* made = nullptr;
    bool ok = false;
    switch (type)
    {
    case kFile:
    {
        GxTexture* t = new GxTexture();
        made = t;
        ok = t->CreateFromFile(name, format, arg5, 0, arg8 != 0);
        break;
    }
    case kTexture:
    {
        GxTexture* t = new GxTexture();
        made = t;
        ok = t->CreateTexture(name, width, height, format, arg5);
        break;
    }
    case kRenderTarget:
    {
        GxTexture* t = new GxTexture();
        made = t;
        ok = t->CreateRenderTarget(name, width, height, format);
        break;
    }
    case kMovie:
    {
        GxTextureMovie* t = new GxTextureMovie();
        made = t;
        ok = t->Create(name, width, height, format, 0, false);
        break;
    }
    case kText:
    {
        GxTextureText* t = new GxTextureText();
        made = t;
        ok = t->CreateTexture(name, width, height, format, arg5);
        break;
    }
    case kTextEx:
    {
        GxTextureTextEx* t = new GxTextureTextEx();
        made = t;
        ok = t->CreateTexture(name, width, height, format, arg5);
        break;
    }
    default:
        return nullptr;
    }
    if (!ok)
    {
        delete made;
        return nullptr;
    }
    Append(made);
    return made;
}

GxTextureBase* GxTextureFactory::GetA(const char* name, uint32_t type, uint32_t width, uint32_t height, uint32_t arg5,
                                      uint32_t arg6, uint32_t arg7, uint32_t arg8)
{
    GxMutexScopedLock lock(GetMutex());
    return Get(GxString::ToWide(name), type, width, height, arg5, arg6, arg7, arg8);
}

GxTextureBase* GxTextureFactory::Find(const std::wstring& name)
{
    return static_cast<GxTextureBase*>(FindResource(name));
}

GxTextureBase* GxTextureFactory::FindA(const char* name)
{
    return static_cast<GxTextureBase*>(FindResourceA(name));
}

void GxTextureFactory::Release(GxTextureBase* texture)
{
    ReleaseResource(texture);
}
