// The way back into the story from the strategy screens: through the registered adventure scene, or,
// without one, the missing scene logged.
#include "script/GxMoaAdventureScreen.h"

#include "core/GxLog.h"
#include "script/GxMoaHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

class JumpRecorder : public GxMoaAdventureScreen
{
public:
    JumpRecorder() { Register(this); }
    ~JumpRecorder() override { Register(nullptr); }

    void ShowMessageText(const std::wstring&, bool, bool, int32_t) override {}
    void ShowSpeakerName(const std::wstring&, int32_t) override {}
    void HideSpeakerName() override {}
    bool IsReadedMessage(const std::wstring&, int32_t) override { return false; }
    void SetReadedMessage(const std::wstring&, int32_t) override {}
    void AddMessageLog(const std::wstring&, const std::wstring&, bool) override {}
    int32_t GetNameIdentifyMode() const override { return 0; }
    bool GetIgnoreKinsoku() const override { return false; }
    std::wstring ResolveNameImagePath(const std::wstring&) const override { return std::wstring(); }
    void JumpToStory(const std::wstring& label) override { m_Labels.push_back(label); }

    std::vector<std::wstring> m_Labels;
};

} // namespace

TEST(GxMoaAdventureScreen, ReturnToStoryGoesThroughTheRegisteredSceneOrLogsItsAbsence)
{
    ASSERT_EQ(g_MoaMainWorker, nullptr);
    GxLog::ResetErrorCount();
    {
        JumpRecorder scene;
        GxMoaAdventureScreen::ReturnToStory(L"ZOR_RETURN");
        EXPECT_EQ(scene.m_Labels, std::vector<std::wstring>{L"ZOR_RETURN"});
        EXPECT_EQ(GxLog::GetErrorCount(), 0u);
    }
    // No scene and no worker: the label cannot start and the scene cannot be shown, each logged.
    GxMoaAdventureScreen::ReturnToStory(L"ZOR_RETURN");
    EXPECT_EQ(GxLog::GetErrorCount(), 2u);
}
