#include "appdata/GxGlobalFonts.h"

#include "graphics/GxFontData.h"
#include "graphics/GxGDIFontMap.h"

void ReleaseGlobalFonts()
{
    for (GxGDIFontMap& map : g_GDIFontMaps)
        map.Clear();
    for (GxFontData& font : g_FontDataTable)
        font.Release();
}
