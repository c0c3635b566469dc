#pragma once

// The defence screen with its loader and releaser in the running engine, built from the sample game's
// UI rows (ZorSampleUITest). The screen makes its own unit lists, so the test tree's are removed first.
//
// Sample-game places used by the tests: the speed radios at (200 + 44 i, 583), the throne and zoom buttons
// at (340 + 44 i, 583), the unit cards' pick-up buttons at (260 + 90 i, 619), the minimap's diamond
// centred on (101, 672).

#include "ZorSampleUITestSupport.h"

#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/screens/SeqZorLoader.h"
#include "strategy/screens/SeqZorMain.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/SeqZorReleaser.h"
#include "task/ui/GxTaskUIRadioButtonIs.h"

namespace zortest
{

class ZorDefenceTest : public ZorSampleUITest
{
protected:
    void SetUp() override
    {
        ZorSampleUITest::SetUp();
        if (HasFatalFailure())
            return;
        for (const wchar_t* name : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList})
            delete List(name);
        m_Loader = new SeqZorLoader(m_Root);
        m_Releaser = new SeqZorReleaser(m_Root);
        m_Screen = new SeqZorMain(m_Root);
        State().m_RemainEnemyLeft = 5;
        State().m_Resource_AstarosHP = 100;
    }
    void TearDown() override
    {
        m_Manage.ClearSequence();
        delete m_Screen;
        delete m_Releaser;
        delete m_Loader;
        ZorMapModelPool::ReleaseAll();
        ZorNcPoolUnit::ReleaseAll();
        ZorSampleUITest::TearDown();
    }

    using ZorSampleUITest::Widget;
    // A widget of a folder of the screen (the bottom bar unless named) by its layout name and index.
    GxTaskUIBase* Widget(const wchar_t* name, int32_t index = 0, const wchar_t* folder = L"$ZORBOTTOM1:SeqZorMain")
    {
        return ZorSampleUITest::Widget(folder, name, index);
    }
    GxTaskUIRadioButtonIs* Radio(const wchar_t* name) { return dynamic_cast<GxTaskUIRadioButtonIs*>(Widget(name)); }
    GxTaskBase* Folder(const wchar_t* name) { return m_Manage.FindTaskByName(name); }

    // The pointer goes off the window, uncaptured; offscreen there is no desktop to say where it went.
    void PointerOff()
    {
        m_Loop.m_Input.Hover(false);
        m_Loop.Pass();
    }

    // The pointer over the map near its top-left corner (clear of the edge zones), then gone from the
    // window to no known place: such a pointer is at no edge, so the map keeps still for as long as it
    // stays away.
    void TheMapKeepsStillWhileThePointerIsAway()
    {
        Enter(m_Screen, SeqZorMain::kParamBack);
        ZorTaskCamera* camera = m_Screen->GetCamera();
        ASSERT_NE(camera, nullptr);
        camera->ResetZoom(2.0f, 4096.0f);
        camera->JumpTo(0.0f, 0.0f);
        MoveTo(40, 40);
        Passes(2);
        ASSERT_EQ(camera->GetProgress(ZorTaskCamera::kTarget), 1.0f) << "the map moved with the pointer over it";
        PointerOff();
        Passes(30);
        EXPECT_EQ(camera->GetProgress(ZorTaskCamera::kTarget), 1.0f);
        EXPECT_EQ(camera->GetCurrent().m_Target.x, 0.0f);
        EXPECT_EQ(camera->GetCurrent().m_Target.z, 0.0f);
    }

    SeqZorLoader* m_Loader = nullptr;
    SeqZorReleaser* m_Releaser = nullptr;
    SeqZorMain* m_Screen = nullptr;
};

} // namespace zortest
