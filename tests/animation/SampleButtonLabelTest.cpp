// The sample game's buttons say what they do: every layout row with a help text places a button, tab or
// toggle whose every look (off, on, over, disabled) carries its label, a clear share of its pixels in the
// label's colour (cream on the enabled looks, grey on the disabled one), and shows its help after a hover
// delay. The pictures are read back from the generated image sets through the game's own set reader.
#include "AnimationTestSupport.h"
#include "support/SampleGameCache.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

using namespace kvanim;

namespace
{

using Row = std::map<std::string, std::string>;

// The rows of a generated table file: the header line ("#" and the column names) names each cell.
std::vector<Row> ReadTable(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<Row> rows;
    std::vector<std::string> columns;
    std::string line;
    auto cells = [](std::string text)
    {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        std::vector<std::string> out(1);
        for (char c : text)
        {
            if (c == '\t')
                out.emplace_back();
            else
                out.back().push_back(c);
        }
        return out;
    };
    while (std::getline(in, line))
    {
        if (columns.empty())
        {
            const size_t hash = line.find('#');
            columns = cells(hash == std::string::npos ? line : line.substr(hash + 1));
            continue;
        }
        const std::vector<std::string> values = cells(line);
        if (values.size() < 2)
            continue;
        Row row;
        for (size_t i = 0; i < columns.size() && i < values.size(); ++i)
            row[columns[i]] = values[i];
        rows.push_back(row);
    }
    return rows;
}

constexpr uint32_t kLabelColour = 0xFFFFF4D8u;
constexpr uint32_t kDisabledLabelColour = 0xFF9C9C9Cu;
// The least share of a look's pixels in the label's colour: a one-character label on a 20 x 20 button
// fills about a tenth, a long one on a wide bar a few hundredths.
constexpr double kLeastShare = 0.01;

} // namespace

using SampleButtonLabelTest = KvAnimFixture;

TEST_F(SampleButtonLabelTest, EveryButtonWithAHelpTextCarriesItsLabelInEveryLook)
{
    ASSERT_TRUE(kvtest::CopySampleGame(m_Dir + "/game"));
    std::map<std::string, Row> modules;
    for (const char* file : {"game/data/db_uimodule.txt", "game/data/db_uimodule_zor.txt"})
        for (const Row& row : ReadTable(Path(file)))
            modules[row.at("ModuleName")] = row;
    ASSERT_GT(modules.size(), 50u);

    // The page pictures of a set, decoded once.
    std::map<std::string, std::vector<PfImage>> pages;
    auto setOf = [&](const std::string& name) -> GxNcCrammedImageSet*
    {
        const std::string path = Path("game/uigis/" + name + ".gis");
        GxNcCrammedImageSet* set =
            GxNcCrammedImageSetFactory::GetInstance().GetCrammedImageSet(GxString::FromUtf8(path), false);
        if (set && !pages.count(name))
        {
            std::vector<PfImage>& decoded = pages[name];
            decoded.resize(set->m_CrammedImages.size());
            for (size_t i = 0; i < decoded.size(); ++i)
            {
                std::ifstream in(Path("game/uigis/" + GxString::ToUtf8(set->m_CrammedImages[i].m_FileName)),
                                 std::ios::binary);
                const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
                std::string error;
                EXPECT_TRUE(PfImageDecoder::Decode(bytes.data(), bytes.size(), decoded[i], error)) << error;
            }
        }
        return set;
    };
    // The share of an origin image's pixels in the colour.
    auto share = [&](const std::string& setName, const std::wstring& image, uint32_t colour) -> double
    {
        GxNcCrammedImageSet* set = setOf(setName);
        const GxNcOriginImage* origin = set ? set->FindOriginImage(image) : nullptr;
        if (!origin || origin->m_ImageWidth * origin->m_ImageHeight == 0)
            return -1.0;
        size_t n = 0;
        for (const GxNcPattern& p : origin->m_Patterns)
            for (int32_t y = 0; y < p.m_CrammedHeight; ++y)
                for (int32_t x = 0; x < p.m_CrammedWidth; ++x)
                    n += pages[setName][p.m_CrammedImageIndex].GetPixel(p.m_CrammedLeft + x, p.m_CrammedTop + y) ==
                         colour;
        return static_cast<double>(n) / (origin->m_ImageWidth * origin->m_ImageHeight);
    };

    size_t checked = 0;
    for (const char* file : {"game/data/db_uilayout.txt", "game/data/db_uilayout_zor.txt"})
        for (const Row& row : ReadTable(Path(file)))
        {
            if (row.count("Descript") == 0 || row.at("Descript").empty())
                continue;
            const std::string where = row.at("TaskName") + " (" + row.at("ModuleName") + ")";
            EXPECT_GT(std::atoi(row.at("AutoHelpTime").c_str()), 0) << where << ": its help never shows";
            ASSERT_TRUE(modules.count(row.at("ModuleName"))) << where;
            const Row& module = modules[row.at("ModuleName")];
            const int type = std::atoi(module.at("UIType").c_str());
            // List boxes and scroll bars describe a list or a scroll: their text is the list's own.
            if (type < 18 || type > 21)
                continue;
            ++checked;
            const std::wstring image = GxString::FromUtf8(module.at("ImageName"));
            for (const wchar_t* look : {L"_off.png", L"_on.png", L"_over.png", L"_na.png"})
            {
                const uint32_t colour = std::wstring(look) == L"_na.png" ? kDisabledLabelColour : kLabelColour;
                EXPECT_GE(share(module.at("ImageSetName"), image + look, colour), kLeastShare)
                    << where << " " << GxString::ToUtf8(look);
            }
        }
    // The title, the message window, the dialogs' screens, the configuration, the extras and the strategy
    // screens' buttons.
    EXPECT_GT(checked, 100u);
}

