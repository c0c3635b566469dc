#pragma once

#include <sys/types.h>

#include <chrono>
#include <vector>

// Every core kept busy by a child process of the test's own, as on a loaded machine: the X server, the
// software rasteriser and the program under test then lag. Each child spins for as long as this object
// lives, `bound` at most, and dies with the test process.
class KvBusyCores
{
public:
    explicit KvBusyCores(std::chrono::seconds bound = std::chrono::seconds(60));
    ~KvBusyCores();
    KvBusyCores(const KvBusyCores&) = delete;
    KvBusyCores& operator=(const KvBusyCores&) = delete;

private:
    std::vector<pid_t> m_Children;
};
