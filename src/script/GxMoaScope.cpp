#include "script/GxMoaScope.h"

const wchar_t* GxMoaScope::Name(int32_t scope)
{
    static const wchar_t* const s_Names[] = {
        L"NONE",          L"LOCAL",         L"STATIC_PERMAN", L"STATIC_INGAME", L"STATIC_NOSAVE", L"GLOBAL_PERMAN",
        L"GLOBAL_INGAME", L"GLOBAL_NOSAVE", L"EXTERN_PERMAN", L"EXTERN_INGAME", L"EXTERN_NOSAVE",
    };
    if (scope < 0 || scope > SCOPE_EXTERN_NOSAVE)
        return L"ERROR";
    return s_Names[scope];
}

bool GxMoaScope::IsInClass(int32_t scope, int32_t persistClass)
{
    switch (persistClass)
    {
    case PERSIST_ALL:
        return true;
    case PERSIST_PERMAN:
        return scope == SCOPE_STATIC_PERMAN || scope == SCOPE_GLOBAL_PERMAN || scope == SCOPE_EXTERN_PERMAN;
    case PERSIST_INGAME:
        return scope == SCOPE_STATIC_INGAME || scope == SCOPE_GLOBAL_INGAME || scope == SCOPE_EXTERN_INGAME ||
               scope == SCOPE_LOCAL;
    case PERSIST_NOSAVE:
        return scope == SCOPE_STATIC_NOSAVE || scope == SCOPE_GLOBAL_NOSAVE || scope == SCOPE_EXTERN_NOSAVE;
    default:
        return false;
    }
}
