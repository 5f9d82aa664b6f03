#pragma once

#include <QObject>

class QSocketNotifier;

// SIGHUP (the terminal closed), SIGTERM (the session ending, `kill`) and SIGINT turned into a
// signal on the main thread, so the program ends the way its own Quit ends it (saving what it
// must, exit status 0) instead of dying mid-way. A SIGHUP ignored when the program started
// (`nohup`) stays ignored.
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

// The command-line tools live for one command, with no event loop to hand a signal to: SIGHUP,
// SIGINT and SIGTERM end a tool at once, as by default, until it starts writing. From then on a
// signal is held, so that the save and its report finish whole, and the tool ends with its own
// status (0 when saved). Nothing is written before that point; the save itself is a rename.
namespace ToolTermination {
void install();
void holdFromHere();
} // namespace ToolTermination
