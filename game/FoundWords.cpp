#include "FoundWords.h"

#include <QCollator>
#include <algorithm>

QString TFoundWords::Add(const QString& word) {
    words_.push_back(word);
    return QStringLiteral("%1.%2").arg(words_.size()).arg(word);
}

bool TFoundWords::Contains(const QString& word) const {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return std::any_of(words_.begin(), words_.end(),
                       [&](const QString& found) { return collator.compare(found, word) == 0; });
}
