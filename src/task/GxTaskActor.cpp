#include "task/GxTaskActor.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxCrtRandom.h"
#include "core/GxLog.h"

#include <cmath>

GxTaskActor::GxTaskActor(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName, int32_t localIndex)
    : GxTaskFolder(parent, globalName, localName, localIndex)
{
    AddTaskKind(GX_TASKKIND_ACTOR);
}

GxTaskActor::~GxTaskActor() = default;

namespace
{
GxVector4 Xyz(const GxVector4& v)
{
    return GxVector4(v.x, v.y, v.z, 0.0f);
}

GxVector4 Lerp(const GxVector4& a, const GxVector4& b, float p)
{
    return GxVector4(a.x * (1.0f - p) + b.x * p, a.y * (1.0f - p) + b.y * p, a.z * (1.0f - p) + b.z * p, 0.0f);
}

// Degrees to radians, as the single-precision constant.
constexpr float kDegree = 0.01745329238474369f;
} // namespace

GxVector4 GxTaskActor::GetPos() const
{
    return Xyz(m_Visual.m_Pos);
}

GxVector4 GxTaskActor::GetWorldPos() const
{
    GxVector4 pos(m_Visual.m_Pos.x + m_Visual.m_ShakeOffsetPos.x, m_Visual.m_Pos.y + m_Visual.m_ShakeOffsetPos.y,
                  m_Visual.m_Pos.z + m_Visual.m_ShakeOffsetPos.z, 0.0f);
    if (GxTaskBase* parent = GetParent())
    {
        const GxVector4 up = parent->GetWorldPos();
        pos = GxVector4(pos.x + up.x, pos.y + up.y, pos.z + up.z, 0.0f);
    }
    return pos;
}

GxVector4 GxTaskActor::GetScale() const
{
    return Xyz(m_Visual.m_Scale);
}
GxVector4 GxTaskActor::GetRot() const
{
    return Xyz(m_Visual.m_Rot);
}
GxVector4 GxTaskActor::GetCenterPos() const
{
    return Xyz(m_Visual.m_CenterPos);
}

void GxTaskActor::SetColor0ARGB(uint32_t argb)
{
    m_Visual.m_Color0 =
        GxVector4(static_cast<float>((argb >> 16) & 0xFF) / 255.0f, static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
                  static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>((argb >> 24) & 0xFF) / 255.0f);
}

// ---------------------------------------------------------------------------------------------------
// Queue

bool GxTaskActor::AddAction(int32_t channel, const GxActionParam& action)
{
    if (channel < 0 || channel >= kChannelCount)
        return false;
    GxActionParam copy = action;
    copy.m_Start.w = 0.0f;
    copy.m_End.w = 0.0f;
    m_Actions[channel].push_back(copy);
    return true;
}

void GxTaskActor::AddActionWait(int32_t channel, int32_t ms)
{
    AddAction(channel, GxActionParam(GX_ACTION_WAIT, ms, {}));
}

void GxTaskActor::AddActionFadeIn(int32_t ms)
{
    AddAction(0, GxActionParam(GX_ACTION_ALPHA, ms, GxVector4(255.0f, 0.0f, 0.0f, 0.0f)));
}

void GxTaskActor::AddActionFadeOut(int32_t ms)
{
    AddAction(0, GxActionParam(GX_ACTION_ALPHA, ms, {}));
}

void GxTaskActor::AddActionMove(int32_t ms, const GxVector4& target, uint32_t mode)
{
    AddAction(0, GxActionParam(GX_ACTION_POS, ms, target, mode));
}

void GxTaskActor::AddActionMoveByQuick(const GxVector4& delta)
{
    AddAction(1, GxActionParam(GX_ACTION_POS_BY, 200, delta));
}

void GxTaskActor::AddActionHide()
{
    AddAction(0, GxActionParam(GX_ACTION_HIDE, 0, {}));
}

void GxTaskActor::AddActionSetColor0(const GxVector4& rgb)
{
    AddAction(0, GxActionParam(GX_ACTION_COLOR0_AT_END, 0, rgb));
}

void GxTaskActor::ClearActions()
{
    for (auto& channel : m_Actions)
        channel.clear();
}

