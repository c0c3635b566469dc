#pragma once

#include "task/GxTaskBase.h"

#include <cstdint>

// Lets the children of a task in another sequence's tree take part in the current sequence's walks:
// placed in the current tree, it runs each walk on its target's children as if they were its own, with
// every flag test of that walk. The invasion screen shows the defence screen's effect folders this way.
// The target is not owned.
class ZorTaskProxy : public GxTaskBase
{
public:
    ZorTaskProxy(GxTaskBase* parent, const wchar_t* globalName);
    ~ZorTaskProxy() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    void OnExtraHook1() override;
    void OnExtraHook2() override;
    void OnExtraHook3() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t UpdatePreStart(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;

    void SetTarget(GxTaskBase* target) { m_Target = target; }
    GxTaskBase* GetTarget() const { return m_Target; }

private:
    // The target's first child when a target and a manager are there, else null (nothing to walk).
    GxTaskBase* First() const;

    GxTaskBase* m_Target = nullptr;
};
