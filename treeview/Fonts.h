#pragma once

#include <QFont>

// Fonts by the names the layout uses ("MS Sans Serif", "Arial", "Times"),
// sized in points at 96 dots per inch. Each family maps to a metric-compatible
// Liberation face so that the layout is the same on every machine.
QFont LayoutFont(const QString& Family, int Points, bool Bold = false);

// Pixel height of a font of Points points at 96 dots per inch, rounded.
int PointsToPixels(int Points);

// The words of a box's tag: small and bold, to read on a coloured ground.
QFont BoxTagFont();
