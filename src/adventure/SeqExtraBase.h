#pragma once

#include "task/GxSeqTransitBase.h"

#include <cstdint>
#include <string>

class GxSystemConfig;
class GxTaskFolder;
class GxTaskLayer;
class GxTaskUIBase;
class GxUserData;
class GxUserDataPerman;

// The frame the extra screens (music room, gallery, picture viewer, replay mode) share: the folders
// "$ROOT:<name>" and "$UI:<name>", the picture layer "$BGLAYER:<name>" behind the widgets, the widgets of
// the UI layout group named after the UI folder, the common update (queued UI events, frame count), the
// draw registration (the transit's, plus the screen itself in draw layer 5) and the right button acting as
// btn_back.
//
// Draw parameter 0 clears the screen, 1 draws the transition, 2 calls DrawScreen.
class SeqExtraBase : public GxSeqTransitBase
{
public:
    static constexpr int32_t kDrawLayer = 5;
    static constexpr float kBackgroundDepth = -10.0f;

    SeqExtraBase(GxTaskBase* parent, const wchar_t* name, float drawKey);
    ~SeqExtraBase() override;

    // The transit's leave handling, then the picture layer emptied.
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    int32_t OnMouseRightDown(const float* point, uint32_t keys, int32_t dbl) override;

    GxTaskFolder* GetUIFolder() const { return m_UIFolder; }
    GxTaskLayer* GetBackgroundLayer() const { return m_BackgroundLayer; }
    // A widget of the UI folder, or null (no message).
    GxTaskUIBase* FindWidget(const wchar_t* name, int32_t index) const;

    // The adventure state, the permanent progress and the system configuration the screens read; the
    // core's unless a test sets its own (null restores the core's).
    static void SetTargets(GxUserData* data, GxUserDataPerman* perman, const GxSystemConfig* config = nullptr);
    static GxUserData* UserData();
    static GxUserDataPerman* Perman();
    static const GxSystemConfig& SystemConfig();

protected:
    // What draw parameter 2 shows; nothing by default.
    virtual void DrawScreen() {}

    // file under the UI picture folder into the picture layer at once, the error picture when missing.
    void LoadBackground(const wchar_t* file);
    // Empties the music record and stops the music over fadeMs.
    static void ForgetMusic(uint32_t fadeMs);
    // The front-end music of the system configuration (entry index of BGM_NAME_*): played endlessly with
    // a 500 ms fade-in unless the record already names it; an empty name forgets the music (1000 ms).
    static void PlayConfiguredMusic(int index);
    // A music file of the music folder, named as the tables and the configuration name it (mostly without
    // extension), completed with the first of ".ogg" and ".wav" that exists: the players pick their
    // decoder by the extension. A name that matches no file stays as written for the player to report.
    static std::wstring MusicPath(const std::wstring& name);
    // The click sound of image-set buttons, played before a screen acts on their click.
    static void PlayClickSound(GxTaskBase* sender);
    // Requests the switch, logging when no sequence has the name; the UI event queue is emptied.
    bool SwitchTo(const wchar_t* name, uint32_t param0, uint32_t param1);

private:
    float m_DrawKey;
    GxTaskFolder* m_RootFolder = nullptr;
    GxTaskFolder* m_UIFolder = nullptr;
    GxTaskLayer* m_BackgroundLayer = nullptr;
};
