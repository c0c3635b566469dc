#include "appdata/GxUserFile.h"

#include "core/GxAtomicFile.h"
#include "core/GxContentBinaryReader.h"
#include "core/GxContentBinaryWriter.h"
#include "core/GxContentTextReader.h"
#include "core/GxContentTextWriter.h"
#include "core/GxLog.h"
#include "core/GxPath.h"
#include "core/GxString.h"
#include "platform/PfFileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

GxUserFile::SystemRead s_SystemRead = &PfFileSystem::ReadWhole;

std::string RootName(bool text, const char* kind)
{
    return std::string(text ? "T" : "B") + kind;
}

} // namespace

bool GxUserFile::WriteToMemory(std::string& out, Form form, const char* kind, const Body& body)
{
    out.clear();
    char* data = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&data, &size);
    if (!file)
        return false;
    bool ok;
    {
        std::unique_ptr<GxContentWriterBase> writer;
        if (form == Form::Text)
            writer = std::make_unique<GxContentTextWriter>(file);
        else
            writer = std::make_unique<GxContentBinaryWriter>(file);
        ok = writer->WriteHeader(RootName(form == Form::Text, kind).c_str(), kVersion);
        body(*writer);
    }
    // The writers count no errors; a failed fwrite into memory shows in the stream's error flag.
    ok = std::ferror(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok && data)
        out.assign(data, size);
    std::free(data);
    return ok;
}

bool GxUserFile::Save(const std::wstring& path, Form form, const char* kind, const Body& body)
{
    std::string bytes;
    if (!WriteToMemory(bytes, form, kind, body))
    {
        GxLog::Error(L"GxUserFile::Save/データを作成できません(%s)\n", path.c_str());
        return false;
    }
    // The temporary goes beside the file the link points to, so the rename replaces that file, not the
    // link.
    const std::wstring target = GxString::FromUtf8(PfFileSystem::FollowLinks(GxPath::ToNative(path)));
    return GxAtomicFile::WriteFile(target, bytes.data(), bytes.size());
}

GxUserFile::Found GxUserFile::ReadFile(const std::wstring& path, std::string& bytes, const wchar_t* owner,
                                       std::wstring& reason)
{
    bytes.clear();
    reason.clear();
    int error = 0;
    // The readers take 32-bit sizes.
    switch (s_SystemRead(GxPath::ToNative(path), 0xFFFFFFFFu, bytes, error))
    {
    case PfFileSystem::ReadResult::Missing:
        return Found::Missing;
    case PfFileSystem::ReadResult::NotAFile:
        reason = error == EISDIR ? L"フォルダです" : L"通常のファイルではありません";
        return Found::NotAFile;
    case PfFileSystem::ReadResult::Refused:
        reason = GxString::FromUtf8(PfFileSystem::ErrorText(error));
        return Found::Unreadable;
    case PfFileSystem::ReadResult::Read:
        break;
    }
    if (!bytes.empty())
        return Found::Bytes;
    GxLog::Error(L"%s/ファイルが空です(%s)\n", owner, path.c_str());
    return Found::Empty;
}

bool GxUserFile::LoadFile(const std::wstring& path, std::string& bytes, const wchar_t* owner)
{
    std::wstring reason;
    const Found found = ReadFile(path, bytes, owner, reason);
    if (found == Found::Unreadable || found == Found::NotAFile)
        GxLog::Error(L"%s/ファイルを読み込めません(%s: %s)\n", owner, path.c_str(), reason.c_str());
    return found == Found::Bytes;
}

void GxUserFile::SetSystemRead(SystemRead read)
{
    s_SystemRead = read ? read : &PfFileSystem::ReadWhole;
}

std::unique_ptr<GxContentReaderBase> GxUserFile::OpenReader(const std::string& bytes, const char* kind)
{
    const bool text = !bytes.empty() && bytes[0] == 'T';
    std::unique_ptr<GxContentReaderBase> reader;
    if (text)
        reader = std::make_unique<GxContentTextReader>(bytes.data(), static_cast<uint32_t>(bytes.size()));
    else
        reader = std::make_unique<GxContentBinaryReader>(bytes.data(), static_cast<uint32_t>(bytes.size()));
    uint32_t version = 0;
    if (!reader->ReadHeader(RootName(text, kind).c_str(), version) || version != kVersion)
        return nullptr;
    return reader;
}

// The reader's own skip passes unknown tags as empty values; here they are damage.
bool GxUserFile::Walk(GxContentReaderBase& reader)
{
    std::vector<uint32_t> open;
    while (!reader.IsEnd() && reader.GetErrorCount() == 0)
    {
        const uint32_t tag = reader.PeekValueType();
        const bool known = (tag >= VALTYPE_GxS8 && tag <= VALTYPE_GxBit32 && tag != VALTYPE_Reserved20) ||
                           tag == VALTYPE_GxStringSJIS || tag == VALTYPE_GxStringUTF8 || tag == VALTYPE_GxBinary ||
                           (tag >= VALTYPE_ListBegin && tag <= VALTYPE_TreeStratumEnd) ||
                           (tag >= VALTYPE_GxPoint2 && tag <= VALTYPE_GxPoint4);
        if (!known)
            return false;
        if (tag == VALTYPE_ListBegin || tag == VALTYPE_TreeBegin || tag == VALTYPE_TreeStratumBegin)
            open.push_back(tag + 1);
        else if (tag == VALTYPE_ListEnd || tag == VALTYPE_TreeEnd || tag == VALTYPE_TreeStratumEnd)
        {
            if (open.empty() || open.back() != tag)
                return false;
            open.pop_back();
        }
        if (!reader.SkipValue())
            return false;
    }
    return reader.GetErrorCount() == 0 && open.empty();
}

