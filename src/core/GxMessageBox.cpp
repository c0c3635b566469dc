#include "core/GxMessageBox.h"

#include "core/GxString.h"
#include "platform/PfMessageBox.h"

#include <cstdarg>

int GxMessageBox(const wchar_t* caption, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = GxString::FormatV(format, args);
    va_end(args);
    std::string caption8 = GxString::ToUtf8(caption != nullptr ? caption : L"");
    return PfMessageBox::Show(caption8, GxString::ToUtf8(text)) ? 1 : 0;
}