namespace
{

// A number a strategy screen draws itself: the screen (sequence name, or the layout group of a window
// when the screen has several windows at one place), the number, and the box it takes on the screen (its cells: FONT16NUM 12 x 16, FONT16ANSI 14 x 16, FONT24NUM 24 x 36).
struct DrawnNumber
{
    const char* screen;
    const char* what;
    int x, y, w, h;
};

const DrawnNumber kDrawnNumbers[] = {
    // The status bar of every strategy screen, at the same screen places on each.
    {"SeqZorCommand", "weeks left", 27, 37, 48, 36},
    {"SeqZorStrategy", "weeks left", 27, 37, 48, 36},
    {"SeqZorMain", "invaders to come", 16, 40, 36, 16},
    // The queue of the next parties starts at (105, 14) however few it holds: the first party's size.
    {"SeqZorMain", "first next party's size", 145, 54, 12, 16},
    // The first unit card's leadership in the defence screen's unit list.
    {"SeqZorMain", "first unit card's leadership", 262, 660, 12, 16},
    {"SeqZorInvMain", "first unit card's leadership", 84, 660, 12, 16},
    {"SeqZorInvMain", "seconds left", 948, 37, 48, 36},
    {"SeqZorInvMain", "formation 0 leadership", 88, 264, 84, 16},
    {"SeqZorInvMain", "formation 1 leadership", 128, 492, 84, 16},
    {"SeqZorTakeOver", "gold carried over", 723, 28, 100, 20},
    {"SeqZorTakeOver", "chosen units' leadership", 105, 706, 80, 20},
    // The first row (y 40, 17 high) of the defence windows' lists, at (8, 40) of windows at x 304: the
    // columns after the name, as wide as the screen makes them.
    {"$ZORSTRUCT:SeqZorMain", "facility capacity", 440, 40, 32, 17},
    {"$ZORSTRUCT:SeqZorMain", "facilities built", 472, 40, 32, 17},
    {"$ZORSUMMON:SeqZorMain", "unit class", 436, 40, 38, 17},
    {"$ZORSUMMON:SeqZorMain", "unit leadership", 474, 40, 30, 17},
    {"$ZORTRAP:SeqZorMain", "trap range", 436, 40, 36, 17},
    {"$ZORTRAP:SeqZorMain", "trap attack", 472, 40, 32, 17},
    // The room window's six effect levels, two columns of three from (294, 22) of the window; the command
    // list's first row (from (648, 104), 24 high): the names, and 232 pixels on the costs.
    {"$ZORROOM:SeqZorMain", "room effect levels", 958, 22, 52, 48},
    {"$ZORCOMMAND:SeqZorCommand", "command names", 648, 104, 232, 24},
    {"$ZORCOMMAND:SeqZorCommand", "command costs", 880, 104, 96, 24},
};

// The cost columns, the same in the three windows.
const char* const kCostWindows[] = {"$ZORSTRUCT:SeqZorMain", "$ZORSUMMON:SeqZorMain", "$ZORTRAP:SeqZorMain"};
const DrawnNumber kCosts[] = {
    {"", "bone cost", 504, 40, 40, 17}, {"", "magic cost", 544, 40, 40, 17}, {"", "gold cost", 584, 40, 55, 17}};

const char* const kStatusBarScreens[] = {"SeqZorCommand", "SeqZorStrategy", "SeqZorMain", "SeqZorInvMain"};
const DrawnNumber kStatusBar[] = {
    {"", "bone", 794, 630, 48, 16},          {"", "magic", 847, 630, 48, 16},
    {"", "gold", 900, 630, 48, 16},          {"", "leadership", 952, 616, 48, 32},
    {"", "facility 2 count", 797, 685, 42, 16}, {"", "facility 3 count", 850, 685, 42, 16},
    {"", "facility 4 count", 903, 685, 42, 16}, {"", "facility 5 count", 956, 685, 42, 16},
};

// Where the screens put the panels their layout groups stand on; a "$UI:" group is the screen itself.
const std::map<std::string, std::pair<int, int>> kPanels = {
    {"$ZORCOMBOTTOM:SeqZorCommand", {715, 507}},
    {"$ZORSTRBOTTOM:SeqZorStrategy", {715, 507}},
    {"$ZORBOTTOM1:SeqZorMain", {0, 571}},
    {"$ZORINVBOTTOM:SeqZorInvMain", {0, 507}},
    {"$ZORSTRUCT:SeqZorMain", {304, 0}},
    {"$ZORSUMMON:SeqZorMain", {304, 0}},
    {"$ZORTRAP:SeqZorMain", {304, 0}},
    {"$ZORROOM:SeqZorMain", {664, 0}},
    {"$ZORCOMMAND:SeqZorCommand", {664, 0}},
};

// The gap between two boxes: 0 when they touch or overlap.
int Gap(int ax, int ay, int aw, int ah, int bx, int by, int bw, int bh)
{
    const int dx = std::max({0, bx - (ax + aw), ax - (bx + bw)});
    const int dy = std::max({0, by - (ay + ah), ay - (by + bh)});
    return std::max(dx, dy);
}

} // namespace

