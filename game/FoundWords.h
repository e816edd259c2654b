#pragma once

#include <QString>
#include <QStringList>

// The words found in this game, in the order found. The list on the window
// shows each as its number, ".", and the word: the third, CAT, as "3.CAT".
class TFoundWords {
public:
    // Appends the word and gives the line the list shows for it.
    QString Add(const QString& word);
    // Whether the word was found already, ignoring case, as the player's locale
    // compares words.
    bool Contains(const QString& word) const;
    int Count() const { return static_cast<int>(words_.size()); }
    const QStringList& Words() const { return words_; }
    void Clear() { words_.clear(); }

private:
    QStringList words_;
};
