#include "utility.h"

TTextOffset LetterOffset(std::string_view face) {
    if (face == "QU") {
        return {5, 10};
    }
    if (face == "I") {
        return {18, 10};
    }
    return {13, 10};
}
