#include "appdata/GxUserDataPerman.h"

#include "appdata/DBCGMode.h"
#include "appdata/DBRPMode.h"
#include "appdata/GxDBLookup.h"
#include "appdata/GxUserFile.h"
#include "appdata/GxUserScriptRecord.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"
#include "core/GxPath.h"
#include "script/GxMoaScope.h"

#include <cstdio>
#include <memory>

namespace
{

void SetBit(GxUserDataPerman::BitArray& bits, uint32_t n)
{
    if (bits.size() < n / 32 + 1)
        bits.resize(n / 32 + 1, 0);
    bits[n / 32] |= 1u << (n % 32);
}

bool TestBit(const std::map<std::wstring, GxUserDataPerman::BitArray>& flags, const std::wstring& key, int32_t n)
{
    const auto it = flags.find(key);
    if (it == flags.end() || n < 0)
        return false;
    const uint32_t word = static_cast<uint32_t>(n) / 32;
    return word < it->second.size() && (it->second[word] >> (n % 32)) & 1u;
}

void WriteFlags(GxContentWriterBase& w, const char* name,
                const std::map<std::wstring, GxUserDataPerman::BitArray>& flags)
{
    // The count has no key of its own in the format; the container's name stands in.
    w.Write(name, static_cast<uint32_t>(flags.size()));
    for (const auto& [key, bits] : flags)
    {
        w.WriteString("Key", key);
        w.Write("Flags", static_cast<uint32_t>(bits.size()));
        for (uint32_t word : bits)
            w.Write("Value", word);
    }
}

// Counts come from the file: every loop stops at the reader's first error, and a reader past its data
// fails at once, so a count of 0xFFFFFFFF ends after the bytes that are really there.
bool ReadFlags(GxContentReaderBase& r, const char* name, std::map<std::wstring, GxUserDataPerman::BitArray>& flags)
{
    flags.clear();
    const uint32_t count = r.GetU32(name);
    for (uint32_t i = 0; i < count && r.GetErrorCount() == 0; ++i)
    {
        const std::wstring key = r.ReadStringW("Key");
        const uint32_t words = r.GetU32("Flags");
        GxUserDataPerman::BitArray bits;
        for (uint32_t k = 0; k < words && r.GetErrorCount() == 0; ++k)
            bits.push_back(r.GetU32("Value"));
        flags[key] = std::move(bits);
    }
    return r.GetErrorCount() == 0;
}

} // namespace

GxUserDataPerman::GxUserDataPerman(GxCore* core) : m_Core(core) {}

GxUserDataPerman::~GxUserDataPerman() = default;

void GxUserDataPerman::SetReadedMessage(int32_t message, const std::wstring& scriptName)
{
    if (message >= 0)
        SetBit(m_ReadedMessageFlags[scriptName], static_cast<uint32_t>(message));
}

bool GxUserDataPerman::IsReadedMessage(const std::wstring& scriptName, int32_t message) const
{
    return TestBit(m_ReadedMessageFlags, scriptName, message);
}

void GxUserDataPerman::SetSelectedMenu(int32_t choice, const std::wstring& menu)
{
    if (choice >= 0)
        SetBit(m_SelectedMenuFlags[menu], static_cast<uint32_t>(choice));
}

bool GxUserDataPerman::IsSelectedMenu(const std::wstring& menu, int32_t choice) const
{
    return TestBit(m_SelectedMenuFlags, menu, choice);
}

void GxUserDataPerman::PassAllReplayLabels()
{
    m_PassedReplayLabels.clear();
    for (int32_t i = 0; i < g_DBRPMode.GetCapacity(); ++i)
        if (!g_DBRPMode.GetRow(i)->m_Label.empty())
            m_PassedReplayLabels.insert(g_DBRPMode.GetRow(i)->m_Label);
}

void GxUserDataPerman::SetShowedCG(const std::wstring& fileName)
{
    m_ShowedCGFlags[GxPath::GetBaseName(fileName)] = 1;
}

bool GxUserDataPerman::SetShowedCGEntry(const std::wstring& fileName)
{
    int32_t row = 0;
    int32_t cell = 0;
    if (!FindCGModeFile(row, cell, fileName))
        return false;
    const DBCGModeData* entry = g_DBCGMode.GetRow(row);
    if (entry->m_Count == 0)
        return false;
    for (const std::wstring& name : entry->m_FileName)
        if (!name.empty())
            m_ShowedCGFlags[name] = 1;
    return true;
}

void GxUserDataPerman::ShowAllCG()
{
    m_ShowedCGFlags.clear();
    for (int32_t i = 0; i < g_DBCGMode.GetCapacity(); ++i)
        for (const std::wstring& name : g_DBCGMode.GetRow(i)->m_FileName)
            if (!name.empty())
                m_ShowedCGFlags[name] = 1;
}

