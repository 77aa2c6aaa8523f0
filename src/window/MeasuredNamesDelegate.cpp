#include "MeasuredNamesDelegate.h"

QSize MeasuredNamesDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString name = index.data(Qt::DisplayRole).toString();
    if (const auto known = m_sizes.constFind(name); known != m_sizes.cend())
        return *known;
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    m_sizes.insert(name, size);
    return size;
}

void MeasuredNamesDelegate::keepOnly(const QStringList& shownNames)
{
    QHash<QString, QSize> kept;
    kept.reserve(shownNames.size());
    for (const QString& name : shownNames) {
        if (const auto known = m_sizes.constFind(name); known != m_sizes.cend())
            kept.insert(name, *known);
    }
    m_sizes.swap(kept);
}
