// The backlog screen's rows. The screen pools no image set of its own, so its buttons draw from the
// adventure set the start-up pools keep ("ui_avgmain"); the log lines are text windows without a picture.
#include "SampleTablesLog.h"

#include <string>

namespace
{

constexpr int kFirstModule = 121;
constexpr int kFirstLayout = 243;
constexpr int kLines = 5; // the lines the screen shows at once
constexpr int kLineTop = 60;
constexpr int kLineStep = 120;

SampleTable* Find(std::vector<SampleTable>& tables, const std::string& file)
{
    for (SampleTable& table : tables)
        if (table.file == file)
            return &table;
    return nullptr;
}

SampleRow Module(int id, const char* type, const char* name, const char* set, const char* image, int w, int h,
                 int client)
{
    return UIModuleRow(id, type, name, set, image, w, h, client);
}

SampleRow Layout(int id, const char* module, const char* name, int index, int left, int top, const char* help)
{
    return UILayoutRow(id, "$UI:SeqAvgLog", module, name, index, left, top, "0.5", 0, help);
}

} // namespace

void AddBacklogRows(std::vector<SampleTable>& tables)
{
    SampleTable* modules = Find(tables, "data/db_uimodule.txt");
    SampleTable* layout = Find(tables, "data/db_uilayout.txt");
    if (!modules || !layout)
        return;
    int id = kFirstModule;
    // The log lines read in the message window's own size (font 2, 23 pixels): two lines to an entry.
    modules->rows.push_back(UIModuleRow(id++, "10", "tip_logwindow", "", "", 800, 112, 8, 2));
    modules->rows.push_back(Module(id++, "18", "btn_voiceplay", "ui_avgmain", "btn_voiceplay", 48, 32, 0));
    modules->rows.push_back(Module(id++, "18", "btn_logback", "ui_avgmain", "btn_logback", 120, 40, 0));

    int row = kFirstLayout;
    for (int i = 0; i < kLines; ++i)
    {
        const int top = kLineTop + kLineStep * i;
        layout->rows.push_back(Layout(row++, "tip_logwindow", "tip_logwindow", i, 144, top, ""));
        layout->rows.push_back(Layout(row++, "btn_voiceplay", "btn_voiceplay", i, 72, top + 8, "この台詞の声をもう一度聞く"));
    }
    layout->rows.push_back(Layout(row++, "btn_logback", "btn_back", 0, 880, 700, "物語に戻る"));
}
