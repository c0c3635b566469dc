#pragma once

#include "strategy/screens/ZorTaskItemWindowView.h"

// What the summon and trap views share: the chosen row is a DBZorUnit row, and an item that cannot be
// had shows its description only.
class ZorTaskUnitWindowView : public ZorTaskItemWindowView
{
public:
    ~ZorTaskUnitWindowView() override;

protected:
    ZorTaskUnitWindowView(GxTaskBase* parent, const wchar_t* globalName);

    std::wstring RowDescript(int32_t id) const override;
    std::wstring RowPicture(int32_t id) const override;
    std::wstring RowName(int32_t id) const override;
};