void GxUserDataPerman::Write(GxContentWriterBase& w) const
{
    WriteFlags(w, "m_ReadedMessageFlags", m_ReadedMessageFlags);
    WriteFlags(w, "m_SelectedMenuFlags", m_SelectedMenuFlags);
    w.Write("m_PassedReplayLabels", static_cast<uint32_t>(m_PassedReplayLabels.size()));
    for (const std::wstring& label : m_PassedReplayLabels)
        w.WriteString("Key", label);
    w.Write("m_ShowedCGFlags", static_cast<uint32_t>(m_ShowedCGFlags.size()));
    for (const auto& [key, value] : m_ShowedCGFlags)
    {
        w.WriteString("Key", key);
        w.Write("Value", value);
    }
    w.Write("m_ExtraOption", &m_ExtraOption);
    GxUserScriptRecord::Write(w, PERSIST_PERMAN, GxUserScriptRecord::Worker::Without);
}

bool GxUserDataPerman::ReadPlain(GxContentReaderBase& r)
{
    ReadFlags(r, "m_ReadedMessageFlags", m_ReadedMessageFlags);
    ReadFlags(r, "m_SelectedMenuFlags", m_SelectedMenuFlags);
    m_PassedReplayLabels.clear();
    const uint32_t labels = r.GetU32("m_PassedReplayLabels");
    for (uint32_t i = 0; i < labels && r.GetErrorCount() == 0; ++i)
        m_PassedReplayLabels.insert(r.ReadStringW("Key"));
    m_ShowedCGFlags.clear();
    const uint32_t pictures = r.GetU32("m_ShowedCGFlags");
    for (uint32_t i = 0; i < pictures && r.GetErrorCount() == 0; ++i)
    {
        const std::wstring key = r.ReadStringW("Key");
        m_ShowedCGFlags[key] = r.GetS32("Value");
    }
    r.Read("m_ExtraOption", m_ExtraOption);
    return r.GetErrorCount() == 0;
}

bool GxUserDataPerman::Save(const std::wstring& path, bool binary)
{
    if (path == m_LeftAlone)
    {
        GxLog::Debug(L"GxUserDataPerman::Save/読み込めなかった進行データには書き込みません(%s)\n", path.c_str());
        return false;
    }
    return GxUserFile::Save(path, binary ? GxUserFile::Form::Binary : GxUserFile::Form::Text, "PD",
                            [this](GxContentWriterBase& writer) { Write(writer); });
}

std::wstring GxUserDataPerman::BackupPath(const std::wstring& path)
{
    return GxUserFile::DamagedPath(path);
}

bool GxUserDataPerman::Load(const std::wstring& path)
{
    static const wchar_t* const kOwner = L"GxUserDataPerman::Load";
    static const wchar_t* const kWhat = L"進行データ";
    std::string bytes;
    if (!GxUserFile::ReadForLoad(path, bytes, kOwner, kWhat, m_Loaded, m_LeftAlone))
        return false;
    bool ok = GxUserFile::Check(bytes, "PD", false, kOwner, path);
    if (ok)
    {
        GxUserDataPerman scratch(m_Core);
        std::unique_ptr<GxContentReaderBase> reader = GxUserFile::OpenReader(bytes, "PD");
        ok = reader && scratch.ReadPlain(*reader) && Apply(scratch, *reader);
        if (!ok)
            GxLog::Error(L"%s/進行データが壊れています(%s)\n", kOwner, path.c_str());
    }
    if (ok || GxUserFile::KeepAside(path, kOwner, kWhat))
        m_Loaded = true;
    else
        m_LeftAlone = path;
    return ok;
}

// The containers are checked already (scratch); the script's permanent variables are read into the
// live runtime, so what they replace is written aside first and put back when the read fails.
bool GxUserDataPerman::Apply(GxUserDataPerman& scratch, GxContentReaderBase& reader)
{
    std::string snapshot;
    GxUserFile::WriteToMemory(snapshot, GxUserFile::Form::Binary, "PD",
                              [](GxContentWriterBase& w)
                              { GxUserScriptRecord::Write(w, PERSIST_PERMAN, GxUserScriptRecord::Worker::Without); });
    if (!GxUserScriptRecord::Read(reader, PERSIST_PERMAN, GxUserScriptRecord::Worker::Without) || !reader.IsEnd())
    {
        if (std::unique_ptr<GxContentReaderBase> back = GxUserFile::OpenReader(snapshot, "PD"))
            GxUserScriptRecord::Read(*back, PERSIST_PERMAN, GxUserScriptRecord::Worker::Without);
        return false;
    }
    m_ReadedMessageFlags = std::move(scratch.m_ReadedMessageFlags);
    m_SelectedMenuFlags = std::move(scratch.m_SelectedMenuFlags);
    m_PassedReplayLabels = std::move(scratch.m_PassedReplayLabels);
    m_ShowedCGFlags = std::move(scratch.m_ShowedCGFlags);
    m_ExtraOption = scratch.m_ExtraOption;
    return true;
}
