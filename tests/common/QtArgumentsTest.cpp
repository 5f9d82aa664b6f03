// Which platform the programs ask Qt for, and the launch token they keep for their first window.
#include "platform/DisplayAvailability.h"

#include <QByteArray>
#include <QList>

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {

// Sets variables for one test and puts back what was there.
class Environment
{
public:
    ~Environment()
    {
        for (const auto &[name, value] : mSaved) {
            if (value)
                qputenv(name.constData(), *value);
            else
                qunsetenv(name.constData());
        }
    }
    void set(const QByteArray &name, const std::optional<QByteArray> &value)
    {
        if (!mSaved.count(name))
            mSaved[name] = qEnvironmentVariableIsSet(name.constData())
                ? std::optional<QByteArray>(qgetenv(name.constData()))
                : std::nullopt;
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }

private:
    std::map<QByteArray, std::optional<QByteArray>> mSaved;
};

QList<QByteArray> argumentsOf(DisplayAvailability::QtArguments &arguments)
{
    QList<QByteArray> list;
    for (int i = 0; i < arguments.argc(); ++i)
        list << arguments.argv()[i];
    EXPECT_EQ(arguments.argv()[arguments.argc()], nullptr);
    return list;
}

char program[] = "korvale-manager";
char file[] = "notes.txt";

} // namespace

TEST(QtArguments, AWaylandSessionWithXWaylandRunsTheWindowsThereAndKeepsTheLaunchToken)
{
    Environment environment;
    environment.set("QT_QPA_PLATFORM", std::nullopt);
    environment.set("XDG_SESSION_TYPE", "wayland");
    environment.set("WAYLAND_DISPLAY", "wayland-0");
    environment.set("DISPLAY", ":7");
    environment.set("DESKTOP_STARTUP_ID", std::nullopt);
    environment.set("XDG_ACTIVATION_TOKEN", "token-of-the-launcher");
    char *argv[] = {program, file, nullptr};

    DisplayAvailability::QtArguments arguments(2, argv);
    EXPECT_TRUE(arguments.xwaylandChosen());
    EXPECT_EQ(argumentsOf(arguments),
              (QList<QByteArray>{"korvale-manager", "notes.txt", "-platform", "xcb"}));
    EXPECT_EQ(arguments.launchToken(), "token-of-the-launcher");
    // What the program launches must not use the token again.
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
    // Nor be told to run on XWayland: the choice is an argument, not a variable.
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
}

TEST(QtArguments, TheUsersChoiceAnX11SessionOrNoXWaylandLeaveQtAlone)
{
    Environment environment;
    environment.set("XDG_ACTIVATION_TOKEN", std::nullopt);
    environment.set("DESKTOP_STARTUP_ID", std::nullopt);
    char *argv[] = {program, nullptr};
    const QList<QByteArray> unchanged{"korvale-manager"};

    environment.set("XDG_SESSION_TYPE", "wayland");
    environment.set("DISPLAY", ":7");
    environment.set("QT_QPA_PLATFORM", "wayland");
    DisplayAvailability::QtArguments chosen(1, argv);
    EXPECT_EQ(argumentsOf(chosen), unchanged);
    EXPECT_FALSE(chosen.xwaylandChosen());

    environment.set("QT_QPA_PLATFORM", std::nullopt);
    environment.set("DISPLAY", std::nullopt);
    DisplayAvailability::QtArguments withoutXWayland(1, argv);
    EXPECT_EQ(argumentsOf(withoutXWayland), unchanged);

    environment.set("XDG_SESSION_TYPE", "x11");
    environment.set("WAYLAND_DISPLAY", std::nullopt);
    environment.set("DISPLAY", ":7");
    DisplayAvailability::QtArguments x11(1, argv);
    EXPECT_EQ(argumentsOf(x11), unchanged);
}

TEST(QtArguments, AnX11StartupIdentifierIsLeftToQt)
{
    Environment environment;
    environment.set("DESKTOP_STARTUP_ID", "startup-of-the-launcher");
    environment.set("XDG_ACTIVATION_TOKEN", "startup-of-the-launcher");
    char *argv[] = {program, nullptr};
    DisplayAvailability::QtArguments arguments(1, argv);
    EXPECT_TRUE(arguments.launchToken().isEmpty());
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
}
