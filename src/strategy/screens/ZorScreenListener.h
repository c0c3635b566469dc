#pragma once

#include "strategy/ZorRulesListener.h"

#include <cstdint>
#include <string>

class GxTaskBase;

// What the rules' notifications do on a running strategy screen, shared by the defence and the invasion
// screens: the effect layers of "SeqZorMain" receive the effects (map effects through the camera of the
// screen in use, ZorCore::GetCamera), the resource pop-ups become floating texts, a skill's cut-in plays
// under "$EFFECTSPECIAL:SeqZorMain" and holds game time while it lasts, and voices, one-shots and music
// go to the sound control. Whichever screen is entered installs itself as the core's listener, so the
// notifications always reach the screen the player sees.
class ZorScreenListener : public ZorRulesListener
{
public:
    // The pop-ups' place and life: the text stands at (x, 619) over the resource numbers.
    static constexpr float kPopupDepth = 14010.0f;
    // The sound-effect slot the battle voices play on (channel 4 + slot).
    static constexpr int kVoiceSlot = 0;

    ~ZorScreenListener() override;

    void OnMapEffect(const wchar_t* name, const GxVector4& position, float param) override;
    // The opening goes to "$EFFECTSTART", the defence's and the invasion's end banners to "$EFFECTEND",
    // everything else to "$EFFECT" (all of "SeqZorMain").
    void OnScreenEffect(const wchar_t* name, float x, float y, float depth) override;
    void OnPopupText(const std::wstring& text, float x, float y, uint32_t color) override;
    // depth is the draw key of the cut-in; it plays centred on the screen.
    void OnSpecialEffect(const std::wstring& file, const std::wstring& group, const std::wstring& motion,
                         float depth) override;
    bool IsSpecialEffectPlaying() const override;
    void OnVoice(const std::wstring& path, int32_t volumeID) override;
    void OnOneShot(const wchar_t* path) override;
    // The music from the BGM folder, unless the same track already plays.
    void OnBGM(const wchar_t* file) override;

    // The folder of the defence screen's task tree with that name, or null.
    static GxTaskBase* FindEffectFolder(const wchar_t* name);

protected:
    // Makes this screen the one the rules talk to.
    void ListenToRules();
};
