// The program's window on a real X server, where the pointer is the desktop's and not the test's: an Xvfb
// of the test's own (KvXServer), the pointer, buttons and keys moved through XTest as a player's hand
// moves them, so their events come from the server exactly as on a desktop. The frames are read back as
// the offscreen tests read them, and full screen from the server's own screen (its root window).
//
// The hover and drag cases are the offscreen ones (GxWidgetEngine, ZorWindowsDevice) with the pointer
// moved on the server, each move waiting (with a bound) until SDL has received it. The pointer moves in two
// ways, and the program must follow both: as a pointing device moves it (XTest, which the server also
// reports as raw device input) and as a program places it (XWarpPointer, as xdotool does, with no raw
// input: SDL's cached desktop pointer, which it refreshes on raw input only, stays where it was).
#include "graphics/GxDraw.h"
#include "platform/PfGLSwapChain.h"
#include "strategy/ZorWindowsTestSupport.h"
#include "support/KvBusyCores.h"
#include "support/KvXServer.h"
#include "task/ui/WidgetEngineTestSupport.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <poll.h>
#include <thread>
#include <vector>

namespace
{

constexpr int kScreenWidth = 1280, kScreenHeight = 1024;

enum class Move
{
    Device,
    Warp
};

// One server for the test program: SDL's video subsystem, once started on it, stays up for the process's
// life (PfWindow::Create), so a second case in the same process must find the same server. CTest runs
// each case in a process of its own, so there each case still has a server of its own, which ends with
// the process.
KvXServer& Server()
{
    static KvXServer server;
    return server;
}

// The desktop side: the server, a connection of the test's own to it, through which input is made and the
// screen read, and a watch on SDL's queue that sees the server's events arrive.
class XDesk
{
public:
    ~XDesk() { Stop(); }

    bool Start() { return Server().IsRunning() || Server().Start(kScreenWidth, kScreenHeight); }
    void SetMove(Move move) { m_Move = move; }
    const std::string& Why() const { return Server().Why(); }
    std::string LastMotion() const { return std::to_string(m_MotionX) + "," + std::to_string(m_MotionY); }

    // Once the program's window exists: connects and waits, passing the loop, until the window is shown.
    bool Attach(SDL_Window* window, std::function<void()> pass)
    {
        m_Pass = std::move(pass);
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
            return false;
        m_Window = info.info.x11.window;
        m_Display = XOpenDisplay(Server().GetDisplay().c_str());
        if (!m_Display)
            return false;
        SDL_AddEventWatch(Watch, this);
        return Until(
            [&]
            {
                XWindowAttributes a;
                return XGetWindowAttributes(m_Display, m_Window, &a) && a.map_state == IsViewable;
            });
    }
    void Stop()
    {
        if (m_Display)
        {
            SDL_DelEventWatch(Watch, this);
            XCloseDisplay(m_Display);
            m_Display = nullptr;
        }
    }

    // Passes the loop until done() holds; false after 120 s without (a loaded machine's server and
    // compositor can be slow, one that never gets there is a fault).
    bool Until(const std::function<bool()>& done)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (!done())
        {
            if (std::chrono::steady_clock::now() > until)
                return false;
            m_Pass();
        }
        return true;
    }

