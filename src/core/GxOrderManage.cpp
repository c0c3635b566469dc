#include "core/GxOrderManage.h"

GxOrderManage g_OrderManage;

GxOrderManage::~GxOrderManage()
{
    Clear();
}

uint8_t* GxOrderManage::Add(size_t size)
{
    m_Entries.push_back(std::make_unique<uint8_t[]>(size));
    return m_Entries.back().get();
}

void GxOrderManage::Clear()
{
    m_Entries.clear();
}
