#include "strategy/ZorCore.h"

#include "appdata/DBZorUnit.h"
#include "core/GxAtomicFile.h"
#include "core/GxBinBuffer.h"
#include "core/GxContentBinaryReader.h"
#include "core/GxContentBinaryWriter.h"
#include "core/GxContentTextReader.h"
#include "core/GxContentTextWriter.h"
#include "core/GxContentValueType.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "strategy/ZorRoundData.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskManage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Both files are content records under the root "TZOR" (text) or "BZOR" (binary), version 100; the
// version read back is not compared. They are built in memory and handed to the atomic writer whole,
// so a failed write leaves the previous file as it was.
//
// Reading goes into staging copies first: the whole file is read and checked (counts against the bytes
// of the file, indexes against their ranges, task IDs unique and below the next ID) before the state
// or any unit list is touched. A value of another name or type in the game state does not stop the load;
// it only makes the result false. The unit records are made one by one as they are read, their count
// held first to what the bytes left can hold at a record's least size, and a record that fails to read
// refuses the file: a damaged count costs no more than the bytes behind it.

namespace
{

constexpr uint32_t kVersion = 100;
// The smallest stored value is a tag and a one-byte boolean; a queue entry has 11 values, so this bounds
// what a file of a given size can hold.
constexpr uint32_t kMinValueBytes = 2;
constexpr uint32_t kMinQueueBytes = 11 * kMinValueBytes;
// Records made ahead of their reads; more are added as they are read.
constexpr size_t kReservedUnits = 64;

// A FILE* over a growing memory block for the content writers.
class MemoryFile
{
public:
    MemoryFile() : m_File(open_memstream(&m_Data, &m_Size)) {}
    ~MemoryFile()
    {
        if (m_File)
            fclose(m_File);
        free(m_Data);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    FILE* Get() const { return m_File; }
    // Closes the stream; false when any write failed.
    bool Finish()
    {
        if (!m_File)
            return false;
        const bool ok = fflush(m_File) == 0 && !ferror(m_File);
        const bool closed = fclose(m_File) == 0;
        m_File = nullptr;
        return ok && closed;
    }
    const char* Data() const { return m_Data; }
    size_t Size() const { return m_Size; }

private:
    char* m_Data = nullptr;
    size_t m_Size = 0;
    FILE* m_File = nullptr;
};

std::unique_ptr<GxContentWriterBase> MakeWriter(FILE* file, bool binary)
{
    if (binary)
        return std::make_unique<GxContentBinaryWriter>(file);
    return std::make_unique<GxContentTextWriter>(file);
}

// Loads the file and opens the reader its first byte asks for; null when the file cannot be read or its
// root is not the form's.
std::unique_ptr<GxContentReaderBase> ReaderOver(const GxBinBuffer& buffer)
{
    if (buffer.GetSize() == 0)
        return nullptr;
    std::unique_ptr<GxContentReaderBase> reader;
    const char* root = nullptr;
    if (buffer.First() == 'T')
    {
        reader = std::make_unique<GxContentTextReader>(buffer);
        root = "TZOR";
    }
    else
    {
        reader = std::make_unique<GxContentBinaryReader>(buffer);
        root = "BZOR";
    }
    uint32_t version = 0;
    if (!reader->ReadHeader(root, version))
        return nullptr;
    return reader;
}

std::unique_ptr<GxContentReaderBase> OpenReader(GxBinBuffer& buffer, const std::wstring& path)
{
    if (!GxFile::LoadToBuffer(buffer, path, false))
        return nullptr;
    return ReaderOver(buffer);
}

bool Refuse(const wchar_t* method, const wchar_t* what, const std::wstring& path)
{
    GxLog::Error(L"ZorCore::%s/%s(%s)\n", method, what, path.c_str());
    return false;
}

// A unit read from a save: its fields and the task's state and ID.
struct StagedUnit
{
    ZorUnitRecord m_Record;
    uint32_t m_GlobalState = 0;
    int64_t m_TaskID = 0;
};

std::vector<ZorTaskUnitEntity*> CollectUnits(GxTaskBase* list)
{
    std::vector<ZorTaskUnitEntity*> units;
    if (!list)
        return units;
    for (GxTaskBase* t = list->GetFirstChild(); t; t = t->GetNextSibling())
        if (auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t); unit && !unit->IsBeingRemoved())
            units.push_back(unit);
    return units;
}

} // namespace

