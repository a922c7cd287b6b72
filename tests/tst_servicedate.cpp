// The host's date rules (tests/donnees/dates-*.tsv; today is 05/12/2026): normalised, reviewed, refused.

#include "OutilsEssai.h"
#include <pavonis/host/ServiceDateAutonome.h>

#include <QTest>

using namespace pavonis;

class TestServiceDate : public QObject {
    Q_OBJECT

    ServiceDateAutonome service_{[] {
        using namespace std::chrono;
        return year_month_day{year{2026}, month{12}, day{5}};
    }};

private slots:
    void normaliser_data() { essai::tableDonnees("dates-saisies.tsv", {"c0", "c1", "c2"}); }
    void normaliser()
    {
        const auto [saisie, normalisee, aRevoir] = essai::ligne<QString, QString, QString>();
        std::string texte = saisie.toStdString();
        std::int16_t format = 0;
        QCOMPARE(QString::fromStdString(service_.NormaliserDate(texte, format)), normalisee);
        QCOMPARE(service_.SaisieARevoir(), aRevoir == "1");
    }

    void controler_data() { essai::tableDonnees("dates-controlees.tsv", {"c0", "c1"}); }
    void controler() // the date, then part of the reason it is refused (empty: accepted)
    {
        const auto [date, refus] = essai::ligne<QString, QString>();
        const QString raison = QString::fromStdString(service_.controler(date.toStdString()));
        QVERIFY2(refus.isEmpty() ? raison.isEmpty() : raison.contains(refus), qPrintable(raison));
    }

    void formatInconnu()
    {
        std::string texte = "05/12/2026";
        std::int16_t format = 3;
        QVERIFY_THROWS_EXCEPTION(Erreur, service_.NormaliserDate(texte, format));
    }
};

QTEST_GUILESS_MAIN(TestServiceDate)
#include "tst_servicedate.moc"
