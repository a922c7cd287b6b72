#include "DocumentPdf.h"

#include "FeuilleA4.h"

#include <pavonis/Erreur.h>

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>

namespace pavonis::plateforme {

namespace {

QString raison(const QSaveFile& f, const QString& chemin)
{
    const QFileInfo info(chemin);
    if (info.isDir())
        return QStringLiteral("c'est un dossier");
    if (!info.absoluteDir().exists())
        return QStringLiteral("le dossier « %1 » n'existe pas")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    switch (f.error()) {
    case QFileDevice::PermissionsError:
        return QStringLiteral("accès refusé");
    case QFileDevice::WriteError:
    case QFileDevice::ResourceError:
        return QStringLiteral("écriture impossible (disque plein ?)");
    default:
        return QStringLiteral("écriture impossible dans le dossier « %1 »")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    }
}

} // namespace

DocumentPdf::DocumentPdf(const QString& chemin, const QString& titre)
    : chemin_(chemin), fichier_(std::make_unique<QSaveFile>(chemin))
{
    if (chemin.isEmpty())
        throw Erreur(Erreur::Code::Plateforme, "Aucun nom de fichier n'est donné pour le PDF.");
    if (QFileInfo(chemin).isDir() || !fichier_->open(QIODevice::WriteOnly))
        echec();
    commencer(*fichier_, titre);
}

DocumentPdf::DocumentPdf(QIODevice& sortie, const QString& titre)
{
    if (!sortie.isOpen() || !sortie.isWritable())
        throw Erreur(Erreur::Code::Plateforme,
                     "Le PDF ne peut pas être écrit : la sortie n'est pas ouverte en écriture.");
    commencer(sortie, titre);
}

void DocumentPdf::commencer(QIODevice& sortie, const QString& titre)
{
    pdf_ = std::make_unique<QPdfWriter>(&sortie);
    pdf_->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
    pdf_->setTitle(titre);
    pdf_->setCreator(QStringLiteral("Pavonis"));
    if (!peintre_.begin(pdf_.get()))
        echec();
    preparerPeintre(peintre_, QPointF(FeuilleA4::kMargeTwips, FeuilleA4::kMargeTwips));
}

void DocumentPdf::echec() const
{
    if (!fichier_)
        throw Erreur(Erreur::Code::Plateforme, "Le PDF n'a pas pu être écrit sur sa sortie.");
    throw Erreur(Erreur::Code::Plateforme,
                 QStringLiteral("Impossible d'écrire le fichier PDF « %1 » : %2.")
                     .arg(QDir::toNativeSeparators(chemin_), raison(*fichier_, chemin_))
                     .toStdString());
}

DocumentPdf::~DocumentPdf()
{
    if (peintre_.isActive())
        peintre_.end();
    if (fichier_ && !termine_)
        fichier_->cancelWriting();
}

QPainter& DocumentPdf::peintre()
{
    if (termine_)
        throw Erreur(Erreur::Code::Plateforme, "Le document PDF est déjà terminé.");
    return peintre_;
}

void DocumentPdf::NewPage()
{
    peintre();
    if (!pdf_->newPage())
        echec();
}

void DocumentPdf::EndDoc()
{
    if (termine_)
        return;
    termine_ = true;
    const bool peint = peintre_.end();
    if (!peint || (fichier_ && !fichier_->commit()))
        echec();
}

} // namespace pavonis::plateforme
