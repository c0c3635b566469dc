#include "script/GxMoaAdventureScreen.h"

#include "core/GxLog.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"

namespace
{
GxMoaAdventureScreen* s_Screen = nullptr;
}

GxMoaAdventureScreen* GxMoaAdventureScreen::Find()
{
    return s_Screen;
}

void GxMoaAdventureScreen::Register(GxMoaAdventureScreen* screen)
{
    s_Screen = screen;
}

void GxMoaAdventureScreen::ReturnToStory(const std::wstring& label)
{
    if (GxMoaAdventureScreen* screen = Find())
        screen->JumpToStory(label);
    else
        StartWithoutScene(label);
}

void GxMoaAdventureScreen::StartWithoutScene(const std::wstring& label)
{
    if (!g_MoaMainWorker || !g_MoaMainWorker->StartAtLabel(label))
        GxLog::Error(L"スクリプトにラベル %s が存在しないため実行できません\n", label.c_str());
    GxLog::Error(L"遷移先のシーケンスが見つかりません(%s)\n", L"SeqAvgMain");
}
