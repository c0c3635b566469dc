#include "core/GxFileHandle.h"

#include "platform/PfFileSystem.h"

GxFileHandle::~GxFileHandle()
{
    Close();
}

void GxFileHandle::Close()
{
    if (m_Handle >= 0)
        PfFileSystem::Close(m_Handle);
    m_Size = 0;
    m_Handle = -1;
    m_Open = false;
    m_EOF = false;
    m_FileTime = 0;
    m_Position = 0;
    m_Pack = nullptr;
    m_Entry = nullptr;
}
