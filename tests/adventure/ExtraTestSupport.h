#pragma once

// A task tree for the extra screens: the screen under test, stand-ins for the title and the adventure
// screen, the adventure state and permanent progress the screens read, the sound records, and empty
// gallery, replay and music tables. Widgets are placed by the test in the screen's UI folder.
#include "../appdata/DBTestSupport.h"
#include "../task/TaskTestSupport.h"

#include "adventure/SeqExtraBase.h"
#include "appdata/DBBGMMode.h"
#include "appdata/DBCGMode.h"
#include "appdata/DBRPMode.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "task/GxTaskFolder.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIRadioButtonIs.h"

#include <gtest/gtest.h>

template <class Screen> class ExtraTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dbtest::ResetTables(g_DBBGMMode, g_DBCGMode, g_DBRPMode);
        GxSoundControl::SetTargets(&m_Config, &m_Data);
        SeqExtraBase::SetTargets(&m_Data, &m_Perman, &m_SysConfig);
        GxSeqBase::ResetInputLocks();
    }
    void TearDown() override
    {
        GxSoundControl::SetTargets(nullptr, nullptr);
        SeqExtraBase::SetTargets(nullptr, nullptr);
        dbtest::ResetTables(g_DBBGMMode, g_DBCGMode, g_DBRPMode);
    }

    // The screen becomes current (entered and started) after the title.
    void Open()
    {
        m_Tree.Enter(m_Title);
        m_Tree.Step(0, 0);
        m_Tree.Enter(m_Screen);
        m_Tree.Step(0, 0);
    }
    template <class W = GxTaskUIButtonIs> W* Add(const wchar_t* name, int32_t index, float x = 0, float y = 0)
    {
        W* w = new W(m_Screen->GetUIFolder(), nullptr, name, index);
        w->SetPos(GxVector4(x, y, 0.0f, 0.0f));
        w->SetWidth(100);
        w->SetHeight(60);
        return w;
    }
    GxTaskUIBase* Widget(const wchar_t* name, int32_t index = 0) { return m_Screen->FindWidget(name, index); }
    // A click from the widget, handled in the next step.
    void Click(const wchar_t* name, int32_t index = 0)
    {
        GxTaskUIBase* w = Widget(name, index);
        ASSERT_NE(w, nullptr) << name;
        // A press turns a radio button on by itself before its click arrives.
        if (w->GetTypeCode() == GxTaskUIRadioButtonIs::kTypeCode)
            static_cast<GxTaskUIRadioButtonIs*>(w)->Select();
        ASSERT_TRUE(w->PostUIEventCode(1)) << name;
        m_Tree.Step(0, 0);
    }
    std::wstring Current() { return m_Tree.manage.GetPendingSequenceName(); }

    dbtest::TempFolder m_Folder;
    dbtest::LogCapture m_Log{m_Folder};
    GxUserConfig m_Config;
    GxSystemConfig m_SysConfig;
    GxUserData m_Data{nullptr};
    GxUserDataPerman m_Perman{nullptr};
    TaskTree m_Tree;
    GxSeqBase* m_Title = new GxSeqBase(m_Tree.root, L"SeqTitle");
    GxSeqBase* m_Adventure = new GxSeqBase(m_Tree.root, L"SeqAvgMain");
    Screen* m_Screen = new Screen(m_Tree.root);
};
