// The replay and gallery record builtins of GxMoaBuiltinEx. The records live in the permanent progress,
// so they outlast every save slot; these builtins change them in memory only.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "appdata/GxDBLookup.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"

bool GxMoaBuiltinEx::CallReplay(GxMoaBuiltinCall& call)
{
    const std::wstring& name = call.m_Name;
    GxUserDataPerman* perman = m_Core ? m_Core->m_UserDataPerman : nullptr;

    if (name == L"rp.unsetall" || name == L"cg.unsetall")
    {
        if (perman)
        {
            if (name == L"rp.unsetall")
                perman->m_PassedReplayLabels.clear();
            else
                perman->m_ShowedCGFlags.clear();
        }
        return true;
    }
    const bool isReplay = name == L"rp.set" || name == L"rp.unset";
    if (!isReplay && name != L"cg.set" && name != L"cg.setgroup")
        return false;
    if (!call.Has(0))
        return call.Fail(isReplay ? L"ラベル名を指定してください" : L"イベント画像名を指定してください");
    const std::wstring text = call.ArgString(0);

    if (name == L"rp.set")
    {
        if (!IsReplayLabel(text))
            return call.Fail(L"ラベル名[%s]はリプレイモード定義と一致しません", text.c_str());
        if (perman)
            perman->m_PassedReplayLabels.insert(text);
    }
    else if (name == L"rp.unset")
    {
        if (perman)
            perman->m_PassedReplayLabels.erase(text);
    }
    else if (name == L"cg.set")
    {
        if (perman)
            perman->SetShowedCG(text);
    }
    else if (perman && !perman->SetShowedCGEntry(text))
        return call.Fail(L"定義されていない画像名です");
    return true;
}
