// The reference the program's idle cost and memory are measured against: a bare SDL2 program with an
// OpenGL 3.3 core context on a 1024 x 768 window that clears and presents one frame every sixtieth of a
// second, sleeping in between, for the seconds given (default 8), then exits.
#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 8.0;
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return 1;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("KvBareGLLoop", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1024, 768,
                                          SDL_WINDOW_OPENGL);
    if (!window)
        return 1;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context)
        return 1;
    SDL_GL_SetSwapInterval(0);
    const uint64_t frequency = SDL_GetPerformanceFrequency();
    const uint64_t start = SDL_GetPerformanceCounter();
    const uint64_t slot = frequency / 60;
    uint64_t next = start;
    for (bool quit = false; !quit && SDL_GetPerformanceCounter() - start < (uint64_t)(seconds * frequency);)
    {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            quit = quit || event.type == SDL_QUIT;
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
        next += slot;
        const uint64_t now = SDL_GetPerformanceCounter();
        if (next > now)
            SDL_Delay((uint32_t)((next - now) * 1000 / frequency));
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
