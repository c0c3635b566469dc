#pragma once

#include "task/GxActionParam.h"
#include "task/GxActorVisualParam.h"
#include "task/GxTaskFolder.h"

#include <cstdint>
#include <deque>

// A folder with a visual state and two channels of timed actions that change it over time. Channels
// run in parallel; within a channel actions run one after the other, and the time one action leaves
// over is spent on the next in the same step. Layers and widgets are actors and step the actions from
// their own update.
class GxTaskActor : public GxTaskFolder
{
public:
    static constexpr int kChannelCount = 2;
    // A saved channel never holds more actions than this; a larger count in a save is refused.
    static constexpr uint32_t kMaxSavedActions = 4096;

    GxTaskActor(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                int32_t localIndex = 0);
    ~GxTaskActor() override;

    GxVector4 GetPos() const override;
    GxVector4 GetWorldPos() const override;
    GxVector4 GetScale() const override;
    GxVector4 GetRot() const override;
    GxVector4 GetCenterPos() const override;
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;

    virtual void Hide() { m_Visual.m_Visible = false; }
    virtual void Show() { m_Visual.m_Visible = true; }
    virtual bool IsVisible() const { return m_Visual.m_Visible; }
    virtual void SetOrderZ(float z) { m_Visual.m_OrderZ = z; }
    virtual float GetOrderZ() const { return m_Visual.m_OrderZ; }
    virtual void SetBlendMode(int32_t mode) { m_Visual.m_BlendMode = mode; }
    virtual int32_t GetBlendMode() const { return m_Visual.m_BlendMode; }
    virtual void SetAlpha(int32_t alpha) { m_Visual.m_Alpha = alpha; }
    virtual int32_t GetAlpha() const { return m_Visual.m_Alpha; }
    virtual void SetPos(const GxVector4& pos) { m_Visual.m_Pos = pos; }
    virtual void SetScale(const GxVector4& scale) { m_Visual.m_Scale = scale; }
    virtual void SetRot(const GxVector4& rot) { m_Visual.m_Rot = rot; }
    virtual void SetCenterPos(const GxVector4& center) { m_Visual.m_CenterPos = center; }
    virtual void SetUVOffset(float u, float v) { m_Visual.m_UVOffset = GxVector2(u, v); }
    virtual void SetColor0(const GxVector4& color) { m_Visual.m_Color0 = color; }
    virtual void SetColor0ARGB(uint32_t argb);
    virtual GxVector4 GetColor0() const { return m_Visual.m_Color0; }
    virtual int32_t GetWidth() const { return 0; }
    virtual int32_t GetHeight() const { return 0; }

    // Steps channel 0, then channel 1, each by the full ms; true while either still holds an action.
    static bool StepActions(GxTaskActor* actor, int32_t ms);
    // Runs every queued action to its end at once (10000 ms at a time) and clears the shake offset.
    static void FinishActions(GxTaskActor* actor);
    static bool IsActionEmpty(const GxTaskActor* actor);

    // Appends a copy of the action (w components zeroed) to a channel; false for a bad channel.
    bool AddAction(int32_t channel, const GxActionParam& action);
    void AddActionWait(int32_t channel, int32_t ms);
    void AddActionFadeIn(int32_t ms);
    void AddActionFadeOut(int32_t ms);
    void AddActionMove(int32_t ms, const GxVector4& target, uint32_t mode);
    void AddActionMoveByQuick(const GxVector4& delta);
    void AddActionHide();
    void AddActionSetColor0(const GxVector4& rgb);

    const std::deque<GxActionParam>& GetActions(int32_t channel) const { return m_Actions[channel & 1]; }
    void ClearActions();
    GxActorVisualParam& GetVisual() { return m_Visual; }
    const GxActorVisualParam& GetVisual() const { return m_Visual; }
    bool IsActionPause() const { return m_ActionPause; }
    void SetActionPause(bool pause) { m_ActionPause = pause; }

private:
    bool StepChannel(std::deque<GxActionParam>& channel, int32_t ms);
    void BeginAction(GxActionParam& action);
    void ApplyAction(GxActionParam& action, float p);
    void EndAction(const GxActionParam& action);
    void UpdateShake(const GxActionParam& action);

    bool m_ActionPause = false;
    GxActorVisualParam m_Visual;
    std::deque<GxActionParam> m_Actions[kChannelCount];
};
