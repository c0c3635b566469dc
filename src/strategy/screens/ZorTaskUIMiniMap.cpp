#include "strategy/screens/ZorTaskUIMiniMap.h"

#include "animation/GxNcIconPool.h"
#include "core/GxLog.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTexture.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

#include <cstring>

namespace
{

constexpr float kClientLeft = 36.0f;
constexpr float kClientTop = 620.0f;
constexpr float kClientWidth = 128.0f;
constexpr float kClientHeight = 96.0f;
constexpr float kScale = 0.2f;

} // namespace

ZorTaskUIMiniMap::ZorTaskUIMiniMap(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera)
    : GxTaskUIBase(parent, globalName, L"MiniMap"), m_Camera(camera), m_Texels(kTextureSize * kTextureSize, 0u)
{
    SetClientRect(36, 620, 128, 96);
}

ZorTaskUIMiniMap::~ZorTaskUIMiniMap()
{
    if (m_Texture)
    {
        m_Texture->Release();
        delete m_Texture;
    }
}

void ZorTaskUIMiniMap::OnSequenceEnter()
{
    GxTaskUIBase::OnSequenceEnter();
    if (ZorCore* core = ZorCore::GetInstance())
        DrawMapTexture(core->GetUserData());
}

int32_t ZorTaskUIMiniMap::Update(int32_t step, int64_t elapsed)
{
    GxTaskUIBase::Update(step, elapsed);
    AdvanceFrameCount();
    return 0;
}

void ZorTaskUIMiniMap::DrawMapTexture(const ZorUserData* state)
{
    if (!state)
        return;
    for (int32_t bz = 0; bz < 40; ++bz)
    {
        for (int32_t bx = 0; bx < 40; ++bx)
        {
            const int32_t s = state->GetBlockState(bx, bz);
            if (s <= 6)
                continue;
            m_Texels[bz * kTextureSize + bx] = s == 7 ? kColourPath : s == 8 ? kColourDug : kColourOther;
        }
    }
    Upload();
}

void ZorTaskUIMiniMap::Upload()
{
    if (!GxGraphics::GetDevice() || m_TextureFailed)
        return;
    if (!m_Texture)
    {
        m_Texture = new GxTexture();
        if (!m_Texture->CreateTexture(L"MiniMap", kTextureSize, kTextureSize, D3DFMT_A8R8G8B8, 1))
        {
            GxLog::Error(L"ZorTaskUIMiniMap::Upload/テクスチャを作成できません\n");
            delete m_Texture;
            m_Texture = nullptr;
            m_TextureFailed = true;
            return;
        }
    }
    void* bits = nullptr;
    uint32_t pitch = 0;
    D3DFORMAT format = D3DFMT_A8R8G8B8;
    if (!m_Texture->LockRect(nullptr, &bits, &pitch, nullptr, nullptr, &format, false) || !bits)
        return;
    auto* rows = static_cast<uint8_t*>(bits);
    const bool wide = format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8;
    for (uint32_t y = 0; y < 40; ++y)
    {
        const uint32_t* src = &m_Texels[y * kTextureSize];
        if (wide)
            std::memcpy(rows + y * pitch, src, 40 * sizeof(uint32_t));
        else
        {
            auto* dst = reinterpret_cast<uint16_t*>(rows + y * pitch);
            for (uint32_t x = 0; x < 40; ++x)
            {
                const uint32_t c = src[x];
                dst[x] = static_cast<uint16_t>(((c >> 16) & 0xF000) | ((c >> 12) & 0x0F00) | ((c >> 8) & 0x00F0) |
                                               ((c >> 4) & 0x000F));
            }
        }
    }
    m_Texture->UnlockRect();
}

GxVector3 ZorTaskUIMiniMap::GetCentre() const
{
    const GxVector4 p = GetWorldPos();
    return GxVector3(p.x + 101.0f, p.y + 101.0f, 0.0f);
}

void ZorTaskUIMiniMap::BuildMapMatrix(GxMatrix& out, float scale) const
{
    out.Scaling(scale, scale, scale);
    if (!m_Camera)
        return;
    const ZorCameraState& cur = m_Camera->GetCurrent();
    GxMatrix rz;
    const float yaw = cur.m_Yaw * ZorTaskCamera::kDegToRad;
    if (yaw != 0.0f)
        out.MultiplyInPlace(rz.RotationZ(yaw));
    out.RotateX((cur.m_Pitch + 90.0f) * ZorTaskCamera::kDegToRad);
}

GxVector3 ZorTaskUIMiniMap::WorldToMiniMap(float x, float z) const
{
    GxMatrix m;
    BuildMapMatrix(m, kScale);
    GxVector3 v(x, z, 0.0f);
    v.TransformCoord(m);
    const GxVector3 c = GetCentre();
    return GxVector3(c.x + v.x, c.y + v.y, 0.0f);
}

GxFRect ZorTaskUIMiniMap::ComputeViewFrame() const
{
    GxFRect r;
    if (!m_Camera)
        return r;
    const ZorCameraState& cur = m_Camera->GetCurrent();
    const float k = 0.074074075f / cur.m_Zoom;
    const GxVector3 v = WorldToMiniMap(cur.m_Target.x, cur.m_Target.z);
    // The frame stops short of the bottom bar's share of the screen: 184 below the centre, not 384.
    r.left = v.x - 512.0f * k;
    r.top = v.y - 384.0f * k;
    r.right = v.x + 512.0f * k;
    r.bottom = v.y + 184.0f * k;
    return r;
}

