#include "strategy/screens/ZorTaskUnitWindowView.h"

#include "appdata/DBZorUnit.h"

namespace
{

const DBZorUnitData* Row(int32_t id)
{
    return g_DBZorUnit.GetRow(static_cast<uint32_t>(id));
}

} // namespace

ZorTaskUnitWindowView::ZorTaskUnitWindowView(GxTaskBase* parent, const wchar_t* globalName)
    : ZorTaskItemWindowView(parent, globalName)
{
}

ZorTaskUnitWindowView::~ZorTaskUnitWindowView() = default;

std::wstring ZorTaskUnitWindowView::RowDescript(int32_t id) const
{
    const DBZorUnitData* row = Row(id);
    return row ? row->m_Descript : std::wstring();
}

std::wstring ZorTaskUnitWindowView::RowPicture(int32_t id) const
{
    const DBZorUnitData* row = Row(id);
    return row ? row->m_VisualImage : std::wstring();
}

std::wstring ZorTaskUnitWindowView::RowName(int32_t id) const
{
    const DBZorUnitData* row = Row(id);
    return row ? row->m_ShowName : std::wstring();
}
