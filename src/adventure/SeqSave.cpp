#include "adventure/SeqSave.h"

#include "adventure/SeqSavePair.h"
#include "adventure/SeqSystem.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "task/GxUIEvent.h"

SeqSave::SeqSave(GxTaskBase* parent) : SeqSaveLoadBase(parent, L"SeqSave", Screen::Save) {}

SeqSave::~SeqSave() = default;

int32_t SeqSave::Update(int32_t step, int64_t elapsed)
{
    SeqSaveLoadBase::Update(step, elapsed);
    ++m_FrameCount;
    return 0;
}

bool SeqSave::SaveSlot(int32_t slot)
{
    // The adventure file, the strategy file and the thumbnail replace the slot's old ones together.
    if (!SeqSavePair::Slot(slot).Save())
    {
        // The old files (if any) are still there and still the slot's; the last-save number stays.
        GxLog::Error(L"セーブできませんでした(No.%03d)\n", slot);
        SeqSaveSlots::TellPlayer(GetManager(), L"セーブできませんでした");
        return false;
    }
    GxUserConfig* config = g_Core->m_UserConfig;
    if (config)
        config->m_LastGameDataFileNum = slot;
    RefreshPlates();
    const std::wstring folder = SeqSaveSlots::SaveFolder();
    if (config)
        config->Save(folder + L"userconf.dat");
    if (g_Core->m_UserDataPerman)
        g_Core->m_UserDataPerman->Save(folder + L"permanent.dat", true);
    return true;
}

int32_t SeqSave::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqBase::OnUIEvent1(sender, event) != 0 || !sender)
        return 0;
    PlayClickSound(sender);
    if (HandleCommonClick(sender, L"SAVECONFIRM", L"セーブしますか？"))
        return 1;
    SeqSystem* system = GetSystem();
    const std::wstring name = sender->GetTaskLocalName();
    const std::wstring key = system ? system->GetUserDialogKey() : std::wstring();
    if (key == L"SAVECONFIRM")
    {
        if (name == L"btn_dlguser_yes")
        {
            system->CloseUserDialog(true);
            SaveSlot(m_ChosenSlot);
            return 1;
        }
        if (name == L"btn_dlguser_no")
            system->CloseUserDialog(true);
    }
    else if (key == SeqSaveSlots::kFileErrorKey && name == L"btn_dlguser_ok")
    {
        system->CloseUserDialog(true);
        return 1;
    }
    return 0;
}
