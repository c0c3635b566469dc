#pragma once
// Scopes of variables, definitions and tokens, and the persistence classes that select them.

#include <cstdint>

enum GxMoaScopeCode : int32_t
{
    SCOPE_NONE = 0,
    SCOPE_LOCAL = 1,
    SCOPE_STATIC_PERMAN = 2,
    SCOPE_STATIC_INGAME = 3,
    SCOPE_STATIC_NOSAVE = 4,
    SCOPE_GLOBAL_PERMAN = 5,
    SCOPE_GLOBAL_INGAME = 6,
    SCOPE_GLOBAL_NOSAVE = 7,
    SCOPE_EXTERN_PERMAN = 8,
    SCOPE_EXTERN_INGAME = 9,
    SCOPE_EXTERN_NOSAVE = 10,
};

// Persistence classes: the argument of every save, load and reset by class.
enum GxMoaPersistClass : int32_t
{
    PERSIST_ALL = 0,
    PERSIST_PERMAN = 2,
    PERSIST_INGAME = 3,
    PERSIST_NOSAVE = 4,
};

class GxMoaScope
{
public:
    static const wchar_t* Name(int32_t scope);
    // Whether the class selects variables of the scope: 0 all; 2 scopes 2, 5, 8; 3 scopes 3, 6, 9
    // and LOCAL; 4 scopes 4, 7, 10; any other class none.
    static bool IsInClass(int32_t scope, int32_t persistClass);
    static bool IsStatic(int32_t scope) { return scope >= SCOPE_STATIC_PERMAN && scope <= SCOPE_STATIC_NOSAVE; }
    static bool IsGlobal(int32_t scope) { return scope >= SCOPE_GLOBAL_PERMAN && scope <= SCOPE_GLOBAL_NOSAVE; }
    static bool IsExtern(int32_t scope) { return scope >= SCOPE_EXTERN_PERMAN && scope <= SCOPE_EXTERN_NOSAVE; }
};
