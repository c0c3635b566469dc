#pragma once

#include "strategy/screens/ZorTaskUnitWindowView.h"

// The summon window's view: the chosen unit of "lbox_summon", with the names of its shown skills under
// its name.
class ZorTaskSummonWindowView : public ZorTaskUnitWindowView
{
public:
    explicit ZorTaskSummonWindowView(GxTaskBase* parent);
    ~ZorTaskSummonWindowView() override;

protected:
    const wchar_t* ListBoxName() const override { return L"lbox_summon"; }
    const wchar_t* EmptyText() const override;
    // Skill slots 0, 1 and 3 by name (1 and 3 only when set), then "？？？" for a secret skill in slot 4;
    // slots 2 and 5 are never shown.
    void LayoutExtra(int32_t id, ZorViewDrawList& out) const override;
};
