#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ZorNcProjectSource;

// The animation project of every unit kind (one entry per DBZorUnit row) with its four motions, loaded by
// the stage loaders one project per frame and released together.
class ZorNcPoolUnit
{
public:
    static constexpr int32_t kUnitCount = 160;
    static constexpr int32_t kMotions = 4; // stand, attack, damage, walk

    struct Entry
    {
        const void* m_Project = nullptr;
        const void* m_Motions[kMotions] = {};
    };

    static void SetProjectSource(ZorNcProjectSource* source);
    static ZorNcProjectSource* GetProjectSource();

    // 160 empty entries, load index 0.
    static void Initialize();
    // Loads the next unit kind that has a project and moves past the rows without one; the unit IDs
    // still to go (0 = done).
    static int32_t PrepareLoading(const std::wstring& projectDir, const std::wstring& textureDir);
    static void ReleaseAll();
    // The entry of the unit ID, or null outside 0..159.
    static const Entry* GetEntry(int32_t unitID);
    // The motion's length in frames; 0 for none.
    static int32_t GetMotionLength(int32_t unitID, int32_t motion);
    // The height of the unit kind's standing figure (motion 0 at its first frame); false when the kind
    // has no standing motion loaded or the source cannot measure it.
    static bool GetStandingHeight(int32_t unitID, float& height);
    static int32_t GetLoadIndex();
};
