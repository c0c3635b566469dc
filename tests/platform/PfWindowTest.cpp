#include "platform/PfWindow.h"
#include "platform/PfWindowPlacement.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

struct Recorder
{
    std::vector<GxWindowMessage> seen;
    bool passToDefault = true;
};

static intptr_t RecordingProc(PfWindow* window, uint32_t message, uintptr_t wParam, intptr_t lParam, void* user)
{
    Recorder* r = static_cast<Recorder*>(user);
    r->seen.push_back({message, wParam, lParam});
    if (message == WM_CLOSE || !r->passToDefault)
        return 0;
    return window->DefWindowProc(message, wParam, lParam);
}

TEST(PfWindow, CreatesAnOpenGLWindowOfTheRequestedClientSize)
{
    Recorder r;
    PfWindow window;
    ASSERT_TRUE(window.Create("テスト", 1024, 768, PfWindowStyle::Framed, RecordingProc, &r)) << window.GetLastError();
    ASSERT_NE(window.GetSDLWindow(), nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(window.GetSDLWindow()) & SDL_WINDOW_OPENGL);
    int w = 0;
    int h = 0;
    window.GetClientSize(w, h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    window.Destroy();
    window.GetClientSize(w, h);
    EXPECT_EQ(w, 0);
}

TEST(PfWindow, PostedMessagesComeFirstAndInOrder)
{
    Recorder r;
    PfWindow window;
    ASSERT_TRUE(window.Create("t", 64, 48, PfWindowStyle::Borderless, RecordingProc, &r));
    window.PostMessage(WM_DESTROY, 0, 0);
    window.PostQuitMessage(0);
    GxWindowMessage m;
    ASSERT_TRUE(window.PeekMessage(m));
    EXPECT_EQ(m.message, WM_DESTROY);
    ASSERT_TRUE(window.PeekMessage(m));
    EXPECT_EQ(m.message, WM_QUIT);
    // Drain whatever SDL had for the new window; the queue never blocks.
    int guard = 0;
    while (window.PeekMessage(m) && ++guard < 1000)
    {
    }
    EXPECT_LT(guard, 1000);
}

TEST(PfWindow, AltF4LeftToTheDefaultProcedureBecomesACloseRequest)
{
    Recorder r;
    PfWindow window;
    ASSERT_TRUE(window.Create("t", 64, 48, PfWindowStyle::Framed, RecordingProc, &r));
    window.DispatchMessage({WM_SYSKEYDOWN, VK_F4, 1 | KF_ALTDOWN_BIT});
    ASSERT_EQ(r.seen.size(), 2u);
    EXPECT_EQ(r.seen[1].message, WM_CLOSE);

    // F4 without Alt (and F10) stay what they were.
    r.seen.clear();
    window.DispatchMessage({WM_SYSKEYDOWN, VK_F10, 1});
    window.DispatchMessage({WM_KEYDOWN, VK_F4, 1});
    EXPECT_EQ(r.seen.size(), 2u);
}

// Offscreen there is no desktop pointer: the cursor is where the last mouse event put it, past the
// client area too (a pointer held beyond the edge), not where SDL's own clamped state says.
TEST(PfWindow, CursorFollowsTheMouseEventsWithoutADesktopPointer)
{
    Recorder r;
    PfWindow window;
    ASSERT_TRUE(window.Create("t", 64, 48, PfWindowStyle::Borderless, RecordingProc, &r));
    GxWindowMessage m;
    while (window.PeekMessage(m))
    {
    }
    const struct
    {
        Uint32 type;
        int x, y;
    } events[] = {{SDL_MOUSEMOTION, 10, 20}, {SDL_MOUSEBUTTONDOWN, 30, 5}, {SDL_MOUSEMOTION, 90, -7}};
    for (const auto& ev : events)
    {
        SDL_Event e{};
        e.type = ev.type;
        const Uint32 id = SDL_GetWindowID(window.GetSDLWindow());
        if (ev.type == SDL_MOUSEMOTION)
            e.motion.windowID = id, e.motion.x = ev.x, e.motion.y = ev.y;
        else
            e.button.windowID = id, e.button.button = SDL_BUTTON_LEFT, e.button.state = SDL_PRESSED, e.button.x = ev.x,
            e.button.y = ev.y;
        ASSERT_EQ(SDL_PushEvent(&e), 1);
        while (window.PeekMessage(m))
        {
        }
        int x = 0, y = 0;
        ASSERT_TRUE(window.GetCursorPos(x, y));
        EXPECT_EQ(std::make_tuple(x, y), std::make_tuple(ev.x, ev.y));
    }
}

// The frame counts in the clamp: on a display no larger than the client size the title bar stays on it.
TEST(PfWindowPlacement, OuterFrameIsClampedToTheDisplayAndCentred)
{
    const PfWindowPlacement::Borders frame = {30, 4, 4, 4};
    struct Case
    {
        PfWindowPlacement::Rect display;
        PfWindowPlacement::Rect client;
    };
    for (const Case& c : {Case{{0, 0, 1024, 768}, {4, 30, 1016, 734}}, Case{{0, 0, 1920, 1080}, {448, 169, 1024, 768}},
                          Case{{1920, 0, 1280, 1024}, {1920 + 124 + 4, 111 + 30, 1024, 768}},
                          Case{{0, 0, 800, 600}, {4, 30, 792, 566}}})
    {
        const PfWindowPlacement::Rect r = PfWindowPlacement::ComputeClient(1024, 768, frame, c.display);
        EXPECT_EQ(std::tuple(r.x, r.y, r.w, r.h), std::tuple(c.client.x, c.client.y, c.client.w, c.client.h))
            << c.display.w << "x" << c.display.h;
    }
}
