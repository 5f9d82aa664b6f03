# How long a build takes (docs/building.md has the figures): a compiler cache when one is
# installed, mold where the compiler can use it, and the Qt, standard and test headers that
# nearly every file includes compiled once per target.

# A new machine has no cache to hit, so this only speeds up rebuilds; the precompiled headers
# would defeat ccache without this sloppiness (their defines and __TIME__ are hashed otherwise).
find_program(KORVALE_CCACHE ccache)
if(KORVALE_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    set(launcher ${CMAKE_COMMAND} -E env
        CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
        ${KORVALE_CCACHE})
    set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
endif()

# The tests' own code is compiled unoptimised: it was half of a build's processor time, and what
# it tests is compiled with the build's optimisation all the same.
set(KORVALE_TEST_CODE_OPTIONS -O0)

# The test programs carry large debug sections: GNU ld spends seconds on each, mold a fraction.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=mold KORVALE_HAVE_MOLD)
if(KORVALE_HAVE_MOLD)
    add_link_options(-fuse-ld=mold)
endif()

option(KORVALE_PCH "Precompile the headers that most files include" ON)

# Whether TARGET links LIBRARY, directly or through the suite's own libraries.
function(korvale_links_library target library out)
    set(seen "")
    set(queue ${target})
    set(found FALSE)
    while(queue)
        list(POP_FRONT queue current)
        if(current IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${current})
        if(current STREQUAL library)
            set(found TRUE)
            break()
        endif()
        if(NOT TARGET ${current})
            continue()
        endif()
        get_target_property(type ${current} TYPE)
        set(links "")
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(direct ${current} LINK_LIBRARIES)
            if(direct)
                list(APPEND links ${direct})
            endif()
        endif()
        get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
        if(interface)
            list(APPEND links ${interface})
        endif()
        foreach(link IN LISTS links)
            # Qt's targets name each other in generator expressions; the suite's do not.
            if(NOT link MATCHES "^\\$<" AND NOT link MATCHES "^-")
                list(APPEND queue ${link})
            endif()
        endforeach()
    endwhile()
    set(${out} ${found} PARENT_SCOPE)
endfunction()

function(korvale_collect_targets directory out)
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        korvale_collect_targets(${subdirectory} more)
        list(APPEND targets ${more})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()

# One precompiled header per set of Qt modules (and test libraries) that targets link, compiled
# once in a target of its own and reused by all of them: compiling one costs as much as a dozen
# files, and nearly forty targets each had their own. The shared one is built with only the
# definitions its modules bring, which every user has too (GCC refuses a header compiled with a
# macro its user lacks, but not the other way round). Targets with C files (the generated Wayland
# code) keep their own, as C cannot reuse a C++ header. Called once every target exists. A
# target of one or two files gains nothing, so the single-file programs, benchmarks and fuzz
# targets are left as they are.
function(korvale_precompile_headers)
    if(NOT KORVALE_PCH)
        return()
    endif()
    set(seed ${CMAKE_BINARY_DIR}/korvale_pch.cpp)
    if(NOT EXISTS ${seed})
        file(WRITE ${seed} "// Compiles the shared precompiled header; nothing links this.\n")
    endif()
    korvale_collect_targets(${PROJECT_SOURCE_DIR} targets)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type STREQUAL "STATIC_LIBRARY" AND NOT type STREQUAL "EXECUTABLE")
            continue()
        endif()
        get_target_property(sources ${target} SOURCES)
        set(c_sources ${sources})
        list(FILTER sources INCLUDE REGEX "\\.cpp$")
        list(FILTER c_sources INCLUDE REGEX "\\.c$")
        list(LENGTH sources count)
        if(count LESS 3)
            continue()
        endif()
        korvale_links_library(${target} Qt6::Core core)
        if(NOT core)
            continue()
        endif()
        set(modules Qt6::Core)
        set(headers <algorithm> <functional> <memory> <optional> <vector>
            <QtCore/QByteArray> <QtCore/QDateTime> <QtCore/QDebug> <QtCore/QDir> <QtCore/QFile>
            <QtCore/QFileInfo> <QtCore/QHash> <QtCore/QJsonArray> <QtCore/QJsonDocument>
            <QtCore/QJsonObject> <QtCore/QList> <QtCore/QMap> <QtCore/QObject>
            <QtCore/QString> <QtCore/QStringList> <QtCore/QTimer> <QtCore/QVariant>)
        korvale_links_library(${target} Qt6::Gui gui)
        if(gui)
            list(APPEND modules Qt6::Gui)
            list(APPEND headers <QtGui/QIcon> <QtGui/QImage> <QtGui/QPixmap>)
        endif()
        korvale_links_library(${target} Qt6::DBus dbus)
        if(dbus)
            list(APPEND modules Qt6::DBus)
            list(APPEND headers <QtDBus/QDBusConnection> <QtDBus/QDBusMessage>)
        endif()
        korvale_links_library(${target} Qt6::Widgets widgets)
        if(widgets)
            list(APPEND modules Qt6::Widgets)
            list(APPEND headers <QtWidgets/QApplication> <QtWidgets/QBoxLayout>
                <QtWidgets/QLabel> <QtWidgets/QLineEdit> <QtWidgets/QPushButton>
                <QtWidgets/QWidget>)
        endif()
        korvale_links_library(${target} GTest::gtest gtest)
        # Not Qt Test's header: it tests definitions naming each user's own folders, which would
        # differ from the shared header's, and GCC would refuse it.
        if(gtest)
            list(APPEND modules GTest::gtest)
            list(APPEND headers <gtest/gtest.h>)
        endif()
        if(c_sources)
            list(TRANSFORM headers REPLACE "^<(.+)>$" "$<$<COMPILE_LANGUAGE:CXX>:<\\1$<ANGLE-R>>")
            target_precompile_headers(${target} PRIVATE ${headers})
            continue()
        endif()
        string(REPLACE "::" "_" shared "${modules}")
        string(REPLACE ";" "_" shared "korvale_pch_${shared}")
        if(NOT TARGET ${shared})
            add_library(${shared} OBJECT ${seed})
            set_target_properties(${shared} PROPERTIES AUTOMOC OFF)
            target_link_libraries(${shared} PRIVATE ${modules})
            target_precompile_headers(${shared} PRIVATE ${headers})
            # Only test programs link googletest, and their code is compiled with these.
            if(gtest)
                target_compile_options(${shared} PRIVATE ${KORVALE_TEST_CODE_OPTIONS})
            endif()
        endif()
        target_precompile_headers(${target} REUSE_FROM ${shared})
    endforeach()
endfunction()
