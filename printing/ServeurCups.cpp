#include <pavonis/printing/ServeurCups.h>

#include <pavonis/hostapi/Erreur.h>

#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <optional>

#include <cups/cups.h>

namespace pavonis::impression {

namespace {

QString nomServeur()
{
    const QString serveur = QString::fromUtf8(cupsServer());
    return serveur.isEmpty() ? QStringLiteral("local") : serveur;
}

QString raisonFrancaise(ipp_status_t statut)
{
    switch (statut) {
    case IPP_STATUS_ERROR_NOT_FOUND:
        return QStringLiteral("l'imprimante n'existe pas ou plus sur le serveur d'impression");
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return QStringLiteral("l'imprimante refuse les travaux d'impression");
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED:
        return QStringLiteral("le serveur d'impression refuse l'accès");
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        return QStringLiteral("le serveur d'impression « %1 » est injoignable").arg(nomServeur());
    case IPP_STATUS_ERROR_BUSY:
    case IPP_STATUS_ERROR_TEMPORARY:
        return QStringLiteral("le serveur d'impression « %1 » est occupé").arg(nomServeur());
    case IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED:
        return QStringLiteral("l'imprimante n'accepte pas les documents PDF");
    default:
        return QStringLiteral("le serveur d'impression a refusé le document");
    }
}

// What libcups says last went wrong, in French, its own words after.
Erreur erreurCups(const QString& imprimante, ipp_status_t statut = cupsLastError(),
                  const QString& detail = QString::fromUtf8(cupsLastErrorString()))
{
    return Erreur(Erreur::Code::Plateforme,
                  QStringLiteral("L'impression sur « %1 » a échoué : %2.%3")
                      .arg(imprimante, raisonFrancaise(statut),
                           detail.isEmpty() ? QString() : QStringLiteral(" (CUPS : %1)").arg(detail))
                      .toStdString());
}

// libcups answers "not found" for a queue on a server it cannot reach:
// why the server cannot be reached, if it cannot.
std::optional<QString> serveurInjoignable()
{
    errno = 0;
    http_t* http =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
    if (!http)
        return QString::fromLocal8Bit(std::strerror(errno));
    httpClose(http);
    return std::nullopt;
}

} // namespace

void ServeurCups::verifierFile(const QString& imprimante)
{
    const QByteArray file = imprimante.section(u'/', 0, 0).toLocal8Bit();
    if (cups_dest_t* d = cupsGetNamedDest(CUPS_HTTP_DEFAULT, file.constData(), nullptr)) {
        cupsFreeDests(1, d);
        return;
    }
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        if (const auto raison = serveurInjoignable())
            throw erreurCups(imprimante, IPP_STATUS_ERROR_SERVICE_UNAVAILABLE, *raison);
    throw erreurCups(imprimante);
}

QString ServeurCups::sansIdentifiants(const QString& uri)
{
    static const QRegularExpression identifiants(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*://)[^/@]*@"));
    QString s = uri;
    return s.replace(identifiants, QStringLiteral("\\1"));
}

QHash<QString, QString> ServeurCups::urisPeripheriques()
{
    QHash<QString, QString> uris;
    cups_dest_t* destinations = nullptr;
    const int n = cupsGetDests2(CUPS_HTTP_DEFAULT, &destinations);
    for (int i = 0; i < n; ++i) {
        const cups_dest_t& d = destinations[i];
        if (const char* uri = cupsGetOption("device-uri", d.num_options, d.options))
            uris.insert(QString::fromLocal8Bit(d.name), sansIdentifiants(QString::fromUtf8(uri)));
    }
    cupsFreeDests(n, destinations);
    return uris;
}

void ServeurCups::imprimerFichier(const QString& imprimante, const QString& fichier, const QString& titre)
{
    // An instance ("queue/instance") prints on its queue.
    const QByteArray file = imprimante.section(u'/', 0, 0).toLocal8Bit();
    const QByteArray chemin = fichier.toLocal8Bit();
    const QByteArray t = titre.toUtf8();
    cups_option_t* options = nullptr;
    int nbOptions = cupsAddOption("media", "iso_a4_210x297mm", 0, &options);
    nbOptions = cupsAddOption("orientation-requested", "3", nbOptions, &options); // portrait
    // The copies are pages of one job: each on its own sheet, also on a
    // printer that prints both sides by default.
    nbOptions = cupsAddOption("sides", "one-sided", nbOptions, &options);
    const int travail = cupsPrintFile2(CUPS_HTTP_DEFAULT, file.constData(), chemin.constData(), t.constData(),
                                       nbOptions, options);
    cupsFreeOptions(nbOptions, options);
    if (travail <= 0)
        throw erreurCups(imprimante);
}

} // namespace pavonis::impression
