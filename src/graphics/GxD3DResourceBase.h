#pragma once

#include "core/GxObjectNotCopyable.h"

#include <cstdint>
#include <string>

// Object types of device resources; the names appear in the leak report.
enum GxObjectType : uint32_t
{
    OBJTYPE_NONE = 0,
    OBJTYPE_TEXTURE = 1,
    OBJTYPE_FLEXTEXTURE = 2,
    OBJTYPE_BUFFEREDTEXTURE = 3,
    OBJTYPE_RENDERTARGET = 4,
    OBJTYPE_DEPTHSTENCIL = 5,
    OBJTYPE_SURFACE = 6,
    OBJTYPE_SWAPCHAIN = 7,
    OBJTYPE_MESH = 8,
    OBJTYPE_SHADEREFFECT = 9,
    OBJTYPE_RESERVED_1 = 10,
    OBJTYPE_RESERVED_2 = 11,
    OBJTYPE_RESERVED_3 = 12,
    OBJTYPE_IMAGEDATA = 13,
    OBJTYPE_COUNT = 14,
};

// The base of every object that holds device memory: a name (stored lower-cased), an object type and a
// reference count. A concrete resource registers with GxD3DResourceManage while it holds device memory,
// so that a device reset can tell it to let go (OnLostDevice) and to rebuild (OnResetDevice).
class GxD3DResourceBase : public GxObjectNotCopyable
{
public:
    GxD3DResourceBase() = default;
    // Releases every reference. A derived class releases in its own destructor too: by the time this one
    // runs its overrides are gone.
    ~GxD3DResourceBase() override;

    virtual void ResetRefCount();
    virtual uint32_t AddRef();
    // 0 stays 0.
    virtual uint32_t DecRef();
    virtual uint32_t GetRefCount() const;
    // In the base the same as DecRef; a concrete resource frees its device objects and unregisters when the
    // count reaches 0.
    virtual uint32_t Release();
    // Release until the count is 0.
    virtual void ReleaseAll();
    virtual void OnLostDevice();
    virtual void OnResetDevice();
    virtual uint32_t GetMemorySize() const;
    virtual const std::wstring& GetName() const;
    virtual void SetName(const std::wstring& name);

    uint32_t GetObjectType() const { return m_ObjectType; }
    // The name of an object type code, "OBJTYPE_NONE" for an unknown one.
    static const wchar_t* GetObjectTypeName(uint32_t type);

protected:
    // The Release of a resource that registers with GxD3DResourceManage: when the count reaches 0,
    // freeAll() lets go of the device objects and clears the fields, and the resource unregisters.
    template <class FreeAll> uint32_t ReleaseRegistered(FreeAll freeAll)
    {
        if (m_RefCount == 0)
            return 0;
        if (--m_RefCount == 0)
        {
            freeAll();
            Unregister();
        }
        return m_RefCount;
    }

    uint32_t m_ObjectType = OBJTYPE_NONE;
    std::wstring m_Name;
    uint32_t m_RefCount = 0;

private:
    void Unregister();
};
