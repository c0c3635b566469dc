#include "WidgetTestSupport.h"

#include "../TaskSaveSupport.h"
#include "task/ui/GxTaskUIAnimePanelIs.h"
#include "task/ui/GxTaskUIHBarIs.h"
#include "task/ui/GxTaskUIListBoxFx.h"
#include "task/ui/GxTaskUIRadioButtonIs.h"
#include "task/ui/GxTaskUITextButtonIs.h"
#include "task/ui/GxTaskUITextPanelFx.h"
#include "task/ui/GxTaskUITextPanelIs.h"
#include "task/ui/GxTaskUITextWindowFx.h"

#include <gtest/gtest.h>

#include <functional>

// Every widget's record reads back what it wrote, in both forms: a key out of order or of another type
// would leave the reader with an error.
TEST(GxTaskUIRecord, EveryWidgetReadsBackItsOwnRecord)
{
    using Make = std::function<GxTaskUIBase*(GxTaskBase*)>;
    const std::vector<std::pair<const char*, Make>> widgets = {
        {"text button", [](GxTaskBase* p) { return new GxTaskUITextButtonIs(p); }},
        {"radio", [](GxTaskBase* p) { return new GxTaskUIRadioButtonIs(p); }},
        {"gauge", [](GxTaskBase* p) { return new GxTaskUIHBarIs(p); }},
        {"text panel Fx", [](GxTaskBase* p) { return new GxTaskUITextPanelFx(p); }},
        {"text panel Is", [](GxTaskBase* p) { return new GxTaskUITextPanelIs(p); }},
        {"animated panel", [](GxTaskBase* p) { return new GxTaskUIAnimePanelIs(p); }},
        {"list box", [](GxTaskBase* p) { return new GxTaskUIListBoxFx(p); }},
        {"tip", [](GxTaskBase* p) { return new GxTaskUITipHelpIs(p); }},
    };
    for (ContentForm form : {ContentForm::Binary, ContentForm::Text})
    {
        for (const auto& [name, make] : widgets)
        {
            WidgetTree t;
            GxTaskUIBase* a = make(t.seq);
            a->LoadImageSet(L"uigis/set/image");
            a->SetMax(10.0);
            a->SetValue(3);
            const auto bytes = SaveRecord(form, [&](GxContentWriterBase* w) { return a->Save(w); });
            GxTaskUIBase* b = make(t.seq);
            auto reader = OpenRecord(form, bytes);
            EXPECT_TRUE(b->Load(reader.get())) << name;
            EXPECT_EQ(b->GetMax(), 10.0) << name;
        }
    }
}

// A text window's record holds its text, and a window read from it lays that text out, whatever it showed
// before: the adventure screen's name plate comes back this way after a load.
TEST(GxTaskUIRecord, ATextWindowReadsBackItsText)
{
    for (ContentForm form : {ContentForm::Binary, ContentForm::Text})
    {
        WidgetTree t;
        auto* a = new GxTaskUITextWindowFx(t.seq);
        a->SetText(L"村人");
        const auto bytes = SaveRecord(form, [&](GxContentWriterBase* w) { return a->Save(w); });
        auto* b = new GxTaskUITextWindowFx(t.seq);
        b->SetText(L"ゾルデ・ヴァイス");
        auto reader = OpenRecord(form, bytes);
        ASSERT_TRUE(b->Load(reader.get()));
        EXPECT_EQ(b->GetText(), L"村人");
        EXPECT_EQ(b->GetTextLength(), 2);
        EXPECT_EQ(b->GetRemainCharCount(), 0);
        EXPECT_EQ(b->GetShowCharCount(), a->GetShowCharCount());
        EXPECT_GT(a->GetShowCharCount(), 0);
    }
}
