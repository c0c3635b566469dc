#pragma once

// The defence screen's windows in the running engine (ZorDefenceTest) with the places of the sample game's
// windows and buttons (ZorWindowsTest), and the same screen's pieces drawn alone on the device with an icon
// set of solid pictures (ZorWindowsDevice).

#include "ZorDefenceTestSupport.h"

#include "appdata/DBZorStruct.h"
#include "strategy/ZorGeometry.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskItemWindowView.h"
#include "strategy/screens/ZorTaskMapPointing.h"
#include "strategy/screens/ZorTaskMapView.h"
#include "strategy/screens/ZorTaskRoomWindowView.h"
#include "strategy/screens/ZorTaskTimeView.h"
#include "strategy/screens/ZorTaskUnitInfo.h"
#include "strategy/screens/ZorTaskUnitList.h"
#include "task/GxSeqSystemBase.h"
#include "task/ui/GxTaskUIListBoxFx.h"
#include "task/ui/GxTaskUIMenuIs.h"
#include "task/ui/GxTaskUINull.h"

#include "../../tools/gncwriter/GisPacker.h"
#include "animation/GxNcIconPool.h"
#include "animation/GxNcImageSetPool.h"
#include "graphics/GraphicsTestSupport.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"

#include <algorithm>
#include <array>
#include <functional>
#include <tuple>

namespace zortest
{

using Kind = ZorViewDrawList::Kind;

// Places of the sample game's windows: the room window at (664, 0) with its build and OK buttons and
// per-slot buttons (summon, trap, remove, dispose from x 854, a row each 68 pixels from y 175); the
// facility, summon and trap windows at (304, 0) with their cancel button and list rows of 17 pixels
// from (312, 40); the cards' pick-up buttons and the unit-list tabs of the bottom bar.
constexpr int kRoomButtonsY = 148, kBuildX = 884, kOkX = 974;
constexpr int kCancelX = 616, kCancelY = 18;
int SlotButtonX(int button)
{
    return 854 + 40 * button + 18;
}
int SlotButtonY(int slot)
{
    return 175 + 68 * slot + 12;
}
int ListRowY(int row)
{
    return 40 + 17 * row + 8;
}

// A system sequence with the user dialog as a plain task: opening it records the question.
class TestSystem : public GxSeqSystemBase
{
public:
    explicit TestSystem(GxTaskBase* parent) : GxSeqSystemBase(parent, L"SeqSystem")
    {
        m_Dialog = new GxTaskUINull(this, L"dlg_user");
        m_Dialog->Suspend();
    }
    void OpenUserDialog(const wchar_t* key, const wchar_t* message, int32_t kind) override
    {
        GxSeqSystemBase::OpenUserDialog(key, message, kind);
        m_Message = message;
        SetOpenDialogCount(GetOpenDialogCount() + 1);
        m_Dialog->Resume();
    }
    void CloseUserDialog(bool playSound) override
    {
        m_CloseSounds.push_back(playSound);
        GxSeqSystemBase::CloseUserDialog(playSound);
    }
    GxTaskUINull* m_Dialog;
    std::wstring m_Message;
    std::vector<bool> m_CloseSounds; // the sound flag of each close of the user dialog
};

// The screen entered with the user dialog's system sequence. The entrance room A (1, 1), beside the
// throne, stands in for a dug room of facility 2 (capacity 3); facility 1 (the plain room) holds five.
class ZorWindowsTest : public zortest::ZorDefenceTest
{
protected:
    static constexpr int kRX = 1, kRZ = 1;

    void SetUp() override
    {
        ZorDefenceTest::SetUp();
        if (HasFatalFailure())
            return;
        m_System = new TestSystem(m_Root);
        m_Manage.SetSystemSequence(m_System);
        g_DBZorStruct.GetRow(1)->m_Capacity = 5;
        g_DBZorStruct.GetRow(2)->m_Capacity = 3;
        Room(kRX, kRZ)->m_StructID = 2;
        Enter(m_Screen, SeqZorMain::kParamBack);
        State().m_GamePhase = 0;
        GxSeqBase::SetOpenDialogCount(0);
    }
    void TearDown() override
    {
        GxSeqBase::SetOpenDialogCount(0);
        m_Manage.SetSystemSequence(nullptr);
        ZorDefenceTest::TearDown();
    }

