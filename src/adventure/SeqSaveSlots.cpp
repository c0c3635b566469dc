#include "adventure/SeqSaveSlots.h"

#include "adventure/SeqSystem.h"
#include "appdata/GxSaveSlotHeader.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPair.h"
#include "core/GxCore.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "task/GxTaskManage.h"

void SeqSaveSlots::ThumbnailPos(int32_t plate, int32_t& x, int32_t& y)
{
    x = 52 + 484 * (plate / 4);
    y = 150 + 131 * (plate % 4);
}

void SeqSaveSlots::TipNewPos(int32_t plate, int32_t& x, int32_t& y)
{
    x = 446 + 484 * (plate / 4);
    y = 151 + 131 * (plate % 4);
}

std::wstring SeqSaveSlots::FirstLine(const GxSaveSlotHeader& header, int32_t slot)
{
    if (header.m_Valid)
        return GxString::Format(L"%s    No.%03d", header.m_SaveTime.c_str(), slot);
    return GxString::Format(L"データがありません    No.%03d", slot);
}

std::wstring SeqSaveSlots::SaveFolder()
{
    return g_Core ? g_Core->m_SavePath : std::wstring();
}

static std::wstring SlotPath(const wchar_t* format, int32_t slot)
{
    const std::wstring folder = SeqSaveSlots::SaveFolder();
    return folder.empty() ? std::wstring() : folder + GxString::Format(format, slot);
}

std::wstring SeqSaveSlots::GameDataPath(int32_t slot)
{
    return SlotPath(L"gamedata%03d.gd", slot);
}

std::wstring SeqSaveSlots::ZorDataPath(int32_t slot)
{
    return SlotPath(L"zordata%03d.gd", slot);
}

std::wstring SeqSaveSlots::ThumbnailPath(int32_t slot)
{
    return SlotPath(L"thumb%03d.png", slot);
}

bool SeqSaveSlots::LoadGame(const std::wstring& gameDataPath, const std::wstring& zorDataPath)
{
    GxUserData* data = g_Core ? g_Core->m_UserData : nullptr;
    ZorCore* zor = ZorCore::GetInstance();
    if (!data || !zor || gameDataPath.empty())
    {
        GxLog::Error(L"ロードできません(%s)\n", gameDataPath.c_str());
        return false;
    }
    // A save of this pair cut short is completed or dropped first, so the checks see a whole pair.
    GxUserDataPair::Recover(gameDataPath, zorDataPath);
    // CheckFile and LoadGameData log what they found wrong.
    if (!GxFile::CanOpen(gameDataPath) || !data->CheckFile(gameDataPath))
    {
        GxLog::Error(L"セーブデータを読み込めないためロードを中止しました(%s)\n", gameDataPath.c_str());
        return false;
    }
    if (!GxFile::CanOpen(zorDataPath) || !zor->CheckGameData(zorDataPath))
    {
        GxLog::Error(L"セーブデータを読み込めないためロードを中止しました(%s)\n", zorDataPath.c_str());
        return false;
    }
    // Both files read cleanly: from here the running game gives way to the saved one. The strategy game
    // drops every unit of its campaign (the invasion's and the take-over's too, which its file does not
    // hold) and the models and animations of the old dungeon, which the loader sequence builds again.
    data->ResetAdventure(true);
    zor->ClearCampaignTasks();
    zor->ResetGame();
    ZorMapModelPool::ReleaseAll();
    ZorNcPoolUnit::ReleaseAll();
    if (!data->Load(gameDataPath, true))
    {
        // The file passed its check, so only a scene that lacks a task the file names gets here; the
        // load has put back what it replaced.
        GxLog::Error(L"セーブデータのシーンを復元できませんでした(%s)\n", gameDataPath.c_str());
        return false;
    }
    if (!zor->LoadGameData(zorDataPath))
    {
        // Only a file changed since its check gets here; the strategy game stays at a new game.
        GxLog::Error(L"セーブデータを読み込めないためロードを中止しました(%s)\n", zorDataPath.c_str());
        return false;
    }
    return true;
}

bool SeqSaveSlots::ChangeToRestoreSequence(GxTaskManage* manage, const std::wstring& sequence)
{
    return manage && manage->ChangeSequence(sequence.c_str(), RestoreParam(sequence), 0);
}

void SeqSaveSlots::TellPlayer(GxTaskManage* manage, const wchar_t* message)
{
    auto* system = manage ? dynamic_cast<SeqSystem*>(manage->GetSystemSequence()) : nullptr;
    if (!system)
        return;
    // A dialog already open (the confirmation just answered is closed first by the callers) keeps its
    // place; the notice would otherwise raise the count twice.
    if (system->IsUserDialogOpen())
        system->CloseUserDialog(false);
    system->OpenUserDialog(kFileErrorKey, message, SeqSystem::kDialogOK);
}
