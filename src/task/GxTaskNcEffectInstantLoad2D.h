#pragma once

#include "task/GxTaskNcEffect2D.h"

#include <string>

// An effect task that fetches its project from the project factory by file name and holds it until the
// task is killed.
class GxTaskNcEffectInstantLoad2D : public GxTaskNcEffect2D
{
public:
    explicit GxTaskNcEffectInstantLoad2D(GxTaskBase* parent, const wchar_t* globalName = nullptr);
    ~GxTaskNcEffectInstantLoad2D() override;

    // False when the project, the group or the motion is missing (the task then kills itself at its first
    // update). A successful load restarts the frame timer, so the time spent loading is not caught up.
    bool Setup(const std::wstring& projectFile, const std::wstring& imageSetName, const std::wstring& groupName,
               const std::wstring& motionName, float x, float y, float depthKey, const GxVector4& scale);
    void OnKill() override;

private:
    void ReleaseProject();
};
