#include "core/GxCrtRandom.h"

uint32_t GxCrtRandom::s_State = 1;

void GxCrtRandom::Seed(uint32_t seed)
{
    s_State = seed;
}

int32_t GxCrtRandom::Next()
{
    s_State = s_State * 214013u + 2531011u;
    return static_cast<int32_t>((s_State >> 16) & 0x7FFFu);
}
