// The stand-alone host's date rules: how typed dates are normalised, when
// the entry is sent back for review, and which dates are refused.

#include "ServiceDateAutonome.h"

#include <QTest>

using namespace pavonis;

class TestServiceDate : public QObject {
    Q_OBJECT

    ServiceDateAutonome service_{[] {
        using namespace std::chrono;
        return year_month_day{year{2026}, month{12}, day{5}};
    }};

private slots:
    void normaliser_data()
    {
        QTest::addColumn<QString>("saisie");
        QTest::addColumn<QString>("resultat");
        QTest::addColumn<bool>("aRevoir");
        QTest::newRow("complète") << "05/12/2026" << "05/12/2026" << false;
        QTest::newRow("sans zéros") << "5/1/2026" << "05/01/2026" << false;
        QTest::newRow("tirets") << "5-1-2026" << "05/01/2026" << false;
        QTest::newRow("points") << "5.1.2026" << "05/01/2026" << false;
        QTest::newRow("8 chiffres") << "05122026" << "05/12/2026" << false;
        QTest::newRow("6 chiffres") << "051226" << "05/12/2026" << false;
        QTest::newRow("année 26") << "5/12/26" << "05/12/2026" << false;
        QTest::newRow("année 27 au siècle dernier") << "5/12/27" << "05/12/1927" << false;
        QTest::newRow("année 00") << "1/1/00" << "01/01/2000" << false;
        QTest::newRow("jour et mois") << "5/12" << "05/12/2026" << true;
        QTest::newRow("4 chiffres") << "0512" << "05/12/2026" << true;
        QTest::newRow("jour seul") << "5" << "5" << true;
        QTest::newRow("année coupée") << "5/12/2" << "5/12/2" << true;
        QTest::newRow("année à 3 chiffres") << "5/12/202" << "5/12/202" << true;
        QTest::newRow("impossible mais normalisée") << "31/2/2026" << "31/02/2026" << false;
        QTest::newRow("5 chiffres") << "05122" << "05122" << false;
        QTest::newRow("jour à 3 chiffres") << "005/12/2026" << "005/12/2026" << false;
        QTest::newRow("lettres") << "5 déc. 2026" << "5 déc. 2026" << false;
        QTest::newRow("séparateurs seuls") << "///" << "///" << false;
    }

    void normaliser()
    {
        QFETCH(QString, saisie);
        QFETCH(QString, resultat);
        QFETCH(bool, aRevoir);
        std::string texte = saisie.toStdString();
        std::int16_t format = 0;
        QCOMPARE(QString::fromStdString(service_.NormaliserDate(texte, format)), resultat);
        QCOMPARE(service_.SaisieARevoir(), aRevoir);
    }

    void controler_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("refus"); // part of the reason; empty: accepted
        QTest::newRow("aujourd'hui") << "05/12/2026" << "";
        QTest::newRow("29 février bissextile") << "29/02/2024" << "";
        QTest::newRow("1er janvier 1900") << "01/01/1900" << "";
        QTest::newRow("demain") << "06/12/2026" << "postérieure";
        QTest::newRow("29 février 2025") << "29/02/2025" << "impossible";
        QTest::newRow("31 février") << "31/02/2026" << "impossible";
        QTest::newRow("jour 00") << "00/12/2026" << "impossible";
        QTest::newRow("mois 13") << "01/13/2026" << "impossible";
        QTest::newRow("1899") << "31/12/1899" << "1900";
        QTest::newRow("forme") << "5/12/2026" << "jj/mm/aaaa";
        QTest::newRow("vide") << "" << "jj/mm/aaaa";
    }

    void controler()
    {
        QFETCH(QString, date);
        QFETCH(QString, refus);
        const QString raison = QString::fromStdString(service_.controler(date.toStdString()));
        if (refus.isEmpty())
            QCOMPARE(raison, QString());
        else
            QVERIFY2(raison.contains(refus), qPrintable(raison));
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