// Every number a strategy screen draws by itself (resources, leadership, facility counts, weeks, seconds,
// invaders, formation leadership, the take-over sums) has a caption of its own screen's layout beside it:
// a caption panel ("cap_" module, UI type 15) no more than 20 pixels from the number's box and not over it.
TEST_F(KvAnimFixture, EveryNumberAStrategyScreenDrawsHasACaptionBesideIt)
{
    ASSERT_TRUE(kvtest::CopySampleGame(m_Dir + "/game"));
    std::map<std::string, Row> modules;
    for (const Row& row : ReadTable(Path("game/data/db_uimodule_zor.txt")))
        modules[row.at("ModuleName")] = row;
    struct Box
    {
        std::string parent, screen, module;
        int x, y, w, h;
    };
    std::vector<Box> captions;
    for (const Row& row : ReadTable(Path("game/data/db_uilayout_zor.txt")))
    {
        const std::string& module = row.at("ModuleName");
        if (module.rfind("cap_", 0) != 0)
            continue;
        ASSERT_TRUE(modules.count(module)) << module;
        EXPECT_EQ(modules[module].at("UIType"), "15") << module;
        const std::string& parent = row.at("ParentName");
        const size_t colon = parent.find(':');
        ASSERT_NE(colon, std::string::npos) << parent;
        const auto panel = kPanels.find(parent);
        ASSERT_TRUE(panel != kPanels.end() || parent.rfind("$UI:", 0) == 0) << parent << ": no known place";
        const int px = panel == kPanels.end() ? 0 : panel->second.first;
        const int py = panel == kPanels.end() ? 0 : panel->second.second;
        captions.push_back({parent, parent.substr(colon + 1), module, px + std::atoi(row.at("Left").c_str()),
                            py + std::atoi(row.at("Top").c_str()), std::atoi(modules[module].at("Width").c_str()),
                            std::atoi(modules[module].at("Height").c_str())});
    }
    std::vector<DrawnNumber> numbers(std::begin(kDrawnNumbers), std::end(kDrawnNumbers));
    for (const char* screen : kStatusBarScreens)
        for (DrawnNumber n : kStatusBar)
            numbers.push_back((n.screen = screen, n));
    for (const char* window : kCostWindows)
        for (DrawnNumber n : kCosts)
            numbers.push_back((n.screen = window, n));
    for (const DrawnNumber& n : numbers)
    {
        const Box* beside = nullptr;
        for (const Box& c : captions)
            if ((std::string(n.screen).find(':') == std::string::npos ? c.screen : c.parent) == n.screen && Gap(c.x, c.y, c.w, c.h, n.x, n.y, n.w, n.h) <= 20 &&
                (!beside || Gap(c.x, c.y, c.w, c.h, n.x, n.y, n.w, n.h) <
                                Gap(beside->x, beside->y, beside->w, beside->h, n.x, n.y, n.w, n.h)))
                beside = &c;
        ASSERT_NE(beside, nullptr) << n.screen << ": the " << n.what << " has no caption";
        // A caption over its number would hide it: they may touch, never cross.
        const bool crosses = beside->x < n.x + n.w && n.x < beside->x + beside->w && beside->y < n.y + n.h &&
                             n.y < beside->y + beside->h;
        EXPECT_FALSE(crosses) << n.screen << ": " << beside->module << " covers the " << n.what;
    }
}

