#pragma once

#include <cstdint>
#include <string>

struct DBUIModuleData;
struct DBUILayoutData;

// Name lookups over the front-end tables and the gallery and replay checks. All searches are linear
// over a table's whole capacity and compare exactly (case matters) unless said otherwise.

// The first character row (0 to 79) whose CharName is not empty and equals the name; -1 when none.
int32_t FindAvgCharData(const std::wstring& name);

// The first UI module row whose ModuleName is not empty and equals the name; null after a log line.
DBUIModuleData* FindUIModuleData(const std::wstring& name);

// The first UI layout row whose TaskName is not empty and equals the name; null after a log line.
DBUILayoutData* FindUILayoutData(const std::wstring& name);

// Finds the gallery entry and picture cell holding the picture of the path, compared by base name (no
// folder, cut at the first ".") without regard to ASCII case. On a miss row and cell are 0 and the
// result is false.
bool FindCGModeFile(int32_t& row, int32_t& cell, const std::wstring& path);

// Fills in Count of every gallery entry whose first picture is named and whose Count is 0: the number
// of named picture cells of the entry.
void UpdateCGModeCounts();

// True when some replay row has a Label that is not empty and equals the label.
bool IsReplayLabel(const std::wstring& label);
