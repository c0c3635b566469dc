#include "core/GxCoreScreenService.h"

#include "appdata/GxSystemConfig.h"
#include "core/GxCore.h"
#include "core/GxWindowMessage.h"
#include "platform/PfWindow.h"

void GxCoreScreenService::CaptureScreen()
{
    m_Core->CaptureScreen();
}

int32_t GxCoreScreenService::GetTransitTime()
{
    return m_Core->m_SystemConfig ? m_Core->m_SystemConfig->m_SequenceLeaveTime : 400;
}

void GxCoreScreenService::RequestClose()
{
    // Posted, so the close request (which the listeners may veto) is handled at the next message pump.
    if (m_Core->m_MainWindow && m_Core->m_MainWindow->Exists())
        m_Core->m_MainWindow->PostMessage(WM_CLOSE, 0, 0);
    else
        m_Core->Quit();
}
