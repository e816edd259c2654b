#include "ButtonCaptions.h"

#include <QHash>

QString ButtonCaption(const QString& pictureName) {
    static const QHash<QString, QString> captions{
        {QStringLiteral(":/pictures/B1.jpg"), QStringLiteral("OK")},
        {QStringLiteral(":/pictures/B2.jpg"), QStringLiteral("New Game")},
        {QStringLiteral(":/pictures/B3.jpg"), QStringLiteral("Pause")},
        {QStringLiteral(":/pictures/B4.jpg"), QStringLiteral("Continue")},
        {QStringLiteral(":/pictures/B5.jpg"), QStringLiteral("Add Word")},
        {QStringLiteral(":/pictures/B6.jpg"), QStringLiteral("Add Word")},
        {QStringLiteral(":/pictures/B7.jpg"), QStringLiteral("Back Space")},
        {QStringLiteral(":/pictures/B8.jpg"), QStringLiteral("Back Space")},
        {QStringLiteral(":/pictures/B9.jpg"), QStringLiteral("Help")},
        {QStringLiteral(":/pictures/B10.jpg"), QStringLiteral("About")},
        {QStringLiteral(":/pictures/B11.jpg"), QStringLiteral("Sound")},
        {QStringLiteral(":/pictures/B12.jpg"), QStringLiteral("Sound")},
        {QStringLiteral(":/pictures/B13.jpg"), QStringLiteral("Scores")},
        {QStringLiteral(":/pictures/B14.jpg"), QStringLiteral("Quit")},
        {QStringLiteral(":/pictures/B15.jpg"), QStringLiteral("On")},
        {QStringLiteral(":/pictures/B16.jpg"), QStringLiteral("Off")},
        {QStringLiteral(":/pictures/B17.jpg"), QStringLiteral("Apply")},
    };
    return captions.value(pictureName);
}
