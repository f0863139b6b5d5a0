#include "Fonts.h"

int PointsToPixels(int Points) {
    return (Points * 96 + 36) / 72;
}

QFont LayoutFont(const QString& Family, int Points, bool Bold) {
    const QString face = Family == QLatin1String("Times") ? QStringLiteral("Liberation Serif")
                                                          : QStringLiteral("Liberation Sans");
    QFont font(face);
    font.setPixelSize(PointsToPixels(Points));
    font.setBold(Bold);
    font.setStyleHint(Family == QLatin1String("Times") ? QFont::Serif : QFont::SansSerif);
    return font;
}

QFont BoxTagFont() {
    return LayoutFont(QStringLiteral("Arial"), 7, true);
}
