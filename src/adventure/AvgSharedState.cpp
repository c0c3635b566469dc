#include "adventure/AvgSharedState.h"

#include "task/GxSeqBase.h"

uint8_t g_SkipMode = 0;
uint8_t g_AutoMode = 0;
int32_t g_AutoWaitLeft = 0;
uint8_t g_MessageWindowHidden = 0;

void ResetAvgSharedState()
{
    g_SkipMode = 0;
    g_AutoMode = 0;
    g_AutoWaitLeft = 0;
    g_MessageWindowHidden = 0;
    GxSeqBase::ResetInputLocks();
}
