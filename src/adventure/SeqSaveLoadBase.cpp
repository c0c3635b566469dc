#include "adventure/SeqSaveLoadBase.h"

#include "adventure/SeqSavePair.h"
#include "adventure/SeqSystem.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxFile.h"
#include "core/GxFRect.h"
#include "core/GxString.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "core/GxVector4.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTexture.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/GxUIEvent.h"
#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxTaskUIButtonIs.h"

namespace
{
constexpr const wchar_t* kImageSet = L"ui_saveload.gis";
constexpr int32_t kPlateDrawLayer = 5;
constexpr float kPlateDrawKey = 13000.0f;
constexpr int32_t kPlateDrawParam = 2;
constexpr uint32_t kShadowColour = 0x80000000;
constexpr int32_t kTextFontMap = 1;

const GxSystemConfig* SystemConfig()
{
    return g_Core ? g_Core->m_SystemConfig : nullptr;
}

GxUserConfig* UserConfig()
{
    return g_Core ? g_Core->m_UserConfig : nullptr;
}

std::wstring ImageSetPath()
{
    const GxSystemConfig* sys = SystemConfig();
    return (sys ? sys->GetString(SYSSTR_UIGIS_DIR) : std::wstring(L"uigis/")) + kImageSet;
}
} // namespace

SeqSaveLoadBase::SeqSaveLoadBase(GxTaskBase* parent, const wchar_t* name, Screen screen)
    : GxSeqTransitBase(parent, name), m_Screen(screen), m_Name(name)
{
    SetAcceptUIEvent(true);
    auto* root = new GxTaskFolder(this, (L"$ROOT:" + m_Name).c_str());
    m_UI = new GxTaskFolder(root, (L"$UI:" + m_Name).c_str());
    m_BGLayer = new GxTaskLayer(root, (L"$BGLAYER:" + m_Name).c_str());
    m_BGLayer->SetOrderZ(-10.0f);
    // Page buttons "b01".."b10", plates "btn_fileplate" 0..7, "tip_new" and "btn_back".
    GxTaskControl::CreateUIFromDBUILayout(this, L"$UI:" + m_Name);
    for (auto& thumbnail : m_Thumbnails)
        thumbnail = std::make_unique<GxTexture>();
}

SeqSaveLoadBase::~SeqSaveLoadBase() = default;

void SeqSaveLoadBase::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    const GxSystemConfig* sys = SystemConfig();
    if (sys)
        m_BGLayer->SetImage(sys->GetString(SYSSTR_UI_DIR) +
                                (m_Screen == Screen::Save ? L"bg_save.png" : L"bg_load.png"),
                            0, sys->GetString(SYSSTR_ERROR_IMAGE));
    GxNcImageSetPool::Add(ImageSetPath());
    m_ChosenSlot = -1;
    RefreshPlates();
}

void SeqSaveLoadBase::OnSequenceLeave()
{
    GxSeqTransitBase::OnSequenceLeave();
    m_BGLayer->ClearContent(0);
    GxNcImageSetPool::Release(ImageSetPath());
}

GxTaskUIBase* SeqSaveLoadBase::FindUI(const wchar_t* name, int32_t index) const
{
    return dynamic_cast<GxTaskUIBase*>(m_UI->FindTaskLocal(name, index));
}

SeqSystem* SeqSaveLoadBase::GetSystem() const
{
    GxTaskManage* manage = GetManager();
    return manage ? dynamic_cast<SeqSystem*>(manage->GetSystemSequence()) : nullptr;
}

void SeqSaveLoadBase::RefreshPlates()
{
    GxUserConfig* config = UserConfig();
    GxUserData* data = g_Core ? g_Core->m_UserData : nullptr;
    const int32_t page = config ? config->m_GameDataPage : 0;
    for (int32_t k = 1; k <= SeqSaveSlots::kPages; ++k)
        if (GxTaskUIBase* button = FindUI(GxString::Format(L"b%02d", k).c_str(), 0))
            button->SetValue(page == k - 1);

    const bool load = m_Screen == Screen::Load;
    for (int32_t i = 0; i < SeqSaveSlots::kPlates; ++i)
    {
        m_Thumbnails[i]->Release();
        m_Headers[i] = GxSaveSlotHeader();
        GxTaskUIBase* plate = FindUI(L"btn_fileplate", i);
        if (load && plate)
            plate->SetEnabled(false);
        const int32_t n = SeqSaveSlots::SlotOf(page, i);
        // A save of the slot cut short is completed or dropped first: the plate shows what a load gives.
        SeqSavePair::Slot(n).Recover();
        const std::wstring thumb = SeqSaveSlots::ThumbnailPath(n);
        if (!thumb.empty() && GxFile::CanOpen(thumb) && GxGraphics::IsInitialized())
            m_Thumbnails[i]->CreateFromFile(thumb, D3DFMT_A8R8G8B8, 1, 0, false);
        const std::wstring game = SeqSaveSlots::GameDataPath(n);
        if (!game.empty() && GxFile::CanOpen(game))
        {
            if (data)
                data->ReadHeader(game, m_Headers[i]);
            if (load && plate)
                plate->SetEnabled(true);
        }
        else if (load && config && config->m_LastGameDataFileNum == n)
            config->m_LastGameDataFileNum = -1; // the last save has gone
    }

    m_TipShown = false;
    const int32_t last = config ? config->m_LastGameDataFileNum : -1;
    if (last >= 1)
    {
        const int32_t k = last - 1;
        if (k / SeqSaveSlots::kPlates == page && m_Headers[k % SeqSaveSlots::kPlates].m_Valid)
        {
            SeqSaveSlots::TipNewPos(k % SeqSaveSlots::kPlates, m_TipX, m_TipY);
            m_TipShown = true;
        }
    }
    if (GxTaskUIBase* tip = FindUI(L"tip_new", 0))
    {
        if (m_TipShown)
        {
            tip->SetPos(GxVector4(static_cast<float>(m_TipX), static_cast<float>(m_TipY), 0.0f, 0.0f));
            tip->SetOrderZ(0.0f);
            tip->Show();
        }
        else
            tip->Hide();
    }
}

