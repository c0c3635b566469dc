#pragma once

#include "task/GxSeqBase.h"

// Releases the invasion screen's resources after it ends. Built once at start-up under the root task and registered as
// "SeqZorInvReleaser".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqZorInvReleaser : public GxSeqBase
{
public:
    explicit SeqZorInvReleaser(GxTaskBase* parent);
    ~SeqZorInvReleaser() override;
};
