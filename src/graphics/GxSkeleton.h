#pragma once

#include "core/GxSimpleNode.h"

#include <cstdint>
#include <string>

// One node of a model's skeleton tree: the part it stands for. Kept with the model; drawing does not
// walk the tree.
class GxSkeleton : public GxSimpleNode
{
public:
    ~GxSkeleton() override = default;

    std::wstring m_PartsName;
    int32_t m_PartsIndex = -1;
};
