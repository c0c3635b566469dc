#pragma once
// Sets or unsets one environment variable for the life of the guard and puts back what was there
// (its value, or its absence) when the guard goes, however the test leaves its scope.

#include <cstdlib>
#include <optional>
#include <string>

class KvScopedEnv
{
public:
    // Sets the variable to a value.
    KvScopedEnv(const char* name, const char* value) : KvScopedEnv(name) { setenv(m_Name.c_str(), value, 1); }
    // Unsets the variable.
    explicit KvScopedEnv(const char* name) : m_Name(name)
    {
        if (const char* old = std::getenv(name))
            m_Saved = old;
        unsetenv(name);
    }
    ~KvScopedEnv()
    {
        if (m_Saved)
            setenv(m_Name.c_str(), m_Saved->c_str(), 1);
        else
            unsetenv(m_Name.c_str());
    }

    KvScopedEnv(const KvScopedEnv&) = delete;
    KvScopedEnv& operator=(const KvScopedEnv&) = delete;

private:
    std::string m_Name;
    std::optional<std::string> m_Saved;
};