    GxTaskUIBase* In(const wchar_t* folder, const wchar_t* name, int index = 0) { return Widget(name, index, folder); }
    GxTaskUIListBoxFx* ListBox(const wchar_t* window, const wchar_t* name)
    {
        return dynamic_cast<GxTaskUIListBoxFx*>(In(window, name));
    }
    GxTaskUIMenuIs* Menu() { return dynamic_cast<GxTaskUIMenuIs*>(m_Manage.FindTaskByName(L"$ZORMENU:SeqZorMain")); }
    bool Shown(const wchar_t* name) { return m_Manage.FindTaskByName(name)->IsActive(); }
    bool SaveEnabled() { return Widget(L"btn_zorsave")->IsEnabled(); }
    int Phase() { return State().m_GamePhase; }
    int Count() { return GxSeqBase::GetOpenDialogCount(); }
    ZorRoomState* Room(int rx, int rz) { return State().GetRoughRoom(rx, rz); }
    static int IndexOf(GxTaskUIListBoxFx* list, int value)
    {
        for (int i = 0; i < list->GetItemCount(); ++i)
            if (list->GetItem(i)->m_Value == value)
                return i;
        return -1;
    }
    // A unit standing in a slot of a room.
    ZorTaskUnitEntity* Place(int rx, int rz, int slot, int unitID)
    {
        ZorTaskUnitEntity* u = AddUnit(ZorCore::kUnitPlayerList, unitID, 1);
        u->m_HP = u->GetMaxHP();
        u->PlaceInRoom(rx, rz, slot);
        u->m_ArrangeTimeLeft = 0;
        Room(rx, rz)->m_UnitEntityIDs[slot] = static_cast<int64_t>(u->GetTaskID());
        return u;
    }
    // Moves the camera so that the cell of a room's slot lies under the screen point (x, y), and the
    // pointer there: the screen's position is linear in the camera's target, two probes give the map.
    void PointAt(int rx, int rz, int slot, float x = 512.0f, float y = 300.0f)
    {
        const ZorCell d = ZorDirToDelta(slot);
        PointAtCell(Room(rx, rz)->m_MapRoom->m_CenterDX + d.x, Room(rx, rz)->m_MapRoom->m_CenterDZ + d.z, x, y);
    }
    // The same for any cell of the map.
    void PointAtCell(int cellX, int cellZ, float x = 512.0f, float y = 300.0f)
    {
        const GxVector4 w = ZorCellToWorld(cellX, cellZ);
        ZorTaskCamera* camera = m_Screen->GetCamera();
        auto at = [&](float tx, float tz)
        {
            camera->JumpTo(tx, tz);
            camera->Update(0, 0);
            return camera->WorldToScreen(GxVector3(w.x, 0.0f, w.z));
        };
        const GxVector3 s0 = at(w.x, w.z), s1 = at(w.x + 1.0f, w.z), s2 = at(w.x, w.z + 1.0f);
        const float ax = s1.x - s0.x, ay = s1.y - s0.y, bx = s2.x - s0.x, by = s2.y - s0.y;
        const float det = ax * by - ay * bx, ex = x - s0.x, ey = y - s0.y;
        const GxVector3 s = at(w.x + (ex * by - ey * bx) / det, w.z + (ax * ey - ay * ex) / det);
        m_PointX = static_cast<int>(s.x + 0.5f);
        m_PointY = static_cast<int>(s.y + 0.5f);
        MoveTo(m_PointX, m_PointY);
    }
    // The room window opened by a click on the room, and a window of it by its button.
    void OpenRoom(int rx = kRX, int rz = kRZ)
    {
        PointAt(rx, rz, 4);
        Click(m_PointX, m_PointY);
    }
    void ClickRoomButton(int x) { Click(x, kRoomButtonsY); }
    void ClickSlotButton(int button, int slot) { Click(SlotButtonX(button), SlotButtonY(slot)); }
    void Cancel() { Click(kCancelX, kCancelY); }
    void ClickRow(int row) { Click(352, ListRowY(row)); }
    void RightClickAt(int rx, int rz, int slot, float x = 512.0f, float y = 300.0f)
    {
        PointAt(rx, rz, slot, x, y);
        Click(m_PointX, m_PointY, SDL_BUTTON_RIGHT);
    }
    // The menu's items, '1' for each enabled one.
    std::string MenuItems()
    {
        std::string on;
        for (int i = 0; i < Menu()->GetItemCount(); ++i)
            on += Menu()->GetItem(i)->m_Enabled ? '1' : '0';
        return on;
    }

