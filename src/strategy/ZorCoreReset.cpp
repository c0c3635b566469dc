#include "strategy/ZorCore.h"

#include "strategy/ZorUserData.h"

// FIXME: the campaign's other tasks (the strategy screens' running rounds) are ended here once they exist;
// today the units of the defence lists are all the campaign holds in the task tree.
void ZorCore::ClearCampaignTasks()
{
    for (const wchar_t* name : {kUnitReadyList, kUnitPlayerList, kUnitEnemyList})
        if (GxTaskBase* list = FindList(name))
            ClearUnitList(list);
}

void ZorCore::ResetGame()
{
    ClearCampaignTasks();
    // Assigned in place: other parts hold the user data by pointer.
    *m_UserData = ZorUserData(m_Core);
    m_UserData->LinkMapData();
}
