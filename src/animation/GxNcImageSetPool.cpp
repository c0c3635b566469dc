#include "animation/GxNcImageSetPool.h"

#include "animation/GxNcCrammedImageSetFactory.h"
#include "core/GxLog.h"

std::map<std::wstring, GxNcCrammedImageSet*>& GxNcImageSetPool::Sets()
{
    static std::map<std::wstring, GxNcCrammedImageSet*> s_Sets;
    return s_Sets;
}

bool GxNcImageSetPool::Add(const std::wstring& name)
{
    if (Sets().count(name) != 0)
        return true;
    GxNcCrammedImageSet* set = GxNcCrammedImageSetFactory::GetInstance().GetCrammedImageSet(name, true);
    if (!set)
    {
        GxLog::Error(L"GxNcImageSetPool::Add イメージセット読み込み失敗[%ls]\n", name.c_str());
        return false;
    }
    Sets()[name] = set;
    return true;
}

bool GxNcImageSetPool::Release(const std::wstring& name)
{
    const auto it = Sets().find(name);
    if (it == Sets().end())
    {
        GxLog::Error(L"GxNcImageSetPool::Release 解放するイメージセットが見つからない[%ls]\n", name.c_str());
        return false;
    }
    if (it->second)
        GxNcCrammedImageSetFactory::GetInstance().Release(it->second);
    Sets().erase(it);
    return true;
}

GxNcCrammedImageSet* GxNcImageSetPool::Find(const std::wstring& name)
{
    const auto it = Sets().find(name);
    return it == Sets().end() ? nullptr : it->second;
}

void GxNcImageSetPool::ReleaseAll()
{
    for (auto& [name, set] : Sets())
    {
        if (set)
            GxNcCrammedImageSetFactory::GetInstance().Release(set);
    }
    Sets().clear();
}