// ---------------------------------------------------------------------------------------------------
// Stepping

bool GxTaskActor::StepActions(GxTaskActor* actor, int32_t ms)
{
    if (!actor)
        return false;
    const bool busy0 = actor->StepChannel(actor->m_Actions[0], ms);
    const bool busy1 = actor->StepChannel(actor->m_Actions[1], ms);
    return busy0 || busy1;
}

void GxTaskActor::FinishActions(GxTaskActor* actor)
{
    if (!actor)
        return;
    while (!IsActionEmpty(actor))
        StepActions(actor, 10000);
    actor->m_Visual.m_ShakeOffsetPos.x = 0.0f;
    actor->m_Visual.m_ShakeOffsetPos.y = 0.0f;
    actor->m_Visual.m_ShakeOffsetPos.z = 0.0f;
}

bool GxTaskActor::IsActionEmpty(const GxTaskActor* actor)
{
    return !actor || (actor->m_Actions[0].empty() && actor->m_Actions[1].empty());
}

bool GxTaskActor::StepChannel(std::deque<GxActionParam>& channel, int32_t ms)
{
    while (!channel.empty())
    {
        GxActionParam& action = channel.front();
        if (!action.m_InitCompleted)
        {
            action.m_InitCompleted = true;
            BeginAction(action);
        }
        if (action.m_TimeLeft < ms)
        {
            ms -= action.m_TimeLeft;
            action.m_TimeLeft = 0;
        }
        else
        {
            action.m_TimeLeft -= ms;
            ms = 0;
        }
        ApplyAction(action, action.GetProgress());
        if (action.m_TimeLeft <= 0)
        {
            EndAction(action);
            channel.pop_front();
        }
        if (ms <= 0)
            break;
    }
    return !channel.empty();
}

void GxTaskActor::BeginAction(GxActionParam& action)
{
    GxVector4 start;
    switch (action.m_ActionType)
    {
    case GX_ACTION_ALPHA:
        start = GxVector4(static_cast<float>(m_Visual.m_Alpha), 0.0f, 0.0f, 0.0f);
        break;
    case GX_ACTION_POS:
    case GX_ACTION_POS_BY:
        start = Xyz(m_Visual.m_Pos);
        break;
    case GX_ACTION_SCALE:
    case GX_ACTION_SCALE_BY:
        start = Xyz(m_Visual.m_Scale);
        break;
    case GX_ACTION_ROT:
    case GX_ACTION_ROT_BY:
        start = Xyz(m_Visual.m_Rot);
        break;
    default:
        break;
    }
    action.m_Start = start;
    if (action.m_ActionType == GX_ACTION_POS_BY || action.m_ActionType == GX_ACTION_SCALE_BY ||
        action.m_ActionType == GX_ACTION_ROT_BY)
    {
        action.m_End = GxVector4(start.x + action.m_End.x, start.y + action.m_End.y, start.z + action.m_End.z, 0.0f);
    }
}

void GxTaskActor::ApplyAction(GxActionParam& action, float p)
{
    switch (action.m_ActionType)
    {
    case GX_ACTION_ALPHA:
        m_Visual.m_Alpha = static_cast<int32_t>(action.m_Start.x * (1.0f - p) + action.m_End.x * p);
        break;
    case GX_ACTION_POS:
    case GX_ACTION_POS_BY:
        m_Visual.m_Pos = Lerp(action.m_Start, action.m_End, p);
        break;
    case GX_ACTION_SCALE:
    case GX_ACTION_SCALE_BY:
        m_Visual.m_Scale = Lerp(action.m_Start, action.m_End, p);
        break;
    case GX_ACTION_ROT:
    case GX_ACTION_ROT_BY:
        m_Visual.m_Rot = Lerp(action.m_Start, action.m_End, p);
        break;
    case GX_ACTION_SHAKE:
        if ((GetFrameCount() & 1) == 0)
            UpdateShake(action);
        break;
    default:
        break;
    }
}

