#pragma once

#include "strategy/screens/ZorViewDrawList.h"
#include "task/ui/GxTaskUITextPanelFx.h"

#include <cstdint>
#include <string>

class GxTaskUIBase;
class GxTaskUIListBoxFx;

// What the facility, summon and trap window views share: each explains the item chosen in its window's
// list box (picture, name, help text) and decides whether the window's "btn_zorrun" may be pressed. An
// item's value is its table row and its tag is "ok" when it may be built or summoned, else the reason.
// The three differ in their rows, texts and extra lines, given by the virtual hooks.
class ZorTaskItemWindowView : public GxTaskUITextPanelFx
{
public:
    ~ZorTaskItemWindowView() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    // The window's position: the view draws in its window's coordinates.
    GxVector4 GetWorldPos() const override;

    // Shows item index of the list box, or the empty state for -1 (also for an index the list does not
    // hold).
    void ShowItem(int32_t index);
    int32_t GetShownIndex() const { return m_ShownIndex; }
    int32_t GetChosenID() const { return m_ChosenID; }
    // The picture, name and extra lines of the chosen row, relative to the window.
    void Layout(ZorViewDrawList& out) const;

protected:
    ZorTaskItemWindowView(GxTaskBase* parent, const wchar_t* globalName);

    virtual const wchar_t* ListBoxName() const = 0;
    virtual const wchar_t* EmptyText() const = 0;
    // The chosen row's description, picture and name.
    virtual std::wstring RowDescript(int32_t id) const = 0;
    virtual std::wstring RowPicture(int32_t id) const = 0;
    virtual std::wstring RowName(int32_t id) const = 0;
    // Whether a reason follows the description of an item that is not "ok".
    virtual bool AppendsReason() const { return false; }
    virtual void LayoutExtra(int32_t id, ZorViewDrawList& out) const { (void)id, (void)out; }

private:
    GxTaskUIListBoxFx* FindList() const;
    GxTaskUIBase* FindRunButton() const;

    int32_t m_ShownIndex = -1;
    int32_t m_ChosenID = 0;
    ZorViewDrawList m_DrawList;
};
