#!/usr/bin/env bash
# Remakes the seed corpus in fuzz/corpus/ from our own tools. Usage:
#   bash fuzz/make-corpus.sh BUILD_FOLDER
# BUILD_FOLDER is a fuzz build that holds fuzz/fuzz_seeds and the tools (samplegen, gxpack, jpeggen,
# moabuild, soundgen, moviegen): `cmake --build BUILD_FOLDER --target fuzz_seeds kv_tools`.
# Every target gets at least three small files; the whole corpus stays a few hundred KB. Targets whose
# first input byte chooses something (a table layout, a file extension) get that byte put in front.
set -euo pipefail
build=$(cd "$1" && pwd)
corpus=$(cd "$(dirname "$0")" && pwd)/corpus
tools=$build/tools
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

rm -rf "$corpus"
mkdir -p "$corpus"
seed() { mkdir -p "$corpus/$1"; cp "$2" "$corpus/$1/${3:-$(basename "$2")}"; }
# seed_with BYTE TARGET FILE [NAME]: the file behind one choice byte (given in octal).
seed_with() {
  mkdir -p "$corpus/$2"
  { printf "\\$1"; cat "$3"; } > "$corpus/$2/${4:-$(basename "$3")}"
}

# Player files, compiled programs with script records, and the DDS/TGA/BMP pictures.
"$build/fuzz/fuzz_seeds" "$corpus"

# The sample game's folder: tables, maps, settings, scripts, animations, models, pictures.
game=$scratch/game
"$tools/samplegen" "$game" > /dev/null 2>&1
tables=(db_avgchar db_bgmmode db_cgmode db_effect db_rpmode db_uilayout_zor db_uimodule db_zorcommand
        db_zorenemy db_zorskill db_zorstruct db_zortown db_zorunit db_zorvoice)
for i in "${!tables[@]}"; do
  seed_with "$(printf '%03o' "$i")" fuzz_DataTable "$game/data/${tables[$i]}.txt"
done
# The strategy UI rows merged over the front end's (choice bit 0x80: two files, one ID space).
seed_with 206 fuzz_DataTable "$game/data/db_uimodule_zor.txt" db_uimodule_merged.txt
for n in 00 01 02; do seed fuzz_strategy_map "$game/data/db_zormap$n.txt"; done
seed fuzz_settings_ini "$game/setting.ini"
seed fuzz_settings_ini "$game/system/sysconf.ini"
printf 'DebugModeFlag=1\r\nAutoCompile=1\r\nPACK_FILE_00=data.gxp\r\nPACK_FILE_07 = cg.gxp\r\nFONTSIZE_2=-3\r\n' \
  > "$corpus/fuzz_settings_ini/packs.ini"
for f in main extra defence war; do seed fuzz_script_compile "$game/scripts/$f.txt"; done
# Two source files in one input (a NUL separates them).
{ cat "$game/scripts/main.txt"; printf '\0'; cat "$game/scripts/campaign.txt"; } \
  > "$corpus/fuzz_script_compile/main_and_campaign.txt"
for f in extra defence; do seed fuzz_script_parser "$game/scripts/$f.txt"; done
seed fuzz_script_parser "$game/data/db_bgmmode.txt"
for f in gnc/lilith.gnc gnc/effect.gnc gnc/gis/lilith.gis gnc/gis/effect.gis uigis/ui_bgmname.gis; do
  seed fuzz_animation_readers "$game/$f"
done
for f in gnc/lilith.gnc uigis/th_rpmode.gis gnc/gis/zoreffect.gis; do seed fuzz_content_reader "$game/$f"; done
seed fuzz_content_reader "$corpus/fuzz_user_permanent/permanent_text.dat"
for f in room_19_wall02.geo scaffold.geo room_19_wall00.mtl scaffold.mtl; do seed fuzz_model_readers "$game/models/$f"; done
for f in setting.ini scripts/extra.txt data/db_avgchar.txt; do
  seed fuzz_StringConvert "$game/$f"
  seed fuzz_TextReaders "$game/$f"
done
# A table in UTF-16LE with its signature.
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$game/data/db_bgmmode.txt" | tail -c +3; } > "$scratch/utf16.txt"
seed fuzz_StringConvert "$scratch/utf16.txt"
seed fuzz_TextReaders "$scratch/utf16.txt"
seed fuzz_sound_ogg "$game/bgms/bgm01.ogg"

# The sample program, with no script record after it.
program=$game/bincode/moacode.mwb
size=$(stat -c %s "$program")
{ printf "\\$(printf '%03o' $((size & 255)))\\$(printf '%03o' $(((size >> 8) & 255)))\\$(printf '%03o' $(((size >> 16) & 255)))\\000"
  cat "$program"; } > "$corpus/fuzz_MoaProgram/sample_program.bin"

# Pictures: a small PNG of the game, a JPEG; extension choices 0 (".png") and 3 (".jpg").
"$tools/jpeggen" "$scratch/tiny.jpg" 16 16 80 > /dev/null
for f in "$game/cg/uizor/bg_zorgrid.png" "$scratch/tiny.jpg"; do seed fuzz_image_readers "$f"; done
seed fuzz_image_readers "$game/cg/name/リリス.png" name.png
seed_with 000 fuzz_image_file "$game/cg/uizor/bg_zorgrid.png"
seed_with 003 fuzz_image_file "$scratch/tiny.jpg"

