#include "DesignFont.h"

#include <QStringList>

namespace {

void registerFontFallbacks()
{
    static const bool registered = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Sans Serif")});
        // Liberation Sans and Arimo have the metrics of Arial.
        QFont::insertSubstitutions(QStringLiteral("Arial"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace

QFont designFont(const QString& family, double points)
{
    registerFontFallbacks();
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}
