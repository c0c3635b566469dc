#include "script/GxMoaOpcode.h"

const wchar_t* GxMoaOpcodeName::Get(int64_t opcode)
{
    static const wchar_t* const s_Names[] = {
        L"NONE", L"セパレータ", L"PUSH_INT", L"PUSH_FLT", L"PUSH_STR", L"PUSH_NULL", L"PUSH_VAR", L"PUSH_VARARY",
        L"OPC_ALTER_VAR", L"OPC_ALTER_VARARY", L"CALL_BUILTIN", L"ELEMENT", L"ELEMENTNUM", L"ARRAYINIT",
        L"ARRAYINDEX", L"==", L"!=", L">", L">=", L"<", L"<=", L"+", L":", L"-", L"*", L"/", L"%", L"単項+",
        L"単項-", L"&", L"|", L"^", L"単項~", L"<<", L">>", L"単項!", L"&&", L"||", L"++単項", L"--単項",
        L"単項++", L"単項--", L"=", L"+=", L":=", L"-=", L"*=", L"/=", L"%=", L"&=", L"|=", L"^=",
    };
    static_assert(sizeof(s_Names) / sizeof(s_Names[0]) == OPC_LAST + 1);
    if (opcode < 0 || opcode > OPC_LAST)
        return L"ERROR";
    return s_Names[opcode];
}
