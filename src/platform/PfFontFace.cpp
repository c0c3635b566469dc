#include "platform/PfFontFace.h"

#include "platform/PfFontconfigStart.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <map>
#include <utility>

namespace
{

struct FaceFile
{
    std::string Path;
    int32_t Index = 0;
    std::string Family;
};

FT_Library s_Library = nullptr;
bool s_ExitHookSet = false;
std::map<std::pair<std::wstring, int32_t>, std::unique_ptr<PfFontFace>> s_Faces;
std::map<std::wstring, FaceFile> s_FaceFiles;

std::string ToUtf8(const std::wstring& s)
{
    std::string out;
    for (wchar_t wc : s)
    {
        uint32_t c = (uint32_t)wc;
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c < 0x80)
            out += (char)c;
        else if (c < 0x800)
        {
            out += (char)(0xC0 | (c >> 6));
            out += (char)(0x80 | (c & 0x3F));
        }
        else if (c < 0x10000)
        {
            out += (char)(0xE0 | (c >> 12));
            out += (char)(0x80 | ((c >> 6) & 0x3F));
            out += (char)(0x80 | (c & 0x3F));
        }
        else
        {
            out += (char)(0xF0 | (c >> 18));
            out += (char)(0x80 | ((c >> 12) & 0x3F));
            out += (char)(0x80 | ((c >> 6) & 0x3F));
            out += (char)(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool SameFamily(const char* a, const char* b)
{
    return strcasecmp(a, b) == 0;
}

// Windows Japanese faces and the installed faces that stand in for them, best first.
std::vector<std::string> Candidates(const std::wstring& faceName)
{
    static const wchar_t* const s_Gothic[] = {L"ＭＳ ゴシック", L"MS Gothic", L"ＭＳ Ｐゴシック", L"MS PGothic",
                                              L"MS UI Gothic", L"ＭＳ ＵＩ Gothic", L"メイリオ", L"Meiryo"};
    static const wchar_t* const s_Mincho[] = {L"ＭＳ 明朝", L"MS Mincho", L"ＭＳ Ｐ明朝", L"MS PMincho"};
    std::vector<std::string> out;
    for (const wchar_t* n : s_Gothic)
        if (faceName == n)
            out = {"IPAGothic", "Noto Sans CJK JP", "Noto Sans Mono CJK JP"};
    for (const wchar_t* n : s_Mincho)
        if (faceName == n)
            out = {"IPAMincho", "Noto Serif CJK JP", "IPAGothic", "Noto Sans CJK JP"};
    if (!faceName.empty())
        out.insert(out.begin(), ToUtf8(faceName));
    out.push_back("IPAGothic");
    out.push_back("Noto Sans CJK JP");
    return out;
}

// Asks fontconfig for a family; exact is true when the font it gives carries that family name.
bool Match(const std::string& family, FaceFile& out, bool& exact)
{
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return false;
    FcPatternAddString(pattern, FC_FAMILY, (const FcChar8*)family.c_str());
    FcPatternAddString(pattern, FC_LANG, (const FcChar8*)"ja");
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!font)
        return false;
    bool found = false;
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch && file)
    {
        found = true;
        out.Path = (const char*)file;
        int index = 0;
        if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch)
            out.Index = index;
        exact = false;
        FcChar8* name = nullptr;
        for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        {
            if (i == 0)
                out.Family = (const char*)name;
            if (SameFamily((const char*)name, family.c_str()))
            {
                out.Family = (const char*)name;
                exact = true;
            }
        }
    }
    FcPatternDestroy(font);
    return found;
}

const FaceFile* FindFaceFile(const std::wstring& faceName)
{
    auto it = s_FaceFiles.find(faceName);
    if (it != s_FaceFiles.end())
        return it->second.Path.empty() ? nullptr : &it->second;
    FaceFile chosen;
    // The configuration may still be loading on the thread start-up began it on.
    if (PfFontconfigStart::Wait())
    {
        FaceFile fallback;
        for (const std::string& family : Candidates(faceName))
        {
            FaceFile f;
            bool exact = false;
            if (!Match(family, f, exact))
                continue;
            if (exact)
            {
                chosen = f;
                break;
            }
            if (fallback.Path.empty())
                fallback = f;
        }
        if (chosen.Path.empty())
            chosen = fallback;
    }
    FaceFile& kept = s_FaceFiles[faceName];
    kept = chosen;
    return kept.Path.empty() ? nullptr : &kept;
}

} // namespace

