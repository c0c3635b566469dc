#pragma once

#include "task/GxSeqBase.h"

// The opening movie screen (built with the others; nothing switches to it). Built once at start-up under the root task
// and registered as "SeqOpening".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqOpening : public GxSeqBase
{
public:
    explicit SeqOpening(GxTaskBase* parent);
    ~SeqOpening() override;
};
