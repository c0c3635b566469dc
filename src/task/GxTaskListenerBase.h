#pragma once

// Empty primary base of every task: it carries the task's own table of virtual operations, while the
// listener interfaces that follow it in GxTaskBase are separate sub-objects with tables of their own.
class GxTaskListenerBase
{
public:
    virtual ~GxTaskListenerBase() = default;
};