bool ZorCore::SaveGameData(const std::wstring& path, bool binary)
{
    std::string bytes;
    return WriteGameData(bytes, binary, path) && GxAtomicFile::WriteFile(path, bytes.data(), bytes.size());
}

bool ZorCore::WriteGameData(std::string& bytes, bool binary, const std::wstring& path)
{
    MemoryFile memory;
    if (!memory.Get())
        return Refuse(L"SaveGameData", L"メモリを確保できません", path);
    bool ok = true;
    {
        std::unique_ptr<GxContentWriterBase> writer = MakeWriter(memory.Get(), binary);
        ok = writer->WriteHeader(binary ? "BZOR" : "TZOR", kVersion) && m_UserData->Save(*writer);
        const std::vector<ZorTaskUnitEntity*> lists[3] = {CollectUnits(FindList(kUnitReadyList)),
                                                          CollectUnits(FindList(kUnitPlayerList)),
                                                          CollectUnits(FindList(kUnitEnemyList))};
        ok = ok && writer->Write("unitready_count", static_cast<int32_t>(lists[0].size())) &&
             writer->Write("unitplayer_count", static_cast<int32_t>(lists[1].size())) &&
             writer->Write("unitenemy_count", static_cast<int32_t>(lists[2].size()));
        for (const auto& list : lists)
            for (ZorTaskUnitEntity* unit : list)
                ok = ok && unit->Save(writer.get());
        // After the records: each unit's step counter, which its periodic rules (poison, regeneration,
        // room statuses) count from. The records do not hold it, and without it a stage resumed from a
        // save would drift from the one saved. Readers that stop after the records never see it.
        for (const auto& list : lists)
            for (ZorTaskUnitEntity* unit : list)
                ok = ok && writer->Write("m_StepCount", unit->GetFrameCount());
    }
    if (!memory.Finish() || !ok)
        return Refuse(L"SaveGameData", L"書き込みに失敗しました", path);
    bytes.assign(memory.Data(), memory.Size());
    return true;
}

bool ZorCore::LoadGameData(const std::wstring& path)
{
    return ReadGameData(path, GameDataRead::Apply);
}

bool ZorCore::CheckGameData(const std::wstring& path)
{
    return ReadGameData(path, GameDataRead::CheckOnly);
}

bool ZorCore::LoadGameData(const GxBinBuffer& buffer, const std::wstring& path)
{
    return ReadGameData(buffer, path, GameDataRead::Apply);
}

bool ZorCore::CheckGameData(const GxBinBuffer& buffer, const std::wstring& path)
{
    return ReadGameData(buffer, path, GameDataRead::CheckOnly);
}

bool ZorCore::ReadGameData(const std::wstring& path, GameDataRead mode)
{
    GxBinBuffer buffer;
    if (!GxFile::LoadToBuffer(buffer, path, false))
        return false;
    return ReadGameData(buffer, path, mode);
}

