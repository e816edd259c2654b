#pragma once

#include <QString>

// The caption each button picture shows ("New Game" for B2, "Continue" for B4),
// by its resource name (":/pictures/B4.jpg"); empty for a picture without one.
// A greyed picture shows the caption of its button.
QString ButtonCaption(const QString& pictureName);
