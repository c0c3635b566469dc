#pragma once

#include "task/GxSeqBase.h"

// The adventure main screen: message window, pictures and characters driven by the script. Built once at start-up under
// the root task and registered as "SeqAvgMain".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqAvgMain : public GxSeqBase
{
public:
    explicit SeqAvgMain(GxTaskBase* parent);
    ~SeqAvgMain() override;
};
