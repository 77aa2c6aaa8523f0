#include "FileListBox.h"
#include "platform/FileSystem.h"
#include "platform/NativeName.h"

#include <QFocusEvent>

#include <algorithm>

namespace {

constexpr int ExactNameRole = Qt::UserRole;

bool listedBefore(const QString& a, const QString& b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

} // namespace

FileListBox::FileListBox(FileSystem& fileSystem, QWidget* parent)
    : QListWidget(parent), m_fileSystem(fileSystem)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemDoubleClicked, this, &FileListBox::entryDoubleClicked);
}

void FileListBox::setPattern(const QString& pattern)
{
    m_pattern = FileNamePattern::parse(pattern);
    m_patternText = pattern;
}

void FileListBox::refresh()
{
    QStringList names;
    if (!m_path.isEmpty()) {
        const QStringList all = m_fileSystem.listFiles(m_path);
        std::copy_if(all.begin(), all.end(), std::back_inserter(names),
                     [this](const QString& name) { return m_pattern.matches(name); });
        std::sort(names.begin(), names.end(), listedBefore);
    }
    const QString selected = fileName();
    clear();
    for (const QString& name : names) {
        // The exact name leads back to the file; the text shows undecodable bytes as U+FFFD.
        auto* entry = new QListWidgetItem(displayName(name), this);
        entry->setData(ExactNameRole, name);
    }
    if (!selected.isEmpty())
        setListIndex(static_cast<int>(names.indexOf(selected)));
}

QString FileListBox::list(int position) const
{
    const QListWidgetItem* entry = item(position);
    return entry ? entry->data(ExactNameRole).toString() : QString();
}

void FileListBox::setListIndex(int position)
{
    setCurrentRow(position);
}

QString FileListBox::fileName() const
{
    const QListWidgetItem* entry = currentItem();
    return entry ? entry->data(ExactNameRole).toString() : QString();
}

void FileListBox::focusInEvent(QFocusEvent* event)
{
    QListWidget::focusInEvent(event);
    emit gotFocus(event->reason());
}
