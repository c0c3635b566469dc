#include "appdata/GxTextEditor.h"

#include "core/GxFile.h"
#include "core/GxINIFile.h"
#include "core/GxString.h"
#include "platform/PfFileSystem.h"
#include "platform/PfProcess.h"

namespace
{

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

std::wstring Trim(const std::wstring& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && (IsBlank(text[begin]) || text[begin] == L'\r' || text[begin] == L'\n'))
        ++begin;
    while (end > begin && (IsBlank(text[end - 1]) || text[end - 1] == L'\r' || text[end - 1] == L'\n'))
        --end;
    return text.substr(begin, end - begin);
}

std::vector<std::string> SplitPathList(const std::string& list)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= list.size())
    {
        size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start)
            out.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// The value of a key in one section of a desktop-entry style file (UTF-8); empty when absent.
std::wstring ReadIniValue(const std::string& path, const wchar_t* section, const wchar_t* key)
{
    GxINIFile file;
    if (!file.LoadSection(GxString::FromUtf8(path), section))
        return std::wstring();
    return file.GetString(key, std::wstring());
}

} // namespace

std::wstring GxTextEditor::BuildCommandLine(const std::wstring& commandTemplate, const std::wstring& file, int32_t line)
{
    std::wstring text = commandTemplate;
    ReplaceAll(text, L"%line", GxString::FromInt(line));
    ReplaceAll(text, L"%pos", L"0");
    ReplaceAll(text, L"%file", file);
    return text;
}