    // The pointer to a pixel of the window's client area, until SDL has the motion there (none comes
    // when it is there already).
    bool MoveTo(int x, int y)
    {
        int rx = 0, ry = 0, wx = 0, wy = 0;
        unsigned mask = 0;
        ::Window root, child;
        if (XQueryPointer(m_Display, m_Window, &root, &child, &rx, &ry, &wx, &wy, &mask) && wx == x && wy == y)
            return true;
        XTranslateCoordinates(m_Display, m_Window, DefaultRootWindow(m_Display), x, y, &rx, &ry, &child);
        const int seen = m_Motions;
        Place(rx, ry);
        return Until([&] { return m_Motions > seen && m_MotionX == x && m_MotionY == y; });
    }
    // The pointer to (rootX, rootY) of the screen (its corner unless given), off the window: until SDL has
    // seen it leave when it was over the window, else until the server has it there (no event reaches the
    // window then).
    bool MoveOff(int rootX = 0, int rootY = 0)
    {
        const SDL_Rect window = Placed();
        int rx = 0, ry = 0, wx = 0, wy = 0;
        unsigned mask = 0;
        ::Window root, child;
        const bool over = XQueryPointer(m_Display, m_Window, &root, &child, &rx, &ry, &wx, &wy, &mask) && wx >= 0 &&
                          wy >= 0 && wx < window.w && wy < window.h;
        const int seen = m_Leaves;
        Place(rootX, rootY);
        XSync(m_Display, False);
        return !over || Until([&] { return m_Leaves > seen; });
    }
    bool Button(uint8_t button, bool down)
    {
        const int seen = m_Buttons;
        XTestFakeButtonEvent(m_Display, button, down, CurrentTime);
        XFlush(m_Display);
        return Until([&] { return m_Buttons > seen; });
    }
    bool Tap(KeySym key)
    {
        const int seen = m_KeyUps;
        const KeyCode code = XKeysymToKeycode(m_Display, key);
        XTestFakeKeyEvent(m_Display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_Display, code, False, CurrentTime);
        XFlush(m_Display);
        return Until([&] { return m_KeyUps > seen; });
    }

    // The window to a new size, as a program without a window manager sets it (xdotool windowsize),
    // until SDL has the size.
    bool Resize(int w, int h)
    {
        XResizeWindow(m_Display, m_Window, static_cast<unsigned>(w), static_cast<unsigned>(h));
        XFlush(m_Display);
        return Until([&] { return m_SizeW == w && m_SizeH == h; });
    }

    // Whether the server carries out a request of this connection within 10 s, waited for without blocking
    // (the program may be stopped in the middle of a present meanwhile): the window forced to w x h, or
    // without a size a property of the root window changed, until the server's notice of it comes.
    bool Served(int w = 0, int h = 0)
    {
        const ::Window target = w ? m_Window : DefaultRootWindow(m_Display);
        XSelectInput(m_Display, target, w ? StructureNotifyMask : PropertyChangeMask);
        if (w)
            XResizeWindow(m_Display, m_Window, static_cast<unsigned>(w), static_cast<unsigned>(h));
        else
            XChangeProperty(m_Display, target, XA_CUT_BUFFER7, XA_STRING, 8, PropModeReplace, nullptr, 0);
        XFlush(m_Display);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (pollfd fd = {ConnectionNumber(m_Display), POLLIN, 0}; std::chrono::steady_clock::now() < until;
             poll(&fd, 1, 50))
            for (XEvent e; XCheckTypedWindowEvent(m_Display, target, w ? ConfigureNotify : PropertyNotify, &e);)
                if (!w || (e.xconfigure.width == w && e.xconfigure.height == h))
                    return true;
        return false;
    }

    // The window's whole area to be drawn again, as the server asks when something that covered it goes,
    // until SDL has the expose.
    bool ExposeWindow()
    {
        const int seen = m_Exposes;
        XClearArea(m_Display, m_Window, 0, 0, 0, 0, True);
        XFlush(m_Display);
        return Until([&] { return m_Exposes > seen; });
    }

    // The server's screen as 0xRRGGBB, row by row.
    std::vector<uint32_t> Screen()
    {
        std::vector<uint32_t> out;
        XImage* image =
            XGetImage(m_Display, DefaultRootWindow(m_Display), 0, 0, kScreenWidth, kScreenHeight, AllPlanes, ZPixmap);
        if (!image)
            return out;
        out.reserve(static_cast<size_t>(kScreenWidth) * kScreenHeight);
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x)
                out.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
        XDestroyImage(image);
        return out;
    }
    // The window's client area on the screen.
    SDL_Rect Placed()
    {
        int x = 0, y = 0;
        ::Window child;
        XWindowAttributes a = {};
        XGetWindowAttributes(m_Display, m_Window, &a);
        XTranslateCoordinates(m_Display, m_Window, DefaultRootWindow(m_Display), 0, 0, &x, &y, &child);
        return {x, y, a.width, a.height};
    }

