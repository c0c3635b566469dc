#pragma once

#include "task/ui/GxUITextLayout.h"

#include <cstdint>

struct DBUIModuleData;
class GxContentReaderBase;
class GxContentWriterBase;
class GxTaskBase;

// A widget with a short text drawn over its image: "|" breaks lines, a one-line text is centred when
// m_AutoAlign is set. The text panels and the text button are this one body over three bases (the
// picture panel, the image-set panel and the image-set button); each base draws its own image first,
// through its DrawImage(), and the text follows.
//
// The members are defined once, in GxTaskUITextWidget.cpp, for the three bases only.
template <class Base> class GxTaskUITextWidget : public Base
{
public:
    // typeCode is the concrete widget's; className names it in the log lines of a bad font index or
    // record.
    GxTaskUITextWidget(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName, int32_t localIndex,
                       int32_t typeCode, const wchar_t* className);
    ~GxTaskUITextWidget() override;

    int32_t Draw(int32_t param, int32_t layer) override;
    // The base's, then SetTextFontIndex with the row's FontIndex.
    void ApplyModule(const DBUIModuleData& row) override;
    // The base's fields, then the text's ("m_TextFontIndex" .. "m_AutoAlign").
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;

    virtual void SetTextFontIndex(int32_t index);
    virtual void SetTextColor(uint32_t color) { m_Layout.m_TextColor = color; }
    virtual void SetEdgeColor(uint32_t color) { m_Layout.m_EdgeColor = color; }
    virtual void SetAutoAlign(int32_t align) { m_Layout.m_AutoAlign = align; }
    virtual int32_t GetAutoAlign() const { return m_Layout.m_AutoAlign; }

    const GxUITextLayout& GetLayout() const { return m_Layout; }

protected:
    GxUITextLayout m_Layout{2};

private:
    const wchar_t* m_ClassName;
};
