#pragma once

#include "script/GxMoaAdventureScreen.h"
#include "task/GxSeqTransitBase.h"
#include "task/GxTransitParam.h"

#include <cstdint>
#include <string>

class GxTaskActor;
class GxTaskFolder;
class GxTaskLayer;
class GxTaskUIBase;
class GxTaskUIMessageWindowFx;
class GxTexture;

// The adventure main screen: background, event and stand pictures, the movie layer, flash and fade, the
// message and name windows and the choice buttons. The main script worker is stepped here; the holds the
// builtins set (in the user data) are ended here by time, state or input.
//
//   SeqAvgMain.cpp         the tree, entering and leaving, the update, holds and drawing
//   SeqAvgMainInput.cpp    mouse, wheel and keys, the window's buttons, skip and auto
//   SeqAvgMainWindows.cpp  message and name windows, widget visibility, the window reset
//   SeqAvgMainScene.cpp    choices, the background transit, layer resets, quick save, jumps and fades
class SeqAvgMain : public GxSeqTransitBase, public GxMoaAdventureScreen
{
public:
    // Input bits of the holds: a click (left button, Enter, Right, Down, wheel toward the player) and skip.
    static constexpr int32_t kHoldClick = 2;
    static constexpr int32_t kHoldSkip = 8;
    // At most this many statements run in one update step; a script looping without a wait is cut here.
    static constexpr int32_t kStatementLimit = 100000;

    explicit SeqAvgMain(GxTaskBase* parent);
    ~SeqAvgMain() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    bool IsWidgetShown(GxTaskUIBase* widget) override;
    bool CanRunScript() override;
    bool CanAcceptInput() override;
    bool CanAcceptInput2() override { return CanAcceptInput(); }
    bool CanAcceptInput3() override { return CanAcceptInput(); }

    int32_t OnMouseWheel(const float* point, int32_t delta, uint32_t keys) override;
    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;
    int32_t OnMouseRightDown(const float* point, uint32_t keys, int32_t dbl) override;
    int32_t OnKeyDown(uint32_t key, uint32_t keyData) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;

    virtual void SkipMessage();
    virtual void AutoAdvance(int32_t ms);
    virtual bool StartBackgroundChange(const std::wstring& background, const std::wstring& rule, int32_t time,
                                       bool clearStands);
    virtual bool IsBackgroundTransit() const { return m_BGTransit.m_Transit; }
    virtual bool EndBackgroundTransit();
    virtual void ShowMessage(const std::wstring& text, bool read, bool ignoreKinsoku, bool disableAutoNewline);
    virtual void ClearMessage();
    virtual void SetSpeakerName(const std::wstring& name, int32_t mode);
    void HideSpeakerName() override;
    virtual void ShowSelectMenu();
    virtual void DecideSelectMenu(int32_t index);
    virtual bool BreakHold(int32_t mask);
    virtual void UpdateHolds(int64_t elapsed);
    void ResetWindows() override;
    void ResetLayers() override;
    virtual void QuickSave();
    virtual void PrepareSave();

    // Starts a label of the script on this screen (black background, fade in, switch here).
    static void JumpTo(const std::wstring& label);
    static void SetBlackBackground();
    static void GlobalFadeIn(int32_t time);
    static void GlobalFadeOut(int32_t time);
    static void ResetAutoButton(GxTaskBase* messageWindow);

    // GxMoaAdventureScreen: the main worker's message statement and the user data's resets and loads.
    void ShowMessageText(const std::wstring& text, bool readBefore, bool ignoreKinsoku, int32_t flags) override;
    void ShowSpeakerName(const std::wstring& nameOrImagePath, int32_t nameIdentifyMode) override;
    bool IsReadedMessage(const std::wstring& scriptName, int32_t line) override;
    void SetReadedMessage(const std::wstring& scriptName, int32_t line) override;
    void AddMessageLog(const std::wstring& name, const std::wstring& message, bool ignoreKinsoku) override;
    int32_t GetNameIdentifyMode() const override;
    bool GetIgnoreKinsoku() const override;
    std::wstring ResolveNameImagePath(const std::wstring& name) const override;
    void SetGlobalFadeOpaque() override;
    void JumpToStory(const std::wstring& label) override { JumpTo(label); }

    // The screen's tasks by name; null when missing.
    static SeqAvgMain* Find();
    GxTaskLayer* FindLayer(const wchar_t* globalName) const;
    GxTaskFolder* FindFolder(const wchar_t* globalName) const;
    GxTaskUIMessageWindowFx* GetMessageWindow() const;
    GxTaskUIBase* GetNameWindow() const;
    // A child widget of the message window by local name ("btn_auto", "icon_wait", ...).
    GxTaskUIBase* FindWindowButton(const wchar_t* localName) const;
    GxTaskUIBase* FindSelectButton(int32_t index) const;
    // A stand layer by the character's name, or a layer by its global name when the name begins with "$".
    GxTaskLayer* FindStandLayer(const std::wstring& name) const;
    const GxTransitParam& GetBackgroundTransit() const { return m_BGTransit; }

    // The Ctrl key as the skip reads it; tests replace it.
    static bool (*s_CtrlHeld)();

private:
    void BuildTree();
    void BuildWindow(GxTaskBase* parent, const wchar_t* name);
    bool EndHold(int index, bool byInput);
    // Advances the message window as a click does; when that ends the message, the voice records are
    // cleared and, with stopVoices and the setting's voice timing 0, the voices stopped.
    void AdvanceWindow(bool stopVoices);
    int32_t LeftClick();
    static bool IsDialogOpen();
    void ChangeTo(const wchar_t* name);
    void SetToggle(const wchar_t* name, bool on);
    void ResetWindow(GxTaskUIBase* window, const wchar_t* module, const wchar_t* layoutName);
    // The background transit's texture, the size of the screen.
    GxTexture* GetTransitTexture() const;

    GxTransitParam m_BGTransit;
    bool m_ScriptLoopReported = false;
};
