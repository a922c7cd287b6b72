#include <pavonis/platform/DateDuJour.h>

namespace pavonis {

namespace {
QDate simulee;
}

void DateDuJour::simuler(const QDate& date)
{
    simulee = date;
}

QDate DateDuJour::date()
{
    if (simulee.isValid())
        return simulee;
    const QDate environnement = QDate::fromString(qEnvironmentVariable("PAVONIS_DATE_DU_JOUR"), Qt::ISODate);
    return environnement.isValid() ? environnement : QDate::currentDate();
}

QString DateDuJour::texte()
{
    return date().toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace pavonis
