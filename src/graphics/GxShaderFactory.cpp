#include "graphics/GxShaderFactory.h"

#include "core/GxMutexScopedLock.h"
#include "core/GxString.h"
#include "graphics/GxShaderEffect.h"

GxShaderFactory::GxShaderFactory() : GxResourceFactory(L"GxShaderFactory", L"shader") {}

GxShaderFactory& GxShaderFactory::GetInstance()
{
    static GxShaderFactory s_Factory;
    return s_Factory;
}

GxShaderEffect* GxShaderFactory::Get(const std::wstring& name, bool skipValidation)
{
    GxMutexScopedLock lock(GetMutex());
    if (GxD3DResourceBase* held = FindAndAddRef(name))
        return static_cast<GxShaderEffect*>(held);
    GxShaderEffect* made = new GxShaderEffect();
    if (!made->CreateFromFile(name, skipValidation))
    {
        delete made;
        return nullptr;
    }
    Append(made);
    return made;
}

GxShaderEffect* GxShaderFactory::GetA(const char* name, bool skipValidation)
{
    return Get(GxString::ToWide(name), skipValidation);
}

GxShaderEffect* GxShaderFactory::Find(const std::wstring& name)
{
    return static_cast<GxShaderEffect*>(FindResource(name));
}

GxShaderEffect* GxShaderFactory::FindA(const char* name)
{
    return static_cast<GxShaderEffect*>(FindResourceA(name));
}

void GxShaderFactory::Release(GxShaderEffect* effect)
{
    ReleaseResource(effect);
}
