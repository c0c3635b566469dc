// What the three named factories share: a list of resources in the order they were made, looked up by
// name without regard to ASCII case, each handed out with one more reference and deleted by the factory
// when its last reference comes back. Every operation holds the factory's re-entrant lock, also while a
// new resource loads, so two threads asking for one name get one object.
#pragma once

#include "core/GxMutex.h"
#include "core/GxObjectNotCopyable.h"

#include <cstdint>
#include <string>
#include <vector>

class GxD3DResourceBase;

class GxResourceFactory : public GxObjectNotCopyable
{
public:
    // kind names the factory in its warnings ("GxTextureFactory"); what names the objects ("texture").
    GxResourceFactory(const wchar_t* kind, const wchar_t* what);
    ~GxResourceFactory() override;

    GxD3DResourceBase* FindResource(const std::wstring& name);
    GxD3DResourceBase* FindResourceA(const char* name);
    // Gives back one reference; at 0 the object is deleted. An unknown object is a minor-error warning.
    void ReleaseResource(GxD3DResourceBase* resource);
    void ReleaseByName(const std::wstring& name);
    void ReleaseByNameA(const char* name);
    // Deletes every object whatever its count.
    void Clear();
    uint32_t GetCount();
    // The shut-down check: a warning when objects are still held.
    void ReportNotReleased();

    // Device shut-down: the warnings of the texture, flexible-texture and shader factories in that
    // order, then each is cleared in the same order.
    static void FinalizeAll();

protected:
    // Under the lock: the held object of that name with one more reference, or null.
    GxD3DResourceBase* FindAndAddRef(const std::wstring& name);
    void Append(GxD3DResourceBase* resource);
    GxMutex& GetMutex() { return m_Mutex; }

private:
    size_t IndexOf(const std::wstring& name) const;
    void Remove(size_t index);

    const wchar_t* m_Kind;
    const wchar_t* m_What;
    std::vector<GxD3DResourceBase*> m_List;
    GxMutex m_Mutex;
};
