#include "Demonstration.h"

#include "EtatEcran.h"
#include "Scenario.h"

#include <pavonis/control/IEvaluationPavonis.h>
#include <pavonis/control/IUc_Pavonis.h>
#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/evaluation/ReponseFhir.h>
#include <pavonis/files/EcritureFichier.h>
#include <pavonis/files/LectureFichier.h>
#include <pavonis/hostapi/Erreur.h>
#include <pavonis/platform/BoiteMessage.h>
#include <pavonis/platform/FenetreHote.h>

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>

#include <iostream>

namespace pavonis {

namespace {

constexpr std::size_t kTailleEvaluationMax = 1 << 20;

// Resident memory of this process, in kB (0 where /proc is missing).
qint64 memoireResidenteKo()
{
    QFile statut(QStringLiteral("/proc/self/status"));
    if (!statut.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    for (QByteArray ligne = statut.readLine(); !ligne.isEmpty(); ligne = statut.readLine())
        if (ligne.startsWith("VmRSS:"))
            return ligne.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

QString absolu(const QString& chemin)
{
    return QFileInfo(chemin).absoluteFilePath();
}

void dire(const QString& message)
{
    std::cerr << "pavonis-hote: " << message.toStdString() << '\n';
}

} // namespace

Demonstration::Demonstration(const OptionsDemonstration& options) : options_(options)
{
    if (options_.rejeu())
        BoiteMessage::intercepter([this](const BoiteMessage::Message& m) {
            messages_.append(QJsonObject{{"titre", m.titre}, {"texte", m.texte}});
        });

    // The window deletes itself once closed: what the host needs of it is
    // taken while it closes.
    fenetre_ = new FenetreDemo;
    fenetre_->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(fenetre_, &FenetreDemo::fermeture, [this](bool sortie) {
        sortieParRetour_ = sortie;
        fermee_ = true;
    });
    // The host window: the demo window itself, or the sub-window that holds
    // it in an application's multiple-document area.
    fenetreHote_ = fenetre_.data();
    if (options_.mdi) {
        application_ = std::make_unique<QMainWindow>();
        application_->setWindowTitle(QStringLiteral("Application hôte"));
        zone_ = new QMdiArea;
        application_->setCentralWidget(zone_);
        fenetreHote_ = zone_->addSubWindow(fenetre_);
    }
    try {
        hote_ = std::make_unique<HoteAutonome>(options_.parametres);
        controle_ = hote_->creerControle(fenetre_);
    } catch (...) {
        if (!options_.mdi)
            delete fenetre_.data();
        throw;
    }
    QWidget* controle = controle_->widget();
    fenetre_->definirControle(controle);
    // What fails in the control is shown, or in a replay recorded.
    fenetre_->definirGestionnaireErreur([this](const QString& message) {
        dire(message);
        if (options_.rejeu())
            erreurs_.append(message);
        else
            QMessageBox::warning(fenetre_, QStringLiteral("Pavonis"), message);
    });
    QObject::connect(controle, SIGNAL(erreur(QString)), fenetre_, SLOT(signalerErreur(QString)));

    if (application_)
        application_->show();
    fenetreHote_->show();
    if (application_) {
        // The control has sized its window: the application makes room for it.
        fenetreHote_->move(0, 0);
        application_->resize(application_->size() + fenetreHote_->size() - zone_->viewport()->size());
    }
    try {
        controle_->Init();
    } catch (const Erreur& e) {
        fenetre_->signalerErreur(QString::fromUtf8(e.what()));
    }
}

Demonstration::~Demonstration()
{
    BoiteMessage::intercepter({});
}

IEvaluationPavonis& Demonstration::extension() const
{
    if (!ouverte())
        throw Erreur(Erreur::Code::Plateforme, "la fenêtre de l'hôte est fermée.");
    return *IEvaluationPavonis::de(controle_);
}

void Demonstration::charger(const QString& chemin)
{
    const auto lecture = FormatEvaluation::lire(
        fichiers::lireFichier(QFile::encodeName(chemin).toStdString(), kTailleEvaluationMax));
    extension().chargerEvaluation(lecture.evaluation);
    if (lecture.resultats)
        for (const std::string& e : FormatEvaluation::ecarts(*lecture.resultats, extension().resultats())) {
            dire(chemin + " : " + QString::fromStdString(e));
            avertissements_.append(QString::fromStdString(e));
        }
}

int Demonstration::travailler()
{
    return QApplication::exec();
}

void Demonstration::rejouer()
{
    // A user works in an active window: the replay waits for it.
    try {
        Scenario::activer(*fenetreHote_->window());
    } catch (const Erreur& e) {
        dire(QString::fromUtf8(e.what()));
    }
    if (!options_.scenario.isEmpty())
        Scenario(*fenetreHote_, *controle_->widget()).rejouer(options_.scenario);
    QCoreApplication::processEvents();
}

bool Demonstration::ouverte() const
{
    return fenetre_ && !fermee_;
}

QJsonObject Demonstration::etat() const
{
    QJsonObject etat{{"fenetre_ouverte", ouverte()},
                     {"W_Sortir_a_la_fermeture", sortieParRetour_},
                     {"messages", messages_},
                     {"erreurs", erreurs_},
                     {"avertissements", avertissements_},
                     {"memoire_residente_ko", memoireResidenteKo()}};
    if (ouverte()) {
        QWidget* controle = controle_->widget();
        etat.insert("controle", etatEcran(*controle));
        const FenetreHote fenetre(controle);
        etat.insert("fenetre", QJsonObject{{"Caption", fenetre.lire(QStringLiteral("Caption")).toString()},
                                           {"Height", fenetre.lire(QStringLiteral("Height")).toDouble()},
                                           {"Width", fenetre.lire(QStringLiteral("Width")).toDouble()}});
        if (QWidget* focus = QApplication::focusWidget())
            etat.insert("focus", focus->objectName());
    }
    if (application_)
        etat.insert("application", QJsonObject{{"titre", application_->windowTitle()},
                                               {"ouverte", application_->isVisible()}});
    return etat;
}

void Demonstration::ecrire(const QString& chemin, const QByteArray& contenu) const
{
    fichiers::ecrireFichier(QFile::encodeName(chemin).toStdString(),
                            std::string_view(contenu.constData(), std::size_t(contenu.size())));
}

int Demonstration::ecrireSorties()
{
    int code = 0;
    // Each output on its own: one that fails does not keep the others back.
    const auto sortie = [&](const QString& chemin, const QString& quoi, auto&& ecrireSortie) {
        if (chemin.isEmpty())
            return;
        try {
            ecrireSortie();
            dire(quoi + " dans " + absolu(chemin));
        } catch (const Erreur& e) {
            dire(QString::fromUtf8(e.what()));
            code = 1;
        }
    };
    sortie(options_.etat, QStringLiteral("état écrit"),
           [&] { ecrire(options_.etat, QJsonDocument(etat()).toJson(QJsonDocument::Indented)); });
    sortie(options_.evaluation, QStringLiteral("évaluation écrite"), [&] {
        auto& e = extension();
        ecrire(options_.evaluation,
               QByteArray::fromStdString(FormatEvaluation::ecrire(e.evaluation(), e.resultats())));
    });
    sortie(options_.fhir, QStringLiteral("évaluation écrite en FHIR"), [&] {
        auto& e = extension();
        ecrire(options_.fhir, QByteArray::fromStdString(ReponseFhir::ecrire(e.evaluation(), e.resultats())));
    });
    sortie(options_.pdf, QStringLiteral("évaluation écrite en PDF"),
           [&] { extension().exporterPdf(options_.pdf); });
    sortie(options_.capture, QStringLiteral("capture écrite"), [&] {
        QWidget* vue = application_ ? static_cast<QWidget*>(application_.get()) : fenetre_.data();
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        if ((!application_ && !ouverte()) || !vue->grab().save(&png, "PNG"))
            throw Erreur(Erreur::Code::Plateforme,
                         "Impossible de faire la capture : la fenêtre de l'hôte est fermée.");
        ecrire(options_.capture, png.data());
    });
    return code;
}

void Demonstration::fermer()
{
    if (ouverte() && fenetreHote_)
        fenetreHote_->close();
    QCoreApplication::processEvents();
    application_.reset();
}

} // namespace pavonis
