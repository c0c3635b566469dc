#include "adventure/SeqSaveSlots.h"

#include "adventure/SeqSavePair.h"
#include "adventure/SeqSystem.h"
#include "appdata/GxSaveSlotHeader.h"
#include "appdata/GxStrategyGame.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserFile.h"
#include "core/GxBinBuffer.h"
#include "core/GxCore.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "script/GxMoaHost.h"
#include "task/GxTaskManage.h"

#include <cstring>

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

namespace
{
// The strategy game and the adventure's pools given back before a game is put in place.
void ResetRunningGame(GxUserData* data, GxStrategyGame* zor)
{
    data->ResetAdventure(true);
    zor->ResetForLoad();
}

bool ToBuffer(const std::string& bytes, GxBinBuffer& buffer)
{
    if (bytes.empty() || bytes.size() > 0xFFFFFFFFu || !buffer.Alloc(static_cast<uint32_t>(bytes.size())))
        return false;
    std::memcpy(buffer.GetData(), bytes.data(), bytes.size());
    return true;
}
} // namespace

bool SeqSaveSlots::LoadGame(const std::wstring& gameDataPath, const std::wstring& zorDataPath)
{
    return LoadGame(SeqSavePair{gameDataPath, zorDataPath, std::wstring()});
}

bool SeqSaveSlots::LoadGame(const SeqSavePair& files)
{
    const std::wstring& gameDataPath = files.m_Game;
    const std::wstring& zorDataPath = files.m_Strategy;
    GxUserData* data = g_Core ? g_Core->m_UserData : nullptr;
    GxStrategyGame* zor = GxStrategyGame::Running();
    if (!data || !zor || gameDataPath.empty())
    {
        GxLog::Error(L"ロードできません(%s)\n", gameDataPath.c_str());
        return false;
    }
    // A save of these files cut short is completed or dropped first, so the checks see a whole save.
    files.Recover();
    // Both files are read once and checked; what is put in place below is the very bytes checked, so a
    // file changed in between cannot reach the running game. CheckBytes and CheckGameData log what they
    // found wrong.
    std::string game;
    GxBinBuffer strategy;
    if (!GxFile::CanOpen(gameDataPath) || !GxUserFile::LoadFile(gameDataPath, game, L"GxUserData::Load") ||
        !data->CheckBytes(game, gameDataPath))
    {
        GxLog::Error(L"セーブデータを読み込めないためロードを中止しました(%s)\n", gameDataPath.c_str());
        return false;
    }
    if (!GxFile::CanOpen(zorDataPath) || !GxFile::LoadToBuffer(strategy, zorDataPath, false) ||
        !zor->CheckGameData(strategy, zorDataPath))
    {
        GxLog::Error(L"セーブデータを読み込めないためロードを中止しました(%s)\n", zorDataPath.c_str());
        return false;
    }
    // The running game as it stands, so a load that fails after the checks can put it back.
    std::string runningGame;
    std::string runningStrategy;
    std::wstring missing;
    // A scene that cannot write itself (a layer or window missing) could not read the file either:
    // refused before anything is reset.
    if (!data->WriteToMemory(runningGame, true, missing) || !zor->WriteGameData(runningStrategy, true, zorDataPath))
    {
        GxLog::Error(L"セーブデータのシーンを復元できませんでした(%s)\n", gameDataPath.c_str());
        return false;
    }
    // Both files read cleanly: from here the running game gives way to the saved one. The strategy game
    // drops every unit of its campaign (the invasion's and the take-over's too, which its file does not
    // hold) and the models and animations of the old dungeon, which the loader sequence builds again.
    ResetRunningGame(data, zor);
    if (data->LoadBytes(game, gameDataPath, true) && zor->LoadGameData(strategy, zorDataPath))
        return true;
    // A scene that lacks a task the file names gets here, and so does every save over a program that
    // could not be read (its scripts are all missing); the game that was running goes back.
    if (IsMoaCodeUnreadable())
        GxLog::Error(L"ゲームのプログラム(%s)を読み込めなかったためセーブデータを復元できませんでした(%s)\n",
                     kMoaCodePath, gameDataPath.c_str());
    else
        GxLog::Error(L"セーブデータのシーンを復元できませんでした(%s)\n", gameDataPath.c_str());
    GxBinBuffer running;
    if (ToBuffer(runningStrategy, running))
    {
        ResetRunningGame(data, zor);
        data->LoadBytes(runningGame, gameDataPath, true);
        zor->LoadGameData(running, zorDataPath);
    }
    return false;
}

bool SeqSaveSlots::ChangeToRestoreSequence(GxTaskManage* manage, const std::wstring& sequence)
{
    return manage && manage->ChangeSequence(sequence.c_str(), RestoreParam(sequence), 0);
}

std::wstring SeqSaveSlots::UnreadableProgramNotice()
{
    // The notice has no line break of its own: the first sentence fills the dialog's line, so the file's
    // name starts the second.
    return std::wstring(L"ゲームのプログラムを読めませんでした。(") + kMoaCodePath + L")";
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
