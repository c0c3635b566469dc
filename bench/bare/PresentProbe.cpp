// A library preloaded into a program measured from outside (LD_PRELOAD): it wraps SDL_GL_SwapWindow and
// writes one line per present to the file named by KV_PRESENT_LOG: the monotonic clock in nanoseconds
// (the clock std::chrono::steady_clock reads in the measuring process) and, for the first presents only,
// whether the picture sent holds any pixel that is not black (1), none (0), or was not looked at (-).
// Looking reads the window's back buffer back, so only the first few presents are looked at.
#include <SDL2/SDL.h>

#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace
{

constexpr int kLookedAt = 4;
constexpr unsigned kReadFramebufferBinding = 0x8CAA; // GL_READ_FRAMEBUFFER_BINDING
constexpr unsigned kReadFramebuffer = 0x8CA8;        // GL_READ_FRAMEBUFFER
constexpr unsigned kBack = 0x0405;                   // GL_BACK
constexpr unsigned kReadBufferState = 0x0C02;        // GL_READ_BUFFER
constexpr unsigned kRgba = 0x1908;                   // GL_RGBA
constexpr unsigned kUnsignedByte = 0x1401;           // GL_UNSIGNED_BYTE

using SwapFn = void (*)(SDL_Window*);
using GetIntegervFn = void (*)(unsigned, int*);
using BindFramebufferFn = void (*)(unsigned, unsigned);
using ReadBufferFn = void (*)(unsigned);
using ReadPixelsFn = void (*)(int, int, int, int, unsigned, unsigned, void*);

int s_Presents = 0;
FILE* s_Log = nullptr;

// '1' when some pixel of the window's back buffer is not black, '0' when none is, '-' when unknown.
char LookAtPicture(SDL_Window* window)
{
    auto getIntegerv = (GetIntegervFn)SDL_GL_GetProcAddress("glGetIntegerv");
    auto bindFramebuffer = (BindFramebufferFn)SDL_GL_GetProcAddress("glBindFramebuffer");
    auto readBuffer = (ReadBufferFn)SDL_GL_GetProcAddress("glReadBuffer");
    auto readPixels = (ReadPixelsFn)SDL_GL_GetProcAddress("glReadPixels");
    if (!getIntegerv || !bindFramebuffer || !readBuffer || !readPixels)
        return '-';
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    if (w <= 0 || h <= 0)
        return '-';
    int framebuffer = 0, buffer = 0;
    getIntegerv(kReadFramebufferBinding, &framebuffer);
    getIntegerv(kReadBufferState, &buffer);
    bindFramebuffer(kReadFramebuffer, 0);
    readBuffer(kBack);
    std::vector<uint8_t> pixels((size_t)w * h * 4);
    readPixels(0, 0, w, h, kRgba, kUnsignedByte, pixels.data());
    bindFramebuffer(kReadFramebuffer, (unsigned)framebuffer);
    if (framebuffer != 0)
        readBuffer((unsigned)buffer);
    for (size_t i = 0; i < pixels.size(); i += 4)
        if (pixels[i] | pixels[i + 1] | pixels[i + 2])
            return '1';
    return '0';
}

} // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window* window)
{
    static SwapFn s_Next = (SwapFn)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    if (!s_Log)
        if (const char* path = std::getenv("KV_PRESENT_LOG"))
            s_Log = std::fopen(path, "a");
    char look = '-';
    if (s_Log && s_Presents < kLookedAt)
        look = LookAtPicture(window);
    ++s_Presents;
    if (s_Next)
        s_Next(window);
    if (s_Log)
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::fprintf(s_Log, "%lld %c\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec, look);
        std::fflush(s_Log);
    }
}
