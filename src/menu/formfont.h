#pragma once

#include <QFont>
#include <QStringList>

// The font the program's forms were laid out for: 8 points, as narrow as Arial, which here is
// Arial itself or one of its metric twins.
QFont formFont(const QFont& base);
