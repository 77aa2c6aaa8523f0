#pragma once

#include "FileNamePattern.h"
#include "platform/FileSystem.h"

#include <QListWidget>

class MeasuredNamesDelegate;

// A list of the plain files of one folder that match a name pattern. Setting the
// folder or the pattern only records it; refresh() reads the folder, once.
class FileListBox : public QListWidget
{
    Q_OBJECT
public:
    FileListBox(FileSystem& fileSystem, QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& folder) { m_path = folder; }

    QString pattern() const { return m_patternText; }
    const FileNamePattern& namePattern() const { return m_pattern; }
    // Throws RunError 380 for a pattern the list refuses; the old pattern then stays.
    void setPattern(const QString& pattern);

    // Re-reads the folder's names; an empty folder path lists nothing. Throws RunError when
    // the folder cannot be read, leaving the entries as they were.
    void refresh();
    // Shows the files of its folder as they were read elsewhere, with their times, in the
    // pattern. Entries that are the same names as before are left as they are, selection included.
    void showListing(QList<ListedFile> files);

    // The times of each entry as the last listing gave them, in list order.
    const QList<FileTimesRead>& listedTimes() const { return m_times; }

    int listCount() const { return count(); }
    // Names are exact (they may hold escaped bytes); the list shows their display form.
    QString list(int position) const;
    int listIndex() const { return currentRow(); }
    void setListIndex(int position);
    // The name of the selected entry, or empty.
    QString fileName() const;

signals:
    void gotFocus(Qt::FocusReason reason);
    void entryDoubleClicked();

protected:
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    FileSystem& m_fileSystem;
    QString m_path;
    QString m_patternText;
    FileNamePattern m_pattern;
    MeasuredNamesDelegate* m_delegate;
    QStringList m_names;        // the exact names of the entries, in list order
    QStringList m_listingOrder; // the same names, in the order the folder was read
    QList<qsizetype> m_order;   // for each entry, its place in m_listingOrder
    QList<FileTimesRead> m_times;
};
