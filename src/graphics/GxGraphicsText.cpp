// Names of device results and formats, screen modes. Returned by value: the movie threads reach device
// resources, and their diagnostics may ask while the main thread does.
#include "graphics/GxGraphics.h"

#include "core/GxString.h"
#include "graphics/GxDisplaySettings.h"

namespace
{

struct ErrorName
{
    PfResult hr;
    const wchar_t* text;
};

const ErrorName s_ErrorNames[] = {
    {S_OK, L"エラーは発生していません"},
    {E_FAIL, L"Direct3D サブシステム内で原因不明のエラーが発生しました。"},
    {E_NOINTERFACE, L"利用可能なオブジェクトインターフェイスがありません。"},
    {E_NOTIMPL, L"実装されていません。"},
    {E_OUTOFMEMORY, L"Direct3D が呼び出しを完了するための十分なメモリを割り当てることができませんでした。"},
    {D3DERR_OUTOFVIDEOMEMORY, L"Direct3D が処理を行うのに十分なディスプレイメモリがありません。"},
    {E_INVALIDARG, L"無効なパラメータが関数に渡されました。"},
    {D3DERR_WRONGTEXTUREFORMAT, L"テクスチャサーフェイスのピクセルフォーマットが無効です。"},
    {D3DERR_UNSUPPORTEDCOLOROPERATION,
     L"色値に対して指定されているテクスチャブレンディング処理を、デバイスがサポートしていません。"},
    {D3DERR_UNSUPPORTEDCOLORARG,
     L"色値に対して指定されているテクスチャブレンディング引数を、デバイスがサポートしていません。"},
    {D3DERR_UNSUPPORTEDALPHAOPERATION,
     L"アルファ チャンネルに対して指定されているテクスチャブレンディング処理を、デバイスがサポートしていません。"},
    {D3DERR_UNSUPPORTEDALPHAARG,
     L"アルファ チャンネルに対して指定されているテクスチャブレンディング引数を、デバイスがサポートしていません。"},
    {D3DERR_TOOMANYOPERATIONS,
     L"デバイスがサポートしている数より多くのテクスチャフィルタリング処理を、アプリケーションが要求しています。"},
    {D3DERR_CONFLICTINGTEXTUREFILTER, L"現在のテクスチャフィルタは同時に使えません。"},
    {D3DERR_UNSUPPORTEDFACTORVALUE, L"デバイスが指定されたテクスチャ係数値をサポートしていません。"},
    {D3DERR_CONFLICTINGRENDERSTATE, L"現在設定されているレンダリング ステートは同時に使えません。"},
    {D3DERR_UNSUPPORTEDTEXTUREFILTER, L"デバイスが指定されたテクスチャフィルタをサポートしていません。"},
    {D3DERR_CONFLICTINGTEXTUREPALETTE, L"現在のテクスチャは同時に使えません。パレットの共有ができません。"},
    {D3DERR_DRIVERINTERNALERROR, L"内部ドライバ エラー。"},
    {D3DERR_NOTFOUND, L"要求された項目が見つかりませんでした。"},
    {D3DERR_MOREDATA, L"指定されたバッファサイズに保持できる以上のデータが存在します。"},
    {D3DERR_DEVICELOST, L"デバイスは消失していますが現在リセットできません。レンダリングは不可能です。"},
    {D3DERR_DEVICENOTRESET, L"デバイスは消失していますが、現在リセットできます。"},
    {D3DERR_NOTAVAILABLE, L"このデバイスは問い合わせたテクニックをサポートしていません。"},
    {D3DERR_INVALIDDEVICE, L"要求されたデバイスタイプが無効です。"},
    {D3DERR_INVALIDCALL, L"メソッドの呼び出しが無効です。例えばメソッドのパラメータが有効なポインタではありません。"},
    {D3DXERR_CANNOTMODIFYINDEXBUFFER, L"インデックス バッファを変更できません。"},
    {D3DXERR_INVALIDMESH, L"メッシュが無効です。"},
    {D3DXERR_CANNOTATTRSORT, L"最適化テクニックとして、属性のソート (D3DXMESHOPT_ATTRSORT) はサポートされていません。"},
    {D3DXERR_SKINNINGNOTSUPPORTED, L"スキニングがサポートされていません。"},
    {D3DXERR_TOOMANYINFLUENCES, L"指定された影響が多すぎます。"},
    {D3DXERR_INVALIDDATA, L"データが無効です。"},
    {D3DXERR_LOADEDMESHASNODATA, L"メッシュにデータが含まれていません。"},
    {D3DXERR_DUPLICATENAMEDFRAGMENT, L"同じ名前のフラグメントが既に存在しています。"},
    {D3DXERR_CANNOTREMOVELASTITEM, L"最後の項目が削除できません。"},
};

struct FormatName
{
    D3DFORMAT format;
    const wchar_t* name;
};

#define KV_FORMAT(f)                                                                                                   \
    {                                                                                                                  \
        f, L## #f                                                                                                      \
    }
const FormatName s_FormatNames[] = {
    KV_FORMAT(D3DFMT_UNKNOWN),
    KV_FORMAT(D3DFMT_R8G8B8),
    KV_FORMAT(D3DFMT_A8R8G8B8),
    KV_FORMAT(D3DFMT_X8R8G8B8),
    KV_FORMAT(D3DFMT_R5G6B5),
    KV_FORMAT(D3DFMT_X1R5G5B5),
    KV_FORMAT(D3DFMT_A1R5G5B5),
    KV_FORMAT(D3DFMT_A4R4G4B4),
    KV_FORMAT(D3DFMT_R3G3B2),
    KV_FORMAT(D3DFMT_A8),
    KV_FORMAT(D3DFMT_A8R3G3B2),
    KV_FORMAT(D3DFMT_X4R4G4B4),
    KV_FORMAT(D3DFMT_A2B10G10R10),
    KV_FORMAT(D3DFMT_A8B8G8R8),
    KV_FORMAT(D3DFMT_X8B8G8R8),
    KV_FORMAT(D3DFMT_G16R16),
    KV_FORMAT(D3DFMT_A2R10G10B10),
    KV_FORMAT(D3DFMT_A16B16G16R16),
    KV_FORMAT(D3DFMT_A8P8),
    KV_FORMAT(D3DFMT_P8),
    KV_FORMAT(D3DFMT_L8),
    KV_FORMAT(D3DFMT_L16),
    KV_FORMAT(D3DFMT_A8L8),
    KV_FORMAT(D3DFMT_A4L4),
    KV_FORMAT(D3DFMT_V8U8),
    KV_FORMAT(D3DFMT_Q8W8V8U8),
    KV_FORMAT(D3DFMT_V16U16),
    KV_FORMAT(D3DFMT_Q16W16V16U16),
    KV_FORMAT(D3DFMT_CxV8U8),
    KV_FORMAT(D3DFMT_L6V5U5),
    KV_FORMAT(D3DFMT_X8L8V8U8),
    KV_FORMAT(D3DFMT_A2W10V10U10),
    KV_FORMAT(D3DFMT_D16_LOCKABLE),
    KV_FORMAT(D3DFMT_D32),
    KV_FORMAT(D3DFMT_D15S1),
    KV_FORMAT(D3DFMT_D24S8),
    KV_FORMAT(D3DFMT_D24X8),
    KV_FORMAT(D3DFMT_D24X4S4),
    KV_FORMAT(D3DFMT_D32F_LOCKABLE),
    KV_FORMAT(D3DFMT_D24FS8),
    KV_FORMAT(D3DFMT_D16),
    KV_FORMAT(D3DFMT_VERTEXDATA),
    KV_FORMAT(D3DFMT_INDEX16),
    KV_FORMAT(D3DFMT_INDEX32),
    KV_FORMAT(D3DFMT_R16F),
    KV_FORMAT(D3DFMT_G16R16F),
    KV_FORMAT(D3DFMT_A16B16G16R16F),
    KV_FORMAT(D3DFMT_R32F),
    KV_FORMAT(D3DFMT_G32R32F),
    KV_FORMAT(D3DFMT_A32B32G32R32F),
    KV_FORMAT(D3DFMT_DXT1),
    KV_FORMAT(D3DFMT_DXT2),
    KV_FORMAT(D3DFMT_DXT3),
    KV_FORMAT(D3DFMT_DXT4),
    KV_FORMAT(D3DFMT_DXT5),
    KV_FORMAT(D3DFMT_YUY2),
    KV_FORMAT(D3DFMT_UYVY),
    KV_FORMAT(D3DFMT_R8G8_B8G8),
    KV_FORMAT(D3DFMT_G8R8_G8B8),
};
#undef KV_FORMAT

const wchar_t* const s_ScreenModeNames[SCRMODE_COUNT] = {
    L"SCRMODE_WINDOW",        L"SCRMODE_WINDOWSIZE",    L"SCRMODE_FULLSCREEN",   L"SCRMODE_FULLSCREENX2",
    L"SCRMODE_FULL320X240",   L"SCRMODE_FULL640X480",   L"SCRMODE_FULL800X600",  L"SCRMODE_FULL1024X576",
    L"SCRMODE_FULL1024X768",  L"SCRMODE_FULL1280X720",  L"SCRMODE_FULL1280X800", L"SCRMODE_FULL1280X960",
    L"SCRMODE_FULL1280X1024", L"SCRMODE_FULL1920X1080",
};

} // namespace

std::wstring GxGraphics::GetErrorText(PfResult hr)
{
    for (const ErrorName& e : s_ErrorNames)
        if (e.hr == hr)
            return e.text;
    return GxString::Format(L"未知のエラーです。(code:0x%x)", (unsigned)hr);
}

std::wstring GxGraphics::GetFormatName(D3DFORMAT format)
{
    for (const FormatName& f : s_FormatNames)
        if (f.format == format)
            return f.name;
    return L"ERROR";
}

const wchar_t* GxGraphics::GetScreenModeName(uint32_t mode)
{
    return mode < SCRMODE_COUNT ? s_ScreenModeNames[mode] : L"";
}