private:
    void Place(int rootX, int rootY)
    {
        if (m_Move == Move::Device)
            XTestFakeMotionEvent(m_Display, DefaultScreen(m_Display), rootX, rootY, CurrentTime);
        else
            XWarpPointer(m_Display, None, DefaultRootWindow(m_Display), 0, 0, 0, 0, rootX, rootY);
        XFlush(m_Display);
    }

    static int SDLCALL Watch(void* user, SDL_Event* e)
    {
        auto* desk = static_cast<XDesk*>(user);
        if (e->type == SDL_MOUSEMOTION)
            ++desk->m_Motions, desk->m_MotionX = e->motion.x, desk->m_MotionY = e->motion.y;
        else if (e->type == SDL_MOUSEBUTTONDOWN || e->type == SDL_MOUSEBUTTONUP)
            ++desk->m_Buttons;
        else if (e->type == SDL_KEYUP)
            ++desk->m_KeyUps;
        else if (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_LEAVE)
            ++desk->m_Leaves;
        else if (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            desk->m_SizeW = e->window.data1, desk->m_SizeH = e->window.data2;
        else if (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_EXPOSED)
            ++desk->m_Exposes;
        return 1;
    }

    ::Display* m_Display = nullptr;
    ::Window m_Window = 0;
    Move m_Move = Move::Device;
    std::function<void()> m_Pass;
    int m_Motions = 0, m_MotionX = -1, m_MotionY = -1, m_Buttons = 0, m_KeyUps = 0, m_Leaves = 0;
    int m_SizeW = 0, m_SizeH = 0;
    int m_Exposes = 0;
};

// An offscreen suite's fixture with its window on the server: the fixture's own set-up runs once the server
// is up (SDL then opens its window there), and the test goes on once the window shows.
template <class Fixture> class OnX : public Fixture
{
protected:
    void SetUp() override
    {
        if (!m_Desk.Start())
            GTEST_SKIP() << "no X server to test on: " << m_Desk.Why();
        m_Up = true;
        Fixture::SetUp();
        if (this->HasFatalFailure())
            return;
        ASSERT_TRUE(m_Desk.Attach(this->m_Loop.m_Core.m_MainWindow->GetSDLWindow(), [this] { this->m_Loop.Pass(16); }))
            << "the window never showed on the server";
    }
    void TearDown() override
    {
        if (!m_Up)
            return;
        Fixture::TearDown();
        m_Desk.Stop();
    }
    // The pointer to (x, y) of the window, then a pass of the loop.
    void PointTo(int x, int y)
    {
        ASSERT_TRUE(m_Desk.MoveTo(x, y)) << "no motion to " << x << "," << y << ", the last at " << m_Desk.LastMotion();
        this->m_Loop.Pass(16);
    }

    XDesk m_Desk;
    bool m_Up = false;
};

class GxWidgetEngineOnX : public OnX<GxWidgetEngine>
{
protected:
    void TearDown() override
    {
        delete m_Core.m_SystemConfig;
        m_Core.m_SystemConfig = nullptr;
        OnX::TearDown();
    }
    void PointerTo(int x, int y) override { PointTo(x, y); }
    void PointerOff() override
    {
        ASSERT_TRUE(m_Desk.MoveOff()) << "the pointer never left the window";
        Pass(16);
    }
};

// The same with the pointer moved either way.
class GxWidgetEngineOnXPointer : public GxWidgetEngineOnX, public ::testing::WithParamInterface<Move>
{
protected:
    void SetUp() override
    {
        m_Desk.SetMove(GetParam());
        GxWidgetEngineOnX::SetUp();
    }
};