# Packs of three tiny files, as gxpack writes them: plain, scrambled, CP932 names.
mkdir -p "$scratch/pack/data"
printf 'a' > "$scratch/pack/a"
printf 'text\r\n' > "$scratch/pack/a.txt"
printf 'ID\tName\r\n1\tx\r\n' > "$scratch/pack/data/a.txt"
touch -d 2026-01-01 "$scratch/pack/a" "$scratch/pack/a.txt" "$scratch/pack/data/a.txt"
"$tools/gxpack" -o "$scratch/plain.gxp" "$scratch/pack" > /dev/null
"$tools/gxpack" --scramble -o "$scratch/scrambled.gxp" "$scratch/pack" > /dev/null
"$tools/gxpack" --cp932 -o "$scratch/cp932.gxp" "$scratch/pack" > /dev/null
for f in plain scrambled cp932; do seed fuzz_PackDirectory "$scratch/$f.gxp"; done

# "key.ini": two blocks of 24 lines (device type on line 2, directions, buttons, game-device buttons).
key_block() {
  printf '[%s]\r\n%s\r\n' "$1" "$2"
  for v in ';' 200 208 205 203 44 45 46 47 30 31 32 33 ';' 0 1 2 3 4 5 6 7; do printf '%s\r\n' "$v"; done
}
mkdir -p "$corpus/fuzz_key_ini"
{ key_block player1 0; key_block player2 1; } > "$corpus/fuzz_key_ini/key.ini"
{ key_block player1 2; } > "$corpus/fuzz_key_ini/key_one_block.ini"
{ key_block player1 0 | sed 's/^200/999/'; key_block player2 -1; } > "$corpus/fuzz_key_ini/key_out_of_range.ini"

# Effect files: the kinds of declarations the scanner reads.
mkdir -p "$corpus/fuzz_effect_fx"
cat > "$corpus/fuzz_effect_fx/default.fx" <<'FX'
#define MAX_BONES 26
float4x4 World : WORLD;
float4x4 ViewProj : VIEWPROJECTION <string UIName = "vp";>;
float4x3 Bone[MAX_BONES];
static const float PI = 3.14159f;
float Time = 0.0f, TIME = 1.0f;
float4 MaterialDiffuse = {1, 1, 1, 1};
texture TextureDiffuse;
sampler DiffuseSampler = sampler_state { Texture = <TextureDiffuse>; MinFilter = LINEAR; };
struct VS_OUT { float4 Pos : POSITION; float2 UV : TEXCOORD0; };
VS_OUT VS(float4 pos : POSITION, float2 uv : TEXCOORD0)
{
    VS_OUT o; o.Pos = mul(pos, World); o.UV = uv; /* } in a comment */ return o;
}
float4 PS(VS_OUT i) : COLOR0 { return tex2D(DiffuseSampler, i.UV) * MaterialDiffuse; }
technique Lit < int UseLight = 1; int UseUV = 1; int TecIndex = 3; bool UseBone = true; >
{
    pass P0 { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); }
    pass P1 { AlphaBlendEnable = TRUE; }
}
technique Plain { pass { } }
FX
cat > "$corpus/fuzz_effect_fx/skin.fx" <<'FX'
row_major float4x4 WorldViewProj : WORLDVIEWPROJECTION;
float3 CameraPos;
float4 OffsetUV = float4(0, 0, 0, 0);
int Frequency[4] = {1, 2, 3, 4};
technique Skin < int UseBone = 2; int UseTangent = 1; string Note = "a;b"; >
{
    pass p0 { CullMode = None; }
}
FX
printf 'technique T { pass P0 { ) }\n' > "$corpus/fuzz_effect_fx/broken.fx"

# Sounds and movies.
mkdir -p "$scratch/sounds"
"$tools/soundgen" fixtures "$scratch/sounds" 2> /dev/null
# The short fixtures of every WAVE format the converter takes, and the Ogg ones.
for f in "$scratch"/sounds/*.wav; do
  [ "$(stat -c %s "$f")" -le 50000 ] && seed fuzz_sound_wave "$f"
done
# A short 16-bit PCM tone of the game (the fixtures of that format are long).
seed fuzz_sound_wave "$game/sounds/sys/cancel.wav" pcm16_cancel.wav
for f in "$scratch"/sounds/*.ogg; do
  [ "$(stat -c %s "$f")" -le 100000 ] && seed fuzz_sound_ogg "$f"
done
# Movies behind the extension choice: 0 ".mpg", 1 ".avi", 3 ".mpv", 4 ".dat" (VideoCD), 6 ".wav".
"$tools/moviegen" "$scratch/tiny.mpg" 32 32 1 > /dev/null
"$tools/moviegen" "$scratch/tiny.avi" 16 16 1 --no-sound > /dev/null
"$tools/moviegen" "$scratch/tiny.mpv" 32 32 1 --no-sound > /dev/null
seed_with 000 fuzz_movie_file "$scratch/tiny.mpg"
seed_with 001 fuzz_movie_file "$scratch/tiny.avi"
seed_with 003 fuzz_movie_file "$scratch/tiny.mpv"
seed_with 004 fuzz_movie_file "$scratch/tiny.mpg" tiny.dat
seed_with 006 fuzz_movie_file "$scratch/sounds/gsm_mono.wav"
echo "fuzz corpus: $(find "$corpus" -type f | wc -l) files, $(du -sh --apparent-size "$corpus" | cut -f1)"
