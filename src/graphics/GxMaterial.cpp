#include "graphics/GxMaterial.h"

namespace
{

D3DCOLORVALUE Scaled(const GxFColor& c, float alpha)
{
    return D3DCOLORVALUE{c.r, c.g, c.b, c.a * alpha};
}

} // namespace

D3DMATERIAL9 GxMaterial::ToD3DMaterial(float alpha) const
{
    const float a = m_Alpha * alpha;
    D3DMATERIAL9 m = {};
    m.Diffuse = Scaled(m_Diffuse, a);
    m.Ambient = Scaled(m_Ambient, a);
    m.Specular = Scaled(m_Specular, a);
    m.Emissive = Scaled(m_Emissive, a);
    m.Power = m_SpecularPower;
    return m;
}

uint32_t GxMaterial::DrawGroupOf(const std::wstring& name)
{
    if (name.empty())
        return 0;
    if (name[0] == L'@')
        return 1;
    if (name[0] == L'!')
        return 2;
    return 0;
}

GxMaterial& GxMaterial::GetDefault()
{
    static GxMaterial s_Default;
    return s_Default;
}
