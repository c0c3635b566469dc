// Formatting and conversions against the C library measured in the same run: GxString::Format against
// swprintf into a fixed buffer (which may cut and reads %s in its own way; the reference only sets the
// pace), ToUtf8 against wcstombs under a UTF-8 locale, ToWide from CP932 against iconv alone.
#include "core/GxString.h"

#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdlib>
#include <cwchar>
#include <iconv.h>
#include <string>

namespace
{

const wchar_t* const kName = L"GxTexture::CreateFromFile";
const wchar_t* const kFile = L"cg/ev/ev_0012_\x7d75.png";

void FormatDiagnostic(benchmark::State& state)
{
    for (auto _ : state)
    {
        std::wstring text =
            GxString::Format(L"%s/\x8aad\x307f\x8fbc\x307f\x5931\x6557 File=%s HRESULT 0x%08X size=%dx%d scale=%.2f\n",
                             kName, kFile, 0x8876086Cu, 1024, 768, 0.75);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(FormatDiagnostic);

void SwprintfDiagnosticReference(benchmark::State& state)
{
    std::setlocale(LC_ALL, "C");
    wchar_t buffer[512];
    for (auto _ : state)
    {
        int n = std::swprintf(
            buffer, 512, L"%ls/\x8aad\x307f\x8fbc\x307f\x5931\x6557 File=%ls HRESULT 0x%08X size=%dx%d scale=%.2f\n",
            kName, kFile, 0x8876086Cu, 1024, 768, 0.75);
        std::wstring text(buffer, n > 0 ? static_cast<size_t>(n) : 0);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(SwprintfDiagnosticReference);

void FormatLongArgument(benchmark::State& state)
{
    std::wstring arg(static_cast<size_t>(state.range(0)), L'x');
    for (auto _ : state)
    {
        std::wstring text = GxString::Format(L"[%s]", arg.c_str());
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(FormatLongArgument)->Arg(1000)->Arg(100000);

void SwprintfLongArgumentReference(benchmark::State& state)
{
    std::wstring arg(static_cast<size_t>(state.range(0)), L'x');
    std::wstring buffer(arg.size() + 8, L'\0');
    for (auto _ : state)
    {
        int n = std::swprintf(buffer.data(), buffer.size(), L"[%ls]", arg.c_str());
        std::wstring text(buffer.data(), n > 0 ? static_cast<size_t>(n) : 0);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(SwprintfLongArgumentReference)->Arg(1000)->Arg(100000);

const std::wstring& JapaneseText()
{
    static const std::wstring s_Text = []
    {
        std::wstring t;
        for (int i = 0; i < 200; ++i)
            t += L"\x4eca\x65e5\x306f\x826f\x3044\x5929\x6c17\x3067\x3059\x3002Hello, ";
        return t;
    }();
    return s_Text;
}

void ToUtf8(benchmark::State& state)
{
    for (auto _ : state)
    {
        std::string utf8 = GxString::ToUtf8(JapaneseText());
        benchmark::DoNotOptimize(utf8.data());
    }
}
BENCHMARK(ToUtf8);

void WcstombsUtf8Reference(benchmark::State& state)
{
    if (!std::setlocale(LC_ALL, "C.UTF-8"))
    {
        state.SkipWithError("no C.UTF-8 locale");
        return;
    }
    const std::wstring& text = JapaneseText();
    for (auto _ : state)
    {
        std::string utf8(text.size() * 4, '\0');
        size_t n = std::wcstombs(utf8.data(), text.c_str(), utf8.size());
        utf8.resize(n == static_cast<size_t>(-1) ? 0 : n);
        benchmark::DoNotOptimize(utf8.data());
    }
    std::setlocale(LC_ALL, "C");
}
BENCHMARK(WcstombsUtf8Reference);

void ToWideFromCp932(benchmark::State& state)
{
    std::string cp932 = GxString::ToMultiByte(JapaneseText());
    for (auto _ : state)
    {
        std::wstring wide = GxString::ToWide(cp932);
        benchmark::DoNotOptimize(wide.data());
    }
}
BENCHMARK(ToWideFromCp932);

void IconvCp932Reference(benchmark::State& state)
{
    std::string cp932 = GxString::ToMultiByte(JapaneseText());
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    for (auto _ : state)
    {
        std::wstring wide(cp932.size(), L'\0');
        char* in = cp932.data();
        size_t inLeft = cp932.size();
        char* out = reinterpret_cast<char*>(wide.data());
        size_t outLeft = wide.size() * sizeof(wchar_t);
        iconv(cd, &in, &inLeft, &out, &outLeft);
        wide.resize(wide.size() - outLeft / sizeof(wchar_t));
        benchmark::DoNotOptimize(wide.data());
    }
    iconv_close(cd);
}
BENCHMARK(IconvCp932Reference);

} // namespace
