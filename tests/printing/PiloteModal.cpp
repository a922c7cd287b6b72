#include "PiloteModal.h"

#include <QApplication>

PiloteModal::PiloteModal(const char* classe, std::function<void(QWidget&)> action)
    : classe_(classe), action_(std::move(action))
{
    minuterie_.setInterval(5);
    connect(&minuterie_, &QTimer::timeout, this, [this] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->inherits(classe_) || !w->isVisible())
            return;
        minuterie_.stop();
        fait_ = true;
        action_(*w);
    });
    minuterie_.start();
}
