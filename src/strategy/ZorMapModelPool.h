#pragma once

#include <cstdint>
#include <string>

class GxCore;
class GxModel;

// The dungeon's 3D models, loaded by the stage loader one piece per frame and released together: room
// bases (sets 1..19; set 0 never exists), four gates and four walls per base, and the shared path,
// cursor and scaffold models.
class ZorMapModelPool
{
public:
    static constexpr int32_t kBases = 20;
    static constexpr int32_t kShared = 6; // path00, path01, cursor00, cursor01, cursor02, scaffold

    // One load step with the core's model and texture folders; the steps still to do (0 = done).
    static int32_t PrepareLoading(GxCore* core);
    // The same with explicit folders (each ending in its separator).
    static int32_t PrepareLoading(const std::wstring& modelDir, const std::wstring& textureDir);
    static void ReleaseAll();

    static GxModel* GetBase(int32_t n);
    static GxModel* GetGate(int32_t n, int32_t j);
    static GxModel* GetWall(int32_t n, int32_t j);
    static GxModel* GetShared(int32_t i);
    static int32_t GetLoadIndex();
};
