#pragma once

#include "task/ui/GxTaskUIButtonIs.h"

// A button with an on/off state, the widget's value (UI type 19). Six looks: 0 "_off", 1 "_on",
// 2 "_over", 3 "_na", 4 "_onover", 5 "_onna". With m_AutoToggleFlag a press flips the state by itself;
// without it the screen decides on event 1.
class GxTaskUIToggleButtonIs : public GxTaskUIButtonIs
{
public:
    static constexpr int32_t kTypeCode = 19;

    GxTaskUIToggleButtonIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                           int32_t localIndex = 0);
    ~GxTaskUIToggleButtonIs() override;

    int32_t Draw(int32_t param, int32_t layer) override;
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;
    bool LoadImages() override;
    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;

    virtual void SetAutoToggleFlag(bool flag) { m_AutoToggleFlag = flag; }
    virtual bool GetAutoToggleFlag() const { return m_AutoToggleFlag; }

    // The look of the current state and hover (also stored as m_ImageIndex by Draw).
    int32_t ChooseLook() const;

protected:
    // What a press does to the state when m_AutoToggleFlag is set.
    virtual void Toggle();

    bool m_AutoToggleFlag = true;
};
