#pragma once

#include "task/GxTaskBase.h"

#include <cstdint>

class ZorTaskCamera;

// Turns input into camera moves: the cursor in the edge zones of the screen, the arrow keys, a drag with
// the middle button, the wheel and Page Up / Page Down. The arrow keys are followed through the key
// notifications (down and up) rather than asked of the keyboard, so pushed and recorded key events
// steer the map as real ones do.
class ZorTaskCameraControl : public GxTaskBase
{
public:
    ZorTaskCameraControl(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera);
    ~ZorTaskCameraControl() override;

    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t OnMouseMove(const float* point, uint32_t keys) override;
    int32_t OnMouseWheel(const float* point, int32_t delta, uint32_t keys) override;
    int32_t OnMouseMiddleDown(const float* point, uint32_t keys, int32_t dbl) override;
    int32_t OnMouseMiddleUp(const float* point, uint32_t keys) override;
    int32_t OnKeyDown(uint32_t key, uint32_t keyData) override;
    int32_t OnKeyUp(uint32_t key, uint32_t keyData) override;

    // Whether the cursor's place is known for edge scrolling: over the window, held by its capture, or
    // off it where the desktop says; or not known (off the window with no desktop to ask), when it is at
    // no edge whatever its last place.
    enum class Pointer
    {
        Known,
        Unknown,
    };
    // One step of edge scrolling and arrow keys with the cursor at (x, y); edgeSpeed and keySpeed are
    // the player's percentages.
    void Step(int32_t x, int32_t y, int32_t edgeSpeed, int32_t keySpeed, Pointer pointer = Pointer::Known);
    bool IsDragging() const { return m_Dragging; }

private:
    enum Arrow
    {
        kLeft,
        kRight,
        kUp,
        kDown,
        kArrows
    };
    ZorTaskCamera* m_Camera;
    bool m_Dragging = false;
    float m_LastX = -1.0f;
    float m_LastY = -1.0f;
    float m_StartX = -1.0f;
    float m_StartY = -1.0f;
    bool m_ArrowDown[kArrows] = {};
};
