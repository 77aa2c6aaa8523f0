#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// Colours are window colour numbers with red in the lowest byte: 255 is red,
// 0xC00000 dark blue. 0x80000008 is the system's window-text colour.
namespace WindowColor {
constexpr quint32 Black = 0;
constexpr quint32 Red = 255;
constexpr quint32 Green = 32768;
constexpr quint32 Yellow = 65535;
constexpr quint32 SystemWindowText = 0x80000008u;
} // namespace WindowColor

inline QColor colorFromWindowColor(quint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

// Sets the text colour of the active and inactive states only, so a disabled control still shows grey.
inline void applyWindowColor(QWidget* widget, QPalette::ColorRole role, quint32 value)
{
    QPalette palette = widget->palette();
    const QColor color = value == WindowColor::SystemWindowText ? QPalette().color(QPalette::Active, role)
                                                                : colorFromWindowColor(value);
    palette.setColor(QPalette::Active, role, color);
    palette.setColor(QPalette::Inactive, role, color);
    widget->setPalette(palette);
}
