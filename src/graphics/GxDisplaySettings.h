#pragma once

#include <cstdint>

// Screen modes by index; the names appear in the device log.
enum GxScreenMode : uint32_t
{
    SCRMODE_WINDOW = 0,
    SCRMODE_WINDOWSIZE = 1,
    SCRMODE_FULLSCREEN = 2,
    SCRMODE_FULLSCREENX2 = 3,
    SCRMODE_FULL320X240 = 4,
    SCRMODE_FULL640X480 = 5,
    SCRMODE_FULL800X600 = 6,
    SCRMODE_FULL1024X576 = 7,
    SCRMODE_FULL1024X768 = 8,
    SCRMODE_FULL1280X720 = 9,
    SCRMODE_FULL1280X800 = 10,
    SCRMODE_FULL1280X960 = 11,
    SCRMODE_FULL1280X1024 = 12,
    SCRMODE_FULL1920X1080 = 13,
    SCRMODE_COUNT = 14,
};

// The display settings: filled by the game's start-up hook before the device starts, read by the device.
// The values here are those of the static record; the hook sets the window and back buffer to 1024 x 768,
// the cursor mode to 1, the lockable back buffer off and the swap effect to 2 (flip).
class GxDisplaySettings
{
public:
    static GxDisplaySettings& Get();

    uint32_t m_WindowWidth = 640;
    uint32_t m_WindowHeight = 480;
    uint32_t m_BackBufferWidth = 640;
    uint32_t m_BackBufferHeight = 480;
    uint32_t m_CursorMode = 2;
    uint32_t m_ScreenMode = SCRMODE_WINDOW;
    uint32_t m_RequestScreenMode = SCRMODE_WINDOW;
    uint32_t m_VSyncInterval = 1;
    bool m_LockableBackBuffer = true;
    uint32_t m_TextureBits = 32;
    uint32_t m_BackBufferBits = 32;
    uint32_t m_DepthStencilBits = 24;
    uint32_t m_RefreshRate = 60;
    bool m_SquareTextures = false;
    uint32_t m_MultiSampleMode = 0;
    uint32_t m_SwapEffect = 1;
};
