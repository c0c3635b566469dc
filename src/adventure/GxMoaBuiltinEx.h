#pragma once

#include "adventure/GxMoaBuiltinDefault.h"

#include <cstdint>
#include <string>

class GxCore;
class GxMoaBuiltinCall;
class GxMoaVariable;

// The builtin dispatcher of the adventure game: every builtin call of the story script arrives at Call.
// Indices 1 to 299 go to the default builtins (6 and 7, the debug log lines, are answered here); above
// that the index picks a range and the exact name the body. The bodies are grouped in families, one
// member function each, each family in a file of its own:
//
//   GxMoaBuiltinEx.cpp          dispatch, argument helpers, the builtins answered here
//   GxMoaBuiltinExMessage.cpp   messages and text blocks
//   GxMoaBuiltinExPicture.cpp   background and event pictures
//   GxMoaBuiltinExLayer.cpp     stand layers and characters
//   GxMoaBuiltinExWait.cpp      waits
//   GxMoaBuiltinExSystem.cpp    system and query builtins
//   GxMoaBuiltinExSound.cpp     music, voices and sound effects
//   GxMoaBuiltinExScreen.cpp    screen effects and movies
//   GxMoaBuiltinExSelect.cpp    choices
//   GxMoaBuiltinExReplay.cpp    replay and gallery records
//   GxMoaBuiltinExStrategy.cpp  the strategy game's "zor_" builtins
//
// A family body is reached only with a name of its own (the dispatch table decides), so it may switch on
// the name alone.
class GxMoaBuiltinEx : public GxMoaBuiltinDefault
{
public:
    explicit GxMoaBuiltinEx(GxCore* core);
    ~GxMoaBuiltinEx() override;

    bool Call(const std::wstring& name, int32_t index, GxMoaVariable& args, GxMoaWorker* worker, GxMoaScript* script,
              GxMoaExecStack& execStack, GxMoaVariable& result) override;

    // The creator installed as g_MoaBuiltinCreator.
    static GxMoaBuiltinBase* Create(GxCore* core);
    // Installs Create as the host's creator.
    static void Install();

    // An optional argument is given: it exists, is not Null and its text is not empty (0 is given,
    // "" is not).
    static bool ArgPresent(const GxMoaVariable* value);
    // A position on the 1024 x 768 screen for an object of the size: a number, or the letters "L", "M",
    // "R" ("T", "M", "B"); an absent value gives the default (the bottom edge), other text likewise.
    static double ArgPosX(const GxMoaVariable* value, double defaultX, double width);
    static double ArgPosY(const GxMoaVariable* value, double height);

    GxCore* GetCore() const { return m_Core; }

    // The families in the order of the dispatch table's ranges.
    enum class Family
    {
        Own,
        Message,
        Picture,
        Layer,
        Wait,
        System,
        Sound,
        Screen,
        Select,
        Replay,
        Strategy,
    };
    // The family that runs the name at the index, as the dispatch decides; false when no body does (and
    // for indices 1 to 299, which go by index alone).
    static bool FindFamily(const std::wstring& name, int32_t index, Family& family);

protected:
    bool CallOwn(GxMoaBuiltinCall& call);
    bool CallMessage(GxMoaBuiltinCall& call);
    bool CallPicture(GxMoaBuiltinCall& call);
    bool CallLayer(GxMoaBuiltinCall& call);
    bool CallWait(GxMoaBuiltinCall& call);
    bool CallSystem(GxMoaBuiltinCall& call);
    bool CallSound(GxMoaBuiltinCall& call);
    bool CallScreen(GxMoaBuiltinCall& call);
    bool CallSelect(GxMoaBuiltinCall& call);
    bool CallReplay(GxMoaBuiltinCall& call);
    bool CallStrategy(GxMoaBuiltinCall& call);

private:
    // Indices 6 and 7: the argument's text to the runtime's log hook or to "debug.log", in debug mode.
    bool CallDebugLine(GxMoaBuiltinCall& call);

    GxCore* m_Core;
};
