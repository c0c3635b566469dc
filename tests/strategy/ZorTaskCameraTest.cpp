// The camera's maths on its own; the wheel, the screen edges and picking as SDL events through the
// core's loop on the defence screen (ZorDefenceTest).
#include "ZorDefenceTestSupport.h"

#include "strategy/ZorGeometry.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskCameraControl.h"
#include "strategy/screens/ZorTaskMapPointing.h"
#include "task/GxTaskManage.h"

#include <gtest/gtest.h>

namespace
{

struct CameraRig
{
    GxTaskManage manage;
    GxTaskBase* root = new GxTaskBase(&manage);
    ZorTaskCamera* camera = new ZorTaskCamera(root, L"cam");
    ZorTaskCameraControl* control = new ZorTaskCameraControl(root, L"ctl", camera);
    ZorTaskMapPointing* pointing = new ZorTaskMapPointing(root, L"pt", camera);

    void Steps(int n)
    {
        for (int i = 0; i < n; ++i)
            camera->Update(0, 0);
    }
};

} // namespace

TEST(ZorTaskCamera, DefaultEyeAndMoveTakesSixtyFourSteps)
{
    CameraRig r;
    const GxVector3 eye = r.camera->GetEyePos();
    EXPECT_NEAR(eye.x, 918.6f, 0.1f);
    EXPECT_NEAR(eye.y, 750.0f, 0.1f);
    EXPECT_NEAR(eye.z, 918.6f, 0.1f);

    r.camera->LookAtRoom(7, 2, 64.0f); // (160, 0, -160), not clamped
    r.Steps(63);
    EXPECT_LT(r.camera->GetProgress(ZorTaskCamera::kTarget), 1.0f);
    r.Steps(1);
    EXPECT_EQ(r.camera->GetProgress(ZorTaskCamera::kTarget), 1.0f);
    EXPECT_EQ(r.camera->GetCurrent().m_Target.x, 160.0f);
    EXPECT_EQ(r.camera->GetCurrent().m_Target.z, -160.0f);
    // The curve: b - (b - a)(1 - t)^5 at t = 0.5 is 31/32 of the way.
    r.camera->MoveTo(0.0f, -160.0f, 2048.0f);
    r.Steps(1);
    EXPECT_NEAR(r.camera->GetCurrent().m_Target.x, 160.0f / 32.0f, 1e-3f);
}

TEST(ZorTaskCameraControl, EdgeZonesArrowsAndDragMoveTheTarget)
{
    struct Case
    {
        int32_t x, y;
        bool moves;
    } cases[] = {{15, 300, true},  {1008, 300, false}, {1009, 300, true}, {1088, 300, false},
                 {500, 16, false}, {500, 753, true},   {-64, 300, false}, {500, 400, false}};
    for (const Case& c : cases)
    {
        CameraRig r;
        r.control->Step(c.x, c.y, 100, 100);
        EXPECT_EQ(r.camera->GetProgress(ZorTaskCamera::kTarget) < 1.0f, c.moves) << c.x << "," << c.y;
    }
    for (const Case& c : {Case{-1, -1, false}, Case{1050, 300, false}})
    {
        // A pointer whose place is not known is at no edge, wherever it was last seen.
        CameraRig r;
        r.control->Step(c.x, c.y, 100, 100, ZorTaskCameraControl::Pointer::Unknown);
        EXPECT_EQ(r.camera->GetProgress(ZorTaskCamera::kTarget), 1.0f) << c.x << "," << c.y;
    }
    {
        // Speed 0 still matches the zone but moves by nothing.
        CameraRig r;
        r.control->Step(1050, 300, 0, 100);
        r.Steps(1);
        EXPECT_EQ(r.camera->GetCurrent().m_Target.x, 0.0f);
    }
    {
        CameraRig r;
        r.control->OnKeyDown(0x27, 0); // right arrow
        r.control->Step(500, 400, 100, 100);
        const GxVector4 t = r.camera->GetCurrent().m_Target;
        // 10 along the turned x axis, halved by zoom 2: (cos 45, -sin 45) x 5.
        EXPECT_NEAR(t.x, 3.5355f, 1e-3f);
        EXPECT_NEAR(t.z, -3.5355f, 1e-3f);
        r.control->OnKeyUp(0x27, 0);
        r.control->Step(500, 400, 100, 100);
        EXPECT_EQ(r.camera->GetCurrent().m_Target.x, t.x);
    }
    {
        CameraRig r;
        r.camera->JumpTo(240.0f, 0.0f);
        const float a[2] = {100, 100}, b[2] = {0, 100};
        r.control->OnMouseMiddleDown(a, 0, 0);
        r.control->OnMouseMove(b, 0); // drags the map right: the target moves on and is clamped
        EXPECT_EQ(r.camera->GetCurrent().m_Target.x, 250.0f);
        r.control->OnMouseMiddleUp(b, 0);
        EXPECT_FALSE(r.control->IsDragging());
    }
    GxVector3 p(-400.0f, 7.0f, 300.0f);
    ZorTaskCamera::ClampTarget(p);
    EXPECT_EQ(p.x, -350.0f);
    EXPECT_EQ(p.y, 7.0f);
    EXPECT_EQ(p.z, 250.0f);
}

