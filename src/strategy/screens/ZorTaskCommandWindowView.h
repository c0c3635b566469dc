#pragma once

#include "task/ui/GxTaskUITextPanelFx.h"

#include <cstdint>
#include <string>

class GxTaskUIBase;
class GxTaskUIListBoxFx;

// The help window of the weekly command screen: the description of the chosen command row, and the
// run button enabled only while that row is runnable (tagged "ok").
class ZorTaskCommandWindowView : public GxTaskUITextPanelFx
{
public:
    ZorTaskCommandWindowView(GxTaskBase* parent, const wchar_t* globalName);
    ~ZorTaskCommandWindowView() override;

    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    GxVector4 GetWorldPos() const override;

    // The list and run button it reads and drives; either may be missing (then nothing is shown or
    // enabled).
    void Bind(GxTaskUIListBoxFx* list, GxTaskUIBase* runButton);
    // Row -1 shows the prompt and disables the run button.
    void SetSelection(int32_t row);

    int32_t GetSelectedRow() const { return m_SelectedRow; }
    int32_t GetSelectedCommandID() const { return m_SelectedCommandID; }

private:
    int32_t m_SelectedRow = -1;
    int32_t m_SelectedCommandID = 0;
    // Emptied on every selection; nothing reads it.
    std::wstring m_Scratch;
    GxTaskUIListBoxFx* m_List = nullptr;
    GxTaskUIBase* m_RunButton = nullptr;
};
