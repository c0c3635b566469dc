#pragma once

#include "task/GxSeqBase.h"

// The gallery's picture viewer. Built once at start-up under the root task and registered as "SeqCGModeView".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqCGModeView : public GxSeqBase
{
public:
    explicit SeqCGModeView(GxTaskBase* parent);
    ~SeqCGModeView() override;
};