TEST(ZorTaskMapPointing, PicksTheCellUnderItsProjection)
{
    CameraRig r;
    struct Case
    {
        int32_t bx, bz;
        float zoom;
        float tx, tz;
    } cases[] = {{0, 0, 1.5f, -300, -300}, {39, 39, 2.0f, 250, 250}, {10, 30, 3.0f, -200, 200}};
    for (const Case& c : cases)
    {
        r.camera->ResetZoom(c.zoom, 4096.0f);
        r.camera->JumpTo(c.tx, c.tz);
        r.Steps(1);
        const GxVector4 w = ZorCellToWorld(c.bx, c.bz);
        const GxVector3 s = r.camera->WorldToScreen(GxVector3(w.x + 3.0f, 0.0f, w.z - 3.0f));
        r.pointing->Pick(s.x, s.y, true);
        EXPECT_EQ(r.pointing->GetBlockX(), c.bx);
        EXPECT_EQ(r.pointing->GetBlockZ(), c.bz);
        EXPECT_NEAR(r.pointing->GetHitPoint().x, w.x + 3.0f, 0.25f); // float error of the inverse
    }
    // The centre cell sits at the screen's middle with the default camera.
    r.camera->ResetZoom(2.0f, 4096.0f);
    r.camera->JumpTo(0.0f, 0.0f);
    r.Steps(1);
    const GxVector3 centre = r.camera->WorldToScreen(GxVector3());
    EXPECT_NEAR(centre.x, 512.0f, 1e-3f);
    EXPECT_NEAR(centre.y, 384.0f, 1e-3f);
}

using ZorCameraInput = zortest::ZorDefenceTest;

TEST_F(ZorCameraInput, WheelStepsTheZoomWithinItsBounds)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    ZorTaskCamera* camera = m_Screen->GetCamera();
    MoveTo(512, 300);
    // A fraction of a notch reaches nobody; more than one notch is still one step.
    struct Case
    {
        float from, notches, zoom;
    } cases[] = {{2.9f, 1.0f, 3.0f}, {3.0f, 1.0f, 3.0f},  {1.5f, -1.0f, 1.5f},
                 {2.0f, 0.5f, 2.0f}, {2.0f, 3.0f, 2.25f}, {2.0f, -3.0f, 1.75f}};
    for (const Case& c : cases)
    {
        camera->ResetZoom(c.from, 4096.0f);
        Passes(1);
        Wheel(c.notches);
        EXPECT_EQ(camera->GetProgress(ZorTaskCamera::kZoom) < 1.0f, c.zoom != c.from) << c.from << " " << c.notches;
        Passes(8); // speed 512: eight steps
        EXPECT_FLOAT_EQ(camera->GetCurrent().m_Zoom, c.zoom) << c.from << " " << c.notches;
    }
}