PfFontFace::~PfFontFace()
{
    if (m_Face)
        FT_Done_Face((FT_Face)m_Face);
}

PfFontFace* PfFontFace::Get(const std::wstring& faceName, int32_t cellHeight)
{
    if (cellHeight <= 0)
        return nullptr;
    const auto key = std::make_pair(faceName, cellHeight);
    auto it = s_Faces.find(key);
    if (it != s_Faces.end())
        return it->second.get();
    if (!s_Library && FT_Init_FreeType(&s_Library) != 0)
    {
        s_Library = nullptr;
        return nullptr;
    }
    if (!s_ExitHookSet)
    {
        // FreeType and fontconfig keep their tables until told to let go.
        std::atexit(ClearCache);
        s_ExitHookSet = true;
    }
    const FaceFile* file = FindFaceFile(faceName);
    if (!file)
        return nullptr;
    std::unique_ptr<PfFontFace> face(new PfFontFace());
    if (!face->Open(file->Path, file->Index, cellHeight))
        return nullptr;
    face->m_FamilyName = file->Family;
    PfFontFace* raw = face.get();
    s_Faces[key] = std::move(face);
    return raw;
}

void PfFontFace::ClearCache()
{
    s_Faces.clear();
    s_FaceFiles.clear();
    if (s_Library)
    {
        FT_Done_FreeType(s_Library);
        s_Library = nullptr;
    }
    PfFontconfigStart::Shutdown();
}

size_t PfFontFace::GetCacheSize()
{
    return s_Faces.size();
}

bool PfFontFace::Open(const std::string& path, int32_t index, int32_t cellHeight)
{
    FT_Face face = nullptr;
    if (FT_New_Face(s_Library, path.c_str(), index, &face) != 0)
        return false;
    m_Face = face;
    m_FilePath = path;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0)
        return false;
    // GDI divides a positive height between the Windows ascent and descent of the OS/2 table; faces
    // without one fall back on the horizontal header's.
    double ascender = face->ascender;
    double descender = -(double)face->descender;
    const TT_OS2* os2 = (const TT_OS2*)FT_Get_Sfnt_Table(face, FT_SFNT_OS2);
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
    {
        ascender = os2->usWinAscent;
        descender = os2->usWinDescent;
    }
    const double extent = ascender + descender;
    if (extent <= 0)
        return false;
    const double ppem = cellHeight * (double)face->units_per_EM / extent;
    if (FT_Set_Char_Size(face, 0, (FT_F26Dot6)std::lround(ppem * 64.0), 72, 72) != 0)
        return false;
    m_CellHeight = cellHeight;
    m_Ascent = std::clamp((int32_t)std::lround(cellHeight * ascender / extent), 0, cellHeight);
    return true;
}

bool PfFontFace::RenderGlyph(uint32_t code, PfGlyphBitmap& out) const
{
    out = PfGlyphBitmap();
    FT_Face face = (FT_Face)m_Face;
    if (!face)
        return false;
    const FT_UInt glyph = FT_Get_Char_Index(face, code);
    if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0)
        return false;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
        return false;
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    out.AdvanceX = (int32_t)((face->glyph->advance.x + 32) >> 6);
    if (bitmap.width == 0 || bitmap.rows == 0 || bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
        return true;
    out.Width = (int32_t)bitmap.width;
    out.Height = (int32_t)bitmap.rows;
    out.Pitch = (out.Width + 3) & ~3;
    out.OriginX = face->glyph->bitmap_left;
    out.OriginY = face->glyph->bitmap_top;
    out.Gray.assign((size_t)out.Pitch * out.Height, 0);
    for (int32_t y = 0; y < out.Height; ++y)
    {
        const uint8_t* src = bitmap.buffer + (ptrdiff_t)y * bitmap.pitch;
        uint8_t* dst = out.Gray.data() + (size_t)y * out.Pitch;
        for (int32_t x = 0; x < out.Width; ++x)
            dst[x] = CoverageToGray(src[x]);
    }
    return true;
}
