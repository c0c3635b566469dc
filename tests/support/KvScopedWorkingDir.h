#pragma once
// Makes a folder the working folder for the life of the guard and goes back to the previous one when
// the guard goes, however the test leaves its scope (a failed ASSERT included).

#include <filesystem>

class KvScopedWorkingDir
{
public:
    explicit KvScopedWorkingDir(const std::filesystem::path& dir) : m_Previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(dir);
    }
    ~KvScopedWorkingDir()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_Previous, ignored);
    }

    KvScopedWorkingDir(const KvScopedWorkingDir&) = delete;
    KvScopedWorkingDir& operator=(const KvScopedWorkingDir&) = delete;

private:
    std::filesystem::path m_Previous;
};
