#pragma once

#include "strategy/screens/ZorTaskUnitWindowView.h"

// The trap window's view: the chosen trap (a Class 20 unit row) of "lbox_trap".
class ZorTaskTrapWindowView : public ZorTaskUnitWindowView
{
public:
    explicit ZorTaskTrapWindowView(GxTaskBase* parent);
    ~ZorTaskTrapWindowView() override;

protected:
    const wchar_t* ListBoxName() const override { return L"lbox_trap"; }
    const wchar_t* EmptyText() const override;
};