bool ZorTaskUIMiniMap::InClientRect(float x, float y) const
{
    return x >= kClientLeft && x < kClientLeft + kClientWidth && y >= kClientTop && y < kClientTop + kClientHeight;
}

GxVector3 ZorTaskUIMiniMap::ScreenToWorld(float x, float y) const
{
    const GxVector3 c = GetCentre();
    GxVector3 w((x - c.x) / kScale, 0.0f, 2.0f * (y - c.y) / kScale);
    if (!m_Camera)
        return w;
    const ZorCameraState& cur = m_Camera->GetCurrent();
    GxMatrix rx;
    rx.RotationX(cur.m_Pitch * ZorTaskCamera::kDegToRad);
    GxMatrix ry;
    ry.RotationY(cur.m_Yaw * ZorTaskCamera::kDegToRad);
    w.TransformCoord(rx);
    w.TransformCoord(ry);
    return w;
}

int32_t ZorTaskUIMiniMap::OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl)
{
    (void)keys, (void)dbl;
    const float x = point[0];
    const float y = point[1];
    if (!m_Camera || !InClientRect(x, y))
        return 0;
    const bool inFrame =
        x >= m_ViewFrame.left && x <= m_ViewFrame.right && y >= m_ViewFrame.top && y <= m_ViewFrame.bottom;
    if (!inFrame)
    {
        GxVector3 w = ScreenToWorld(x, y);
        ZorTaskCamera::ClampTarget(w);
        m_Camera->MoveTo(w.x, w.z, 512.0f);
    }
    m_LastX = m_StartX = x;
    m_LastY = m_StartY = y;
    m_DragMap = true;
    return 0;
}

int32_t ZorTaskUIMiniMap::OnMouseMove(const float* point, uint32_t keys)
{
    (void)keys;
    if (!m_Camera || !m_DragMap || !InClientRect(point[0], point[1]))
        return 0;
    const GxVector3 a = ScreenToWorld(point[0], point[1]);
    const GxVector3 b = ScreenToWorld(m_LastX, m_LastY);
    const ZorCameraState& cur = m_Camera->GetCurrent();
    GxVector3 t(cur.m_Target.x + (a.x - b.x), 0.0f, cur.m_Target.z + (a.z - b.z));
    ZorTaskCamera::ClampTarget(t);
    m_Camera->JumpTo(t.x, t.z);
    m_LastX = point[0];
    m_LastY = point[1];
    return 0;
}

int32_t ZorTaskUIMiniMap::OnMouseLeftUp(const float* point, uint32_t keys)
{
    (void)point, (void)keys;
    m_DragMap = false;
    return 0;
}

int32_t ZorTaskUIMiniMap::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 12001.0f, 0);
    }
    return 0;
}

int32_t ZorTaskUIMiniMap::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    if (!m_Camera)
        return 0;
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    GxGraphics::SetBlendMode(0, 2);
    const GxVector4 pos = GetWorldPos();
    if (m_Texture)
    {
        GxFRect source;
        source.right = 40.0f;
        source.bottom = 40.0f;
        GxGraphics::DrawSprite(m_Texture, pos.x + 90.0f, pos.y + 99.0f, source, GxVector2(4.0f, 4.0f),
                               GxVector3(1.0471976f, 0.0f, 0.7853982f), GxVector2(0.5f, 0.5f), GxVector2(0.0f, 0.0f),
                               0xFFFFFFFF, 0, 2);
    }
    const uint32_t red[5] = {kEnemyColour, kEnemyColour, kEnemyColour, kEnemyColour, kEnemyColour};
    const uint32_t none[5] = {};
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskBase* enemies = manage->FindTaskByName(ZorCore::kUnitEnemyList))
        {
            for (GxTaskBase* t = enemies->GetFirstChild(); t; t = t->GetNextSibling())
            {
                auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t);
                if (!unit || unit->IsBeingRemoved() || unit->m_UnitID == 0)
                    continue;
                const GxVector4 w = unit->GetWorldPos();
                const GxVector3 p = WorldToMiniMap(w.x, w.z);
                GxFRect dot;
                dot.left = p.x - 2.0f;
                dot.top = p.y - 5.0f;
                dot.right = p.x;
                dot.bottom = p.y - 3.0f;
                GxGraphics::FillRect(dot, red, none, 2);
            }
        }
    }
    if (ZorCore* core = ZorCore::GetInstance())
    {
        const ZorUserData* s = core->GetUserData();
        for (int32_t rz = 0; rz < 10; ++rz)
        {
            for (int32_t rx = 0; rx < 10; ++rx)
            {
                const ZorRoomState* room = s->GetRoughRoom(rx, rz);
                if (!room || room->m_RoomEffectLevels[21] == 0)
                    continue;
                const GxVector3 p = WorldToMiniMap(static_cast<float>((rx - 5) * 80), static_cast<float>((rz - 4) * 80));
                GxNcIconPool::Draw(L"icon_alert", (GetFrameCount() / 8) % 3, 1.0f, 1.0f, p.x - 16.0f, p.y - 20.0f, 0.0f,
                                   0xFFFFFFFF, 0);
            }
        }
    }
    m_ViewFrame = ComputeViewFrame();
    GxGraphics::DrawRectFrame(m_ViewFrame, kFrameColour, 0, 2);
    GxGraphics::EndScene();
    return 0;
}
