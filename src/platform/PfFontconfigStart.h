// fontconfig's default configuration and font list, loaded once for the program. Loading parses every
// configuration file and maps every font cache, tens of milliseconds that nothing before the first text
// needs: start-up begins it on a thread of its own, and the first face lookup waits for it there.
//
// Begin, Wait and Shutdown are called from the main thread; only the loading itself runs on the other one.
#pragma once

#include <string>

class PfFontconfigStart
{
public:
    using Loader = bool (*)();
    using FailureLog = void (*)(const std::string& text);

    // Starts the loading on a background thread; nothing when it has begun or is done already.
    static void Begin();
    // Waits for the loading begun by Begin, or loads here when none was begun; true when fontconfig's default
    // configuration is up. A failed loading is reported once to the failure log and stays failed until
    // Shutdown.
    static bool Wait();
    // Waits for a loading under way, then lets fontconfig's tables go (FcFini) when they were loaded. The next
    // Begin or Wait loads afresh.
    static void Shutdown();
    // True while the background loading has not been joined.
    static bool IsPending();

    // Where a failed loading is reported (the core's error log); null reports nowhere.
    static void SetFailureLog(FailureLog log);
    // What loads the configuration: LoadConfiguration when null. Tests put slow or failing loaders here.
    static void SetLoader(Loader loader);
    // fontconfig's own loading of its default configuration (FcInit); true when it is up.
    static bool LoadConfiguration();
};
