#pragma once

#include <map>
#include <string>

class GxNcCrammedImageSet;

// Image sets held by name for the whole run or until released, such as the common UI sets loaded at
// start-up: screens find them without counting references. Names are kept as passed (path and extension
// included) and compared exactly. Main thread only.
class GxNcImageSetPool
{
public:
    // True when the set is pooled (already, or now with its page textures loaded); a second Add of a pooled
    // name takes no further reference.
    static bool Add(const std::wstring& name);
    // Gives the pool's reference back; false after logging when the name is not pooled.
    static bool Release(const std::wstring& name);
    // No reference taken.
    static GxNcCrammedImageSet* Find(const std::wstring& name);
    static void ReleaseAll();

private:
    static std::map<std::wstring, GxNcCrammedImageSet*>& Sets();
};
