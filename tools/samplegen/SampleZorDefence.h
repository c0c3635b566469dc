#pragma once

#include "SampleTable.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// The defence screen's share of the sample game: its UI rows (speed and tab radio buttons, camera and
// system buttons of the bottom bar, the time-limit panel; modules 165-194, layouts 300-369), its effect
// rows ("EFE_" names, effect IDs 40-69) with their project "gnc/zoreffect.gnc", the map models under
// "models/" (room sets, gates and walls, passages, cursors, scaffold), the map background and grid under
// "cg/uizor/" and the loading picture. Everything is drawn in flat colours that checks can name (below).

// Colours of the generated models as drawn unlit (ARGB): the top of a room's base, the scaffold's top,
// a gate's and a wall's top.
constexpr uint32_t SampleRoomColour(int32_t set)
{
    return set == 16   ? 0xFF3878B8u  // entrance
           : set == 17 ? 0xFFC09018u  // throne
           : set == 18 ? 0xFF584038u  // locked room, also shown for rooms being dug out
           : set == 15 ? 0xFF507040u  // command post
           // A finished facility shows in its own colour, so the player sees it is built.
           : set == 2 ? 0xFF985040u   // barracks
           : set == 3 ? 0xFFA08858u   // treasury
           : set == 4 ? 0xFF788840u   // training ground
           : set == 5 ? 0xFF505068u   // prison
           : set == 6 ? 0xFF806048u   // trap workshop
           : set == 7 ? 0xFFE0D8C0u   // ossuary: bone
           : set == 8 ? 0xFF8058D0u   // altar: magic
           : set == 9 ? 0xFF30A8A0u   // vault
                      : 0xFF6A7078u;  // a plain dug room
}
constexpr uint32_t kSampleScaffoldColour = 0xFFE08020u;
// The fills of the units' map sprites (RGB): the player's side (orange, round head), the invaders (red,
// pointed head).
constexpr uint32_t kSamplePlayerUnitColour = 0xFFC040u;
constexpr uint32_t kSampleInvaderUnitColour = 0xE03030u;
constexpr uint32_t kSampleGateColour = 0xFF30B050u;
constexpr uint32_t kSampleWallColour = 0xFF90A0B0u;
// Heights (world units above the room's floor) of the tops, and how far from the room's centre the top
// centre of a gate or wall lies towards its side.
constexpr float kSampleScaffoldTop = 24.0f;
constexpr float kSampleGateTop = 2.0f;
constexpr float kSampleWallTop = 6.0f;
constexpr float kSampleGateOffset = 40.0f;
constexpr float kSampleWallOffset = 34.0f;
// The map background's and the loading picture's flat colours.
constexpr uint32_t kSampleMapBackColour = 0xFF182838u;
constexpr uint32_t kSampleLoadingColour = 0xFF301848u;

// Adds the rows to the strategy UI tables and the effect table.
void AddZorDefenceRows(std::vector<SampleTable>& tables, std::vector<std::string>& problems);

// The backgrounds and the loading picture (path, PNG bytes).
std::vector<std::pair<std::string, std::string>> ZorDefencePictures();

// Writes the models and the effect project with its image set.
void WriteZorDefenceData(const std::filesystem::path& folder, std::vector<std::string>& problems);
