#include "graphics/GxContentFile.h"

#include "core/GxContentBinaryReader.h"
#include "core/GxContentTextReader.h"
#include "core/GxFile.h"

bool GxContentFile::Open(const std::wstring& path, const char* textRoot, const char* binaryRoot)
{
    m_pReader.reset();
    m_Empty = false;
    if (!GxFile::LoadToBuffer(m_Buffer, path, true))
        return false;
    if (m_Buffer.GetSize() == 0)
    {
        m_Empty = true;
        return false;
    }
    const char* root;
    if (m_Buffer.First() == 'T')
    {
        m_pReader = std::make_unique<GxContentTextReader>(m_Buffer);
        root = textRoot;
    }
    else
    {
        m_pReader = std::make_unique<GxContentBinaryReader>(m_Buffer);
        root = binaryRoot;
    }
    uint32_t version = 0;
    m_pReader->ReadHeader(root, version);
    return true;
}