// A strategy screen's fixture on the server, its pointer moved either way and its buttons pressed there.
template <class Fixture> class ZorPointerOnX : public OnX<Fixture>, public ::testing::WithParamInterface<Move>
{
protected:
    void SetUp() override
    {
        this->m_Desk.SetMove(this->GetParam());
        OnX<Fixture>::SetUp();
    }
    void MoveTo(int x, int y) override { this->PointTo(x, y); }
    void Press(int x, int y, uint8_t button) override
    {
        this->PointTo(x, y);
        ASSERT_TRUE(this->m_Desk.Button(button, true)) << "no press";
        this->m_Loop.Pass();
    }
    void Release(int x, int y, uint8_t button) override
    {
        this->PointTo(x, y);
        ASSERT_TRUE(this->m_Desk.Button(button, false)) << "no release";
        this->m_Loop.Pass();
    }
};

class ZorWindowsDeviceOnX : public ZorPointerOnX<zortest::ZorWindowsDevice>
{
};

// The defence screen in an 800 x 600 window (a client pixel is 1.28 virtual units), clear of the server's
// screen's sides by more than 200 pixels to the right, so that the pointer can be taken off it there and
// to the screen's corner. Places are the window's client pixels.
class ZorCameraOnX : public ZorPointerOnX<zortest::ZorDefenceTest>
{
protected:
    void SetUp() override
    {
        ZorPointerOnX::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        ASSERT_TRUE(m_Desk.Resize(800, 600)) << "the window kept its size";
        m_Window = m_Desk.Placed();
        ASSERT_TRUE(m_Window.x > 0 && m_Window.y > 0 && m_Window.x + m_Window.w + 200 < kScreenWidth)
            << "the window at " << m_Window.x << "," << m_Window.y;
    }
    // The pointer off the window, uncaptured, to (x, y) of its client area.
    void PointOff(int x, int y)
    {
        ASSERT_TRUE(m_Desk.MoveOff(m_Window.x + x, m_Window.y + y)) << "the pointer never left the window";
        m_Loop.Pass();
    }
    // Whether the map keeps still: an edge move under way ends on the next step, then ten more.
    bool KeepsStill(ZorTaskCamera* camera)
    {
        Passes(2);
        const GxVector4 at = camera->GetCurrent().m_Target;
        Passes(10);
        return camera->GetCurrent().m_Target.x == at.x && camera->GetCurrent().m_Target.z == at.z;
    }

    SDL_Rect m_Window = {};
};

bool Near(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8)
            return false;
    return true;
}

// The picture, one colour, fills exactly the rectangle r of the screen (read at its corners, edge middles
// and centre), black around it.
bool ShowsFill(const std::vector<uint32_t>& screen, const SDL_Rect& r, uint32_t fill)
{
    if (screen.empty())
        return false;
    auto at = [&](int x, int y) { return screen[static_cast<size_t>(y) * kScreenWidth + x]; };
    const int right = r.x + r.w - 1, bottom = r.y + r.h - 1;
    for (int x : {r.x, r.x + r.w / 2, right})
        for (int y : {r.y, r.y + r.h / 2, bottom})
            if (!Near(at(x, y), fill))
                return false;
    if (r.y > 0 && (at(r.x, r.y - 1) != 0 || at(right, r.y - 1) != 0 || at(r.x + r.w / 2, 0) != 0))
        return false;
    if (bottom < kScreenHeight - 1 && (at(r.x, bottom + 1) != 0 || at(right, bottom + 1) != 0))
        return false;
    if (r.x > 0 && at(r.x - 1, r.y) != 0)
        return false;
    if (r.x > 0 && right < kScreenWidth - 1 && at(right + 1, bottom) != 0)
        return false;
    return true;
}

// A still picture of one colour but for a small square near its bottom right that changes every frame, as
// a story screen's waiting mark blinks: the frames differ in that square alone and are presented in part.
class BlinkSeq : public EventSeq
{
public:
    using EventSeq::EventSeq;
    int32_t Draw(int32_t param, int32_t layer) override
    {
        GxSeqBase::Draw(param, layer);
        GxGraphics::BeginScene();
        GxDraw::FillRect({960.0f, 700.0f, 976.0f, 716.0f}, (++m_Frames & 1) ? 0xFFFFFFFFu : 0xFF000000u, 0, 0);
        GxGraphics::EndScene();
        return 0;
    }

private:
    uint32_t m_Frames = 0;
};

