#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

namespace pavonis {

// The demo host's window. It reads the control's W_Sortir while it closes,
// as a host does to learn whether the user left through "Retour".
class FenetreDemo : public QWidget {
    Q_OBJECT
public:
    explicit FenetreDemo(QWidget* parent = nullptr);

    void definirControle(QWidget* controle) { controle_ = controle; }
    void definirGestionnaireErreur(std::function<void(const QString&)> f) { gestionnaire_ = std::move(f); }

public slots:
    void signalerErreur(const QString& message)
    {
        if (gestionnaire_)
            gestionnaire_(message);
    }

signals:
    void fermeture(bool sortieParRetour);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QWidget> controle_;
    std::function<void(const QString&)> gestionnaire_;
};

} // namespace pavonis
