#pragma once

#include "strategy/screens/ZorScreenListener.h"
#include "task/GxSeqTransitBase.h"

#include <cstdint>
#include <vector>

class GxTaskLayer;
class GxTaskUIBase;
class ZorCore;
class ZorTaskCamera;
class ZorTaskInvUnitList;
class ZorTaskProxy;
class ZorTaskUnitEntity;
class ZorUserData;

// The invasion screen: ready units are put into two formations of five slots (dragged from the unit
// list or placed automatically), then the battle runs in the core until it is won or lost, or the
// player calls the invasion off. The defence screen's effect folders play here through proxies; while
// it is entered it is the rules' screen interface (ZorScreenListener), so the field's effects project
// through its camera and its victory or defeat banner plays under "$EFFECTEND:SeqZorMain".
//
//   SeqZorInvMain.cpp        task tree, entry and leave, per-step order, drawing
//   SeqZorInvMainInput.cpp   buttons, keys, drag and drop, the automatic formation
class SeqZorInvMain : public GxSeqTransitBase, public ZorScreenListener
{
public:
    static constexpr int32_t kFormations = 2;
    static constexpr int32_t kSlots = 5;

    explicit SeqZorInvMain(GxTaskBase* parent);
    ~SeqZorInvMain() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    int32_t OnMouseLeftUp(const float* point, uint32_t keys) override;
    int32_t OnKeyDown(uint32_t key, uint32_t keyData) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;

    // A unit left the field or came back to the ready list: the unit strip's range follows.
    void OnRefresh(uint32_t what) override;

    void UpdateWarButtons();
    void AutoForm();
    // The ready unit of the highest expected damage within the leadership budget; 0 for none.
    int64_t FindBestReadyUnit(int32_t budget) const;
    int32_t CalcExpectedDamage(const ZorTaskUnitEntity& unit) const;

    // Whether formation f may take the unit by leadership.
    bool CanTake(int32_t formation, const ZorTaskUnitEntity& unit) const;
    // The empty slot of formation f under (x, y) that may take the unit, or -1.
    int32_t SlotAt(int32_t formation, const ZorTaskUnitEntity& unit, float x, float y) const;
    // Left and top of slot s of formation f (78 x 78, right and bottom exclusive).
    static float SlotLeft(int32_t formation, int32_t slot);
    static float SlotTop(int32_t formation);
    // Places the dragged unit as a release at (x, y) would; forgets it either way.
    void Drop(float x, float y);

    int64_t GetDraggedUnit() const { return m_DraggedUnit; }
    void SetDraggedUnit(int64_t id) { m_DraggedUnit = id; }
    ZorTaskCamera* GetCamera() const { return m_Camera; }
    ZorTaskInvUnitList* GetUnitList() const { return m_UnitList; }

protected:
    // Developer keys act only while the setting "DebugModeFlag" is on.
    virtual bool IsDebugMode() const;

private:
    ZorCore* Core() const;
    ZorUserData* State() const;
    GxTaskUIBase* BottomWidget(const wchar_t* name) const;
    bool HasChild(const wchar_t* folder) const;
    void SelectTab();
    void ResetUnitList();
    // After formation changes: the unit strip's range and the war buttons.
    void FieldChanged();
    // The ready units that may join a formation, with their expected damage, in list order.
    void CollectCandidates() const;
    // The untaken candidate of the highest value within the budget, now taken; 0 for none.
    int64_t PickCandidate(int32_t budget) const;

    struct Candidate
    {
        int64_t m_TaskID = 0;
        int32_t m_Value = 0;
        int32_t m_Leadership = 0;
        bool m_Taken = false;
    };
    // Kept between formations so choosing allocates nothing once it has grown.
    mutable std::vector<Candidate> m_Candidates;
    int64_t m_DraggedUnit = 0;
    GxTaskLayer* m_BGLayer = nullptr;
    ZorTaskCamera* m_Camera = nullptr;
    ZorTaskInvUnitList* m_UnitList = nullptr;
    ZorTaskProxy* m_Proxies[4] = {};
};
