#pragma once

#include "strategy/screens/ZorTaskItemWindowView.h"

// The facility window's view: the chosen facility (a DBZorStruct row) of "lbox_struct"; an item that
// cannot be built shows its description, an empty line and the reason.
class ZorTaskStructWindowView : public ZorTaskItemWindowView
{
public:
    explicit ZorTaskStructWindowView(GxTaskBase* parent);
    ~ZorTaskStructWindowView() override;

protected:
    const wchar_t* ListBoxName() const override { return L"lbox_struct"; }
    const wchar_t* EmptyText() const override;
    std::wstring RowDescript(int32_t id) const override;
    std::wstring RowPicture(int32_t id) const override;
    std::wstring RowName(int32_t id) const override;
    bool AppendsReason() const override { return true; }
};
