#include "strategy/screens/ZorTaskTrapWindowView.h"

ZorTaskTrapWindowView::ZorTaskTrapWindowView(GxTaskBase* parent)
    : ZorTaskUnitWindowView(parent, L"$ZORTRAPWINDOWVIEW:SeqZorMain")
{
}

ZorTaskTrapWindowView::~ZorTaskTrapWindowView() = default;

const wchar_t* ZorTaskTrapWindowView::EmptyText() const
{
    return L"罠の作成には「罠工房」が必要です|罠工房を複数作ると作成できる罠のLVが上がります|"
           L"罠は消耗品のため受けたダメージを修理することはできません";
}
