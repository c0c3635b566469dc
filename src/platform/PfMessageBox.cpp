#include "platform/PfMessageBox.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

bool IsHeadlessDriver(const char* driver)
{
    return driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

bool WriteToStandardError(const std::string& caption, const std::string& text)
{
    std::string line = "[" + caption + "] " + text;
    if (line.empty() || line.back() != '\n')
        line += '\n';
    return std::fwrite(line.data(), 1, line.size(), stderr) == line.size() && std::fflush(stderr) == 0;
}

} // namespace

bool PfMessageBox::CanShow()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0 && IsHeadlessDriver(SDL_GetCurrentVideoDriver()))
        return false;
    if (IsHeadlessDriver(std::getenv("SDL_VIDEODRIVER")))
        return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && x11[0] != 0) || (wayland != nullptr && wayland[0] != 0);
}

bool PfMessageBox::Show(const std::string& caption, const std::string& text)
{
    if (CanShow() && SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), text.c_str(), nullptr) == 0)
        return true;
    return WriteToStandardError(caption, text);
}
