#include "graphics/GxResourceFactory.h"

#include "core/GxLog.h"
#include "core/GxMutexScopedLock.h"
#include "core/GxString.h"
#include "graphics/GxD3DResourceBase.h"
#include "graphics/GxShaderFactory.h"
#include "graphics/GxTextureFactory.h"
#include "graphics/GxTextureFlexFactory.h"

GxResourceFactory::GxResourceFactory(const wchar_t* kind, const wchar_t* what) : m_Kind(kind), m_What(what) {}

GxResourceFactory::~GxResourceFactory()
{
    Clear();
}

size_t GxResourceFactory::IndexOf(const std::wstring& name) const
{
    for (size_t i = 0; i < m_List.size(); ++i)
        if (GxString::CompareNoCase(m_List[i]->GetName(), name) == 0)
            return i;
    return m_List.size();
}

void GxResourceFactory::Remove(size_t index)
{
    delete m_List[index];
    m_List.erase(m_List.begin() + (long)index);
}

GxD3DResourceBase* GxResourceFactory::FindAndAddRef(const std::wstring& name)
{
    GxMutexScopedLock lock(m_Mutex);
    const size_t i = IndexOf(name);
    if (i == m_List.size())
        return nullptr;
    m_List[i]->AddRef();
    return m_List[i];
}

void GxResourceFactory::Append(GxD3DResourceBase* resource)
{
    GxMutexScopedLock lock(m_Mutex);
    m_List.push_back(resource);
}

GxD3DResourceBase* GxResourceFactory::FindResource(const std::wstring& name)
{
    GxMutexScopedLock lock(m_Mutex);
    const size_t i = IndexOf(name);
    return i == m_List.size() ? nullptr : m_List[i];
}

GxD3DResourceBase* GxResourceFactory::FindResourceA(const char* name)
{
    return FindResource(GxString::ToWide(name));
}

void GxResourceFactory::ReleaseResource(GxD3DResourceBase* resource)
{
    GxMutexScopedLock lock(m_Mutex);
    for (size_t i = 0; i < m_List.size(); ++i)
    {
        if (m_List[i] != resource)
            continue;
        resource->Release();
        if (resource->GetRefCount() == 0)
            Remove(i);
        return;
    }
    const std::wstring format =
        std::wstring(L"Warning/") + m_Kind + L" You tried to release the " + m_What + L" does not exist(0x%x)\n";
    GxLog::SlightError(format.c_str(), (uint32_t)(uintptr_t)resource);
}

void GxResourceFactory::ReleaseByName(const std::wstring& name)
{
    GxMutexScopedLock lock(m_Mutex);
    const size_t i = IndexOf(name);
    if (i == m_List.size())
    {
        const std::wstring format =
            std::wstring(L"Warning/") + m_Kind + L" You tried to release the " + m_What + L" does not exist(%s)\n";
        GxLog::SlightError(format.c_str(), name.c_str());
        return;
    }
    m_List[i]->Release();
    if (m_List[i]->GetRefCount() == 0)
        Remove(i);
}

void GxResourceFactory::ReleaseByNameA(const char* name)
{
    ReleaseByName(GxString::ToWide(name));
}

void GxResourceFactory::Clear()
{
    GxMutexScopedLock lock(m_Mutex);
    for (GxD3DResourceBase* resource : m_List)
        delete resource;
    m_List.clear();
}

uint32_t GxResourceFactory::GetCount()
{
    GxMutexScopedLock lock(m_Mutex);
    return (uint32_t)m_List.size();
}

void GxResourceFactory::ReportNotReleased()
{
    const uint32_t count = GetCount();
    if (count == 0)
        return;
    const std::wstring format = std::wstring(L"Warning/") + m_Kind + L" is not Released(count=%d)\n";
    GxLog::SlightError(format.c_str(), count);
}

void GxResourceFactory::FinalizeAll()
{
    GxTextureFactory::GetInstance().ReportNotReleased();
    GxTextureFlexFactory::GetInstance().ReportNotReleased();
    GxShaderFactory::GetInstance().ReportNotReleased();
    GxTextureFactory::GetInstance().Clear();
    GxTextureFlexFactory::GetInstance().Clear();
    GxShaderFactory::GetInstance().Clear();
}
