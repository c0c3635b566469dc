#include "appdata/GxDebugConsoleOutputEx.h"

#include "core/GxMutexScopedLock.h"

GxDebugConsoleOutputEx& GxDebugConsoleOutputEx::GetInstance()
{
    // Never destroyed: log lines may still arrive from other threads while static objects go away.
    static GxDebugConsoleOutputEx* s_Instance = new GxDebugConsoleOutputEx();
    return *s_Instance;
}

void GxDebugConsoleOutputEx::OnOutput(const wchar_t* text, int)
{
    if (!text)
        return;
    // The copy is made before the lock is taken, so the lock is held only for the list's own work.
    std::wstring line(text);
    GxMutexScopedLock lock(m_Mutex);
    m_Lines.push_back(std::move(line));
    while (m_Lines.size() > kMaxLines)
        m_Lines.pop_front();
}

std::vector<std::wstring> GxDebugConsoleOutputEx::GetLines() const
{
    GxMutexScopedLock lock(m_Mutex);
    return std::vector<std::wstring>(m_Lines.begin(), m_Lines.end());
}

void GxDebugConsoleOutputEx::Clear()
{
    GxMutexScopedLock lock(m_Mutex);
    m_Lines.clear();
}
