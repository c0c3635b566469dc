#pragma once

#include "task/GxSeqSystemBase.h"

// The system sequence: walked on every step beside the current screen, it owns the dialogs, the help tip
// and the debug keys shared by all screens. The start-up hook builds it first under the root task and
// makes it the task manager's system sequence.
// FIXME: the dialogs, the help tip, the music ducking, the debug keys and the overlay's draw are not
// built yet; it is an empty sequence.
class SeqSystem : public GxSeqSystemBase
{
public:
    explicit SeqSystem(GxTaskBase* parent);
    ~SeqSystem() override;
};