std::vector<std::wstring> GxTextEditor::SplitCommandLine(const std::wstring& commandLine)
{
    std::vector<std::wstring> arguments;
    std::wstring current;
    bool inArgument = false;
    bool quoted = false;
    for (size_t i = 0; i < commandLine.size();)
    {
        const wchar_t c = commandLine[i];
        if (c == L'\\')
        {
            size_t count = 0;
            while (i < commandLine.size() && commandLine[i] == L'\\')
            {
                ++count;
                ++i;
            }
            inArgument = true;
            if (i < commandLine.size() && commandLine[i] == L'"')
            {
                current.append(count / 2, L'\\');
                if (count % 2 == 1)
                {
                    current += L'"';
                    ++i;
                }
            }
            else
                current.append(count, L'\\');
            continue;
        }
        if (c == L'"')
        {
            quoted = !quoted;
            inArgument = true;
        }
        else if (IsBlank(c) && !quoted)
        {
            if (inArgument)
                arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
        }
        else
        {
            current += c;
            inArgument = true;
        }
        ++i;
    }
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

std::wstring GxTextEditor::QuoteArgument(const std::wstring& argument)
{
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument)
    {
        if (c == L'\\')
        {
            ++backslashes;
            continue;
        }
        if (c == L'"')
            out.append(backslashes * 2 + 1, L'\\');
        else
            out.append(backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    // Backslashes before the closing quote are doubled so that the quote still closes.
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

bool GxTextEditor::RunArguments(const std::vector<std::wstring>& arguments)
{
    if (arguments.empty() || arguments[0].empty())
        return false;
    std::vector<std::string> narrow;
    narrow.reserve(arguments.size());
    for (const std::wstring& argument : arguments)
        narrow.push_back(GxString::ToUtf8(argument));
    // Not waited for: the main loop collects its exit once it ends (PfProcess::ReapFinished).
    return PfProcess::Start(narrow);
}

bool GxTextEditor::RunCommandLine(const std::wstring& commandLine)
{
    return RunArguments(SplitCommandLine(commandLine));
}

bool GxTextEditor::RunTemplate(const std::wstring& commandTemplate, const std::wstring& file, int32_t line)
{
    std::vector<std::wstring> arguments = SplitCommandLine(commandTemplate);
    for (std::wstring& argument : arguments)
        argument = BuildCommandLine(argument, file, line);
    return RunArguments(arguments);
}

std::wstring GxTextEditor::TakeProgram(const std::wstring& command)
{
    const std::wstring text = Trim(command);
    if (!text.empty() && text[0] == L'"')
    {
        const size_t close = text.find(L'"', 1);
        return text.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    }
    size_t blank = 0;
    while (blank < text.size() && !IsBlank(text[blank]))
        ++blank;
    return text.substr(0, blank);
}

std::wstring GxTextEditor::FindTxtEditor()
{
    const PfXdgFolders xdg = PfFileSystem::GetXdgFolders();
    std::vector<std::string> dataDirs = SplitPathList(xdg.m_DataDirs);
    dataDirs.insert(dataDirs.begin(), xdg.m_DataHome);

    std::vector<std::string> lists;
    if (!xdg.m_ConfigHome.empty())
        lists.push_back(xdg.m_ConfigHome + "/mimeapps.list");
    for (const std::string& dir : SplitPathList(xdg.m_ConfigDirs))
        lists.push_back(dir + "/mimeapps.list");
    for (const std::string& dir : dataDirs)
        if (!dir.empty())
            lists.push_back(dir + "/applications/mimeapps.list");

    for (const std::string& list : lists)
    {
        const std::string entries = GxString::ToUtf8(ReadIniValue(list, L"Default Applications", L"text/plain"));
        size_t start = 0;
        while (start < entries.size())
        {
            size_t end = entries.find(';', start);
            if (end == std::string::npos)
                end = entries.size();
            const std::string id = entries.substr(start, end - start);
            start = end + 1;
            if (id.empty())
                continue;
            for (const std::string& dir : dataDirs)
            {
                if (dir.empty())
                    continue;
                const std::string desktop = dir + "/applications/" + id;
                PfFileInfo info;
                if (!PfFileSystem::GetInfo(desktop, info) || !info.m_IsRegular)
                    continue;
                return TakeProgram(ReadIniValue(desktop, L"Desktop Entry", L"Exec"));
            }
        }
    }
    return std::wstring();
}

std::wstring GxTextEditor::GetKnownEditorArguments(const std::wstring& file, const std::wstring& editor, int32_t line)
{
    const size_t slash = editor.find_last_of(L"\\/:");
    const std::wstring name = GxString::ToLower(slash == std::wstring::npos ? editor : editor.substr(slash + 1));
    auto is = [&name](const wchar_t* known) { return name == known || name + L".exe" == known; };
    const std::wstring f = QuoteArgument(file);
    const int l = line;
    if (is(L"hidemaru.exe"))
        return GxString::Format(L"%ls /jx%d,%d", f.c_str(), l, 0);
    if (is(L"sakura.exe"))
        return GxString::Format(L"-Y=%d -X=%d -- %ls", l, 0, f.c_str());
    if (is(L"emeditor.exe"))
        return GxString::Format(L"/l %d %ls", l, f.c_str());
    if (is(L"terapad.exe"))
        return GxString::Format(L"/jl=%d %ls", l, f.c_str());
    if (is(L"apsaly.exe"))
        return GxString::Format(L"/j%d /c%d /d %ls", l, 0, f.c_str());
    if (is(L"k2editor.exe"))
        return GxString::Format(L"%ls /j%d", f.c_str(), l);
    if (is(L"wzeditor.exe"))
        return GxString::Format(L"/j%d %ls", l, f.c_str());
    if (is(L"gvim.exe"))
        return GxString::Format(L"--remote-tab-silent +%d %ls", l, f.c_str());
    return f;
}

bool GxTextEditor::OpenFileAtLine(const std::wstring& file, int32_t line)
{
    // Only a loose file can be edited: a script found only in a pack has no file of its own.
    PfFileInfo info;
    if (GxFile::Exists(file) != 1 || !PfFileSystem::GetInfo(GxString::ToUtf8(file), info) || !info.m_IsRegular)
        return false;
    const std::wstring editor = FindTxtEditor();
    if (editor.empty())
        return false;
    std::vector<std::wstring> arguments = SplitCommandLine(GetKnownEditorArguments(file, editor, line));
    arguments.insert(arguments.begin(), editor);
    return RunArguments(arguments);
}