    TestSystem* m_System = nullptr;
    int m_PointX = 0, m_PointY = 0;
};

// The same screen's pieces drawn alone on the engine's device (llvmpipe under the offscreen driver),
// with an icon set of solid pictures: green bars, a blue card background.
class ZorWindowsDevice : public ZorWindowsTest
{
protected:
    void SetUp() override
    {
        ZorWindowsTest::SetUp();
        if (HasFatalFailure())
            return;
        const std::wstring dir = m_Folder.File(L"");
        GxNcCrammedImageSet set;
        auto solid = [](const wchar_t* name, uint32_t w, uint32_t h, uint32_t argb) {
            return GisPicture{name, w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, argb)};
        };
        ASSERT_TRUE(GisPacker::Build(
            GxString::ToUtf8(dir), L"icons.gis",
            {solid(L"hbar_unithp_large_on.png", 100, 8, 0xFF00FF00), solid(L"hbar_unitexp_on.png", 80, 4, 0xFF00FF00),
             solid(L"tip_unitinfo_back.png", 280, 180, 0xFF0000FF), solid(L"icon_goblin.png", 52, 52, 0xFF00FF00),
             solid(L"icon_na.png", 52, 52, 0xFFFF0000)},
            GncForm::Binary, set, 512));
        ASSERT_TRUE(GxNcImageSetPool::Add(dir + L"icons.gis"));
        GxNcIconPool::Clear();
        GxNcIconPool::Build(GxNcImageSetPool::Find(dir + L"icons.gis"));
    }

    // Clears to black, runs the draw inside a scene and reads the frame back.
    PfGLTexture* Frame(const std::function<void()>& draw)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
        GxGraphics::BeginScene();
        draw();
        GxGraphics::EndScene();
        GxGraphics::FlushDraws();
        PfGLTexture* target = GxGraphics::GetDevice()->GetRenderTarget(0);
        EXPECT_TRUE(target && target->ReadBack() == D3D_OK);
        return target;
    }
    // Pixels of row y from x on that pass the test, up to the first that does not.
    template <class Test> static int Run(const PfGLTexture* t, int x, int y, Test&& test)
    {
        int n = 0;
        while (x + n < 1024 && test(KvTexel(t, static_cast<uint32_t>(x + n), static_cast<uint32_t>(y))))
            ++n;
        return n;
    }
    static bool Green(uint32_t argb) { return ((argb >> 8) & 0xFF) > 200 && ((argb >> 16) & 0xFF) < 60; }
    static bool Blue(uint32_t argb) { return (argb & 0xFF) > 200 && ((argb >> 8) & 0xFF) < 60; }
    static bool Red(uint32_t argb)
    {
        return ((argb >> 16) & 0xFF) > 150 && ((argb >> 8) & 0xFF) < 90 && (argb & 0xFF) < 90;
    }

    // The first card of the unit list picked up and carried over a free slot of a room, then over the
    // bottom bar, where it is let go: the dragged unit's face at the pointer, crossed out over the bar.
    void DragTheFirstCardOverASlotAndTheBar()
    {
        g_DBZorUnit.GetRow(12)->m_FaceIconImage = L"icon_goblin";
        ZorTaskUnitEntity* unit = AddUnit(ZorCore::kUnitReadyList, 12, 1);
        unit->m_HP = unit->GetMaxHP();
        m_Screen->GetUnitList()->UpdateScrollRange();
        Passes(1);
        Press(292, 639); // the first card's pick-up button
        ASSERT_EQ(m_Screen->GetDraggedUnit(), static_cast<int64_t>(unit->GetTaskID()));
        // The face's corner sits 26 up and left of the pointer; read inside it, clear of its edges.
        auto faceAt = [&](int x, int y)
        {
            const PfGLTexture* frame = Frame([&] { m_Screen->Draw(2, 5); });
            return KvTexel(frame, static_cast<uint32_t>(x - 26 + 10), static_cast<uint32_t>(y - 26 + 10));
        };
        // Over a free slot of a room: the face alone.
        PointAt(kRX, kRZ, 0);
        EXPECT_TRUE(Green(faceAt(m_PointX, m_PointY))) << std::hex << faceAt(m_PointX, m_PointY);
        // Over the bottom bar: the half-transparent sign over it.
        MoveTo(600, 700);
        const uint32_t crossed = faceAt(600, 700);
        EXPECT_GT((crossed >> 16) & 0xFF, 100u) << std::hex << crossed;
        EXPECT_GT((crossed >> 8) & 0xFF, 100u) << "the face shows through";
        EXPECT_EQ(
            Run(Frame([&] { m_Screen->Draw(2, 5); }), 0, 700 - 26 + 10, [](uint32_t c) { return (c & 0xFFFFFF) == 0; }),
            600 - 26)
            << "nothing left of the icon";
        Release(600, 700);
        EXPECT_EQ(m_Screen->GetDraggedUnit(), 0);
    }
};

} // namespace zortest
