#pragma once

#include "task/GxSeqTransitBase.h"

#include <cstdint>

class GxTaskFolder;
class GxTaskLayer;
class GxTaskUIBase;
class GxUserConfig;

// The configuration screen: four tabs (system, sound, voice, game) over the options in memory. Sound and
// voice sliders apply while they move; everything else is stored when the screen is left. The screen
// never writes the options file (the save screen and the shut-down do).
class SeqConfig : public GxSeqTransitBase
{
public:
    enum Folder
    {
        kFolderUI,
        kFolderSystem,
        kFolderSound,
        kFolderVoice,
        kFolderGame,
        kFolderCount
    };

    explicit SeqConfig(GxTaskBase* parent);
    ~SeqConfig() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;
    int32_t OnUIEvent19(GxTaskBase* sender, const GxUIEvent& event) override;
    int32_t OnMouseRightDown(const float* point, uint32_t keys, int32_t dbl) override;
    int32_t OnScreenModeChange(int32_t newMode, int32_t oldMode) override;

    void ShowSelectedTab();
    void LoadControls();
    void StoreControls();
    void ApplySoundSliders();
    void ApplyVoiceSliders();
    void ResetToDefaults();

    // The options as the sliders show the waits and the opacity (negated, so right is faster or clearer),
    // and the long wait that follows the text speed.
    static int32_t ToSlider(int32_t field) { return -field; }
    static int32_t FromSlider(int32_t value) { return -value; }
    static int32_t LongWaitFor(int32_t textWait) { return 8 * textWait; }

    GxTaskFolder* GetFolder(Folder folder) const { return m_Folders[folder]; }

private:
    // A control by local name and index; a missing one has been logged by the lookup and is skipped.
    GxTaskUIBase* Control(Folder folder, const wchar_t* name, int32_t index) const;
    bool IsTabSelected(const wchar_t* tab) const;
    void ApplySoundLevels();
    // Gives the adventure screen's message and name windows the player's window opacity.
    void ApplyWindowOpacity();
    static GxUserConfig* Config();

    GxTaskFolder* m_Folders[kFolderCount] = {};
    GxTaskLayer* m_BGLayer = nullptr;
    uint32_t m_FrameCount = 0;
};
