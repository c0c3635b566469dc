// The sample game's rows for the screens every run passes through: the system dialogs and the help tip
// (owned by the system sequence), and the save and load screens. Module IDs from 32, layout rows from 64,
// in the adventure's files; their pictures are made from these rows like every module's.
#include "SamplePng.h"
#include "SampleTable.h"

#include <algorithm>
#include <string>

namespace
{

SampleRow Module(int id, int type, const std::string& name, const std::string& set, const std::string& image, int w,
                 int h, int clientLeft = 0, int clientTop = 0)
{
    return {{"ID", std::to_string(id)},
            {"UIType", std::to_string(type)},
            {"ModuleName", name},
            {"ImageSetName", set},
            {"ImageName", image},
            {"Width", std::to_string(w)},
            {"Height", std::to_string(h)},
            {"ClientLeft", std::to_string(clientLeft)},
            {"ClientTop", std::to_string(clientTop)},
            {"ClientWidth", std::to_string(w - 2 * clientLeft)},
            {"ClientHeight", std::to_string(h - 2 * clientTop)},
            {"ShapeType", "0"},
            {"FontIndex", "0"}};
}

SampleRow Layout(int id, const std::string& parent, const std::string& module, const std::string& name, int index,
                 int left, int top, bool visible = true, int group = 0)
{
    return {{"ID", std::to_string(id)},
            {"ParentName", parent},
            {"ParentIndex", "0"},
            {"ModuleName", module},
            {"TaskName", name},
            {"TaskIndex", std::to_string(index)},
            {"Create", "1"},
            {"Visible", visible ? "1" : "0"},
            {"Enabled", "1"},
            {"Left", std::to_string(left)},
            {"Top", std::to_string(top)},
            {"OrderZ", "0.5"},
            {"GroupID", std::to_string(group)},
            {"AutoHelpTime", "0"}};
}

SampleTable* Find(std::vector<SampleTable>& tables, const std::string& file)
{
    for (SampleTable& table : tables)
        if (table.file == file)
            return &table;
    return nullptr;
}

} // namespace

void AddSystemUIRows(std::vector<SampleTable>& tables)
{
    SampleTable* modules = Find(tables, "data/db_uimodule.txt");
    SampleTable* layout = Find(tables, "data/db_uilayout.txt");
    if (!modules || !layout)
        return;
    int id = 32;
    // Text panels (type 17) carry the dialogs' messages; buttons are type 18, the page buttons radio
    // buttons (type 20), the help tip type 45.
    modules->rows.push_back(Module(id++, 17, "dlg_shutdown", "ui_common", "dlg", 480, 200, 24, 24));
    modules->rows.push_back(Module(id++, 17, "dlg_user", "ui_common", "dlg", 480, 200, 24, 24));
    modules->rows.push_back(Module(id++, 18, "btn_yes", "ui_common", "btn_yes", 120, 40));
    modules->rows.push_back(Module(id++, 18, "btn_no", "ui_common", "btn_no", 120, 40));
    modules->rows.push_back(Module(id++, 18, "btn_ok", "ui_common", "btn_ok", 120, 40));
    modules->rows.push_back(Module(id++, 18, "btn_cancel", "ui_common", "btn_cancel", 120, 40));
    modules->rows.push_back(Module(id++, 45, "tip_help", "ui_common", "tip", 240, 40, 8, 8));
    modules->rows.push_back(Module(id++, 20, "btn_page", "ui_saveload", "page", 40, 40));
    modules->rows.push_back(Module(id++, 18, "btn_fileplate", "ui_saveload", "plate", 460, 120));
    modules->rows.push_back(Module(id++, 15, "tip_new", "ui_saveload", "new", 48, 24));
    modules->rows.push_back(Module(id++, 18, "btn_back", "ui_saveload", "back", 120, 40));

    int row = 64;
    for (const std::string screen : {"$UI:SeqSave", "$UI:SeqLoad"})
    {
        for (int k = 1; k <= 10; ++k)
        {
            const std::string name = (k < 10 ? "b0" : "b") + std::to_string(k);
            layout->rows.push_back(Layout(row++, screen, "btn_page", name, 0, 52 + 48 * (k - 1), 80, true, 1));
        }
        // Plate i: column i / 4, row i % 4, framing the thumbnail at (52 + 484 c, 150 + 131 r).
        for (int i = 0; i < 8; ++i)
            layout->rows.push_back(
                Layout(row++, screen, "btn_fileplate", "btn_fileplate", i, 40 + 484 * (i / 4), 140 + 131 * (i % 4)));
        layout->rows.push_back(Layout(row++, screen, "tip_new", "tip_new", 0, 446, 151, false));
        layout->rows.push_back(Layout(row++, screen, "btn_back", "btn_back", 0, 880, 700));
    }
}

// The front end's full-screen pictures: the title, save and load backgrounds and the picture shown for
// any missing one, each a plain gradient so a capture shows which is up.
std::vector<std::pair<std::string, std::string>> FrontPictures()
{
    auto gradient = [](uint32_t top, uint32_t bottom) {
        const uint32_t w = 1024, h = 768;
        std::vector<uint32_t> argb(static_cast<size_t>(w) * h);
        for (uint32_t y = 0; y < h; ++y)
        {
            uint32_t c = 0xFF000000;
            for (int shift = 0; shift < 24; shift += 8)
            {
                const uint32_t a = (top >> shift) & 0xFF, b = (bottom >> shift) & 0xFF;
                c |= ((a * (h - 1 - y) + b * y) / (h - 1)) << shift;
            }
            std::fill(argb.begin() + static_cast<size_t>(y) * w, argb.begin() + static_cast<size_t>(y + 1) * w, c);
        }
        return EncodePng(w, h, argb);
    };
    return {{"cg/ui/bg_title.png", gradient(0x203060, 0x602040)},
            {"cg/ui/bg_save.png", gradient(0x204020, 0x103010)},
            {"cg/ui/bg_load.png", gradient(0x202040, 0x101030)},
            {"cg/error.png", gradient(0xFF00FF, 0x400040)}};
}
