#include "Interruption.h"
#include "platform/NativeName.h"

Interruption::Interruption(const RunError& error, Action action, QString path)
    : m_error(error), m_action(action), m_path(std::move(path))
{
}

QString Interruption::firstLine() const
{
    const QString action = m_action == Action::Copying ? QStringLiteral("a copiar o ficheiro")
                                                       : QStringLiteral("a escrever o ficheiro");
    return QStringLiteral("Error %1 %2: %3   %4")
        .arg(QString::number(m_error.number()), action, m_path, m_error.description());
}

QString Interruption::message() const
{
    return displayName(firstLine()) +
           QStringLiteral("\nOs ficheiros já copiados ficam na pasta de recolha; para recolher de novo, "
                          "escolha outra sessão.");
}