bool SeqSaveLoadBase::GetTipNewPos(int32_t& x, int32_t& y) const
{
    x = m_TipX;
    y = m_TipY;
    return m_TipShown;
}

int32_t SeqSaveLoadBase::RegisterDraw(int32_t step, int64_t elapsed)
{
    GxSeqTransitBase::RegisterDraw(step, elapsed);
    if (GxTaskManage* manage = GetManager())
        if (GxTaskRenderManage* list = manage->GetRenderList(kPlateDrawLayer))
            list->Add(this, 3, kPlateDrawKey, kPlateDrawParam);
    return 0;
}

int32_t SeqSaveLoadBase::Draw(int32_t param, int32_t layer)
{
    if (param != kPlateDrawParam)
        return GxSeqTransitBase::Draw(param, layer);
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    const GxUserConfig* config = UserConfig();
    const int32_t page = config ? config->m_GameDataPage : 0;
    const GxVector2 one(1.0f, 1.0f);
    for (int32_t i = 0; i < SeqSaveSlots::kPlates; ++i)
    {
        int32_t x = 0, y = 0;
        SeqSaveSlots::ThumbnailPos(i, x, y);
        GxTexture* thumb = m_Thumbnails[i].get();
        if (thumb->GetWidth() > 0)
        {
            // The thumbnail is an eighth of the virtual screen.
            const GxFRect source{0.0f, 0.0f, GxCore::kVirtualWidth / 8.0f, GxCore::kVirtualHeight / 8.0f};
            GxGraphics::DrawSprite(thumb, static_cast<float>(x), static_cast<float>(y), source, one, GxVector3(),
                                   GxVector2(), GxVector2(), 0xFFFFFFFF, 0, 0);
        }
        const int32_t n = SeqSaveSlots::SlotOf(page, i);
        const std::wstring lines[2] = {SeqSaveSlots::FirstLine(m_Headers[i], n), m_Headers[i].m_GameDataTitle};
        for (int32_t line = 0; line < 2; ++line)
        {
            const float tx = static_cast<float>(x + 152);
            const float ty = static_cast<float>(y + (line == 0 ? 4 : 34));
            GxGraphics::DrawText(&g_GDIFontMaps[kTextFontMap], lines[line].c_str(), tx + 2, ty + 2, one, kShadowColour,
                                 0, 0);
            GxGraphics::DrawText(&g_GDIFontMaps[kTextFontMap], lines[line].c_str(), tx, ty, one, 0xFFFFFFFF, 0, 0);
        }
    }
    GxGraphics::EndScene();
    return 0;
}

int32_t SeqSaveLoadBase::OnMouseRightDown(const float*, uint32_t, int32_t)
{
    GxTaskUIBase* back = FindUI(L"btn_back", 0);
    if (back && CanWidgetAcceptInput(back))
        back->PostUIEventCode(1);
    return 0;
}

void SeqSaveLoadBase::PlayClickSound(GxTaskBase* sender)
{
    if (sender && (sender->GetTaskKind() & GxTaskUIButtonIs::kKindButton))
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundPush);
}

void SeqSaveLoadBase::GoBack()
{
    GxTaskManage* manage = GetManager();
    if (manage && manage->GetPrevSequence())
        manage->ChangeSequence(manage->GetPrevSequence(), 0, 0);
    ClearUIEvents();
}

bool SeqSaveLoadBase::HandleCommonClick(GxTaskBase* sender, const wchar_t* confirmKey, const wchar_t* confirmText)
{
    const std::wstring name = sender->GetTaskLocalName();
    GxUserConfig* config = UserConfig();
    for (int32_t k = 1; k <= SeqSaveSlots::kPages; ++k)
    {
        if (name == GxString::Format(L"b%02d", k))
        {
            if (config)
                config->m_GameDataPage = k - 1;
            RefreshPlates();
            return true;
        }
    }
    if (name == L"btn_fileplate")
    {
        SeqSystem* system = GetSystem();
        if (!system || system->IsUserDialogOpen())
            return true;
        system->OpenUserDialog(confirmKey, confirmText, SeqSystem::kDialogYesNo);
        m_ChosenSlot = SeqSaveSlots::SlotOf(config ? config->m_GameDataPage : 0, sender->GetTaskLocalIndex());
        return true;
    }
    if (name == L"btn_back")
    {
        GoBack();
        return true;
    }
    return false;
}
