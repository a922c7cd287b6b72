#pragma once

#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

// Drives a modal window from inside the event loop that shows it: once a
// modal window of the given class is active, runs the action on it, once.
// Watches (a timer, no sleeping) for as long as it lives; for dialogs that
// the code under test opens with exec().
class PiloteModal : public QObject {
public:
    PiloteModal(const char* classe, std::function<void(QWidget&)> action);

    bool fait() const { return fait_; }

private:
    const char* classe_;
    std::function<void(QWidget&)> action_;
    QTimer minuterie_;
    bool fait_ = false;
};
