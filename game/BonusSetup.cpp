#include "BonusSetup.h"

#include "AsciiCase.h"
#include "RandomSource.h"

#include <array>

TBonusCard GetBonusCard(TRandomSource& random, const TClock& clock) {
    TBonusCard card;
    random.Reseed(clock);
    card.Col = static_cast<std::int32_t>(random.Draw(5));
    random.Reseed(clock);
    card.Row = static_cast<std::int32_t>(random.Draw(5));
    return card;
}

std::string GetTangledWord(std::string_view word, TRandomSource& random, const TClock& clock) {
    const std::string upper = AsciiUpper(word.substr(0, BonusWordLength));
    std::array<bool, BonusWordLength + 1> taken{}; // positions 1..5; 0 is never taken
    std::string tangled;
    while (tangled.size() < BonusWordLength) {
        random.Reseed(clock);
        const std::uint32_t position = random.Draw(BonusWordLength + 1);
        if (position == 0 || taken[position]) {
            continue;
        }
        taken[position] = true;
        tangled += upper[position - 1];
    }
    return tangled;
}

std::optional<TBonusDraw> DrawBonusRound(std::int32_t wordCount,
                                         const std::function<std::string(std::int32_t)>& getWord,
                                         TRandomSource& random, const TClock& clock) {
    if (wordCount <= 0) {
        return std::nullopt;
    }
    TBonusDraw draw;
    draw.Card = GetBonusCard(random, clock);
    random.Reseed(clock);
    draw.Word =
        getWord(static_cast<std::int32_t>(random.Draw(static_cast<std::uint32_t>(wordCount))));
    if (draw.Word.size() < BonusWordLength) {
        return std::nullopt;
    }
    draw.Tangled = GetTangledWord(draw.Word, random, clock);
    return draw;
}