std::unique_ptr<GxContentReaderBase> GxUserFile::Clone(const GxContentReaderBase& reader)
{
    if (const auto* binary = dynamic_cast<const GxContentBinaryReader*>(&reader))
        return std::make_unique<GxContentBinaryReader>(*binary);
    if (const auto* text = dynamic_cast<const GxContentTextReader*>(&reader))
        return std::make_unique<GxContentTextReader>(*text);
    return nullptr;
}

std::unique_ptr<GxContentReaderBase> GxUserFile::OpenChecked(const std::string& bytes, const char* kind,
                                                             bool binaryOnly, const wchar_t* owner,
                                                             const std::wstring& path)
{
    const wchar_t* fault = nullptr;
    const bool text = !bytes.empty() && bytes[0] == 'T';
    if (bytes.size() > 0xFFFFFFFFu)
        fault = L"ファイルが大きすぎます";
    else if (text && binaryOnly)
        fault = L"テキスト形式は読めません";
    else if (!text)
    {
        // The root sits NUL-padded in a 16-byte field; the reader compares it as a C string, so damage
        // behind the name is caught here.
        char field[16] = {};
        const std::string root = RootName(false, kind);
        std::memcpy(field, root.data(), root.size());
        if (bytes.size() < 16 || std::memcmp(bytes.data(), field, 16) != 0)
            fault = L"ヘッダが違います";
    }
    std::unique_ptr<GxContentReaderBase> reader;
    if (!fault)
    {
        reader = OpenReader(bytes, kind);
        if (!reader)
            fault = L"ヘッダが違います";
    }
    if (!fault)
        return reader;
    GxLog::Error(L"%s/%s(%s)\n", owner, fault, path.c_str());
    return nullptr;
}

bool GxUserFile::Check(const std::string& bytes, const char* kind, bool binaryOnly, const wchar_t* owner,
                       const std::wstring& path)
{
    std::unique_ptr<GxContentReaderBase> reader = OpenChecked(bytes, kind, binaryOnly, owner, path);
    if (!reader)
        return false;
    if (Walk(*reader))
        return true;
    GxLog::Error(L"%s/データが壊れています(%s)\n", owner, path.c_str());
    return false;
}

std::wstring GxUserFile::DamagedPath(const std::wstring& path, int copy)
{
    return path + L".damaged" + (copy == 0 ? std::wstring() : L"." + std::to_wstring(copy));
}

bool GxUserFile::KeepAside(const std::wstring& path, const wchar_t* owner, const wchar_t* what)
{
    const std::wstring file = GxString::FromUtf8(PfFileSystem::FollowLinks(GxPath::ToNative(path)));
    // A name counts as taken whatever holds it, a dangling link too: no copy of the player's is replaced.
    int copy = 0;
    PfFileInfo info;
    while (copy < kMaxDamagedCopies && PfFileSystem::GetLinkInfo(GxPath::ToNative(DamagedPath(file, copy)), info))
        ++copy;
    if (copy == kMaxDamagedCopies)
    {
        GxLog::Error(L"%s/%sの控えが既に%d個あるため、読み込めなかったファイルはそのまま残します。"
                     L"古い控えを片付けてください(%s)\n",
                     owner, what, kMaxDamagedCopies, path.c_str());
        return false;
    }
    const std::wstring backup = DamagedPath(file, copy);
    if (PfFileSystem::Rename(GxPath::ToNative(file), GxPath::ToNative(backup)))
    {
        GxLog::Error(L"%s/読み込めなかった%sを%sに残しました\n", owner, what, backup.c_str());
        return true;
    }
    const std::wstring reason = GxString::FromUtf8(PfFileSystem::ErrorText(errno));
    GxLog::Error(L"%s/読み込めなかった%sを退避できないため、そのまま残し、書き換えません(%s: %s)\n", owner, what,
                 path.c_str(), reason.c_str());
    return false;
}

bool GxUserFile::ReadForLoad(const std::wstring& path, std::string& bytes, const wchar_t* owner, const wchar_t* what,
                             bool& loaded, std::wstring& leftAlone)
{
    loaded = false;
    leftAlone.clear();
    std::wstring reason;
    switch (ReadFile(path, bytes, owner, reason))
    {
    case Found::Bytes:
        return true;
    case Found::Unreadable:
    case Found::NotAFile:
        GxLog::Error(L"%s/%sを読み込めません。ファイルはそのまま残して書き換えず、今回は初期状態で続けます(%s: %s)\n",
                     owner, what, path.c_str(), reason.c_str());
        leftAlone = path;
        return false;
    case Found::Missing:
    case Found::Empty:
        break;
    }
    loaded = true;
    return false;
}
