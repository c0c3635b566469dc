#pragma once

#include "core/GxSimpleTree.h"
#include "graphics/GxParts.h"

#include <vector>

// The parts of a model in file order (an index into the list is a part index) and its skeleton tree.
struct GxModelParts
{
    std::vector<GxParts> m_PartsList;
    GxSimpleTree m_Skeleton;
};
