#pragma once
// What the main worker's message statement needs of the adventure scene: the scene's message and
// speaker-name operations and the adventure state that goes with a message (permanent read marks,
// the backlog, the name display settings).
//
// The adventure scene ("SeqAvgMain") implements it and registers itself while it exists; with none
// registered a message cannot be shown and the script stops with an error.

#include <cstdint>
#include <string>

class GxMoaAdventureScreen
{
public:
    virtual ~GxMoaAdventureScreen() = default;

    // The registered scene, or null.
    static GxMoaAdventureScreen* Find();
    // Registers the scene (null to withdraw it).
    static void Register(GxMoaAdventureScreen* screen);
    // The way back into the story from another screen (the strategy game's): the main worker starts at
    // the label and the registered scene comes up over a black background fading in. With no scene
    // registered the worker still starts, and the missing scene is logged.
    static void ReturnToStory(const std::wstring& label);

    // Scene operations.
    virtual void ShowMessageText(const std::wstring& text, bool readBefore, bool ignoreKinsoku, int32_t flags) = 0;
    virtual void ShowSpeakerName(const std::wstring& nameOrImagePath, int32_t nameIdentifyMode) = 0;
    virtual void HideSpeakerName() = 0;

    // Adventure state. A message is keyed by its script name and 1-based line.
    virtual bool IsReadedMessage(const std::wstring& scriptName, int32_t line) = 0;
    virtual void SetReadedMessage(const std::wstring& scriptName, int32_t line) = 0;
    virtual void AddMessageLog(const std::wstring& name, const std::wstring& message, bool ignoreKinsoku) = 0;
    // 0 no name, 1 and 3 the name as text, 2 a name image.
    virtual int32_t GetNameIdentifyMode() const = 0;
    virtual bool GetIgnoreKinsoku() const = 0;
    // Characters that end a speaker name at the start of a message.
    virtual std::wstring GetNameSeparators() const { return L"「（"; }
    // The resolved path of the name image for a name ("cg/name/" and the name), empty when not found.
    virtual std::wstring ResolveNameImagePath(const std::wstring& name) const = 0;

    // Lays out the visible choice items of the user data as buttons and stops the script until one is
    // taken (the "sel" builtin, after it has filled the items).
    virtual void ShowSelectMenu() {}

    // What the user data's resets and loads ask of the scene.
    // Message window, name window, name image and choice buttons back to their layout state.
    virtual void ResetWindows() {}
    // Picture and stand layers, skip and auto modes and the message window back to their start state.
    virtual void ResetLayers() {}
    // The global fade layer opaque at once.
    virtual void SetGlobalFadeOpaque() {}

    // The scene's part of ReturnToStory: all of it, from starting the worker to the switch.
    virtual void JumpToStory(const std::wstring& label) { StartWithoutScene(label); }

protected:
    // ReturnToStory without a scene: the worker starts at the label and the missing scene is logged.
    static void StartWithoutScene(const std::wstring& label);
};
