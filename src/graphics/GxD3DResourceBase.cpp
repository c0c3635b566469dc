#include "graphics/GxD3DResourceBase.h"

#include "core/GxString.h"
#include "graphics/GxD3DResourceManage.h"

namespace
{

const wchar_t* const s_ObjectTypeNames[OBJTYPE_COUNT] = {
    L"OBJTYPE_NONE",         L"OBJTYPE_TEXTURE",      L"OBJTYPE_FLEXTEXTURE", L"OBJTYPE_BUFFEREDTEXTURE",
    L"OBJTYPE_RENDERTARGET", L"OBJTYPE_DEPTHSTENCIL", L"OBJTYPE_SURFACE",     L"OBJTYPE_SWAPCHAIN",
    L"OBJTYPE_MESH",         L"OBJTYPE_SHADEREFFECT", L"OBJTYPE_RESERVED_1",  L"OBJTYPE_RESERVED_2",
    L"OBJTYPE_RESERVED_3",   L"OBJTYPE_IMAGEDATA",
};

} // namespace

GxD3DResourceBase::~GxD3DResourceBase()
{
    // Virtual calls from here reach this class's own operations only.
    GxD3DResourceBase::ReleaseAll();
}

void GxD3DResourceBase::ResetRefCount()
{
    m_RefCount = 0;
}

uint32_t GxD3DResourceBase::AddRef()
{
    return ++m_RefCount;
}

uint32_t GxD3DResourceBase::DecRef()
{
    if (m_RefCount == 0)
        return 0;
    return --m_RefCount;
}

uint32_t GxD3DResourceBase::GetRefCount() const
{
    return m_RefCount;
}

uint32_t GxD3DResourceBase::Release()
{
    return DecRef();
}

void GxD3DResourceBase::Unregister()
{
    GxD3DResourceManage::GetInstance().Unregister(this);
}

void GxD3DResourceBase::ReleaseAll()
{
    while (GetRefCount() != 0)
    {
        const uint32_t before = GetRefCount();
        Release();
        // A Release that does not lower the count would spin for ever.
        if (GetRefCount() >= before)
            break;
    }
}

void GxD3DResourceBase::OnLostDevice() {}

void GxD3DResourceBase::OnResetDevice() {}

uint32_t GxD3DResourceBase::GetMemorySize() const
{
    return 0;
}

const std::wstring& GxD3DResourceBase::GetName() const
{
    return m_Name;
}

void GxD3DResourceBase::SetName(const std::wstring& name)
{
    m_Name = GxString::ToLower(name);
}

const wchar_t* GxD3DResourceBase::GetObjectTypeName(uint32_t type)
{
    return type < OBJTYPE_COUNT ? s_ObjectTypeNames[type] : s_ObjectTypeNames[0];
}
