#pragma once

#include "task/GxSeqBase.h"

// The configuration screen. Built once at start-up under the root task and registered as "SeqConfig".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqConfig : public GxSeqBase
{
public:
    explicit SeqConfig(GxTaskBase* parent);
    ~SeqConfig() override;
};
