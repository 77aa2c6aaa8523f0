#include "Form2.h"
#include "CommandButton.h"
#include "DesignFont.h"
#include "Twips.h"
#include "WindowColor.h"

#include <QLabel>

namespace {

constexpr quint32 DarkRed = 0x00000080;

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

} // namespace

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Form2"));
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));
    setFixedSize(rectFromTwips(0, 0, 5472, 3180).size());

    Label1 = makeLabel(this, QStringLiteral("Varnok 1.1"), rectFromTwips(1560, 120, 2055, 255));
    Label1->setFont(designFont(QStringLiteral("MS Sans Serif"), 12));
    applyWindowColor(Label1, QPalette::WindowText, DarkRed);

    Label2 = makeLabel(this, QStringLiteral("A equipa do Varnok  varnok@varnok.example"),
                       rectFromTwips(1320, 600, 2775, 495));
    Label4 = makeLabel(this, QStringLiteral("Ferramentas de vigilância de provas práticas"),
                       rectFromTwips(1320, 1080, 3015, 375));
    Label3 = makeLabel(this, QStringLiteral("Projecto Varnok"), rectFromTwips(1320, 1560, 3015, 255));
    Label5 = makeLabel(this, QStringLiteral("Dezembro de 2026, Lisboa, Portugal"),
                       rectFromTwips(1320, 1920, 3015, 255));

    Command1 = new CommandButton(QStringLiteral("Fechar"), this);
    Command1->setGeometry(rectFromTwips(1920, 2400, 1335, 375));
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
}

void Form2::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Command1->setFocus();
}
