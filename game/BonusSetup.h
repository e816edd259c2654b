#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class TClock;
class TRandomSource;

// The cell of the hidden bonus die; (-1, -1) when the game has none.
struct TBonusCard {
    std::int32_t Col = -1;
    std::int32_t Row = -1;
};

// What a new game needs for its bonus round.
struct TBonusDraw {
    TBonusCard Card;
    std::string Word;    // as the store holds it
    std::string Tangled; // its first five letters in upper case, scrambled
};

// Five letters per bonus word: the round scrambles and judges exactly five.
constexpr std::size_t BonusWordLength = 5;

// Reseed, draw the column from 0..4; reseed, draw the row from 0..4. Within one
// millisecond the two reseeds repeat the state, and the die lies on the diagonal.
TBonusCard GetBonusCard(TRandomSource& random, const TClock& clock);

// The first five letters of word in upper case, in scrambled order. Before every
// draw of a position from 0..5 the source is reseeded; 0 and taken positions are
// refused. Reseeding twice in one millisecond repeats the state, and with it the
// refused draw, so the loop keeps drawing until the clock's millisecond moves: it
// needs at least five different readings. word must hold five letters or more.
std::string GetTangledWord(std::string_view word, TRandomSource& random, const TClock& clock);

// The bonus set-up of a new game, in this order and with nothing else drawn:
// the card, then a reseed and the word's record number from 0..wordCount-1, the
// word, and its scramble. The board is dealt afterwards from the state the last
// draw left. No round (nullopt) when the store holds no words, or when the word
// drawn is shorter than five letters: such a word could neither be scrambled
// into five dice nor ever be guessed, so that game has no bonus die (the draws
// made up to the word stand). getWord's I/O error passes through.
std::optional<TBonusDraw> DrawBonusRound(std::int32_t wordCount,
                                         const std::function<std::string(std::int32_t)>& getWord,
                                         TRandomSource& random, const TClock& clock);
