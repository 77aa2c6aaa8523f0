#include "support/FakeDesktop.h"

int FakeDesktop::messageBox(const QString& prompt, int style)
{
    prompts.append({prompt, style});
    if (whileOpen)
        whileOpen(prompts.last());
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

QStringList FakeDesktop::promptTexts() const
{
    QStringList texts;
    for (const Prompt& prompt : prompts)
        texts.append(prompt.text);
    return texts;
}
