#include "support/FakeDesktop.h"

namespace {

class FakeProgress : public RunProgress
{
public:
    FakeProgress(FakeDesktop& desktop, QString title) : m_desktop(desktop), m_title(std::move(title)) {}

    void update(const QString& label, qint64, qint64) override
    {
        m_desktop.progress.append(m_title + QStringLiteral(": ") + label);
        if (!m_desktop.cancelAt.isEmpty() && label.endsWith(m_desktop.cancelAt))
            m_canceled = true;
    }
    bool canceled() override { return m_canceled; }

private:
    FakeDesktop& m_desktop;
    QString m_title;
    bool m_canceled = false;
};

} // namespace

std::unique_ptr<RunProgress> FakeDesktop::startProgress(const QString& title)
{
    return std::make_unique<FakeProgress>(*this, title);
}

int FakeDesktop::messageBox(const QString& prompt, int style)
{
    boxes.append(QString::number(style) + QLatin1Char(' ') + prompt);
    if (whileOpen)
        whileOpen();
    if (style != MsgBoxStyle::YesNo && style != MsgBoxStyle::YesNoCritical)
        return MsgBoxAnswer::Ok;
    return answers.isEmpty() ? MsgBoxAnswer::No : answers.takeFirst();
}

bool FakeDesktop::openFolder(const QString& folder)
{
    openedFolders.append(folder);
    return !launchesFail;
}

bool FakeDesktop::openInTextEditor(const QString& file)
{
    openedFiles.append(file);
    return !launchesFail;
}
