#include "adventure/SeqSavePair.h"

#include "adventure/SeqSaveSlots.h"
#include "appdata/GxGlobalRenderTargets.h"
#include "appdata/GxStrategyGame.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPair.h"
#include "core/GxCore.h"
#include "core/GxPath.h"
#include "platform/PfFileSystem.h"
#include "task/ui/GxTaskUIBase.h"

#include <vector>

SeqSavePair SeqSavePair::Slot(int32_t slot)
{
    return {SeqSaveSlots::GameDataPath(slot), SeqSaveSlots::ZorDataPath(slot), SeqSaveSlots::ThumbnailPath(slot)};
}

SeqSavePair SeqSavePair::Quick()
{
    const std::wstring folder = SeqSaveSlots::SaveFolder();
    if (folder.empty())
        return {};
    return {folder + GxTaskUIBase::GetSystemConfig().GetString(SYSSTR_QUICKSAVE_FILE), folder + L"zordata_quick.gd",
            std::wstring()};
}

bool SeqSavePair::Save() const
{
    GxUserData* data = g_Core ? g_Core->m_UserData : nullptr;
    if (!data || m_Game.empty())
        return false;
    std::vector<GxUserDataPair::File> files{{m_Game, std::string()}};
    // The strategy half is built first; it logs its own failure.
    if (GxStrategyGame* zor = GxStrategyGame::Running())
    {
        files.push_back({m_Strategy, std::string()});
        if (!zor->WriteGameData(files.back().m_Bytes, true, m_Strategy))
            return false;
    }
    bool thumbnail = false;
    if (!m_Thumbnail.empty())
    {
        GxUserDataPair::File picture{m_Thumbnail, std::string()};
        thumbnail = EncodeThumbnailImage(picture.m_Bytes, m_Thumbnail);
        if (thumbnail)
            files.push_back(std::move(picture));
    }
    if (!data->WriteSlot(files.front().m_Bytes, true, m_Game) || !GxUserDataPair::Commit(files))
        return false;
    if (!m_Thumbnail.empty() && !thumbnail)
        PfFileSystem::Remove(GxPath::ToNative(m_Thumbnail));
    return true;
}

void SeqSavePair::Recover() const
{
    GxUserDataPair::Recover({m_Game, m_Strategy, m_Thumbnail});
}
