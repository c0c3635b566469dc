#pragma once

#include "adventure/SeqSaveSlots.h"
#include "appdata/GxSaveSlotHeader.h"
#include "task/GxSeqTransitBase.h"

#include <memory>
#include <string>

class GxTaskFolder;
class GxTaskLayer;
class GxTaskUIBase;
class GxTexture;
class SeqSystem;

// The one design of the save and the load screens: ten pages of eight plates, each showing a slot's
// thumbnail, save time, number and title. The subclasses differ in what a plate click confirms and does.
class SeqSaveLoadBase : public GxSeqTransitBase
{
public:
    enum class Screen
    {
        Save,
        Load,
    };

    SeqSaveLoadBase(GxTaskBase* parent, const wchar_t* name, Screen screen);
    ~SeqSaveLoadBase() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    // A right click acts as the back button.
    int32_t OnMouseRightDown(const float* point, uint32_t keys, int32_t dbl) override;

    // Rebuilds the page from the save folder: page buttons, headers, thumbnails, the plates' enabled
    // state (load screen only) and the last-save indicator.
    void RefreshPlates();

    const GxSaveSlotHeader& GetHeader(int32_t plate) const { return m_Headers[plate & 7]; }
    // Where the last-save indicator went on the last refresh; false when it was hidden.
    bool GetTipNewPos(int32_t& x, int32_t& y) const;

protected:
    GxTaskUIBase* FindUI(const wchar_t* name, int32_t index) const;
    SeqSystem* GetSystem() const;
    // Page buttons, plates (opening the confirmation) and the back button; true when handled.
    bool HandleCommonClick(GxTaskBase* sender, const wchar_t* confirmKey, const wchar_t* confirmText);
    void GoBack();
    static void PlayClickSound(GxTaskBase* sender);

    int32_t m_ChosenSlot = -1;

private:
    Screen m_Screen;
    std::wstring m_Name;
    GxTaskFolder* m_UI = nullptr;
    GxTaskLayer* m_BGLayer = nullptr;
    std::unique_ptr<GxTexture> m_Thumbnails[SeqSaveSlots::kPlates];
    GxSaveSlotHeader m_Headers[SeqSaveSlots::kPlates];
    bool m_TipShown = false;
    int32_t m_TipX = 0;
    int32_t m_TipY = 0;
};
