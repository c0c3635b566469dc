#pragma once

#include "task/GxSeqBase.h"

// Loads the invasion screen's resources before it starts. Built once at start-up under the root task and registered as
// "SeqZorInvLoader".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqZorInvLoader : public GxSeqBase
{
public:
    explicit SeqZorInvLoader(GxTaskBase* parent);
    ~SeqZorInvLoader() override;
};