bool ZorCore::ReadGameData(const GxBinBuffer& buffer, const std::wstring& path, GameDataRead mode)
{
    std::unique_ptr<GxContentReaderBase> reader = ReaderOver(buffer);
    if (!reader)
        return false;
    GxContentReaderBase& r = *reader;
    const uint32_t size = buffer.GetSize();

    auto staging = std::make_unique<ZorUserData>(*m_UserData);
    bool refused = false;
    staging->Load(r, size / kMinQueueBytes, refused);
    if (refused)
        return Refuse(L"LoadGameData", L"不正なファイルです", path);
    if (r.IsEnd())
        return Refuse(L"LoadGameData", L"ファイルが途中で切れています", path);
    if (!staging->CheckIndexes())
        return Refuse(L"LoadGameData", L"不正なファイルです", path);

    int32_t counts[3] = {r.GetS32("unitready_count"), r.GetS32("unitplayer_count"), 0};
    uint32_t errors = r.GetErrorCount();
    counts[2] = r.GetS32("unitenemy_count");
    bool lastReadOk = r.GetErrorCount() == errors;
    const wchar_t* listNames[3] = {kUnitReadyList, kUnitPlayerList, kUnitEnemyList};
    GxTaskBase* lists[3] = {};
    uint64_t total = 0;
    for (int32_t i = 0; i < 3; ++i)
    {
        lists[i] = FindList(listNames[i]);
        if (counts[i] < 0 || (counts[i] > 0 && !lists[i]))
            return Refuse(L"LoadGameData", L"ユニット数が不正です", path);
        total += static_cast<uint64_t>(counts[i]);
    }
    // A record is its fields, the task's state and its ID.
    const uint64_t leastUnit = ZorUnitRecord::LeastFieldsSize(r) + r.LeastSize({g_ContentValueU32, g_ContentValueS64});
    if (!r.CheckCount("unit_count", total, leastUnit))
        return Refuse(L"LoadGameData", L"ユニット数が不正です", path);

    std::vector<StagedUnit> units;
    units.reserve(std::min<size_t>(static_cast<size_t>(total), kReservedUnits));
    std::set<int64_t> ids;
    const uint32_t maxCount = std::min<uint32_t>(size / 5, ZorUnitRecord::kMaxRecordCount);
    for (uint64_t n = 0; n < total; ++n)
    {
        if (r.IsEnd())
            return Refuse(L"LoadGameData", L"ファイルが途中で切れています", path);
        errors = r.GetErrorCount();
        StagedUnit& u = units.emplace_back();
        u.m_Record.LoadFields(r, maxCount, refused);
        if (refused || !u.m_Record.CheckIndexes())
            return Refuse(L"LoadGameData", L"不正なユニットです", path);
        u.m_GlobalState = r.GetU32("m_GlobalState");
        u.m_TaskID = r.GetS64("m_TaskID");
        if (r.GetErrorCount() != errors)
            return Refuse(L"LoadGameData", r.IsEnd() ? L"ファイルが途中で切れています" : L"不正なユニットです", path);
        if (u.m_TaskID <= 0 || u.m_TaskID >= staging->m_NextUnitTaskID || !ids.insert(u.m_TaskID).second)
            return Refuse(L"LoadGameData", L"タスクIDが不正です", path);
        if (u.m_GlobalState < 1 || u.m_GlobalState > 3)
            return Refuse(L"LoadGameData", L"不正なユニットです", path);
    }
    if (!lastReadOk && r.IsEnd())
        return Refuse(L"LoadGameData", L"ファイルが途中で切れています", path);
    // Step counters follow when the file has them; a file without them starts every counter at 0.
    std::vector<int32_t> steps(units.size(), 0);
    if (!r.IsEnd())
        for (int32_t& step : steps)
        {
            errors = r.GetErrorCount();
            step = r.GetS32("m_StepCount");
            if (r.GetErrorCount() != errors && r.IsEnd())
                return Refuse(L"LoadGameData", L"ファイルが途中で切れています", path);
        }

    // Every unit of the three lists goes, so only other tasks can hold a loaded ID.
    std::set<const GxTaskBase*> replaced;
    for (GxTaskBase* list : lists)
        for (ZorTaskUnitEntity* unit : CollectUnits(list))
            replaced.insert(unit);
    for (const StagedUnit& u : units)
        if (const GxTaskBase* holder =
                m_TaskManage ? m_TaskManage->FindTaskByID(static_cast<uint64_t>(u.m_TaskID)) : nullptr;
            holder && !replaced.count(holder) && !dynamic_cast<const ZorTaskUnitEntity*>(holder))
            return Refuse(L"LoadGameData", L"タスクIDが不正です", path);
    if (mode == GameDataRead::CheckOnly)
        return r.GetErrorCount() == 0;

    for (GxTaskBase* list : lists)
        ClearUnitList(list);
    *m_UserData = *staging;
    m_UserData->LinkMapData();
    size_t next = 0;
    for (int32_t i = 0; i < 3; ++i)
        for (int32_t n = 0; n < counts[i]; ++n, ++next)
        {
            auto* unit = new ZorTaskUnitEntity(lists[i]);
            static_cast<ZorUnitRecord&>(*unit) = units[next].m_Record;
            unit->SetGlobalState(units[next].m_GlobalState);
            unit->SetTaskID(static_cast<uint64_t>(units[next].m_TaskID));
            unit->SetFrameCount(steps[next]);
        }
    return r.GetErrorCount() == 0;
}