void GxTaskActor::EndAction(const GxActionParam& action)
{
    switch (action.m_ActionType)
    {
    case GX_ACTION_SHOW:
        m_Visual.m_Visible = true;
        break;
    case GX_ACTION_HIDE:
        m_Visual.m_Visible = false;
        break;
    case GX_ACTION_SHAKE:
        m_Visual.m_ShakeOffsetPos.x = 0.0f;
        m_Visual.m_ShakeOffsetPos.y = 0.0f;
        m_Visual.m_ShakeOffsetPos.z = 0.0f;
        break;
    case GX_ACTION_ALPHA_AT_END:
        m_Visual.m_Alpha = static_cast<int32_t>(action.m_End.x);
        break;
    case GX_ACTION_COLOR0_AT_END:
        m_Visual.m_Color0.x = action.m_End.x;
        m_Visual.m_Color0.y = action.m_End.y;
        m_Visual.m_Color0.z = action.m_End.z;
        break;
    case GX_ACTION_COLOR1_AT_END:
        m_Visual.m_Color1.x = action.m_End.x;
        m_Visual.m_Color1.y = action.m_End.y;
        m_Visual.m_Color1.z = action.m_End.z;
        break;
    case GX_ACTION_BLEND_AT_END:
        m_Visual.m_BlendMode = static_cast<int32_t>(action.m_End.x);
        break;
    default:
        break;
    }
}

// Four draws from the shared 15-bit generator, in this order: x angle, x magnitude, y angle, y magnitude.
// The angles advance by 20 degrees every 16 ms of the shake; end.x and end.y are the amplitudes.
void GxTaskActor::UpdateShake(const GxActionParam& action)
{
    const int32_t e = (action.m_TimeTotal - action.m_TimeLeft) / 16;
    const float angleX = static_cast<float>(GxCrtRandom::Next() % 360 + 20 * e) * kDegree;
    const double shakeX = std::sin(static_cast<double>(angleX)) * (GxCrtRandom::Next() % 10000) / 10000.0 *
                          static_cast<double>(action.m_End.x);
    const float angleY = static_cast<float>(GxCrtRandom::Next() % 360 + 20 * e) * kDegree;
    const double shakeY = (GxCrtRandom::Next() % 10000) * std::cos(static_cast<double>(angleY)) / 10000.0 *
                          static_cast<double>(action.m_End.y);
    m_Visual.m_ShakeOffsetPos.x = static_cast<float>(static_cast<int32_t>(shakeX));
    m_Visual.m_ShakeOffsetPos.y = static_cast<float>(static_cast<int32_t>(shakeY));
}

// ---------------------------------------------------------------------------------------------------
// Save and load

bool GxTaskActor::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    GxTaskBase::Save(writer);
    m_Visual.Save(writer);
    for (auto& channel : m_Actions)
    {
        writer->ListBegin("m_ActionList", "", static_cast<uint32_t>(channel.size()));
        for (GxActionParam& action : channel)
        {
            writer->ListItemBegin();
            action.Save(writer);
            writer->ListItemEnd();
        }
        writer->ListEnd();
    }
    writer->Write("m_ActionPause", m_ActionPause);
    return writer->GetErrorCount() == 0;
}

bool GxTaskActor::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    GxTaskBase::Load(reader);
    m_Visual.Load(reader);
    for (auto& channel : m_Actions)
    {
        uint32_t count = 0;
        reader->ListBegin("m_ActionList", count);
        channel.clear();
        // No actor queues thousands of actions; a larger count is damage, and reading on would only
        // misinterpret what follows.
        if (count > kMaxSavedActions)
        {
            GxLog::Error(L"GxTaskActor::Load/アクション数が不正です (%u)\n", count);
            ClearActions();
            return false;
        }
        const uint32_t errors = reader->GetErrorCount();
        for (uint32_t i = 0; i < count && reader->GetErrorCount() == errors; ++i)
        {
            reader->ListItemBegin();
            GxActionParam action;
            action.Load(reader);
            reader->ListItemEnd();
            AddAction(static_cast<int32_t>(&channel - m_Actions), action);
        }
        reader->ListEnd();
    }
    reader->Read("m_ActionPause", m_ActionPause);
    return reader->GetErrorCount() == 0;
}
