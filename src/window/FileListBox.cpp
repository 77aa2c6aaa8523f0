#include "FileListBox.h"
#include "platform/FileSystem.h"
#include "MeasuredNamesDelegate.h"
#include "platform/NativeName.h"

#include <QFocusEvent>

#include <algorithm>
#include <numeric>

namespace {

constexpr int ExactNameRole = Qt::UserRole;

int caseInsensitiveCompare(const QString& a, const QString& b)
{
    // Most names are ASCII, where folding is a subtraction; a list of a thousand is sorted
    // with ten thousand comparisons.
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype k = 0; k < common; ++k) {
        char16_t x = a[k].unicode(), y = b[k].unicode();
        if (x >= 0x80 || y >= 0x80)
            return QString::compare(a, b, Qt::CaseInsensitive);
        x += (x >= 'A' && x <= 'Z') ? 'a' - 'A' : 0;
        y += (y >= 'A' && y <= 'Z') ? 'a' - 'A' : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool listedBefore(const QString& a, const QString& b)
{
    const int folded = caseInsensitiveCompare(a, b);
    return folded != 0 ? folded < 0 : a < b;
}

} // namespace

FileListBox::FileListBox(FileSystem& fileSystem, QWidget* parent)
    : QListWidget(parent), m_fileSystem(fileSystem), m_delegate(new MeasuredNamesDelegate(this))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(m_delegate);
    connect(this, &QListWidget::itemDoubleClicked, this, &FileListBox::entryDoubleClicked);
}

void FileListBox::setPattern(const QString& pattern)
{
    m_pattern = FileNamePattern::parse(pattern);
    m_patternText = pattern;
}

void FileListBox::refresh()
{
    QList<ListedFile> files;
    if (!m_path.isEmpty())
        files = m_fileSystem.listFiles(
            m_path, [this](const QString& name) { return m_pattern.matches(name); }, false);
    showListing(std::move(files));
}

void FileListBox::showListing(QList<ListedFile> files)
{
    // A folder read in the same order as last time holds the same names: the order found
    // for them then still holds.
    const bool sameListing =
        std::equal(files.cbegin(), files.cend(), m_listingOrder.cbegin(), m_listingOrder.cend(),
                   [](const ListedFile& file, const QString& name) { return file.name == name; });
    if (!sameListing) {
        m_listingOrder.clear();
        m_listingOrder.reserve(files.size());
        for (ListedFile& file : files)
            m_listingOrder.append(std::move(file.name));
        m_order.resize(files.size());
        std::iota(m_order.begin(), m_order.end(), 0);
        std::sort(m_order.begin(), m_order.end(), [this](qsizetype a, qsizetype b) {
            return listedBefore(m_listingOrder[a], m_listingOrder[b]);
        });
    }
    m_times.clear();
    m_times.reserve(files.size());
    for (const qsizetype k : std::as_const(m_order))
        m_times.append(files[k].times);
    if (sameListing)
        return;

    QStringList names;
    names.reserve(m_order.size());
    for (const qsizetype k : std::as_const(m_order))
        names.append(m_listingOrder[k]);
    // Filling a shown list again makes it measure and lay out every entry.
    if (names == m_names)
        return;
    const QString selected = fileName();
    m_names = std::move(names);
    QStringList shown;
    shown.reserve(m_names.size());
    for (const QString& name : std::as_const(m_names))
        shown.append(displayName(name));
    m_delegate->keepOnly(shown);
    clear();
    for (qsizetype k = 0; k < m_names.size(); ++k) {
        // The exact name leads back to the file; the text shows undecodable bytes as U+FFFD.
        auto* entry = new QListWidgetItem(shown[k], this);
        entry->setData(ExactNameRole, m_names[k]);
    }
    if (!selected.isEmpty())
        setListIndex(static_cast<int>(m_names.indexOf(selected)));
}

QString FileListBox::list(int position) const
{
    return m_names.value(position);
}

void FileListBox::setListIndex(int position)
{
    setCurrentRow(position);
}

QString FileListBox::fileName() const
{
    return m_names.value(currentRow());
}

void FileListBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_delegate->forgetAll();
    QListWidget::changeEvent(event);
}

void FileListBox::focusInEvent(QFocusEvent* event)
{
    QListWidget::focusInEvent(event);
    emit gotFocus(event->reason());
}
