#include "platform/PfGLDriverOptions.h"

#include <cstdlib>

void PfGLDriverOptions::Apply()
{
    static const bool s_Applied = []
    {
        // The driver takes an empty value for its default, so an empty one is no choice either.
        const char* threads = std::getenv(kRasterizerThreads);
        if (threads == nullptr || *threads == '\0')
            setenv(kRasterizerThreads, kNoWorkers, 1);
        return true;
    }();
    (void)s_Applied;
}
