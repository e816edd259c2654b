#pragma once

#include <string_view>

struct TTextOffset {
    int X = 0;
    int Y = 0;
};

// Where a face's text starts inside a 47 x 47 die cell, from its top-left
// corner: the wide "QU" further left, the narrow "I" further right.
TTextOffset LetterOffset(std::string_view face);