// A still picture with shapes a wrong scale or place shows on: a frame of colour over the screen's fill,
// two bars of other colours and a square in a corner. Every frame is the same, so the device leaves all
// but the first presents of a size out.
class StillSeq : public EventSeq
{
public:
    using EventSeq::EventSeq;
    int32_t Draw(int32_t param, int32_t layer) override
    {
        GxSeqBase::Draw(param, layer);
        GxGraphics::BeginScene();
        GxDraw::FillRect({0.0f, 0.0f, 1024.0f, 24.0f}, 0xFFE0C020u, 0, 0);
        GxDraw::FillRect({0.0f, 744.0f, 1024.0f, 768.0f}, 0xFFE0C020u, 0, 0);
        GxDraw::FillRect({100.0f, 200.0f, 924.0f, 260.0f}, 0xFF20C040u, 0, 0);
        GxDraw::FillRect({300.0f, 500.0f, 700.0f, 520.0f}, 0xFFC02060u, 0, 0);
        GxDraw::FillRect({960.0f, 680.0f, 1000.0f, 720.0f}, 0xFFFFFFFFu, 0, 0);
        GxGraphics::EndScene();
        return 0;
    }
};

std::string MoveName(const ::testing::TestParamInfo<Move>& info)
{
    return info.param == Move::Device ? "MovedByDevice" : "Warped";
}

} // namespace

TEST_P(GxWidgetEngineOnXPointer, StackedButtonsLightOneAtATimeAsThePointerPasses)
{
    StackedButtonsLightOneAtATime();
}

TEST_P(GxWidgetEngineOnXPointer, ButtonsNeverAskTheServerWhereAPointerOffTheWindowWent)
{
    ButtonsLeaveTheDesktopAlone();
}

TEST_P(ZorWindowsDeviceOnX, TheDraggedUnitsFaceFollowsThePointerAndIsCrossedOutWhereItCannotGo)
{
    DragTheFirstCardOverASlotAndTheBar();
}

INSTANTIATE_TEST_SUITE_P(Pointer, GxWidgetEngineOnXPointer, ::testing::Values(Move::Device, Move::Warp), MoveName);
INSTANTIATE_TEST_SUITE_P(Pointer, ZorWindowsDeviceOnX, ::testing::Values(Move::Device, Move::Warp), MoveName);

// The edge zones reach 64 virtual units past the screen, off the window too: just past its right side the
// map scrolls, further off and far past the top left corner it keeps still. A middle-button drag taken past
// the side drags the map and scrolls it, and let go there the pointer is still in the zone.
TEST_P(ZorCameraOnX, TheEdgeZonesReachJustPastTheWindow)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    ZorTaskCamera* camera = m_Screen->GetCamera();
    ASSERT_NE(camera, nullptr);
    camera->ResetZoom(2.0f, 4096.0f);
    camera->JumpTo(0.0f, 0.0f);
    const int right = m_Window.w, middle = m_Window.h / 2;
    MoveTo(400, 300);
    ASSERT_TRUE(KeepsStill(camera)) << "the map moved with the pointer over it";

    PointOff(right + 24, middle); // 30 units past the screen's right side
    Passes(10);
    EXPECT_GT(camera->GetCurrent().m_Target.x, 0.0f) << "just past the side, the map scrolls";
    PointOff(right + 200, middle); // 256 units past
    EXPECT_TRUE(KeepsStill(camera)) << "far past the side";
    PointOff(-m_Window.x, -m_Window.y);
    EXPECT_TRUE(KeepsStill(camera)) << "at the screen's corner";

    camera->JumpTo(0.0f, 0.0f);
    Press(400, 300, SDL_BUTTON_MIDDLE);
    MoveTo(right + 24, middle);
    const float dragged = camera->GetCurrent().m_Target.x;
    EXPECT_LT(dragged, 0.0f) << "the map follows the drag";
    Passes(4);
    EXPECT_GT(camera->GetCurrent().m_Target.x, dragged) << "held past the side, the map scrolls";
    Release(right + 24, middle, SDL_BUTTON_MIDDLE);
    const float released = camera->GetCurrent().m_Target.x;
    Passes(4);
    EXPECT_GT(camera->GetCurrent().m_Target.x, released) << "let go just past the side, the map scrolls on";
    PointOff(right + 200, middle);
    EXPECT_TRUE(KeepsStill(camera)) << "far past the side after the drag";
}

