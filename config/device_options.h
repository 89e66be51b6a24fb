// What the device options page works with apart from the dialog: the variant's lists of print speeds,
// densities and head voltages, and the defaults its button restores.
#pragma once

#include "devmode.h"
#include "option_lists.h"

// The lists of the record's variant (variant 0's for an index outside the table).
const OPTIONLISTS& GetOptionLists(const DRVDEVMODE* rec);

// The entries of a list before its first empty one.
template <size_t N> int OptionCount(const WCHAR* const (&list)[N]) {
    int n = 0;
    while (n < static_cast<int>(N) && list[n] && list[n][0] != 0) {
        ++n;
    }
    return n;
}

// The page's defaults for a label: dither pattern 3, compressed, not split, one print command per label,
// print settings off at their middle entries, and (profile A) head 1 black and head 2 red.
void RestoreDeviceDefaults(LABELVALUES& values);
