#pragma once

#include "SampleTable.h"

#include <cstdint>
#include <string>

// The fields of the strategy screens' status bar: a dark ground under each number the bar draws (bone,
// magic, gold, the leadership in use over its maximum, the counts of facilities 2-5), as large as the
// number's cells at the largest value the sample reaches, with the bar's own colour showing between two
// fields, so neighbouring numbers read apart however many digits they have. A picture panel (UI type 15,
// module "fld_...") per size, placed on the bar of every screen that draws it: modules 176-178 and layout
// rows 314-345 of the strategy tables.
void AddZorNumberFieldRows(SampleTable& modules, SampleTable& layouts);

// True for the modules of the fields.
bool IsZorNumberField(const std::string& module);

// The fields' colour: darker than the bar's, with no edge, so a number's first and last digits may
// reach the field's sides.
constexpr uint32_t kSampleNumberFieldColour = 0xFF080C16u;
