#pragma once

#include "core/GxMutex.h"
#include "core/GxObjectNotCopyable.h"

#include <cstdint>
#include <set>

class GxD3DResourceBase;

// The registry of every device resource that holds device memory, ordered by address. The device reset
// walks it (OnLostDevice before, OnResetDevice after); the debug overlay sums its memory; graphics
// shut-down reports what was never released. Registration and the report hold the lock, so any thread may
// create or release resources; the walks take no lock, as no other thread touches resources during a reset.
class GxD3DResourceManage : public GxObjectNotCopyable
{
public:
    GxD3DResourceManage();
    ~GxD3DResourceManage() override;

    // The process-wide registry.
    static GxD3DResourceManage& GetInstance();

    // A resource already present stays once.
    void Register(GxD3DResourceBase* resource);
    // False after the leak report, or for a resource that is not registered.
    bool Unregister(GxD3DResourceBase* resource);
    bool IsRegistered(GxD3DResourceBase* resource);
    void OnLostDevice();
    void OnResetDevice();
    uint32_t GetTotalSize();
    size_t GetCount();
    // One warning per resource still registered, then the registry is closed and emptied: later
    // unregistrations (static objects released after shut-down) return false. Run during graphics
    // shut-down, while the logs still exist.
    void ReportLeaks();
    bool IsClosed() const { return m_Closed; }
    // Opens the registry again for a new device (graphics start-up).
    void Reopen();

private:
    GxMutex m_Mutex;
    bool m_Closed = false;
    std::set<GxD3DResourceBase*> m_Registry;
};
