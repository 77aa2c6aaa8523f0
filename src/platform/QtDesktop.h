#pragma once

#include "Desktop.h"

class QtDesktop : public Desktop
{
public:
    int messageBox(const QString& prompt, int style) override;
    bool openFolder(const QString& folder) override;
    bool openInTextEditor(const QString& file) override;
    QDateTime now() override;
    std::unique_ptr<RunProgress> startProgress(const QString& title) override;
};
