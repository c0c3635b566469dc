#include "graphics/GxD3DResourceManage.h"

#include "core/GxLog.h"
#include "core/GxMutexScopedLock.h"
#include "graphics/GxD3DResourceBase.h"

#include <vector>

GxD3DResourceManage::GxD3DResourceManage()
{
    GxMutexScopedLock lock(m_Mutex);
    m_Closed = false;
    m_Registry.clear();
}

GxD3DResourceManage::~GxD3DResourceManage()
{
    // The report has run during shut-down (the logs are gone by now); only the registry goes here.
    GxMutexScopedLock lock(m_Mutex);
    m_Registry.clear();
}

GxD3DResourceManage& GxD3DResourceManage::GetInstance()
{
    static GxD3DResourceManage s_Instance;
    return s_Instance;
}

void GxD3DResourceManage::Register(GxD3DResourceBase* resource)
{
    if (!resource)
        return;
    GxMutexScopedLock lock(m_Mutex);
    m_Registry.insert(resource);
}

bool GxD3DResourceManage::Unregister(GxD3DResourceBase* resource)
{
    GxMutexScopedLock lock(m_Mutex);
    if (m_Closed)
        return false;
    return m_Registry.erase(resource) != 0;
}

bool GxD3DResourceManage::IsRegistered(GxD3DResourceBase* resource)
{
    GxMutexScopedLock lock(m_Mutex);
    return m_Registry.count(resource) != 0;
}

void GxD3DResourceManage::OnLostDevice()
{
    // A resource may unregister itself inside its handler; the walk goes over a copy of the order.
    std::vector<GxD3DResourceBase*> order(m_Registry.begin(), m_Registry.end());
    for (GxD3DResourceBase* resource : order)
        resource->OnLostDevice();
}

void GxD3DResourceManage::OnResetDevice()
{
    std::vector<GxD3DResourceBase*> order(m_Registry.begin(), m_Registry.end());
    for (GxD3DResourceBase* resource : order)
        resource->OnResetDevice();
}

uint32_t GxD3DResourceManage::GetTotalSize()
{
    GxMutexScopedLock lock(m_Mutex);
    uint32_t total = 0;
    for (GxD3DResourceBase* resource : m_Registry)
        total += resource->GetMemorySize();
    return total;
}

size_t GxD3DResourceManage::GetCount()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_Registry.size();
}

void GxD3DResourceManage::ReportLeaks()
{
    GxMutexScopedLock lock(m_Mutex);
    for (GxD3DResourceBase* resource : m_Registry)
        GxLog::SlightError(L"Warning/未解放のまま終了したリソースがあります 0x%I64x [%s:%s]\n",
                           (unsigned long long)(uintptr_t)resource,
                           GxD3DResourceBase::GetObjectTypeName(resource->GetObjectType()),
                           resource->GetName().c_str());
    m_Closed = true;
    m_Registry.clear();
}

void GxD3DResourceManage::Reopen()
{
    GxMutexScopedLock lock(m_Mutex);
    m_Closed = false;
}
