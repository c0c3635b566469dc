// Shared main for every test program: GoogleTest with the C locale pinned to something other than
// "C" where the machine has one, so tests notice code that leans on the process locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv)
{
    // Headless by default: a real OpenGL context on llvmpipe and no sound device.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("KV_TOOLS_DIR", KV_TOOLS_DIR_DEFAULT, 0);
    setenv("KV_SOURCE_DIR", KV_SOURCE_DIR_DEFAULT, 0);

    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        std::setlocale(LC_ALL, "C.UTF-8");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
