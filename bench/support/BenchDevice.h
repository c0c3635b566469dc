#pragma once

#include "platform/PfWindow.h"

#include <cstdint>

// The window and graphics device the drawing benchmarks draw into: SDL's offscreen driver unless
// SDL_VIDEODRIVER says otherwise (a real OpenGL context on Mesa's llvmpipe), a 1024 x 768 back buffer
// and no vsync, so a present never waits for a display.
//
// Closing is left to the owner (Close): many benchmarks keep the device for the whole program, and
// textures of statics destroyed after this object may still need it.
class BenchDevice
{
public:
    // The display settings' swap effect 2 (the back buffer kept after a present); 0 leaves the setting
    // as it is.
    static constexpr uint32_t kSwapKeep = 0;
    static constexpr uint32_t kSwapCopy = 2;

    BenchDevice() = default;
    BenchDevice(const BenchDevice&) = delete;
    BenchDevice& operator=(const BenchDevice&) = delete;

    // Opens the window with the title and starts the device on it; false when either fails.
    bool Open(const char* title, uint32_t swapEffect = kSwapKeep);
    // Finalizes the device and destroys the window, when Open made them.
    void Close();
    PfWindow& GetWindow() { return m_Window; }

private:
    PfWindow m_Window;
    bool m_Open = false;
};
