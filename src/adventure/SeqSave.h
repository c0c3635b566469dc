#pragma once

#include "task/GxSeqBase.h"

// The save screen. Built once at start-up under the root task and registered as "SeqSave".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqSave : public GxSeqBase
{
public:
    explicit SeqSave(GxTaskBase* parent);
    ~SeqSave() override;
};
