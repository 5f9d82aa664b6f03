#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM (the session ending, `kill`) and SIGINT turned into a signal on the main thread, so the
// program ends the way its own Quit ends it (saving what it must) instead of dying mid-way.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;
    bool isInstalled() const { return mNotifier != nullptr; }

signals:
    void terminationRequested();

private:
    QSocketNotifier *mNotifier = nullptr;
};
