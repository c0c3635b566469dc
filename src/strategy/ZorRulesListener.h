#pragma once

#include "core/GxVector4.h"

#include <cstdint>
#include <string>

// What the rules tell the strategy screens: effects, pop-ups, the battle log, voices, sounds, music, and
// the windows and lists to close or refresh. The rules never reach a screen any other way, so a run
// without screens (tests, the headless simulation) simply keeps this default, which does nothing.
class ZorRulesListener
{
public:
    enum Refresh
    {
        kRefreshUnitList = 1,
        kRefreshRoomButtons = 2,
        kRefreshMinimap = 4,
    };

    virtual ~ZorRulesListener() = default;

    // A map effect at a world position ("EFE_..." of the effect pool).
    virtual void OnMapEffect(const wchar_t* name, const GxVector4& position, float param)
    {
        (void)name, (void)position, (void)param;
    }
    // A screen effect: the stage opening, victory and defeat (on their layers), the resource pop-ups.
    virtual void OnScreenEffect(const wchar_t* name, float x, float y, float depth)
    {
        (void)name, (void)x, (void)y, (void)depth;
    }
    // A floating text (the "+%d" and "-%d" pop-ups), ARGB colour.
    virtual void OnPopupText(const std::wstring& text, float x, float y, uint32_t color)
    {
        (void)text, (void)x, (void)y, (void)color;
    }
    virtual void OnSpecialEffect(const std::wstring& file, const std::wstring& group, const std::wstring& motion,
                                 float rate)
    {
        (void)file, (void)group, (void)motion, (void)rate;
    }
    virtual bool IsSpecialEffectPlaying() const { return false; }
    virtual void OnTextLog(const std::wstring& line) { (void)line; }
    virtual void OnVoice(const std::wstring& path, int32_t volumeID) { (void)path, (void)volumeID; }
    virtual void OnOneShot(const wchar_t* path) { (void)path; }
    virtual void OnBGM(const wchar_t* file) { (void)file; }
    // Closes the user dialog, whatever asked it, with the close sound (a stage ends under it).
    virtual void OnCloseDialog() {}
    // Closes whichever defence window the phase names (1-4).
    virtual void OnCloseWindows(int32_t phase) { (void)phase; }
    virtual void OnRefresh(uint32_t what) { (void)what; }
};
