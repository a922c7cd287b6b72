#include "OutilsEssai.h"

#include <pavonis/host/MagasinParametres.h>

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

#include <exception>

#include <grp.h>
#include <unistd.h>

namespace pavonis::essai {

QString erreurDe(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

QString executer(const QString& programme, const QStringList& arguments, int* code,
                 const QProcessEnvironment& environnement, const std::function<void()>& enfant)
{
    const Execution e = lancer(programme, arguments, {}, environnement, enfant);
    if (code)
        *code = e.code;
    return QString::fromUtf8(e.sortie + e.erreurs);
}

void commePersonne()
{
    if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
        _exit(125);
}

Execution lancer(const QString& programme, const QStringList& arguments, const QByteArray& entree,
                 const QProcessEnvironment& environnement, const std::function<void()>& enfant)
{
    QProcess p;
    p.setProcessEnvironment(environnement);
    if (enfant)
        p.setChildProcessModifier(enfant);
    p.start(programme, arguments);
    Execution e;
    p.waitForStarted();
    for (qsizetype i = 0; i < entree.size() && p.state() == QProcess::Running; i += 4096) {
        p.write(entree.mid(i, 4096));
        p.waitForBytesWritten();
    }
    p.closeWriteChannel();
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
        e.code = p.exitCode();
    e.sortie = p.readAllStandardOutput();
    e.erreurs = p.readAllStandardError();
    return e;
}

QProcessEnvironment avec(const QString& nom, const QString& valeur, QProcessEnvironment environnement)
{
    environnement.insert(nom, valeur);
    return environnement;
}

QString creerMagasin(const QString& chemin, const QString& sql)
{
    const auto magasin = MagasinParametres::ouvrir(chemin.toStdString(), "/opt/pavonis/data/");
    if (!sql.isEmpty())
        magasin->executer(sql.toStdString());
    return chemin;
}

QByteArray lireFichier(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ecrireFichier(const QString& chemin, const QByteArray& contenu)
{
    QFile f(chemin);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(contenu) != contenu.size())
        qFatal("cannot write %s", qPrintable(chemin));
}

QJsonObject lireJson(const QString& chemin)
{
    return QJsonDocument::fromJson(lireFichier(chemin)).object();
}

QString donnee(const QString& nom)
{
    QFile f(QStringLiteral(PAVONIS_DONNEES) + u'/' + nom);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("%s missing", qPrintable(nom));
    return QString::fromUtf8(f.readAll());
}

void tableDonnees(const char* fichier, std::initializer_list<const char*> colonnes)
{
    for (const char* c : colonnes)
        QTest::addColumn<QString>(c);
    for (const QString& l : donnee(QString::fromUtf8(fichier)).split(u'\n', Qt::SkipEmptyParts).mid(1)) {
        QTestData& ligne = QTest::newRow(qPrintable(l.section(u'\t', 0, 0)));
        for (int i = 1; i <= int(colonnes.size()); ++i)
            ligne << l.section(u'\t', i, i);
    }
}

} // namespace pavonis::essai
