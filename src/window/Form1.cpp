#include "Form1.h"
#include "CommandButton.h"
#include "DesignFont.h"
#include "Form2.h"
#include "FileListBox.h"
#include "SessionScrollBar.h"
#include "TextBox.h"
#include "Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int TimerIntervalMs = 10000;
constexpr quint32 DarkBlue = 0x00C00000;
constexpr quint32 Orange = 0x000080FF;

template <typename Widget> Widget* place(Widget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(rectFromTwips(left, top, width, height));
    return widget;
}

QLabel* makeLabel(QWidget* parent, const QString& caption, Qt::Alignment alignment)
{
    auto* label = new QLabel(caption, parent);
    label->setAlignment(alignment | Qt::AlignTop);
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& caption)
{
    return new CommandButton(caption, parent);
}

TextBox* makeTextBox(QWidget* parent, const QString& text, const QString& tip)
{
    auto* box = new TextBox(parent);
    box->setText(text);
    box->setToolTip(tip);
    return box;
}

} // namespace

Form1::Form1(FileSystem& fileSystem, StationCalls& stationCalls, Desktop& desktop, QWidget* parent)
    : QWidget(parent), m_fileSystem(fileSystem), m_stationCalls(stationCalls), m_desktop(desktop)
{
    setWindowTitle(QStringLiteral("Form1"));
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));
    resize(rectFromTwips(0, 0, 9588, 7812).size());

    createStationRows();
    createSessionColumn();
    createBottomBar();
    setTabOrder();

    Timer1 = new QTimer(this);
    Timer1->setInterval(TimerIntervalMs);

    Timer1->start();
    CommandRecolhe->setFocus();
}

Form1::~Form1()
{
    // The controls outlive this object's own part while QWidget deletes them, and
    // losing the focus then must not reach a handler of a window that is gone.
    for (QObject* control : findChildren<QObject*>())
        disconnect(control, nullptr, this, nullptr);
}

void Form1::createStationRows()
{
    const QFont headingFont = designFont(QStringLiteral("MS Sans Serif"), 9.6);
    Label7 = place(makeLabel(this, QStringLiteral("Share nos PCs dos Alunos"), Qt::AlignHCenter), 360, 0,
                   3255, 255);
    Label6 = place(makeLabel(this, QStringLiteral("Ficheiros"), Qt::AlignHCenter), 3720, 0, 1815, 255);
    Label5 = place(makeLabel(this, QStringLiteral("Último Save"), Qt::AlignHCenter), 5640, 0, 1215, 255);
    for (QLabel* heading : {Label7, Label6, Label5})
        heading->setFont(headingFont);

    for (int i = 0; i < StationCount; ++i) {
        const int top = 360 + 480 * i;
        ComOpenShare[i] = place(makeButton(this, QString()), 0, top, 255, 285);
        ComOpenShare[i]->setToolTip(QStringLiteral("Abre a pasta do exame"));
        PC1Path[i] = place(makeTextBox(this, QString(), stationPathTip()), 360, top, 3255, 285);
        File1[i] = place(new FileListBox(m_fileSystem, this), 3720, top, 1815, 456);
        File1[i]->setToolTip(QStringLiteral("Ficheiros do aluno"));
        Hora[i] = place(
            makeTextBox(this, QString(), QStringLiteral("Hora do último save do último ficheiro criado")),
            5640, top, 1215, 285);
    }
    PC1Path[0]->setForeColor(WindowColor::Yellow);
    Hora[0]->setForeColor(Orange);
}

