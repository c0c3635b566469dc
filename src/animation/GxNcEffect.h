#pragma once

class GxNcMotion;
class GxNcProjectEx;

// One pooled effect: a motion and the project that holds it (the pool holds the project's reference).
struct GxNcEffect
{
    GxNcProjectEx* m_pProject = nullptr;
    GxNcMotion* m_pMotion = nullptr;
};
