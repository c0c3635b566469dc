// Options the OpenGL driver reads from the environment when it loads, put in place before the first window
// or context of the process.
//
// Mesa's software rasteriser (llvmpipe) draws on worker threads by default, and their fences are freed
// while a worker can still write to them: the driver's "is this fence done" check reads the workers' count
// without the fence's lock, so the scene the fence belongs to can be ended and the fence freed between the
// last worker's count and its unlock of the fence's mutex. That late unlock writes zeros into a freed block
// of the heap, and the allocator later crashes on its free list. It takes a worker held off the processor
// at just that point, so it shows only on a busy machine; AddressSanitizer cannot see the write (it is
// libc's unlock) and ThreadSanitizer shows it as a race inside the driver, between the fence's destruction
// and its lock. With no worker threads the rasteriser draws on the thread that flushes, and every fence is
// done before it is seen.
//
// Only the software rasteriser reads the option: hardware drivers draw as before. A count the environment
// already names (a developer measuring the workers) is left as it is.
#pragma once

class PfGLDriverOptions
{
public:
    // The environment variable and the worker count the program runs the software rasteriser with.
    static constexpr const char* kRasterizerThreads = "LP_NUM_THREADS";
    static constexpr const char* kNoWorkers = "0";

    // Sets the options not already set. Done once per process, on the main thread before the video
    // subsystem starts (the driver reads them when it loads; setting the environment is not safe beside
    // other threads reading it); later calls do nothing.
    static void Apply();
};
