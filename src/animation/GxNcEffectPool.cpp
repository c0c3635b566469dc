#include "animation/GxNcEffectPool.h"

#include "animation/GxNcProjectEx.h"
#include "animation/GxNcProjectFactory.h"
#include "appdata/DBEffect.h"
#include "core/GxLog.h"

std::map<std::wstring, GxNcEffect>& GxNcEffectPool::Effects()
{
    static std::map<std::wstring, GxNcEffect> s_Effects;
    return s_Effects;
}

bool GxNcEffectPool::LoadAllEffect(const std::wstring& projectFolder, const std::wstring& imageSetFolder)
{
    int failures = 0;
    GxNcProjectFactory& factory = GxNcProjectFactory::GetInstance();
    for (int32_t i = 0; i < DBEffect::s_Capacity; ++i)
    {
        const DBEffectData* row = g_DBEffect.GetRow(i);
        if (!row || row->m_GNCName.empty() || row->m_MotionGroup.empty() || row->m_Motion.empty())
            continue;
        GxNcProjectEx* project = factory.Get(projectFolder + row->m_GNCName, imageSetFolder, true);
        if (!project)
        {
            GxLog::Error(L"GxNcEffectPool::LoadAllEffect プロジェクト読み込み失敗[%ls]\n", row->m_GNCName.c_str());
            ++failures;
            continue;
        }
        GxNcMotion* motion = project->FindMotion(row->m_MotionGroup, row->m_Motion);
        if (!motion)
        {
            GxLog::Error(L"GxNcEffectPool::LoadAllEffect モーション読み込み失敗[%ls:%ls]\n", row->m_GNCName.c_str(),
                         row->m_Motion.c_str());
            // Nobody would give this reference back: the project would stay cached to the end of the run.
            factory.Release(project);
            ++failures;
            continue;
        }
        if (!Effects().emplace(row->m_Name, GxNcEffect{project, motion}).second)
        {
            factory.Release(project);
            GxLog::Error(L"GxNcEffectPool::LoadAllEffect エフェクト名が重複してます[%ls]\n", row->m_Name.c_str());
            ++failures;
        }
    }
    return failures == 0;
}

const GxNcEffect* GxNcEffectPool::Find(const std::wstring& name)
{
    const auto it = Effects().find(name);
    return it == Effects().end() ? nullptr : &it->second;
}

void GxNcEffectPool::ReleaseAllEffect()
{
    for (auto& [name, effect] : Effects())
    {
        if (effect.m_pProject)
            GxNcProjectFactory::GetInstance().Release(effect.m_pProject);
    }
    Effects().clear();
}
