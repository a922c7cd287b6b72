#include "OutilsEssai.h"

#include <QFile>
#include <QProcess>
#include <QTest>

#include <exception>

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
    QProcess p;
    p.setProcessEnvironment(environnement);
    if (enfant)
        p.setChildProcessModifier(enfant);
    p.start(programme, arguments);
    const bool fini = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    if (code)
        *code = fini ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
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
