// The demo host as a program: scenarios replayed without a display, the
// state it writes, and how it reports a bad scenario and the way out.

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Execution {
    int code = -1;
    QString erreurs;
    QString sortie;
    QJsonObject etat;
};

QJsonObject controle(const QJsonObject& etat, const QString& nom)
{
    for (const QJsonValue& v : etat["controle"]["controles"].toArray())
        if (v["nom"].toString() == nom)
            return v.toObject();
    return {};
}

} // namespace

class TestPavonisHote : public QObject {
    Q_OBJECT

    QTemporaryDir dossier_;

    Execution lancer(const QString& scenario, const QStringList& plus = {})
    {
        const QString chemin = dossier_.path() + "/scenario.txt";
        QFile f(chemin);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(scenario.toUtf8());
        f.close();
        const QString etat = dossier_.path() + "/etat.json";
        QFile::remove(etat);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", dossier_.path() + "/donnees");
        env.insert("XDG_CONFIG_HOME", dossier_.path() + "/config");
        env.insert("PAVONIS_DATE_DU_JOUR", "2026-12-05");
        p.setProcessEnvironment(env);
        p.start(PAVONIS_HOTE, QStringList{"--scenario", chemin, "--etat", etat} + plus);
        Execution e;
        if (!p.waitForFinished(60000))
            return e;
        e.code = p.exitCode();
        e.erreurs = QString::fromUtf8(p.readAllStandardError());
        e.sortie = QString::fromUtf8(p.readAllStandardOutput());
        QFile j(etat);
        if (j.open(QIODevice::ReadOnly))
            e.etat = QJsonDocument::fromJson(j.readAll()).object();
        return e;
    }

private slots:
    void chaqueGir_data()
    {
        QTest::addColumn<QString>("fichier");
        QTest::addColumn<QString>("gir");
        QTest::addColumn<QString>("sousGroupe");
        QTest::newRow("1") << "gir1.txt" << "1" << "";
        QTest::newRow("2") << "gir2.txt" << "2" << "";
        QTest::newRow("3") << "gir3.txt" << "3" << "";
        QTest::newRow("4") << "gir4.txt" << "4" << "";
        QTest::newRow("5") << "gir5.txt" << "5" << "C";
        QTest::newRow("6") << "gir6.txt" << "6" << "B";
    }

    // Clicks alone reach every GIR.
    void chaqueGir()
    {
        QFETCH(QString, fichier);
        QFETCH(QString, gir);
        QFETCH(QString, sousGroupe);
        QFile f(QStringLiteral(PAVONIS_EXEMPLES) + "/scenarios/" + fichier);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const Execution e = lancer(QString::fromUtf8(f.readAll()));
        QVERIFY2(e.code == 0, qPrintable(e.erreurs));
        QCOMPARE(controle(e.etat, "Txt_Groupe")["texte"].toString(), gir);
        QCOMPARE(controle(e.etat, "Txt_SousGroupe")["texte"].toString(), sousGroupe);
    }

    void etatEcrit()
    {
        const Execution e = lancer("saisir Txt_NomBenef Hélène Lefèvre\n"
                                   "effacer Txt_DateEval\n"
                                   "saisir Txt_DateEval 3112\n"
                                   "quitter Txt_DateEval\n"
                                   "quitter Txt_DateEval\n"
                                   "effacer Txt_DateEval\n"
                                   "saisir Txt_DateEval 1/12/26\n"
                                   "quitter Txt_DateEval\n");
        QVERIFY2(e.code == 0, qPrintable(e.erreurs));
        const QJsonArray controles = e.etat["controle"]["controles"].toArray();
        QCOMPARE(controles.size(), 253);
        const QJsonObject nom = controle(e.etat, "Txt_NomBenef");
        QCOMPARE(nom["texte"].toString(), "Hélène Lefèvre");
        QCOMPARE(nom["conteneur"].toString(), "Cdr_GroupeIsoRessource");
        QCOMPARE(nom["gauche"].toInt(), 240);
        QCOMPARE(nom["haut"].toInt(), 2520);
        const QJsonObject s = controle(e.etat, "Cac_ToiletteHS");
        QCOMPARE(s["genre"].toString(), "case");
        QCOMPARE(s["actif"].toBool(), false);
        QCOMPARE(controle(e.etat, "Opt_TransfertsFait")["valeur"].toBool(), true);
        // "3112" is completed to 31/12/2026 for review, then refused (after
        // today); "1/12/26" is accepted as 01/12/2026.
        QCOMPARE(e.etat["messages"].toArray().size(), 1);
        QCOMPARE(e.etat["messages"][0]["titre"].toString(), "Message NORVELIS");
        QCOMPARE(controle(e.etat, "Txt_DateEval")["texte"].toString(), "01/12/2026");
        QCOMPARE(e.etat["focus"].toString(), "Txt_SousGroupe");
        QCOMPARE(e.etat["fenetre"]["Caption"].toString(), "Outil grille Aggir révision 2008");
        QVERIFY(e.sortie.contains("W_Sortir = False"));
    }

    void scenarioFautif_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("message");
        QTest::newRow("contrôle inconnu") << "cliquer Opt_TransfertsFait\n\ncliquer Opt_Inconnu\n"
                                          << "ligne 3 : contrôle inconnu « Opt_Inconnu »";
        QTest::newRow("action inconnue") << "# commentaire\nsauter Opt_TransfertsFait\n"
                                         << "ligne 2 : action inconnue « sauter »";
        QTest::newRow("nom manquant") << "cliquer\n" << "ligne 1 : il manque le nom du contrôle";
        QTest::newRow("pas une case") << "cocher Txt_Groupe\n" << "ligne 1 : « Txt_Groupe » n'est pas une case";
    }

    void scenarioFautif()
    {
        QFETCH(QString, scenario);
        QFETCH(QString, message);
        const Execution e = lancer(scenario);
        QCOMPARE(e.code, 2);
        QVERIFY2(e.erreurs.contains(message), qPrintable(e.erreurs));
        QVERIFY(!e.etat.isEmpty()); // the state so far is still written
    }

    void sortie_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<bool>("wSortir");
        QTest::newRow("retour") << "cliquer Cmd_Retour\n" << true;
        QTest::newRow("case de fermeture") << "fermer\n" << false;
    }

    void sortie()
    {
        QFETCH(QString, scenario);
        QFETCH(bool, wSortir);
        const Execution e = lancer(scenario);
        QCOMPARE(e.code, 0);
        QCOMPARE(e.etat["fenetre_ouverte"].toBool(), false);
        QCOMPARE(e.etat["W_Sortir_a_la_fermeture"].toBool(), wSortir);
        QVERIFY(e.sortie.contains(wSortir ? "W_Sortir = True" : "W_Sortir = False"));
    }

    void capture()
    {
        const QString png = dossier_.path() + "/capture.png";
        const Execution e = lancer("cliquer Opt_AchatsFaitPas\n", {"--capture", png});
        QCOMPARE(e.code, 0);
        QImage image(png);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() > 900 && image.height() > 700);
    }
};

QTEST_MAIN(TestPavonisHote)
#include "tst_pavonis_hote.moc"
