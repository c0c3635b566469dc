#pragma once

#include "task/GxTaskActor.h"
#include "task/GxUIEvent.h"

#include <cstdint>
#include <string>

struct DBUIModuleData;
struct DBUILayoutData;
class GxMatrix;
class GxSeqBase;
class GxSystemConfig;
class GxUserConfig;

// The base of every widget: an actor with an enabled flag, a value with a range, texts, the size and
// client rectangle of its module row, modal and top-most flags, input bookkeeping and the posting of UI
// events to the current sequence. Widgets are built by a sequence's widget factory: the module row gives
// look and size (ApplyModule), the layout row place, texts and value (ApplyLayout).
//
// The protected helpers hold the pointer bookkeeping every widget family shares: entering and leaving,
// the automatic help tip and the posting of mouse events with the pointer position.
class GxTaskUIBase : public GxTaskActor
{
public:
    // The hover time stops growing at one day, so a pointer left resting never overflows it.
    static constexpr int32_t kMaxHoverTime = 86400000;
    // m_AutoHelpTime of a widget without automatic help.
    static constexpr int32_t kNoAutoHelp = -1;

    GxTaskUIBase(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                 int32_t localIndex = 0);
    ~GxTaskUIBase() override;

    // Loads the images, then clears the input bookkeeping.
    void OnSequenceEnter() override;
    // Steps the actions with elapsed / 1000 ms.
    int32_t Update(int32_t step, int64_t elapsed) override;
    // List 7 of the current bank when top-most in the tree, else list 5; ascending by m_OrderZ.
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    void Hide() override;
    void Show() override;
    int32_t GetWidth() const override { return m_Width; }
    int32_t GetHeight() const override { return m_Height; }
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;

    virtual void ResetInputState();
    virtual void ApplyModule(const DBUIModuleData& row);
    virtual void ApplyLayout(const DBUILayoutData& row);
    virtual bool LoadImageSet(const wchar_t* path);
    virtual bool LoadImages();
    virtual int32_t ReleaseImages();

    virtual void SetEnabled(bool enabled) { m_Enabled = enabled; }
    virtual bool IsEnabled() const { return m_Enabled; }
    virtual void SetValue(bool value);
    virtual void SetValue(int32_t value);
    virtual void SetValue(double value);
    virtual double GetValue() const { return m_Value; }
    // Truncated toward zero.
    virtual int32_t GetValueAsInt() const;
    virtual bool GetValueAsBool() const { return GetValueAsInt() != 0; }
    virtual void SetMax(double max) { m_Max = max; }
    virtual double GetMax() const { return m_Max; }
    virtual void SetMin(double min) { m_Min = min; }
    virtual double GetMin() const { return m_Min; }
    virtual double GetChange() const { return m_Change; }
    virtual void SetGroupID(int32_t id) { m_GroupID = id; }
    virtual int32_t GetGroupID() const { return m_GroupID; }
    virtual void SetWidth(int32_t width) { m_Width = width; }
    virtual void SetHeight(int32_t height) { m_Height = height; }
    virtual int32_t GetClientLeft() const { return m_ClientLeft; }
    virtual int32_t GetClientTop() const { return m_ClientTop; }
    virtual int32_t GetClientWidth() const { return m_ClientWidth; }
    virtual int32_t GetClientHeight() const { return m_ClientHeight; }
    virtual void SetClientRect(int32_t left, int32_t top, int32_t width, int32_t height);
    virtual void SetText(const wchar_t* text);
    virtual const std::wstring& GetText() const { return m_Text; }
    virtual void SetLabel(const wchar_t* label);
    virtual const std::wstring& GetLabel() const { return m_Label; }
    virtual void SetDescript(const wchar_t* descript);
    virtual const std::wstring& GetDescript() const { return m_Descript; }
    virtual void EnableEventReport(int32_t code);
    virtual void DisableEventReport(int32_t code);
    virtual bool IsEventReported(int32_t code) const;
    virtual void SetEventBlock(bool block) { m_EventBlockFlag = block; }
    virtual bool GetEventBlock() const { return m_EventBlockFlag; }
    virtual void SetModal(bool modal) { m_ModalFlag = modal; }
    virtual bool IsModal() const { return m_ModalFlag; }
    virtual void SetModalPriority(int32_t priority) { m_ModalPriority = priority; }
    virtual int32_t GetModalPriority() const { return m_ModalPriority; }
    virtual void SetTopMost(bool topMost) { m_TopMostFlag = topMost; }
    virtual bool IsTopMost() const { return m_TopMostFlag; }
    virtual void SetImageAlpha(int32_t alpha) { m_ImageAlpha = alpha; }
    virtual int32_t GetImageAlpha() const { return m_ImageAlpha; }
    virtual int32_t GetHoverCount() const { return m_HoverCount; }
    // Position x (y) := (parent's width (height), or the screen's, - own) / 2 + offset.
    virtual void CenterHorizontally(int32_t offset);
    virtual void CenterVertically(int32_t offset);