TEST_F(ZorCameraInput, TheEdgeScrollsAndTheCursorPicksTheCellUnderIt)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    ZorTaskCamera* camera = m_Screen->GetCamera();
    camera->ResetZoom(2.0f, 4096.0f);
    camera->JumpTo(0.0f, 0.0f);
    MoveTo(16, 300);
    EXPECT_EQ(camera->GetProgress(ZorTaskCamera::kTarget), 1.0f) << "the border itself does not scroll";
    MoveTo(1050, 300); // held past the window's right edge
    EXPECT_LT(camera->GetProgress(ZorTaskCamera::kTarget), 1.0f);
    Passes(20);
    EXPECT_GT(camera->GetCurrent().m_Target.x, 0.0f);

    camera->JumpTo(0.0f, 0.0f);
    MoveTo(512, 384);
    ZorTaskMapPointing* pointing = m_Screen->GetPointing();
    auto screenOf = [&](int32_t bx, int32_t bz)
    {
        const GxVector4 w = ZorCellToWorld(bx, bz);
        const GxVector3 s = camera->WorldToScreen(GxVector3(w.x + 3.0f, 0.0f, w.z - 3.0f));
        return std::pair<int, int>(static_cast<int>(s.x), static_cast<int>(s.y));
    };
    const auto [x, y] = screenOf(21, 17);
    Click(x, y);
    EXPECT_EQ(pointing->GetBlockX(), 21);
    EXPECT_EQ(pointing->GetBlockZ(), 17);
    // Off the map, and anywhere while the window is inactive: no block.
    const auto [fx, fy] = screenOf(45, 17);
    MoveTo(fx, fy);
    EXPECT_FALSE(pointing->HasBlock());
    m_Loop.m_Input.Focus(false);
    MoveTo(x, y);
    EXPECT_FALSE(pointing->HasBlock());
}

TEST_F(ZorCameraInput, TheMapKeepsStillWhileThePointerIsAway)
{
    TheMapKeepsStillWhileThePointerIsAway();
}

// The defence screen, its bars full of buttons, with the pointer gone from the window: only the map's edge
// zones want to know where it went, and the desktop is asked once a pass however many update steps the pass
// runs; while the window is inactive (no edge scrolling) and with the pointer back over it, never.
TEST_F(ZorCameraInput, APointerOffTheWindowIsAskedOfTheDesktopOnceAPass)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    MoveTo(512, 300);
    PointerOff();
    const PfWindow* window = m_Loop.m_Core.m_MainWindow;
    auto asked = [&](int passes, uint32_t ms)
    {
        const uint64_t before = window->GetDesktopPointerQueries();
        m_Loop.Passes(passes, ms);
        return window->GetDesktopPointerQueries() - before;
    };
    GxFrameTimer& timer = m_Loop.m_Core.m_FrameTimer;
    timer.m_FixedStep = true; // 50 ms a pass: three steps of a sixtieth of a second
    m_Loop.Pass(50);
    ASSERT_GE(timer.m_StepCount, 3);
    EXPECT_EQ(asked(10, 50), 10u);
    timer.m_FixedStep = false;
    EXPECT_EQ(asked(10, 16), 10u);

    m_Loop.m_Input.Focus(false);
    m_Loop.Pass();
    EXPECT_EQ(asked(10, 16), 0u) << "inactive";
    m_Loop.m_Input.Focus(true);
    MoveTo(512, 300);
    EXPECT_EQ(asked(10, 16), 0u) << "over the window";
}

// A middle-button drag holds the pointer: past the right edge the map still scrolls, but once the button is
// let go out there the pointer is gone from the window and the map stops.
TEST_F(ZorCameraInput, ADragLetGoPastTheEdgeStopsTheScrolling)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    ZorTaskCamera* camera = m_Screen->GetCamera();
    camera->ResetZoom(2.0f, 4096.0f);
    camera->JumpTo(0.0f, 0.0f);
    Press(512, 300, SDL_BUTTON_MIDDLE);
    MoveTo(1050, 300);
    const float dragged = camera->GetCurrent().m_Target.x;
    Passes(4);
    EXPECT_NE(camera->GetCurrent().m_Target.x, dragged) << "held past the edge, the map scrolls";
    Release(1050, 300, SDL_BUTTON_MIDDLE);
    Passes(2); // an edge move under way ends on the next step
    const GxVector4 at = camera->GetCurrent().m_Target;
    Passes(10); // short of the clamp, which would stop the map anyway
    EXPECT_EQ(camera->GetCurrent().m_Target.x, at.x);
    EXPECT_EQ(camera->GetCurrent().m_Target.z, at.z);
}
