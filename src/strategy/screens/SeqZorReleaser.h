#pragma once

#include "task/GxSeqBase.h"

// Releases the defence screen's resources after it ends. Built once at start-up under the root task and registered as
// "SeqZorReleaser".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqZorReleaser : public GxSeqBase
{
public:
    explicit SeqZorReleaser(GxTaskBase* parent);
    ~SeqZorReleaser() override;
};
