#include "core/GxMessageBox.h"

#include "core/GxString.h"
#include "platform/PfMessageBox.h"
#include "platform/PfSignal.h"

#include <cstdarg>

static int ShowBox(const wchar_t* caption, const std::wstring& text)
{
    std::string caption8 = GxString::ToUtf8(caption != nullptr ? caption : L"");
    return PfMessageBox::Show(caption8, GxString::ToUtf8(text)) ? 1 : 0;
}

int GxMessageBox(const wchar_t* caption, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = GxString::FormatV(format, args);
    va_end(args);
    return ShowBox(caption, text);
}

int GxMessageBoxEndingOnSignal(const wchar_t* caption, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = GxString::FormatV(format, args);
    va_end(args);
    PfSignal::SetExitOnSignal(true);
    int result = ShowBox(caption, text);
    PfSignal::SetExitOnSignal(false);
    return result;
}
