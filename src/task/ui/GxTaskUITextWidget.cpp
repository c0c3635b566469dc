#include "task/ui/GxTaskUITextWidget.h"

#include "appdata/DBUIModule.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxVector2.h"
#include "graphics/GxGraphics.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIPanelFx.h"
#include "task/ui/GxTaskUIPanelIs.h"

template <class Base>
GxTaskUITextWidget<Base>::GxTaskUITextWidget(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                             int32_t localIndex, int32_t typeCode, const wchar_t* className)
    : Base(parent, globalName, localName, localIndex), m_ClassName(className)
{
    this->SetTypeCode(typeCode);
}

template <class Base> GxTaskUITextWidget<Base>::~GxTaskUITextWidget() = default;

template <class Base> void GxTaskUITextWidget<Base>::SetTextFontIndex(int32_t index)
{
    m_Layout.SetTextFontIndex(index, m_ClassName);
}

template <class Base> void GxTaskUITextWidget<Base>::ApplyModule(const DBUIModuleData& row)
{
    Base::ApplyModule(row);
    SetTextFontIndex(row.m_FontIndex);
}

template <class Base> int32_t GxTaskUITextWidget<Base>::Draw(int32_t, int32_t)
{
    if (!this->IsShown())
        return 0;
    const GxActorVisualParam& v = this->GetVisual();
    const GxVector4 pos = this->GetWorldPos();
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    this->DrawImage();
    m_Layout.DrawPanelText(this->m_Text, Base::GetSystemConfig().m_WidgetLineBreak, this->m_ClientLeft,
                           this->m_ClientTop, this->m_ClientWidth, pos.x, pos.y, GxVector2(v.m_Scale.x, v.m_Scale.y),
                           v.m_Alpha, static_cast<uint32_t>(v.m_BlendMode));
    GxGraphics::EndScene();
    return 0;
}

template <class Base> bool GxTaskUITextWidget<Base>::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    Base::Save(writer);
    m_Layout.Save(writer);
    return writer->GetErrorCount() == 0;
}

template <class Base> bool GxTaskUITextWidget<Base>::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    if (!Base::Load(reader))
        return false;
    m_Layout.Load(reader, m_ClassName);
    return reader->GetErrorCount() == 0;
}

template class GxTaskUITextWidget<GxTaskUIPanelFx>;
template class GxTaskUITextWidget<GxTaskUIPanelIs>;
template class GxTaskUITextWidget<GxTaskUIButtonIs>;
