#include "strategy/screens/ZorTaskStructWindowView.h"

#include "appdata/DBZorStruct.h"

namespace
{

const DBZorStructData* Row(int32_t id)
{
    return g_DBZorStruct.GetRow(static_cast<uint32_t>(id));
}

} // namespace

ZorTaskStructWindowView::ZorTaskStructWindowView(GxTaskBase* parent)
    : ZorTaskItemWindowView(parent, L"$ZORSTRUCTWINDOWVIEW:SeqZorMain")
{
}

ZorTaskStructWindowView::~ZorTaskStructWindowView() = default;

const wchar_t* ZorTaskStructWindowView::EmptyText() const
{
    return L"施設を選択してください|同じ施設は数が増えるほど資源を多く消費し、作成にも時間がかかります";
}

std::wstring ZorTaskStructWindowView::RowDescript(int32_t id) const
{
    const DBZorStructData* row = Row(id);
    return row ? row->m_Descript : std::wstring();
}

std::wstring ZorTaskStructWindowView::RowPicture(int32_t id) const
{
    const DBZorStructData* row = Row(id);
    return row ? row->m_VisualImage : std::wstring();
}

std::wstring ZorTaskStructWindowView::RowName(int32_t id) const
{
    const DBZorStructData* row = Row(id);
    return row ? row->m_ShowName : std::wstring();
}