    // Inherited state along the chain of widget ancestors (the first non-widget ends it).
    virtual bool IsVisibleInTree() const;
    virtual bool IsEnabledInTree() const;
    virtual int32_t GetEffectiveModalPriority() const;
    virtual bool IsTopMostInTree() const;
    virtual int32_t GetEffectiveAlpha() const;

    // Half-open rectangles from origin, the widget's world position as the caller passes it.
    virtual bool HitTestClient(const GxVector4& origin, float x, float y) const;
    virtual bool HitTest(const GxVector4& origin, float x, float y) const;

    // Queue an event in the current sequence: false without one, or when it is dead, suspended or not
    // accepting UI events.
    virtual bool PostUIEventCode(int32_t code);
    virtual bool PostUIEvent(const GxUIEvent& event);

    int32_t GetEventState() const { return m_EventState; }
    int32_t GetHoverTime() const { return m_HoverTime; }
    bool IsDragging() const { return m_Dragging; }

    // The run's system configuration, or the built-in defaults when the program has none (tools, tests).
    static const GxSystemConfig& GetSystemConfig();
    // The player's options, or their defaults when the program has none.
    static const GxUserConfig& GetUserConfig();

protected:
    enum class HitArea
    {
        Whole,  // HitTest
        Client, // HitTestClient (virtual, so a widget may widen it)
    };

    GxSeqBase* GetCurrentSequence() const;
    // The current sequence lets this widget take input.
    bool CanAcceptInput();
    bool IsShown();
    // The pointer in virtual-screen pixels, as the core reports it.
    void GetCursorPos(float& x, float& y) const;
    bool HitsArea(HitArea area, float x, float y) const;
    // Posts code with the position in the first two values, when the code is reported.
    bool PostMouseEvent(int32_t code, float x, float y);
    // Pointer entering on a move: hover count 1, event state 7 and event 7. True when it entered now.
    bool TrackMouseEnter(HitArea area, float x, float y);
    // Pointer leaving, checked in the update: hover count 0, event state 8 and event 8 when input is
    // accepted. Skipped while dragging.
    void TrackMouseLeave(HitArea area, float x, float y);
    // The automatic help: shows the tip in the step whose milliseconds carry the hover time across
    // m_AutoHelpTime; the time resets whenever the pointer is not over the widget.
    void StepAutoHelp(int32_t ms, float x, float y);
    // Clears the drag fields, which are never stored.
    void ResetDragState();

    // The update and mouse handling every panel shares (plain, image-set, text and animated panels, the
    // gauge's pointer): events 7 and 8 against the whole widget, the automatic help, and a press posting
    // event 1 that is taken only when reported and blocking.
    int32_t UpdatePanel(int64_t elapsed);
    int32_t PanelMouseMove(float x, float y);
    int32_t PanelMouseLeftDown(float x, float y);
    // The actor's drawing colour with the image alpha, packed, and its second colour packed.
    uint32_t GetDrawDiffuse(int32_t imageAlpha) const;
    uint32_t GetDrawSpecular() const;
    // The image-set draws' matrix: the actor's scale and turn (degrees) about its centre, at the world
    // position moved by (dx, dy, dz).
    void MakeWidgetMatrix(GxMatrix& out, float dx = 0.0f, float dy = 0.0f, float dz = 0.0f) const;

    bool m_Enabled = true;
    double m_Value = 0.0;
    double m_Max = 0.0;
    double m_Min = 0.0;
    double m_Change = 0.0;
    int32_t m_GroupID = 0;
    int32_t m_ModuleID = 0;
    std::wstring m_Text;
    std::wstring m_Label;
    int32_t m_AutoHelpTime = kNoAutoHelp;
    std::wstring m_Descript;
    int32_t m_Width = 0;
    int32_t m_Height = 0;
    int32_t m_ClientLeft = 0;
    int32_t m_ClientTop = 0;
    int32_t m_ClientWidth = 0;
    int32_t m_ClientHeight = 0;
    int32_t m_ShapeType = 0;
    bool m_ModalFlag = false;
    int32_t m_ModalPriority = 1;
    bool m_TopMostFlag = false;
    int32_t m_ImageAlpha = 255;
    int32_t m_EventState = 0;
    int32_t m_HoverCount = 0;
    int32_t m_PressCount = 0;
    uint32_t m_EventReportFlags = 0xFFFFFFFFu;
    bool m_EventBlockFlag = true;
    bool m_Dragging = false;
    // Press position (x, y), then the last position (x, y); -1 when no drag is under way.
    float m_DragOrigin[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
    int32_t m_DragValue[2] = {0, 0};
    // Milliseconds the pointer has rested on the widget; not stored.
    int32_t m_HoverTime = 0;
};
