#include "adventure/GxMoaBuiltinHold.h"

#include "adventure/GxMoaBuiltinCall.h"
#include "appdata/GxUserData.h"

int32_t GxMoaBuiltinHold::Mask(const GxMoaBuiltinCall& call, int32_t maskArg)
{
    return call.Has(maskArg) ? static_cast<int32_t>(call.ArgInt64(maskArg)) | 1 : kDefaultMask;
}

void GxMoaBuiltinHold::ApplyHide(const GxMoaBuiltinCall& call, int32_t hideArg, GxUserData& data)
{
    if (call.Has(hideArg) && call.ArgInt64(hideArg) != 0)
        data.m_HideWindowByCommandFlag = true;
}