void Form1::createSessionColumn()
{
    Label1 = place(makeLabel(this, QStringLiteral("Nº da Sessão"), Qt::AlignHCenter), 7560, 0, 1935, 375);
    Label1->setFont(designFont(QStringLiteral("MS Sans Serif"), 12));

    VScrollSessao = place(new SessionScrollBar(this), 7080, 360, 375, 1635);
    VScrollSessao->setRange(1, 20);
    VScrollSessao->setSingleStep(1);
    VScrollSessao->setPageStep(1);
    VScrollSessao->setValue(20);
    VScrollSessao->setStepBlocker([this] { return m_guard.busy(); });

    NumSessao = place(makeTextBox(this, QStringLiteral("Text1"), QStringLiteral("Número da sessão")), 7560,
                      360, 1815, 1635);
    NumSessao->setAlignment(Qt::AlignCenter);
    NumSessao->setFont(designFont(QStringLiteral("Arial"), 72));
    NumSessao->setForeColor(DarkBlue);

    Label3 =
        place(makeLabel(this, QStringLiteral("Pasta de recolha"), Qt::AlignHCenter), 7200, 2040, 2055, 255);
    PathRecolha =
        place(makeTextBox(this, QStringLiteral("Text1"), QStringLiteral("Pasta para a recolha dos testes")),
              7080, 2280, 2295, 375);
    CommandAbrePastaRecolha =
        place(makeButton(this, QStringLiteral("Abre Pasta de Recolha")), 7080, 2760, 2295, 375);
    File2 = place(new FileListBox(m_fileSystem, this), 7080, 3120, 2295, 1800);
    File2->setToolTip(QStringLiteral("Lista dos ficheiros existentes na pasta de recolha"));

    Label8 = place(makeLabel(this, QStringLiteral("Professor"), Qt::AlignLeft), 7080, 5400, 2055, 255);
    Professor = place(
        makeTextBox(this, QString(), QStringLiteral("Nome do docente que vigia o teste - fica registado")),
        7080, 5640, 2295, 375);
    Laboratorio = place(
        makeTextBox(this, QStringLiteral("Text1"), QStringLiteral("Laboratório onde se realiza o teste")),
        7080, 6120, 2295, 945);
    Laboratorio->setAlignment(Qt::AlignCenter);
    Laboratorio->setFont(designFont(QStringLiteral("Arial"), 36));
    Laboratorio->setForeColor(DarkBlue);

    const QFont labelFont = designFont(QStringLiteral("MS Sans Serif"), 9.6);
    Label3->setFont(labelFont);
    Label8->setFont(labelFont);
}

void Form1::createBottomBar()
{
    Label4 =
        place(makeLabel(this, QStringLiteral("Nº de PC's Activos"), Qt::AlignRight), 120, 6960, 2295, 255);
    Label4->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.6));
    NumPCs = place(makeTextBox(this, QStringLiteral("0"), QString()), 2520, 6960, 615, 285);
    NumPCs->setReadOnly(true);
    Label2 = place(makeLabel(this, QStringLiteral("Filtro"), Qt::AlignHCenter), 3360, 7200, 615, 255);
    Filtro[0] =
        place(makeTextBox(this, QStringLiteral("Text1"), QStringLiteral("Filtro ")), 3120, 7440, 1095, 315);
    Checksubfolders = place(new QCheckBox(QStringLiteral("Trata SubPastas"), this), 4320, 7200, 1575, 255);
    Check1 = place(new QCheckBox(QStringLiteral("Mostra subPatas"), this), 4320, 7560, 1575, 255);
    // The captions are sized for a narrower font than most desktops' sans-serif: keep the box close.
    for (QCheckBox* box : {Checksubfolders, Check1})
        box->setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; }"));
    ComClose = place(makeButton(this, QStringLiteral("Fecha")), 240, 7320, 975, 495);
    Command2 = place(makeButton(this, QStringLiteral("Info")), 1440, 7320, 975, 495);
    CommandRefresh = place(makeButton(this, QStringLiteral("Refresh")), 6240, 7200, 975, 495);
    CommandRecolhe = place(makeButton(this, QStringLiteral("Recolha")), 7320, 7200, 975, 495);
    CommandApaga = place(makeButton(this, QStringLiteral("Apaga Originais")), 8400, 7200, 975, 495);
}

void Form1::setTabOrder()
{
    QList<QWidget*> order{CommandRecolhe, Filtro[0], NumSessao, PathRecolha, Laboratorio};
    for (int i = StationCount - 1; i >= 0; --i)
        order.append(Hora[i]);
    for (int i = StationCount - 1; i >= 0; --i)
        order.append(File1[i]);
    for (int i = StationCount - 1; i >= 1; --i)
        order.append(PC1Path[i]);
    order << File2 << VScrollSessao << NumPCs << CommandApaga << CommandRefresh << Professor
          << ComOpenShare[0] << PC1Path[0];
    for (int i = 1; i < StationCount; ++i)
        order.append(ComOpenShare[i]);
    order << CommandAbrePastaRecolha << ComClose << Command2 << Checksubfolders << Check1;
    for (qsizetype k = 1; k < order.size(); ++k)
        QWidget::setTabOrder(order[k - 1], order[k]);
}

void Form1::runHandler(const std::function<void()>& handler)
{
    if (m_guard.busy() || m_unloaded)
        return;
    HandlerGuard::Scope scope(m_guard);
    handler();
}

Form2& Form1::informationWindow()
{
    if (!m_informationWindow)
        m_informationWindow = std::make_unique<Form2>();
    return *m_informationWindow;
}

// Closing by the frame or by "Fecha" unloads the window for good: no handler runs again.
void Form1::closeEvent(QCloseEvent* event)
{
    m_unloaded = true;
    Timer1->stop();
    event->accept();
}
