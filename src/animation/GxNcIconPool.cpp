#include "animation/GxNcIconPool.h"

#include "animation/GxNcCrammedImageSet.h"
#include "core/GxColor.h"
#include "core/GxMatrix.h"
#include "core/GxPath.h"

std::map<std::wstring, const GxNcOriginImage*>& GxNcIconPool::Icons()
{
    static std::map<std::wstring, const GxNcOriginImage*> s_Icons;
    return s_Icons;
}

void GxNcIconPool::Build(const GxNcCrammedImageSet* iconSet)
{
    if (!iconSet)
        return;
    for (const GxNcOriginImage& image : iconSet->m_OriginImages)
        Icons().emplace(GxPath::GetBaseName(GxPath::GetFileName(image.m_FileName)), &image);
}

void GxNcIconPool::Clear()
{
    Icons().clear();
}

const GxNcOriginImage* GxNcIconPool::Find(const wchar_t* name)
{
    return name ? FindString(name) : nullptr;
}

const GxNcOriginImage* GxNcIconPool::FindString(const std::wstring& name)
{
    const auto it = Icons().find(name);
    return it == Icons().end() ? nullptr : it->second;
}

void GxNcIconPool::Draw(const wchar_t* name, int32_t pattern, float scaleX, float scaleY, float x, float y, float z,
                        uint32_t colour, uint32_t specular)
{
    GxMatrix m;
    m.Scaling(scaleX, scaleY, 1.0f);
    m.AddTranslation(x, y, z);
    GxNcCrammedImageSet::DrawPattern(Find(name), pattern, m, 1.0f, GxColor::FromARGB(colour),
                                     GxColor::FromARGB(specular), 2);
}

void GxNcIconPool::DrawString(const std::wstring& name, float scaleX, float scaleY, float x, float y, float z,
                              uint32_t colour)
{
    Draw(name.c_str(), 0, scaleX, scaleY, x, y, z, colour, 0);
}

void GxNcIconPool::DrawEx(const wchar_t* name, float x, float y, float z, uint32_t colour, double ratio)
{
    const GxNcOriginImage* image = Find(name);
    if (!image || image->m_Patterns.empty())
        return;
    const GxNcPattern& p = image->m_Patterns[0];
    GxMatrix m;
    m.Translation(x - (float)p.m_CrammedOffsetLeft, y - (float)p.m_CrammedOffsetTop, z);
    // Truncated toward zero; a ratio far outside 0..1 is held to what an int can say.
    double right = p.m_Width * ratio;
    if (right != right)
        right = 0.0; // NaN
    right = right > 2147483647.0 ? 2147483647.0 : (right < -2147483647.0 ? -2147483647.0 : right);
    GxNcCrammedImageSet::DrawPatternEx(image, 0, m, 0, 0, (int32_t)right, p.m_Height, 1.0f,
                                       GxColor::FromARGB(0xFFFFFFFF), GxColor::FromARGB(colour), 2);
}
