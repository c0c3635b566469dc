#include "adventure/SeqLoad.h"

#include "adventure/SeqSavePair.h"
#include "adventure/SeqSystem.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "script/GxMoaHost.h"
#include "task/GxTaskManage.h"
#include "task/GxUIEvent.h"

SeqLoad::SeqLoad(GxTaskBase* parent) : SeqSaveLoadBase(parent, L"SeqLoad", Screen::Load) {}

SeqLoad::~SeqLoad() = default;

int32_t SeqLoad::Update(int32_t step, int64_t elapsed)
{
    SeqSaveLoadBase::Update(step, elapsed);
    ++m_FrameCount;
    return 0;
}

bool SeqLoad::LoadSlot(int32_t slot)
{
    if (SeqSaveSlots::LoadGame(SeqSavePair::Slot(slot)))
        return true;
    // Over a program that could not be read no save can be restored: the program is named, not the save.
    SeqSaveSlots::TellPlayer(GetManager(), IsMoaCodeUnreadable() ? SeqSaveSlots::UnreadableProgramNotice().c_str()
                                                                 : L"セーブデータを読み込めませんでした");
    return false;
}

bool SeqLoad::ConfirmLoad()
{
    if (SeqSystem* system = GetSystem())
        system->CloseUserDialog(false);
    // A refused load stays on this screen with the notice open; the running game is untouched.
    if (!LoadSlot(m_ChosenSlot))
        return false;
    SeqSaveSlots::ChangeToRestoreSequence(
        GetManager(), g_Core && g_Core->m_UserData ? g_Core->m_UserData->GetRestoreSequence() : std::wstring());
    GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundClose);
    return true;
}

int32_t SeqLoad::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqBase::OnUIEvent1(sender, event) != 0 || !sender)
        return 0;
    SeqSystem* system = GetSystem();
    const std::wstring name = sender->GetTaskLocalName();
    const std::wstring key = system ? system->GetUserDialogKey() : std::wstring();
    if (key == L"LOADCONFIRM")
    {
        if (name == L"btn_dlguser_yes")
        {
            ConfirmLoad();
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
    PlayClickSound(sender);
    return HandleCommonClick(sender, L"LOADCONFIRM", L"ロードしますか？") ? 1 : 0;
}
