#pragma once

#include "core/GxMatrix.h"
#include "core/GxVector3.h"
#include "strategy/screens/ZorCameraState.h"
#include "task/GxTaskBase.h"

#include <cstdint>

// The strategy map's camera: an orthographic view looking down at a fixed slant, eased towards targets
// one update step at a time (the elapsed time is ignored on purpose, so a move always takes the same
// number of steps). It is the one source of the map's world-to-screen transform; every overlay of the
// map projects through it.
//
// Matrices are row-vector ones: world to screen = view x projection x viewport, where the viewport maps
// the projection's -1..1 onto the 1024 x 768 virtual screen (x = 512 x + 512, y = 384 - 384 y).
class ZorTaskCamera : public GxTaskBase
{
public:
    enum Channel
    {
        kYaw,
        kPitch,
        kTarget,
        kZoom,
        kChannels
    };
    static constexpr float kMinZoom = 1.5f;
    static constexpr float kMaxZoom = 3.0f;
    static constexpr float kZoomStep = 0.25f;
    static constexpr float kZoomSpeed = 512.0f;
    static constexpr float kDefaultSpeed = 64.0f;
    static constexpr float kEyeDistance = 1500.0f;
    static constexpr float kViewWidth = 400.0f;
    static constexpr float kNear = 10.0f;
    static constexpr float kFar = 5000.0f;

    ZorTaskCamera(GxTaskBase* parent, const wchar_t* globalName);
    ~ZorTaskCamera() override;

    int32_t Update(int32_t step, int64_t elapsed) override;

    void MoveTo(float x, float z, float speed);
    void JumpTo(float x, float z);
    void LookAtRoom(int32_t rx, int32_t rz, float speed);
    void ZoomIn();
    void ZoomOut();
    // Puts the camera at rest looking at the origin with the given turn, slant and zoom: the target and
    // current poses both hold them, every channel has arrived, and turn and zoom move at speed from now.
    void PutAtRest(float yaw, float pitch, float zoom, float speed);
    // Restarts the zoom channel from the current zoom towards zoom at the given speed.
    void ResetZoom(float zoom, float speed);
    // x into -350..250 and z into -300..250; y is left alone.
    static void ClampTarget(GxVector3& position);

    GxVector3 GetEyePos() const;
    GxVector3 GetTarget() const;
    GxVector3 GetUp() const;
    // Projection width and height; height follows the 1024 x 768 screen unless an aspect is given.
    float GetViewWidth() const { return kViewWidth / m_Current.m_Zoom; }
    void BuildViewMatrix(GxMatrix& out) const;
    // offsetY is the capture's y shift of the projection (0 for the screen).
    void BuildProjectionMatrix(GxMatrix& out, float aspect = 768.0f / 1024.0f, float offsetY = 0.0f) const;
    static void BuildViewportMatrix(GxMatrix& out);
    // view x projection x viewport.
    void GetWorldToScreenMatrix(GxMatrix& out) const;
    // Its inverse; a singular product yields the identity.
    void GetScreenToWorldMatrix(GxMatrix& out) const;
    // A world point's virtual-screen position.
    GxVector3 WorldToScreen(const GxVector3& world) const;
    // matrix := matrix x RotationX(-(pitch x factor)) x RotationY(yaw): turns flat sprites to the camera.
    void ApplyBillboard(GxMatrix& matrix, float factor) const;
    // Sets the device's view and projection as the map is drawn (the capture rule included).
    void ApplyToDevice() const;

    const ZorCameraState& GetCurrent() const { return m_Current; }
    ZorCameraState& GetCurrent() { return m_Current; }
    float GetProgress(Channel c) const { return m_Progress[c]; }
    float GetSpeed(Channel c) const { return m_Speed[c]; }

    static constexpr float kDegToRad = 0.017453292f;

private:
    ZorCameraState m_From;
    ZorCameraState m_To;
    ZorCameraState m_Current;
    float m_Progress[kChannels] = {1.0f, 1.0f, 1.0f, 1.0f};
    float m_Speed[kChannels] = {64.0f, 64.0f, 64.0f, 64.0f};
};