// Off the window, the server is asked where the pointer went once a pass, for the map's edge zones alone:
// the bars' many buttons never ask.
TEST_P(ZorCameraOnX, APointerOffTheWindowIsAskedOfTheServerOnceAPass)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    MoveTo(400, 300);
    PointOff(m_Window.w + 200, m_Window.h / 2);
    const PfWindow* window = m_Loop.m_Core.m_MainWindow;
    const uint64_t before = window->GetDesktopPointerQueries();
    Passes(10);
    EXPECT_EQ(window->GetDesktopPointerQueries() - before, 10u);
}

INSTANTIATE_TEST_SUITE_P(Pointer, ZorCameraOnX, ::testing::Values(Move::Device, Move::Warp), MoveName);

TEST_F(GxWidgetEngineOnX, FullScreenWithoutAWindowManagerShowsTheWholePictureLetterboxed)
{
    // The whole picture one colour, so its edges show wherever the server has it.
    constexpr uint32_t kFill = 0x3080E0;
    m_Core.m_SystemConfig = new GxSystemConfig();
    m_Core.m_SystemConfig->m_ScreenFillColor = 0xFF000000u | kFill;
    auto* seq = new EventSeq(new GxTaskBase(m_Core.m_TaskManage), L"SeqFill");
    m_Core.m_TaskManage->ChangeSequence(seq, 0, 0);
    std::vector<uint32_t> screen;
    auto at = [&](int x, int y) { return screen[static_cast<size_t>(y) * kScreenWidth + x]; };
    auto shows = [&](const SDL_Rect& r)
    {
        screen = m_Desk.Screen();
        return ShowsFill(screen, r, kFill);
    };
    const SDL_Rect window = m_Desk.Placed();
    ASSERT_EQ(window.w, 1024);
    ASSERT_EQ(window.h, 768);
    EXPECT_TRUE(m_Desk.Until([&] { return shows(window); })) << "the window's picture";

    // F4 from the keyboard, the pointer over the window (with no window manager, keys go where it is).
    PointerTo(512, 384);
    ASSERT_TRUE(m_Desk.Tap(XK_F4));
    ASSERT_TRUE(m_Desk.Until([&] { return GxDisplaySettings::Get().m_ScreenMode == SCRMODE_FULLSCREEN; }));
    // 1024 x 768 in 1280 x 1024 is 1280 x 960: bars of 32 rows above and below.
    EXPECT_TRUE(m_Desk.Until(
        [&] {
            return shows({0, 32, 1280, 960});
        }))
        << "full screen: top left " << std::hex << at(0, 32) << ", above it " << at(0, 31) << ", bottom right "
        << at(1279, 991) << ", below it " << at(1279, 992);
    const SDL_Rect covered = m_Desk.Placed();
    EXPECT_TRUE(covered.x == 0 && covered.y == 0 && covered.w == kScreenWidth && covered.h == kScreenHeight)
        << covered.x << "," << covered.y << " " << covered.w << "x" << covered.h;

    ASSERT_TRUE(m_Desk.Tap(XK_F4));
    ASSERT_TRUE(m_Desk.Until([&] { return GxDisplaySettings::Get().m_ScreenMode == SCRMODE_WINDOW; }));
    EXPECT_TRUE(m_Desk.Until(
        [&]
        {
            const SDL_Rect back = m_Desk.Placed();
            return back.w == 1024 && back.h == 768 && shows(back);
        }))
        << "back in the window";
}

