#pragma once

#include "animation/GxNcEffect.h"

#include <map>
#include <string>

// Every effect of the effect table, loaded at start-up and found by effect name (compared exactly). Main
// thread only.
class GxNcEffectPool
{
public:
    // Loads each effect row's project (projectFolder + its file name, image sets from imageSetFolder) and
    // finds its motion. Rows with an empty file, group or motion name are skipped silently. True when no
    // row failed; failed rows are logged and left out.
    static bool LoadAllEffect(const std::wstring& projectFolder, const std::wstring& imageSetFolder);
    // The pooled effect, or null.
    static const GxNcEffect* Find(const std::wstring& name);
    // Every project reference given back; the pool empties.
    static void ReleaseAllEffect();
    static size_t GetCount() { return Effects().size(); }

private:
    static std::map<std::wstring, GxNcEffect>& Effects();
};
