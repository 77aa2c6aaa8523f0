#include "support/FakeDesktop.h"

#include <QCoreApplication>

namespace {

struct FakeProgress : RunProgress
{
    explicit FakeProgress(const QString& cancelAt) : cancelAt(cancelAt) {}
    // As the program's progress, the window's events are handled at each update.
    void update(const QString& label, qint64, qint64) override
    {
        stopped = stopped || label == cancelAt;
        QCoreApplication::processEvents();
    }
    bool canceled() override { return stopped; }

    QString cancelAt;
    bool stopped = false;
};

} // namespace

std::unique_ptr<RunProgress> FakeDesktop::startProgress(const QString&)
{
    return std::make_unique<FakeProgress>(cancelAt);
}

int FakeDesktop::messageBox(const QString& prompt, int style)
{
    boxes.append(QString::number(style) + QLatin1Char(' ') + prompt);
    whileOpen();
    if ((style & 7) != MsgBoxStyle::YesNo)
        return MsgBoxAnswer::Ok;
    const int answer = answers.isEmpty() ? MsgBoxAnswer::No : answers.takeFirst();
    if (answer != Return)
        return answer;
    return style & MsgBoxStyle::DefaultButton2 ? MsgBoxAnswer::No : MsgBoxAnswer::Yes;
}

bool FakeDesktop::launch(QStringList& opened, const QString& path)
{
    opened.append(path);
    return !launchesFail;
}
