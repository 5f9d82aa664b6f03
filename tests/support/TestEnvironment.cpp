#include "TestEnvironment.h"

#include "KorvaleLog.h"

#include <QMutex>
#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>
#include <memory>

namespace {
const char *const kVariables[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME",
                                  "XDG_STATE_HOME"};
}

TemporaryHome::TemporaryHome()
{
    for (const char *name : kVariables) {
        const char *value = std::getenv(name);
        mSaved[name] = value ? std::optional<QByteArray>(value) : std::nullopt;
    }
    const QByteArray home = mDir.path().toUtf8();
    setenv("HOME", home.constData(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").constData(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").constData(), 1);
    setenv("XDG_CACHE_HOME", (home + "/.cache").constData(), 1);
    setenv("XDG_STATE_HOME", (home + "/.local/state").constData(), 1);
}

TemporaryHome::~TemporaryHome()
{
    for (const auto &[name, value] : mSaved) {
        if (value)
            setenv(name.constData(), value->constData(), 1);
        else
            unsetenv(name.constData());
    }
}

QString TemporaryHome::dataFolder() const
{
    return mDir.path() + QStringLiteral("/.local/share/Korvale/Data");
}

QString TemporaryHome::configFolder() const
{
    return mDir.path() + QStringLiteral("/.config/Korvale");
}

struct CapturedLog::State {
    QMutex mutex;
    QStringList lines;
};

CapturedLog::CapturedLog() : mState(new State)
{
    State *state = mState;
    KorvaleLog::setSink([state](const QString &line) {
        QMutexLocker lock(&state->mutex);
        state->lines.append(line);
    });
}

CapturedLog::~CapturedLog()
{
    KorvaleLog::setSink({});
    delete mState;
}

QStringList CapturedLog::lines() const
{
    QMutexLocker lock(&mState->mutex);
    return mState->lines;
}

ProgramRun runProgram(const QString &program, const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForStarted(10000))
        return run;
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QString builtProgram(const QString &relativePath)
{
    return QStringLiteral(KORVALE_BINARY_DIR "/") + relativePath;
}

ScopedEnvironment::ScopedEnvironment(std::initializer_list<std::pair<const char *, const char *>> values)
{
    for (const auto &[name, value] : values) {
        mSaved.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
}

ScopedEnvironment::~ScopedEnvironment()
{
    for (auto saved = mSaved.rbegin(); saved != mSaved.rend(); ++saved) {
        if (saved->wasSet)
            qputenv(saved->name, saved->value);
        else
            qunsetenv(saved->name);
    }
}
