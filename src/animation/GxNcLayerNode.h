#pragma once

#include "core/GxSimpleNode.h"

#include <cstdint>
#include <string>

class GxNcLayer;

// A node of a motion's layer tree: the layer it stands for, found by name after loading.
class GxNcLayerNode : public GxSimpleNode
{
public:
    std::wstring m_LayerName;
    int32_t m_LayerIndex = -1;
    GxNcLayer* m_pLayer = nullptr;
};