bool ZorCore::SaveRoundData(const std::wstring& path, bool binary)
{
    MemoryFile memory;
    if (!memory.Get())
        return Refuse(L"SaveRoundData", L"メモリを確保できません", path);
    ReturnAllUnitsToReady();
    bool ok = true;
    {
        std::unique_ptr<GxContentWriterBase> writer = MakeWriter(memory.Get(), binary);
        ok = writer->WriteHeader(binary ? "BZOR" : "TZOR", kVersion);
        for (int32_t i = 0; i < 4; ++i)
            ok = ok && writer->Write("m_Reserved", int32_t{0});
        ok = ok && writer->Write("m_Resource_Bone", m_UserData->m_Resource_Bone) &&
             writer->Write("m_Resource_Magic", m_UserData->m_Resource_Magic) &&
             writer->Write("m_Resource_Gold", m_UserData->m_Resource_Gold);
        for (const ZorUnitState& s : m_UserData->m_UnitStates)
            ok = ok && writer->Write("m_Level", s.m_Level) && writer->Write("m_Exp", s.m_Exp);
        std::vector<ZorTaskUnitEntity*> carried;
        for (ZorTaskUnitEntity* unit : CollectUnits(FindList(kUnitReadyList)))
            if (g_DBZorUnit.GetRow(static_cast<uint32_t>(unit->m_UnitID))->m_UniqueFlag == 0)
                carried.push_back(unit);
        ok = ok && writer->Write("unitready_count", static_cast<int32_t>(carried.size()));
        for (ZorTaskUnitEntity* unit : carried)
            ok = ok && unit->SaveRoundRecord(writer.get());
    }
    if (!memory.Finish() || !ok)
        return Refuse(L"SaveRoundData", L"書き込みに失敗しました", path);
    return GxAtomicFile::WriteFile(path, memory.Data(), memory.Size());
}

bool ZorCore::LoadRoundData(ZorRoundData& round, const std::wstring& path)
{
    GxBinBuffer buffer;
    std::unique_ptr<GxContentReaderBase> reader = OpenReader(buffer, path);
    if (!reader)
        return false;
    GxContentReaderBase& r = *reader;

    ZorRoundData staging = round;
    for (int32_t i = 0; i < 4; ++i)
        r.GetS32("m_Reserved");
    r.Read("m_Resource_Bone", staging.m_Resource_Bone);
    r.Read("m_Resource_Magic", staging.m_Resource_Magic);
    r.Read("m_Resource_Gold", staging.m_Resource_Gold);
    for (ZorUnitState& s : staging.m_UnitStates)
    {
        r.Read("m_Level", s.m_Level);
        r.Read("m_Exp", s.m_Exp);
    }
    for (size_t i = 0; i < staging.m_UnitStates.size(); ++i)
        if (!staging.m_UnitStates[i].CheckLevels(L"ZorCore::LoadRoundData", i))
            return Refuse(L"LoadRoundData", L"不正なファイルです", path);
    if (r.IsEnd())
        return Refuse(L"LoadRoundData", L"ファイルが途中で切れています", path);
    uint32_t errors = r.GetErrorCount();
    const int32_t count = r.GetS32("unitready_count");
    bool lastReadOk = r.GetErrorCount() == errors;
    GxTaskBase* list = FindList(kSavedUnitList);
    if (count < 0 || (count > 0 && !list) ||
        !r.CheckCount("unitready_count", static_cast<uint64_t>(count), ZorUnitRecord::LeastRoundSize(r)))
        return Refuse(L"LoadRoundData", L"ユニット数が不正です", path);

    std::vector<ZorUnitRecord> units;
    units.reserve(std::min<size_t>(static_cast<size_t>(count), kReservedUnits));
    for (int32_t n = 0; n < count; ++n)
    {
        if (r.IsEnd())
            return Refuse(L"LoadRoundData", L"ファイルが途中で切れています", path);
        errors = r.GetErrorCount();
        ZorUnitRecord& u = units.emplace_back();
        u.LoadRound(r);
        if (r.GetErrorCount() != errors)
            return Refuse(L"LoadRoundData", r.IsEnd() ? L"ファイルが途中で切れています" : L"不正なユニットです", path);
        if (!u.CheckIndexes())
            return Refuse(L"LoadRoundData", L"不正なユニットです", path);
    }
    if (!lastReadOk && r.IsEnd())
        return Refuse(L"LoadRoundData", L"ファイルが途中で切れています", path);

    round = staging;
    ClearUnitList(list);
    for (const ZorUnitRecord& u : units)
    {
        auto* unit = new ZorTaskUnitEntity(list);
        static_cast<ZorUnitRecord&>(*unit) = u;
        unit->ResetForBattle();
    }
    return r.GetErrorCount() == 0;
}
