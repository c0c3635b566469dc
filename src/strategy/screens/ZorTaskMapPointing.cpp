#include "strategy/screens/ZorTaskMapPointing.h"

#include "core/GxCore.h"
#include "core/GxMath.h"
#include "core/GxMatrix.h"
#include "strategy/ZorGeometry.h"
#include "strategy/screens/ZorTaskCamera.h"

ZorTaskMapPointing::ZorTaskMapPointing(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera)
    : GxTaskBase(parent, globalName), m_Camera(camera)
{
}

ZorTaskMapPointing::~ZorTaskMapPointing() = default;

int32_t ZorTaskMapPointing::OnMouseMove(const float* point, uint32_t keys)
{
    (void)keys;
    Pick(point[0], point[1], g_Core == nullptr || g_Core->m_Active);
    return 0;
}

void ZorTaskMapPointing::Reset()
{
    m_BlockX = -1;
    m_BlockZ = -1;
    m_LastX = -1.0f;
    m_LastY = -1.0f;
    m_Hit = GxVector3();
}

void ZorTaskMapPointing::Pick(float x, float y, bool active)
{
    m_LastX = x;
    m_LastY = y;
    if (!m_Camera)
        return;
    if (!active)
    {
        Reset();
        return;
    }
    GxMatrix m;
    m_Camera->GetScreenToWorldMatrix(m);
    // The chain is orthographic, so w stays 1 and the affine transform is exact.
    GxVector3 nearPoint(x, y, 0.0f);
    nearPoint.TransformCoord(m);
    GxVector3 farPoint(x, y, 1.0f);
    farPoint.TransformCoord(m);
    GxVector3 dir;
    farPoint.Subtract(nearPoint, dir);
    dir.SetLength(1.0f);
    GxVector3 hit;
    if (!GxMath::IntersectRayPlane(hit, nearPoint, dir, GxVector4(0.0f, 1.0f, 0.0f, 0.0f), 0.00001f))
    {
        Reset();
        return;
    }
    const ZorCell cell = ZorWorldToCell(GxVector4(hit.x, hit.y, hit.z, 0.0f));
    if (cell.x < 0 || cell.x > 39 || cell.z < 0 || cell.z > 39)
    {
        Reset();
        return;
    }
    m_Hit = hit;
    m_BlockX = cell.x;
    m_BlockZ = cell.z;
}
