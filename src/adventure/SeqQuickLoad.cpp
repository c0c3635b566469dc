#include "adventure/SeqQuickLoad.h"

#include "adventure/SeqSavePair.h"
#include "adventure/SeqSaveSlots.h"
#include "adventure/SeqSystem.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "script/GxMoaHost.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/GxUIEvent.h"

SeqQuickLoad::SeqQuickLoad(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqQuickLoad")
{
    SetAcceptUIEvent(true);
    auto* root = new GxTaskFolder(this, L"$ROOT:SeqQuickLoad");
    new GxTaskFolder(root, L"$UI:SeqQuickLoad");
    auto* layer = new GxTaskLayer(root, L"$BGLAYER:SeqQuickLoad");
    layer->SetOrderZ(-10.0f);
}

SeqQuickLoad::~SeqQuickLoad() = default;

void SeqQuickLoad::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    m_FrameCount = 0;
    m_Done = false;
}

bool SeqQuickLoad::LoadQuickData()
{
    const std::wstring folder = SeqSaveSlots::SaveFolder();
    const GxSystemConfig* sys = g_Core ? g_Core->m_SystemConfig : nullptr;
    if (folder.empty() || !sys)
        return false;
    return SeqSaveSlots::LoadGame(SeqSavePair::Quick());
}

void SeqQuickLoad::ReturnToPrevious()
{
    GxTaskManage* manage = GetManager();
    if (manage && manage->GetPrevSequence() && manage->GetPrevSequence() != this)
        manage->ChangeSequence(manage->GetPrevSequence(), 0, 0);
    else
        GxLog::Error(L"クイックロードの戻り先のシーケンスがありません\n");
}

// Loads once per entry: further steps before the switch is carried out, or after a refused switch, only
// count.
int32_t SeqQuickLoad::Update(int32_t step, int64_t elapsed)
{
    GxSeqTransitBase::Update(step, elapsed);
    if (m_FrameCount > kWaitSteps && !m_Done)
    {
        m_Done = true;
        const GxSystemConfig* sys = g_Core ? g_Core->m_SystemConfig : nullptr;
        const std::wstring folder = SeqSaveSlots::SaveFolder();
        // A quick save cut short after its marker is completed first, so it is found.
        SeqSavePair::Quick().Recover();
        const bool saved = sys && !folder.empty() && GxFile::CanOpen(folder + sys->GetString(SYSSTR_QUICKSAVE_FILE));
        if (!saved)
        {
            // No quick save: nothing was reset, so the recorded screen (the one the player came from)
            // goes on unchanged. A file that is there but cannot be read is told to the player below.
            if (!SeqSaveSlots::ChangeToRestoreSequence(GetManager(), g_Core && g_Core->m_UserData
                                                                         ? g_Core->m_UserData->GetRestoreSequence()
                                                                         : std::wstring()))
                ReturnToPrevious();
        }
        else if (!LoadQuickData())
            SeqSaveSlots::TellPlayer(GetManager(), IsMoaCodeUnreadable()
                                                       ? SeqSaveSlots::UnreadableProgramNotice().c_str()
                                                       : L"クイックセーブデータを読み込めませんでした");
        else if (!SeqSaveSlots::ChangeToRestoreSequence(GetManager(), g_Core && g_Core->m_UserData
                                                                          ? g_Core->m_UserData->GetRestoreSequence()
                                                                          : std::wstring()))
        {
            // The switch logged the unknown name; the loaded game is resumed where the player came from.
            GxLog::Error(L"クイックロード後の遷移に失敗したため元のシーケンスに戻ります\n");
            ReturnToPrevious();
        }
    }
    ++m_FrameCount;
    return 0;
}

int32_t SeqQuickLoad::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqBase::OnUIEvent1(sender, event) != 0 || !sender)
        return 0;
    auto* system = GetManager() ? dynamic_cast<SeqSystem*>(GetManager()->GetSystemSequence()) : nullptr;
    if (system && system->GetUserDialogKey() == SeqSaveSlots::kFileErrorKey &&
        sender->GetTaskLocalName() == L"btn_dlguser_ok")
    {
        system->CloseUserDialog(true);
        ReturnToPrevious();
        return 1;
    }
    return 0;
}
