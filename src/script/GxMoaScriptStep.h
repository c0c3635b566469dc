#pragma once
// The tokens of one source line.

#include "script/GxMoaToken.h"

#include <vector>

class GxMoaScriptStep
{
public:
    std::vector<GxMoaToken> m_Tokens;
};
