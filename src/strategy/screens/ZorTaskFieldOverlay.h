#pragma once

#include "task/GxTaskFolder.h"

#include <cstdint>
#include <string>

class ZorTaskCamera;
class ZorTaskUnitEntity;

// The small hit-point bar and the status symbols above every unit on the invasion field, drawn straight
// from the two field lists (no render list), after the sprites.
class ZorTaskFieldOverlay : public GxTaskFolder
{
public:
    // Above the unit's feet on the screen: the bar, and the symbols over it.
    static constexpr float kBarRise = 162.0f;
    static constexpr float kSymbolRise = 180.0f;

    ZorTaskFieldOverlay(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera);
    ~ZorTaskFieldOverlay() override;

    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // One unit's bar: the screen point above which it is drawn, the hit-point fraction, the symbols.
    struct Bar
    {
        float m_X = 0.0f;
        float m_Y = 0.0f;
        double m_Ratio = 0.0;
        std::wstring m_Symbols;
    };
    // Enemies and the player's units on the field, at most 19 at a time.
    static constexpr int32_t kMaxBars = 32;

    void SetCamera(ZorTaskCamera* camera) { m_Camera = camera; }
    // The bars of the units still on the field (enemies first, each list in child order); the number
    // written, at most kMaxBars. Nothing without a camera.
    int32_t CollectBars(Bar out[kMaxBars]) const;
    // One character per running status timer, 0x2F + the status, in status order; out is cleared first.
    static void StatusSymbols(const ZorTaskUnitEntity& unit, std::wstring& out);

private:
    ZorTaskCamera* m_Camera = nullptr;
    Bar m_Bars[kMaxBars];
};
