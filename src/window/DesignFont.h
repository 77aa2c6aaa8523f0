#pragma once

#include <QFont>
#include <QString>

// A font of the window's design, normal weight. Where "MS Sans Serif" or "Arial"
// is missing the desktop's sans-serif, or a sans with Arial's metrics, stands in.
QFont designFont(const QString& family, double points);
