#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>
#include <map>
#include <optional>
#include <utility>
#include <vector>

// Points HOME and the XDG folders at a fresh temporary folder for the lifetime of the object,
// so that no test reads or writes the real home folder.
class TemporaryHome
{
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome &) = delete;
    TemporaryHome &operator=(const TemporaryHome &) = delete;

    QString path() const { return mDir.path(); }
    QString dataFolder() const; // where the data files live
    QString configFolder() const;

private:
    QTemporaryDir mDir;
    std::map<QByteArray, std::optional<QByteArray>> mSaved;
};

// Sets environment variables (nullptr: unsets) for the lifetime of the object.
class ScopedEnvironment
{
public:
    ScopedEnvironment(std::initializer_list<std::pair<const char *, const char *>> values);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    struct Saved {
        const char *name;
        QByteArray value;
        bool wasSet;
    };
    std::vector<Saved> mSaved;
};

// Collects the lines the suite logs while the object lives.
class CapturedLog
{
public:
    CapturedLog();
    ~CapturedLog();
    QStringList lines() const;

private:
    struct State;
    State *mState;
};

// Runs a program and returns its exit code, with the given standard input; output is captured.
struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
ProgramRun runProgram(const QString &program, const QStringList &arguments,
                      const QByteArray &input = {});

// Path of a program built by this project.
QString builtProgram(const QString &relativePath);
