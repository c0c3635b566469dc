#pragma once

#include "core/GxVector4.h"

#include <cstdint>

class GxContentReaderBase;
class GxContentWriterBase;

enum GxActionType : int32_t
{
    GX_ACTION_WAIT = 0,
    GX_ACTION_ALPHA = 1,
    GX_ACTION_POS = 2,
    GX_ACTION_SCALE = 3,
    GX_ACTION_ROT = 4,
    GX_ACTION_POS_BY = 5,
    GX_ACTION_SCALE_BY = 6,
    GX_ACTION_ROT_BY = 7,
    GX_ACTION_SHOW = 8,
    GX_ACTION_HIDE = 9,
    GX_ACTION_SHAKE = 10,
    GX_ACTION_ALPHA_AT_END = 11,
    GX_ACTION_COLOR0_AT_END = 12,
    GX_ACTION_COLOR1_AT_END = 13,
    GX_ACTION_BLEND_AT_END = 14,
};

enum GxActionInterMode : uint32_t
{
    GX_INTER_LINEAR = 1,
    GX_INTER_EASE_OUT = 2,
    GX_INTER_EASE_IN = 3,
    GX_INTER_SMOOTH = 4,
};

// One timed action of an actor, stored with it.
class GxActionParam
{
public:
    GxActionParam() = default;
    GxActionParam(int32_t type, int32_t time, const GxVector4& end, uint32_t mode = GX_INTER_LINEAR)
        : m_ActionType(type), m_TimeLeft(time), m_TimeTotal(time), m_End(end), m_InterMode(mode)
    {
    }
    virtual ~GxActionParam() = default;

    virtual bool Save(GxContentWriterBase* writer);
    virtual bool Load(GxContentReaderBase* reader);

    // Linear progress (total - left) / total clamped to [0, 1] (1 when total is not positive), shaped by
    // the interpolation mode.
    float GetProgress() const;

    int32_t m_ActionType = GX_ACTION_WAIT;
    int32_t m_TimeLeft = 0;
    int32_t m_TimeTotal = 0;
    GxVector4 m_Start;
    GxVector4 m_End;
    uint32_t m_InterMode = GX_INTER_LINEAR;
    int32_t m_InterParam = 0;
    bool m_InitCompleted = false;
};
