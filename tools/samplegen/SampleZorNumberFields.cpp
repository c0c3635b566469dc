#include "SampleZorNumberFields.h"

#include <map>

namespace
{

constexpr int kFirstModule = 176;
constexpr int kFirstLayout = 314;

// The fields' sizes: the resources' "%4d" in 12-pixel cells or "%6d" in 8-pixel ones, the leadership's
// "%3d/" in 12-pixel cells over its maximum's "%3d" 10 pixels further right, and the facility counts'
// "LV%d" (one digit: a facility is built three times at most) in 14-pixel cells, all 16 high.
struct Field
{
    const char* module;
    int w, h;
};
const Field s_Fields[] = {{"fld_resource", 48, 16}, {"fld_leadership", 48, 32}, {"fld_level", 42, 16}};

// Where the bar draws its numbers on the screen: bone, magic and gold at y 630 from x 794, 847 and 900,
// the leadership at (952, 616), the facility counts at y 685 from x 797, 850, 903 and 956.
struct Place
{
    const char* module;
    int left, top;
};
const Place s_Places[] = {{"fld_resource", 794, 630},   {"fld_resource", 847, 630}, {"fld_resource", 900, 630},
                          {"fld_leadership", 952, 616}, {"fld_level", 797, 685},    {"fld_level", 850, 685},
                          {"fld_level", 903, 685},      {"fld_level", 956, 685}};

// The bars' layout groups and their panels' places on the screen.
struct Bar
{
    const char* parent;
    int dx, dy;
};
const Bar s_Bars[] = {{"$ZORCOMBOTTOM:SeqZorCommand", 715, 507},
                      {"$ZORSTRBOTTOM:SeqZorStrategy", 715, 507},
                      {"$ZORBOTTOM1:SeqZorMain", 0, 571},
                      {"$ZORINVBOTTOM:SeqZorInvMain", 0, 507}};

} // namespace

bool IsZorNumberField(const std::string& module)
{
    for (const Field& f : s_Fields)
        if (module == f.module)
            return true;
    return false;
}

void AddZorNumberFieldRows(SampleTable& modules, SampleTable& layouts)
{
    int m = kFirstModule;
    for (const Field& f : s_Fields)
        modules.rows.push_back(UIModuleRow(m++, "15", f.module, "ui_zormain", f.module, f.w, f.h));
    int l = kFirstLayout;
    for (const Bar& bar : s_Bars)
    {
        std::map<std::string, int> indexes; // a field shown twice on one bar takes the next index
        for (const Place& p : s_Places)
        {
            // Just above the bar (depth 11000), under the numbers; they take no clicks.
            SampleRow row = UILayoutRow(l++, bar.parent, p.module, p.module, indexes[p.module]++, p.left - bar.dx,
                                        p.top - bar.dy, "11001", 0, "");
            for (auto& [column, value] : row)
                if (column == "Enabled")
                    value = "0";
            layouts.rows.push_back(row);
        }
    }
}
