#pragma once

#include <QRect>
#include <QtMath>

// The layout is designed in twips: 15 twips to the pixel at 96 dots per inch.
constexpr double TwipsPerPixel = 15.0;

inline QRect rectFromTwips(int left, int top, int width, int height)
{
    return QRect(qRound(left / TwipsPerPixel), qRound(top / TwipsPerPixel), qRound(width / TwipsPerPixel),
                 qRound(height / TwipsPerPixel));
}
