#pragma once

// A virtual X server (Xvfb) of a test process's own, for tests that run the program's window on a real X
// server instead of the offscreen driver. Test processes run in parallel: every server takes the first
// display number of the 40 from :90 (from KV_X_DISPLAY_BASE when set) that no other server holds and
// listens on its local socket only. It ends with Stop, or with the test process however that ends.
//
//   Start(w, h)  the server with one screen of w x h x 24 on a black root, up and accepting connections;
//                DISPLAY and SDL_VIDEODRIVER=x11 then point this process's SDL at it. Under CI (CI=true) a
//                server that cannot start also records a failure, so the case that then skips fails
//   Stop()       SDL's video shut (it holds a connection to the server), the environment as it was, the
//                server ended
//   Why()        why Start failed (no Xvfb, no free display, the server never came up)

#include <string>
#include <sys/types.h>

class KvXServer
{
public:
    KvXServer() = default;
    KvXServer(const KvXServer&) = delete;
    KvXServer& operator=(const KvXServer&) = delete;
    ~KvXServer() { Stop(); }

    bool Start(int width, int height);
    void Stop();

    bool IsRunning() const { return m_Pid > 0; }
    const std::string& GetDisplay() const { return m_Display; }
    const std::string& Why() const { return m_Why; }

private:
    bool TryStart(int width, int height);
    // One server on display `number`; false when it exits first (the number is taken) or never comes up.
    bool Launch(const std::string& xvfb, int number, int width, int height);
    void SetEnv(const char* name, const char* value);

    pid_t m_Pid = -1;
    std::string m_Display;
    std::string m_Why;
    // The variables changed, each with its old value (and whether it had one).
    struct Saved
    {
        std::string name, value;
        bool had;
    };
    Saved m_Saved[2];
    int m_SavedCount = 0;
};
