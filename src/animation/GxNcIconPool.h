#pragma once

#include <cstdint>
#include <map>
#include <string>

class GxNcCrammedImageSet;
struct GxNcOriginImage;

// The icons of the icon image set by short name (the origin image's file name cut at its first "."), with
// the draws the strategy screens use. Icon pointers stay valid while the icon set stays pooled. Main thread
// only.
class GxNcIconPool
{
public:
    // Indexes the set's origin images; the first image of a name wins. A null set indexes nothing.
    static void Build(const GxNcCrammedImageSet* iconSet);
    static void Clear();
    static const GxNcOriginImage* Find(const wchar_t* name);
    static const GxNcOriginImage* FindString(const std::wstring& name);

    // Pattern `pattern` of the icon, scaled and placed at the position, blend preset 2; colours are ARGB.
    static void Draw(const wchar_t* name, int32_t pattern, float scaleX, float scaleY, float x, float y, float z,
                     uint32_t colour, uint32_t specular);
    // Pattern 0, the colour as is, no second colour.
    static void DrawString(const std::wstring& name, float scaleX, float scaleY, float x, float y, float z,
                           uint32_t colour);
    // Pattern 0 cut to `ratio` of its width from the left, for horizontal bars; white, the colour as the
    // second colour. The packed piece's offset is taken out of the position, so the kept part starts at x.
    static void DrawEx(const wchar_t* name, float x, float y, float z, uint32_t colour, double ratio);

private:
    static std::map<std::wstring, const GxNcOriginImage*>& Icons();
};
