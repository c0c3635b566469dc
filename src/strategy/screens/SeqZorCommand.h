#pragma once

#include "task/GxSeqTransitBase.h"

#include <cstdint>

class GxTaskLayer;
class GxTaskUIBase;
class GxTaskUIListBoxFx;
class ZorTaskCommandWindowView;

// The weekly command screen: a list of commands with their costs, a help window and a status bar.
// Running a command pays its cost and hands the week to the script at the command's label; the map
// command opens the strategy map instead.
class SeqZorCommand : public GxSeqTransitBase
{
public:
    explicit SeqZorCommand(GxTaskBase* parent);
    ~SeqZorCommand() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    int32_t OnKeyDown(uint32_t key, uint32_t keyData) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;
    int32_t OnUIEvent18(GxTaskBase* sender, const GxUIEvent& event) override;

    // Rebuilds the list; showAll lists commands whose state record is disabled too.
    void RefreshCommandList(bool showAll);
    // Renders the screen and makes the save screens' thumbnail of it.
    void CaptureSaveThumbnail();

    GxTaskUIListBoxFx* GetList() const { return m_List; }
    ZorTaskCommandWindowView* GetWindowView() const { return m_WindowView; }

    // The flags of the occupied towns, drawn by both between-stage screens.
    static void DrawTownFlags();

protected:
    // Developer keys act only while the setting "DebugModeFlag" is on.
    virtual bool IsDebugMode() const;

private:
    GxTaskUIBase* FindWidget(const wchar_t* folder, const wchar_t* name) const;
    void BindLayoutWidgets();

    GxTaskLayer* m_BGLayer = nullptr;
    GxTaskUIListBoxFx* m_List = nullptr;
    GxTaskUIBase* m_Slider = nullptr;
    GxTaskUIBase* m_RunButton = nullptr;
    ZorTaskCommandWindowView* m_WindowView = nullptr;
};
