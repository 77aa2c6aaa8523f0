#pragma once

#include <QHash>
#include <QSize>
#include <QStringList>
#include <QStyledItemDelegate>

// Draws a list's entries as usual, but measures each name once: a list of a thousand
// names is laid out again whenever one of them changes, and measuring a name means
// shaping its text. The sizes depend on the name alone, as long as the font and the
// style stay.
class MeasuredNamesDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Forgets the sizes of names no longer listed.
    void keepOnly(const QStringList& shownNames);
    void forgetAll() { m_sizes.clear(); }

private:
    mutable QHash<QString, QSize> m_sizes;
};