// Sizes forced on the window from outside with no window manager (800 x 600, 1280 x 960, 800 x 600 with a
// click, 1024 x 768) while a small part of the picture changes every frame: after each the window shows
// the whole picture at its new size, not what the old size held.
TEST_F(GxWidgetEngineOnX, ForcedWindowSizesShowTheWholePictureAtEachSize)
{
    constexpr uint32_t kFill = 0x3080E0;
    m_Core.m_SystemConfig = new GxSystemConfig();
    m_Core.m_SystemConfig->m_ScreenFillColor = 0xFF000000u | kFill;
    auto* seq = new BlinkSeq(new GxTaskBase(m_Core.m_TaskManage), L"SeqBlink");
    m_Core.m_TaskManage->ChangeSequence(seq, 0, 0);
    const SDL_Rect start = m_Desk.Placed();
    ASSERT_TRUE(m_Desk.Until([&] { return ShowsFill(m_Desk.Screen(), start, kFill); })) << "the first picture";
    // On a loaded machine a size forced just before a present can reach the server between the program's
    // look at the window's size and the driver's own.
    KvBusyCores busy;
    for (int round = 0; round < 3; ++round)
    {
        const struct
        {
            int w, h;
            bool click;
        } sizes[] = {{800, 600, false}, {1280, 960, false}, {800, 600, true}, {1024, 768, false}};
        for (const auto& size : sizes)
        {
            SCOPED_TRACE(std::to_string(round) + ": " + std::to_string(size.w) + "x" + std::to_string(size.h));
            ASSERT_TRUE(m_Desk.Resize(size.w, size.h));
            if (size.click)
            {
                PointerTo(size.w / 2, size.h / 2);
                ASSERT_TRUE(m_Desk.Button(1, true));
                ASSERT_TRUE(m_Desk.Button(1, false));
            }
            // The picture keeps its shape: the part of the screen it covers in the window as placed.
            const SDL_Rect window = m_Desk.Placed();
            const int w = std::min(window.w, window.h * 4 / 3), h = w * 3 / 4;
            SDL_Rect picture = {window.x + (window.w - w) / 2, window.y + (window.h - h) / 2, w, h};
            picture.w = std::min(picture.w, kScreenWidth - picture.x); // what of it is on the screen
            picture.h = std::min(picture.h, kScreenHeight - picture.y);
            EXPECT_TRUE(m_Desk.Until([&] { return ShowsFill(m_Desk.Screen(), picture, kFill); }))
                << picture.x << "," << picture.y << " " << picture.w << "x" << picture.h;
        }
    }
}

// The program stopped at each step of a present, sending a changed part or the whole picture, as a debugger
// or a stop signal stops it there: the server goes on serving another client. Sizes forced then, after the
// program's look at the window's size and before the driver's own (the first part after a whole picture),
// end in the whole picture at the last one.
TEST_F(GxWidgetEngineOnX, StoppedInAPresentTheProgramKeepsNoOtherClientWaiting)
{
    constexpr uint32_t kFill = 0x3080E0;
    m_Core.m_SystemConfig = new GxSystemConfig();
    m_Core.m_SystemConfig->m_ScreenFillColor = 0xFF000000u | kFill;
    m_Core.m_TaskManage->ChangeSequence(new BlinkSeq(new GxTaskBase(m_Core.m_TaskManage), L"SeqBlink"), 0, 0);
    const SDL_Rect start = m_Desk.Placed();
    using Step = PfGLSwapChain::PresentStep;
    PfGLSwapChain* chain = GxGraphics::GetDevice()->GetSwapChain(0);
    int stops[3][2] = {}, forced = 0, unserved = 0;
    bool afterWhole = false;
    chain->WatchSteps(
        [&](Step step, bool part)
        {
            const int seen = ++stops[static_cast<int>(step)][part];
            const bool force = step == Step::Looked && part && afterWhole && forced < 4;
            forced += force;
            if (!unserved && (force || seen == 1))
                unserved += !(force ? m_Desk.Served(forced % 2 ? 800 : 1024, forced % 2 ? 600 : 768) : m_Desk.Served());
            afterWhole = step == Step::Sent ? !part : afterWhole;
        });
    EXPECT_TRUE(m_Desk.Until([&] { return unserved || (forced == 4 && stops[2][1] > 0); }));
    chain->WatchSteps(nullptr);
    ASSERT_EQ(unserved, 0) << "requests of another client left waiting by a stopped program";
    EXPECT_TRUE(m_Desk.Until([&] { return ShowsFill(m_Desk.Screen(), start, kFill); }));
}

