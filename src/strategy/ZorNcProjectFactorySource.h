#pragma once

#include "animation/GxNcMotionSnapShotEx.h"
#include "strategy/ZorNcProjectSource.h"

// The unit pool's projects through the engine's animation project factory; a project counts as loaded
// when it holds at least one motion group (the factory caches an unreadable file as an empty project).
class ZorNcProjectFactorySource : public ZorNcProjectSource
{
public:
    // Without textures the projects load headless (the rules need only their motions).
    explicit ZorNcProjectFactorySource(bool loadTextures = true) : m_LoadTextures(loadTextures) {}

    const void* GetProject(const std::wstring& path, const std::wstring& textureDir) override;
    const void* FindMotion(const void* project, const std::wstring& group, const std::wstring& name) override;
    // The motion's total duration in frames.
    int32_t GetMotionLength(const void* motion) const override;
    void ReleaseProject(const void* project) override;
    // Evaluates the motion at frame 0 in white, untransformed, and measures its bounds.
    bool GetMotionHeight(const void* project, const void* motion, float& height) override;

private:
    bool m_LoadTextures;
    GxNcMotionSnapShotEx m_Measure; // kept between calls so measuring allocates only for a larger figure
};
