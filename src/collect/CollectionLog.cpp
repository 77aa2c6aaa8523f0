#include "CollectionLog.h"
#include "LogText.h"
#include "platform/DateTimeText.h"
#include "platform/Desktop.h"
#include "platform/Paths.h"
#include "window/Form1.h"
#include "window/TextBox.h"

QList<QByteArray> logHeader(Form1& form)
{
    const QString lines[] = {
        QStringLiteral("Data e hora da recolha: ") + generalDateText(form.desktop().now()),
        QStringLiteral("Sessão nº ") + form.NumSessao->text(),
        QStringLiteral("Laboratório nº ") + form.Laboratorio->text(),
        QStringLiteral("Docente que vigiou ") + form.Professor->text(),
        QStringLiteral("Filtro utilizado ") + form.Filtro[0]->text(),
        QStringLiteral("Num de PC's ") + form.NumPCs->text(),
        QStringLiteral("Directório de recolha ") + form.PathRecolha->text(),
        QString(),
    };
    QList<QByteArray> header;
    for (const QString& line : lines)
        header.append(logLine(line));
    return header;
}

QByteArray copyLine(const QString& source, const QString& folder, const QString& otherName)
{
    return logLine(source + QStringLiteral(" Copiado para ") + joinPath(folder, otherName));
}

QString linkSkippedText(const QString& source)
{
    return source + QStringLiteral(" não recolhido: é uma ligação simbólica");
}

QByteArray linkSkippedLine(const QString& source)
{
    return logLine(linkSkippedText(source));
}

QString nothingCollectedText(const QString& station, const QString& reason)
{
    return station + QStringLiteral(" nada recolhido: ") + reason;
}

QByteArray nothingCollectedLine(const QString& station, const QString& reason)
{
    return logLine(nothingCollectedText(station, reason));
}

QString stationLostText(const QString& station, const QString& reason, const QStringList& left)
{
    return station + QStringLiteral(" nada mais recolhido: ") + reason + QStringLiteral("; por recolher: ") +
           left.join(QStringLiteral(", "));
}

QByteArray interruptionLine(const QString& failure)
{
    return logLine(QStringLiteral("Recolha interrompida: ") + failure);
}