// A still picture after each size change of the window, the cores busy: F4 to full screen and back, and
// sizes forced from outside. Half a second on, the screen must show what the same frame drawn again whole
// (on an expose) shows: not the old picture, nor the new one fitted to the old size.
TEST_F(GxWidgetEngineOnX, StillPictureAfterEachSizeChangeIsTheWholeRedrawsPicture)
{
    m_Core.m_SystemConfig = new GxSystemConfig();
    m_Core.m_SystemConfig->m_ScreenFillColor = 0xFF3080E0u;
    auto* seq = new StillSeq(new GxTaskBase(m_Core.m_TaskManage), L"SeqStill");
    m_Core.m_TaskManage->ChangeSequence(seq, 0, 0);
    const SDL_Rect start = m_Desk.Placed();
    auto firstShown = [&]
    {
        const std::vector<uint32_t> screen = m_Desk.Screen();
        return !screen.empty() &&
               Near(screen[static_cast<size_t>(start.y + 100) * kScreenWidth + start.x + 10], 0x3080E0);
    };
    ASSERT_TRUE(m_Desk.Until(firstShown)) << "the first picture";
    KvBusyCores busy;
    // The loop runs on for ms of real time, as the program's does between frames, and for at least 30
    // passes however few of them a loaded machine fits into that time.
    auto runFor = [&](int ms)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (int passes = 0; passes < 30 || std::chrono::steady_clock::now() < until; ++passes)
        {
            Pass(16);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };
    // The window's part of the screen.
    auto windowPixels = [&](const SDL_Rect& r)
    {
        const std::vector<uint32_t> screen = m_Desk.Screen();
        std::vector<uint32_t> part;
        for (int y = std::max(r.y, 0); y < std::min(r.y + r.h, kScreenHeight) && !screen.empty(); ++y)
            for (int x = std::max(r.x, 0); x < std::min(r.x + r.w, kScreenWidth); ++x)
                part.push_back(screen[static_cast<size_t>(y) * kScreenWidth + x]);
        return part;
    };
    auto expectWholePicture = [&](const std::string& what)
    {
        runFor(500);
        const SDL_Rect window = m_Desk.Placed();
        const std::vector<uint32_t> shown = windowPixels(window);
        ASSERT_TRUE(m_Desk.ExposeWindow()) << what << ": no expose";
        runFor(500);
        const std::vector<uint32_t> whole = windowPixels(window);
        ASSERT_FALSE(shown.empty()) << what << ": the screen could not be read";
        ASSERT_EQ(shown.size(), whole.size()) << what;
        size_t differing = 0;
        for (size_t i = 0; i < shown.size(); ++i)
            differing += shown[i] != whole[i];
        EXPECT_EQ(differing, 0u) << what << ": pixels of the " << window.w << "x" << window.h
                                 << " window unlike the whole redraw";
    };

    for (int round = 0; round < 2; ++round)
    {
        const std::string name = "round " + std::to_string(round);
        PointerTo(512, 384);
        ASSERT_TRUE(m_Desk.Tap(XK_F4));
        ASSERT_TRUE(m_Desk.Until([&] { return GxDisplaySettings::Get().m_ScreenMode == SCRMODE_FULLSCREEN; }));
        expectWholePicture(name + ", full screen");
        ASSERT_TRUE(m_Desk.Tap(XK_F4));
        ASSERT_TRUE(m_Desk.Until([&] { return GxDisplaySettings::Get().m_ScreenMode == SCRMODE_WINDOW; }));
        expectWholePicture(name + ", back in the window");
        for (const SDL_Point size :
             {SDL_Point{800, 600}, SDL_Point{1280, 960}, SDL_Point{800, 600}, SDL_Point{1024, 768}})
        {
            ASSERT_TRUE(m_Desk.Resize(size.x, size.y));
            expectWholePicture(name + ", forced to " + std::to_string(size.x) + "x" + std::to_string(size.y));
        }
    }
}
