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
    float Zoom() const { return camera->GetCurrent().m_Zoom; }
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

TEST(ZorTaskCamera, ZoomStepsStopAtTheirBounds)
{
    CameraRig r;
    r.camera->ResetZoom(2.9f, 4096.0f);
    r.Steps(1);
    r.camera->ZoomIn();
    r.Steps(8); // speed 512: eight steps
    EXPECT_FLOAT_EQ(r.Zoom(), 3.0f);
    r.camera->ZoomIn();
    EXPECT_EQ(r.camera->GetProgress(ZorTaskCamera::kZoom), 1.0f); // nothing started
    r.camera->ResetZoom(1.5f, 4096.0f);
    r.Steps(1);
    r.camera->ZoomOut();
    EXPECT_EQ(r.camera->GetProgress(ZorTaskCamera::kZoom), 1.0f);

    // The wheel: less than a notch is nothing, several notches one step.
    struct Case
    {
        int32_t delta;
        float zoom;
    } cases[] = {{60, 2.0f}, {-60, 2.0f}, {360, 2.25f}, {-360, 1.75f}, {120, 2.25f}};
    for (const Case& c : cases)
    {
        r.camera->ResetZoom(2.0f, 4096.0f);
        r.Steps(1);
        const float at[2] = {0, 0};
        r.control->OnMouseWheel(at, c.delta, 0);
        r.Steps(8);
        EXPECT_FLOAT_EQ(r.Zoom(), c.zoom) << c.delta;
    }
}

TEST(ZorTaskCameraControl, EdgeZonesArrowsAndDragMoveTheTarget)
{
    struct Case
    {
        int32_t x, y;
        bool moves;
    } cases[] = {{16, 300, false}, {15, 300, true},  {1008, 300, false}, {1009, 300, true}, {1050, 300, true},
                 {1088, 300, false}, {500, 16, false}, {500, 753, true},  {-64, 300, false}, {500, 400, false}};
    for (const Case& c : cases)
    {
        CameraRig r;
        r.control->Step(c.x, c.y, 100, 100);
        EXPECT_EQ(r.camera->GetProgress(ZorTaskCamera::kTarget) < 1.0f, c.moves) << c.x << "," << c.y;
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
    } cases[] = {{21, 17, 2.0f, 0, 0}, {0, 0, 1.5f, -300, -300}, {39, 39, 2.0f, 250, 250}, {10, 30, 3.0f, -200, 200}};
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
    // Off the map and with the window inactive: no block.
    const GxVector4 far = ZorCellToWorld(45, 17);
    const GxVector3 off = r.camera->WorldToScreen(GxVector3(far.x, 0.0f, far.z));
    r.pointing->Pick(off.x, off.y, true);
    EXPECT_FALSE(r.pointing->HasBlock());
    r.pointing->Pick(512.0f, 384.0f, false);
    EXPECT_FALSE(r.pointing->HasBlock());
}
