#include <gtest/gtest.h>

#if defined(QT_WIDGETS_LIB)
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace {

// CTest hands a test that takes a display one of the sessions scripts/with-session.sh --displays
// started ("id:1,slots:1"); the test moves into it before anything reads the environment.
void enterHandedSession()
{
    const char *group = std::getenv("CTEST_RESOURCE_GROUP_0_DISPLAYS");
    const char *folder = std::getenv("KORVALE_TEST_DISPLAYS_DIR");
    if (!group || !folder || std::strncmp(group, "id:", 3) != 0)
        return;
    const std::string id(group + 3, std::strcspn(group + 3, ","));
    std::ifstream file(std::string(folder) + "/" + id + ".env");
    for (std::string line; std::getline(file, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            setenv(line.substr(0, equals).c_str(), line.substr(equals + 1).c_str(), 1);
    }
}

#ifdef KORVALE_TEST_TAKES_DISPLAY
// A display's key state, active window and agent bus name belong to the whole session: tests
// that take them run one at a time per session, also when CTest was not given the sessions.
void takeTheDisplay(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--gtest_list_tests", 18) == 0)
            return;
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string path = runtime ? std::string(runtime) + "/korvale-test-display.lock"
                                     : "/tmp/korvale-test-display-" + std::to_string(getuid());
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Held until the process ends.
    if (fd >= 0)
        flock(fd, LOCK_EX);
}
#endif

} // namespace

int main(int argc, char **argv)
{
    enterHandedSession();
#ifdef KORVALE_TEST_TAKES_DISPLAY
    takeTheDisplay(argc, argv);
#endif
    // Widget tests draw off screen unless a test run provides a display on purpose.
    if (!std::getenv("KORVALE_TEST_USE_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
