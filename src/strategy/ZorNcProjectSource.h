#pragma once

#include <cstdint>
#include <string>

// What the unit animation pool needs of the animation projects: a reference-counted load by path, the
// lookup of a motion and its length in frames, and the release. Handles are opaque to the pool.
// ZorNcProjectFactorySource answers it from the engine's project factory; the headless simulation gives
// fixed lengths.
class ZorNcProjectSource
{
public:
    virtual ~ZorNcProjectSource() = default;

    // The project, or null when it cannot be loaded.
    virtual const void* GetProject(const std::wstring& path, const std::wstring& textureDir) = 0;
    // The motion of that group and name in the project, or null.
    virtual const void* FindMotion(const void* project, const std::wstring& group, const std::wstring& name) = 0;
    virtual int32_t GetMotionLength(const void* motion) const = 0;
    virtual void ReleaseProject(const void* project) = 0;
    // The height of the motion's figure at its first frame (the vertical extent of its bounds); false when
    // the source has no figures (the headless simulation) or the motion draws nothing.
    virtual bool GetMotionHeight(const void* project, const void* motion, float& height)
    {
        (void)project, (void)motion, (void)height;
        return false;
    }
};
