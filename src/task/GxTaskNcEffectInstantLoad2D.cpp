#include "task/GxTaskNcEffectInstantLoad2D.h"

#include "animation/GxNcProjectEx.h"
#include "animation/GxNcProjectFactory.h"
#include "core/GxCore.h"

GxTaskNcEffectInstantLoad2D::GxTaskNcEffectInstantLoad2D(GxTaskBase* parent, const wchar_t* globalName)
    : GxTaskNcEffect2D(parent, globalName)
{
}

GxTaskNcEffectInstantLoad2D::~GxTaskNcEffectInstantLoad2D()
{
    ReleaseProject();
}

bool GxTaskNcEffectInstantLoad2D::Setup(const std::wstring& projectFile, const std::wstring& imageSetName,
                                        const std::wstring& groupName, const std::wstring& motionName, float x, float y,
                                        float depthKey, const GxVector4& scale)
{
    ReleaseProject(); // a second Setup would otherwise keep the first project to the end of the run
    m_pProject = GxNcProjectFactory::GetInstance().Get(projectFile, imageSetName, true);
    m_pMotion = m_pProject ? m_pProject->FindMotion(groupName, motionName) : nullptr;
    ResetPlay(x, y, depthKey, scale);
    if (!m_pMotion)
        return false;
    if (g_Core)
        g_Core->m_FrameTimer.Reset();
    return true;
}

void GxTaskNcEffectInstantLoad2D::OnKill()
{
    ReleaseProject();
}

void GxTaskNcEffectInstantLoad2D::ReleaseProject()
{
    if (m_pProject)
        GxNcProjectFactory::GetInstance().Release(m_pProject);
    m_pProject = nullptr;
    m_pMotion = nullptr;
}
