#include "SampleButtonLook.h"

#include "SampleLabel.h"

#include "core/GxString.h"

#include <algorithm>
#include <cstring>

namespace
{

// Short names where the help text is too long for the button, or where the row has none.
const char* const s_Labels[][2] = {
    // The message window's buttons.
    {"btn_save", "セーブ"},
    {"btn_load", "ロード"},
    {"btn_rend", "回想終了"},
    {"btn_auto", "オート"},
    {"btn_skip", "スキップ"},
    {"btn_config", "設定"},
    {"btn_qsave", "Qセーブ"},
    {"btn_qload", "Qロード"},
    {"btn_log", "ログ"},
    {"btn_voice", "ボイス"},
    {"btn_hide", "隠す"},
    // The system dialogs.
    {"btn_yes", "はい"},
    {"btn_no", "いいえ"},
    {"btn_ok", "OK"},
    {"btn_cancel", "キャンセル"},
    {"tip_new", "NEW"},
    // The configuration screen.
    {"btn_tabconf_system", "システム"},
    {"btn_tabconf_sound", "サウンド"},
    {"btn_tabconf_voice", "ボイス"},
    {"btn_tabconf_game", "ゲーム"},
    {"btn_conf_title", "タイトルへ"},
    {"btn_conf_init", "初期設定に戻す"},
    {"btn_conf_exit", "ゲーム終了"},
    {"btn_conf_back", "戻る"},
    {"btn_sw_window", "窓"},
    {"btn_sw_full", "全画面"},
    {"btn_sw_on", "オン"},
    {"btn_sw_off", "オフ"},
    {"btn_sw_voice", "声まで"},
    {"btn_sw_text", "文字まで"},
    // The save and load screens.
    {"btn_back", "戻る"},
    // The backlog.
    {"btn_voiceplay", "声"},
    {"btn_logback", "戻る"},
    // The strategy screens.
    {"btn_zorrun", "実行"},
    {"btn_zorconfig", "設定"},
    {"btn_zorsave", "セーブ"},
    {"btn_zorload", "ロード"},
    {"btn_stopthewar", "戻る"},
    {"btn_openthewar", "開戦"},
    {"btn_cancelthewar", "中止"},
    {"btn_autoform", "自動編成"},
    {"btn_removeall", "全員外す"},
    {"btn_gamestart", "開始"},
    {"btn_takeover_time", "時間"},
    {"btn_takeover_struct", "施設"},
    {"btn_takeover_gold", "資金"},
    {"btn_takeover_lerdership", "統率"},
    {"btn_unitlist", "編成"},
    {"btn_remove", "×"},
    {"btn_zorwin_build", "建設"},
    {"btn_zorwin_run", "決定"},
    {"btn_zorwin_cancel", "キャンセル"},
    {"btn_zorwin_trap", "罠"},
    {"btn_zorwin_dispose", "解雇"},
    {"btn_zorwin_pick", "配置"},
    {"btn_zorwin_delete", "×"},
    {"btn_zorpause", "停止"},
    {"btn_zorplay", "通常"},
    {"btn_zorplay2x", "倍速"},
    {"btn_lookthrone", "玉座"},
    {"btn_zoom_in", "＋"},
    {"btn_zoom_out", "－"},
};

// Buttons a screen draws a face or a picture into.
const char* const s_BottomLabels[] = {"btn_unitlist", "btn_zorwin_pick"};

// The fill of each look: off, on (pressed or chosen), over (the mouse on it), disabled.
constexpr uint32_t kFills[4] = {0xFF305080u, 0xFF6090D0u, 0xFF4070B0u, 0xFF505050u};
const wchar_t* const kSuffixes[4] = {L"_off.png", L"_on.png", L"_over.png", L"_na.png"};

uint32_t Scale(uint32_t argb, uint32_t num, uint32_t den)
{
    uint32_t out = argb & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= std::min<uint32_t>(255, ((argb >> shift) & 0xFF) * num / den) << shift;
    return out;
}

} // namespace

std::wstring SampleButtonLook::Label(const std::string& module, const std::string& help)
{
    for (const auto& [name, label] : s_Labels)
        if (module == name)
            return GxString::FromUtf8(label);
    // The save and load screens' page buttons show their page number.
    if (module.rfind("btn_page", 0) == 0 && module.size() > 8)
        return GxString::FromUtf8(module.substr(8));
    return GxString::FromUtf8(help);
}

bool SampleButtonLook::LabelAtBottom(const std::string& module)
{
    return std::any_of(std::begin(s_BottomLabels), std::end(s_BottomLabels),
                       [&](const char* name) { return module == name; });
}

GisPicture SampleButtonLook::Plate(const std::wstring& name, uint32_t w, uint32_t h, uint32_t fill, uint32_t margin)
{
    GisPicture pic;
    pic.m_FileName = name;
    pic.m_Width = w;
    pic.m_Height = h;
    pic.m_Pixels.assign((size_t)w * h, 0u);
    const uint32_t inner = h > 2 * margin ? h - 2 * margin : 1;
    for (uint32_t y = margin; y + margin < h; ++y)
        for (uint32_t x = margin; x + margin < w; ++x)
        {
            const bool edge = x == margin || y == margin || x + margin + 1 == w || y + margin + 1 == h;
            // From 5/4 of the fill at the top to 3/4 at the bottom.
            const uint32_t shade = Scale(fill, 5 * inner - 2 * (y - margin), 4 * inner);
            pic.m_Pixels[(size_t)y * w + x] = edge ? 0xFFFFFFFFu : shade;
        }
    return pic;
}

void SampleButtonLook::Append(std::vector<GisPicture>& pictures, const std::wstring& image, uint32_t w, uint32_t h,
                              const std::wstring& label, bool atBottom)
{
    for (int i = 0; i < 4; ++i)
    {
        GisPicture pic = Plate(image + kSuffixes[i], w, h, kFills[i]);
        if (!label.empty())
        {
            const uint32_t colour = i == 3 ? SampleLabel::kDisabledColour : SampleLabel::kColour;
            const int32_t size = std::min<int32_t>(24, (int32_t)h - 6);
            const int32_t band = atBottom ? std::min<int32_t>(18, (int32_t)h / 3) : (int32_t)h - 4;
            SampleLabel::DrawCentred(pic.m_Pixels, w, h, label, colour, atBottom ? band : size, 2,
                                     (int32_t)h - 2 - band, (int32_t)w - 4, band);
        }
        pictures.push_back(std::move(pic));
    }
}
