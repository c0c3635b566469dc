#include "adventure/SeqExtraBase.h"

#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxTaskUIButtonIs.h"

namespace
{
GxUserData* s_UserData = nullptr;
GxUserDataPerman* s_Perman = nullptr;
const GxSystemConfig* s_Config = nullptr;
} // namespace

SeqExtraBase::SeqExtraBase(GxTaskBase* parent, const wchar_t* name, float drawKey)
    : GxSeqTransitBase(parent, name), m_DrawKey(drawKey)
{
    const std::wstring own(name);
    m_RootFolder = new GxTaskFolder(this, (L"$ROOT:" + own).c_str());
    m_UIFolder = new GxTaskFolder(m_RootFolder, (L"$UI:" + own).c_str());
    m_BackgroundLayer = new GxTaskLayer(m_RootFolder, (L"$BGLAYER:" + own).c_str());
    m_BackgroundLayer->SetPos(GxVector4(0.0f, 0.0f, kBackgroundDepth, 0.0f));
    m_BackgroundLayer->SetOrderZ(kBackgroundDepth);
    SetAcceptUIEvent(true);
    GxTaskControl::CreateUIFromDBUILayout(this, L"$UI:" + own);
}

SeqExtraBase::~SeqExtraBase() = default;

void SeqExtraBase::SetTargets(GxUserData* data, GxUserDataPerman* perman, const GxSystemConfig* config)
{
    s_UserData = data;
    s_Perman = perman;
    s_Config = config;
}

const GxSystemConfig& SeqExtraBase::SystemConfig()
{
    return s_Config ? *s_Config : GxTaskUIBase::GetSystemConfig();
}

GxUserData* SeqExtraBase::UserData()
{
    if (s_UserData)
        return s_UserData;
    return g_Core ? g_Core->m_UserData : nullptr;
}

GxUserDataPerman* SeqExtraBase::Perman()
{
    if (s_Perman)
        return s_Perman;
    return g_Core ? g_Core->m_UserDataPerman : nullptr;
}

void SeqExtraBase::OnSequenceLeave()
{
    GxSeqTransitBase::OnSequenceLeave();
    m_BackgroundLayer->ResetLayer();
}

int32_t SeqExtraBase::Update(int32_t step, int64_t elapsed)
{
    GxSeqTransitBase::Update(step, elapsed);
    AdvanceFrameCount();
    return 0;
}

int32_t SeqExtraBase::RegisterDraw(int32_t step, int64_t elapsed)
{
    GxSeqTransitBase::RegisterDraw(step, elapsed);
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(kDrawLayer))
            list->Add(this, GX_RENDER_ASCEND, m_DrawKey, 2);
    }
    return 0;
}

int32_t SeqExtraBase::Draw(int32_t param, int32_t layer)
{
    if (param == 2)
    {
        DrawScreen();
        return 0;
    }
    return GxSeqTransitBase::Draw(param, layer);
}

int32_t SeqExtraBase::OnMouseRightDown(const float*, uint32_t, int32_t)
{
    GxTaskUIBase* back = FindWidget(L"btn_back", 0);
    if (back && CanWidgetAcceptInput(back))
        back->PostUIEventCode(1);
    return 0;
}

GxTaskUIBase* SeqExtraBase::FindWidget(const wchar_t* name, int32_t index) const
{
    GxTaskBase* task = m_UIFolder ? m_UIFolder->FindTaskLocal(name, index) : nullptr;
    return task && task->HasKind(GX_TASKKIND_WIDGET) ? static_cast<GxTaskUIBase*>(task) : nullptr;
}

void SeqExtraBase::LoadBackground(const wchar_t* file)
{
    const GxSystemConfig& config = SystemConfig();
    m_BackgroundLayer->SetImage(config.GetString(SYSSTR_UI_DIR) + file, 0, config.GetString(SYSSTR_ERROR_IMAGE));
}

void SeqExtraBase::ForgetMusic(uint32_t fadeMs)
{
    if (GxUserData* data = UserData())
        data->m_BGMRecord.Clear();
    GxSoundControl::StopBGM(fadeMs);
}

void SeqExtraBase::PlayConfiguredMusic(int index)
{
    const GxSystemConfig& config = SystemConfig();
    const std::wstring& name = config.m_BGMName[index];
    if (name.empty())
    {
        ForgetMusic(1000);
        return;
    }
    GxSoundControl::PlayBGM(MusicPath(name), 0, 0, 500, static_cast<uint32_t>(config.m_BGMLoop[index]), true);
}

std::wstring SeqExtraBase::MusicPath(const std::wstring& name)
{
    std::wstring path = SystemConfig().GetString(SYSSTR_BGM_DIR) + name;
    GxSystemConfig::ResolveSoundPath(path);
    return path;
}

void SeqExtraBase::PlayClickSound(GxTaskBase* sender)
{
    if (sender && sender->HasKind(GxTaskUIButtonIs::kKindButton))
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundPush);
}

bool SeqExtraBase::SwitchTo(const wchar_t* name, uint32_t param0, uint32_t param1)
{
    GxTaskManage* manage = GetManager();
    const bool changed = manage && manage->ChangeSequence(name, param0, param1);
    ClearUIEvents();
    return changed;
}
