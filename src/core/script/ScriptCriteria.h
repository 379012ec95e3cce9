#pragma once

// Which rows of a statistics table a script filter selects, and when its walk
// over the table stops.

#include "script/ScriptModel.h"
#include "stats/StatValues.h"

namespace kumby {

// Whether a row meets the criterion of the part. A list test raises Error when
// the column text is not a number: such a table cannot be filtered by the list.
bool RowMeetsCriterion(const TFilterPart& part, const TStatValues& row);

// The stop conditions shared by both walks (SV, SP, ST): true ends the walk
// before the row is looked at.
bool WalkStopsAt(const TFilterPart& part, const TStatValues& row, int step);

// A table cell read as the criteria read it: the number, or `fallback` when the
// text is not one.
int32_t CellInt(std::string_view text, int32_t fallback);
long double CellFloat(std::string_view text, long double fallback);

} // namespace kumby