// The take-over's facility choice stays grey in the sample (no round opens it), and a disabled button takes
// no hover, so its help tip never shows: a caption stands just under the button instead, clear of the
// button itself and of the unit grid below (from y 115), where the player reads it without a hover.
TEST_F(KvAnimFixture, TheGreyTakeOverChoiceSaysWhyUnderIt)
{
    ASSERT_TRUE(kvtest::CopySampleGame(m_Dir + "/game"));
    std::map<std::string, Row> modules;
    for (const Row& row : ReadTable(Path("game/data/db_uimodule_zor.txt")))
        modules[row.at("ModuleName")] = row;
    const std::vector<Row> layouts = ReadTable(Path("game/data/db_uilayout_zor.txt"));
    const auto button = std::find_if(layouts.begin(), layouts.end(),
                                     [](const Row& r) { return r.at("TaskName") == "btn_takeover_struct"; });
    ASSERT_NE(button, layouts.end());
    ASSERT_TRUE(modules.count("btn_takeover_struct"));
    const int left = std::atoi(button->at("Left").c_str());
    const int bottom =
        std::atoi(button->at("Top").c_str()) + std::atoi(modules["btn_takeover_struct"].at("Height").c_str());
    bool found = false;
    for (const Row& row : layouts)
    {
        const std::string& module = row.at("ModuleName");
        if (row.at("ParentName") != "$UI:SeqZorTakeOver" || module.rfind("cap_", 0) != 0)
            continue;
        const int x = std::atoi(row.at("Left").c_str());
        const int y = std::atoi(row.at("Top").c_str());
        const int h = std::atoi(modules[module].at("Height").c_str());
        if (x < left - 8 || x > left + 8 || y < bottom || y > bottom + 8)
            continue;
        found = true;
        EXPECT_EQ(row.at("Visible"), "1") << module;
        EXPECT_LE(y + h, 115) << module << " reaches into the unit grid";
        EXPECT_GT(std::atoi(modules[module].at("Width").c_str()), 100) << module << ": too short to say why";
    }
    EXPECT_TRUE(found) << "nothing under the grey facility choice says why it is grey";
}
