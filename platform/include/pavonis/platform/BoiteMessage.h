#pragma once

#include <pavonis/hostapi/Visibilite.h>

#include <QString>

#include <functional>

class QWidget;

namespace pavonis {

// The platform's message box. A host that replays scenarios without a user
// (or a test) installs an interceptor: it sees the message and answers in
// place of the modal box.
class PAVONIS_API BoiteMessage {
public:
    enum class Icone { Aucune, Information, Exclamation, Critique };
    struct Message {
        QString texte;
        QString titre;
        Icone icone;
    };
    using Intercepteur = std::function<void(const Message&)>;

    // Shows the message with a single OK button and waits until it is closed.
    static void afficher(QWidget* parent, const QString& texte, const QString& titre, Icone icone);

    // Returns the interceptor it replaces; an empty one restores the real box.
    static Intercepteur intercepter(Intercepteur intercepteur);
};

} // namespace pavonis
