#pragma once

#include "task/GxSeqBase.h"

// Loads the defence screen's resources before it starts. Built once at start-up under the root task and registered as
// "SeqZorLoader".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqZorLoader : public GxSeqBase
{
public:
    explicit SeqZorLoader(GxTaskBase* parent);
    ~SeqZorLoader() override;
};
