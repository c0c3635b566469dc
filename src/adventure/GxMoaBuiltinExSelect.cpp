// The choice builtins of GxMoaBuiltinEx. Argument i of each addresses choice item i + 1 of the user
// data (item 0 is never used); arguments beyond the last item are ignored. "sel" comes last and offers
// the choice; taking it belongs to the adventure screen.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxString.h"
#include "script/GxMoa.h"
#include "script/GxMoaAdventureScreen.h"
#include "script/GxMoaWorker.h"

#include <vector>

bool GxMoaBuiltinEx::CallSelect(GxMoaBuiltinCall& call)
{
    GxUserData* data = m_Core ? m_Core->m_UserData : nullptr;
    if (data == nullptr)
        return true;
    const std::wstring& name = call.m_Name;
    std::vector<GxSelectMenuItem>& items = data->m_SelectMenuItemList;
    const int32_t argCount = items.empty() ? 0 : static_cast<int32_t>(items.size()) - 1;

    if (name == L"sel")
    {
        for (int32_t i = 0; i < argCount; ++i)
        {
            GxSelectMenuItem& item = items[static_cast<size_t>(i) + 1];
            if (call.Has(i))
                item.m_Text = call.ArgString(i);
            else
            {
                // An item without a text is off, whatever "sel.visible" said.
                item.m_Text.clear();
                item.m_Enable = false;
                item.m_Visible = false;
                item.m_UseGosub = false;
            }
        }
        // The place of the call names the menu, so the permanent record of choices once taken knows
        // the same menu in a later game.
        if (data->m_SelectHash.empty() && call.m_Worker)
            data->m_SelectHash = GxString::Format(L"%s:%d", call.m_Worker->GetPositionText().c_str(),
                                                  call.m_Worker->GetCurrentOpcodePos() + 1);
        data->m_HideWindowByCommandFlag = false;
        if (GxMoaAdventureScreen* screen = GxMoaAdventureScreen::Find())
            screen->ShowSelectMenu();
        return true;
    }
    if (name == L"sel.go" || name == L"sel.gosub")
    {
        // Every label is stored and every missing one reported before the call fails.
        const bool gosub = name == L"sel.gosub";
        const GxMoa* moa = call.m_Worker ? call.m_Worker->GetMoa() : nullptr;
        bool result = true;
        for (int32_t i = 0; i < argCount; ++i)
        {
            GxSelectMenuItem& item = items[static_cast<size_t>(i) + 1];
            if (!call.Has(i))
            {
                item.m_Label.clear();
                item.m_UseGosub = false;
                continue;
            }
            item.m_Label = call.ArgString(i);
            item.m_UseGosub = gosub;
            if (moa == nullptr || moa->FindLabelInScript(item.m_Label, call.m_Script) == nullptr)
            {
                call.Fail(L"選択肢[%d]のラベル[%s]は存在しません", i + 1, item.m_Label.c_str());
                result = false;
            }
        }
        return result;
    }
    if (name == L"sel.visible" || name == L"sel.enable")
    {
        const bool visible = name == L"sel.visible";
        for (int32_t i = 0; i < argCount; ++i)
        {
            if (!call.Has(i))
                continue;
            GxSelectMenuItem& item = items[static_cast<size_t>(i) + 1];
            (visible ? item.m_Visible : item.m_Enable) = call.ArgInt64(i) != 0;
        }
        return true;
    }
    if (name == L"sel.cancel")
    {
        data->m_CancelSelectNum = call.Has(0) ? call.ArgInt(0) : 0;
        return true;
    }
    if (name == L"sel.hash")
    {
        data->m_SelectHash = call.Has(0) ? call.ArgString(0) : std::wstring();
        return true;
    }
    return false;
}
