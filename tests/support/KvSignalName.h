#pragma once
// A signal as a failure message names it: "SIGSEGV (Segmentation fault)".

#include <cstring>
#include <string>

inline std::string KvSignalName(int sig)
{
    const char* abbreviation = sigabbrev_np(sig);
    return (abbreviation ? "SIG" + std::string(abbreviation) : "signal " + std::to_string(sig)) + " (" +
           strsignal(sig) + ")";
}
