#pragma once

#include "FolderMenus.h"
#include "QOR_StringUtils.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Folder menus over a temporary tree, recording what their entries ask for.
class MenusTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
        ASSERT_TRUE(mTree.isValid());
        FolderMenus::Actions actions;
        actions.reveal = [this](const QString &path) { mRevealed << path; };
        actions.openEditor = [this](const QString &path) { mEdited << path; };
        mFolders = std::make_unique<FolderMenus>(
            mPaths, [this] { return mSettings; }, actions);
    }

    QString make(const QString &relative, bool folder = false)
    {
        const QString path = mTree.filePath(relative);
        QDir().mkpath(folder ? path : QFileInfo(path).path());
        if (!folder) {
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        }
        return path;
    }

    // The titles of a menu's entries, separators as "-".
    static QStringList titles(const QMenu *menu)
    {
        QStringList list;
        for (const QAction *action : menu->actions())
            list << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return list;
    }
    static QAction *entry(const QMenu *menu, const QString &title)
    {
        for (QAction *action : menu->actions()) {
            if (action->text() == title)
                return action;
        }
        ADD_FAILURE() << "no entry " << title.toStdString();
        return nullptr;
    }
    // What a user reaching the entry sees in its submenu.
    QStringList highlight(QMenu *menu, const QString &title)
    {
        QAction *action = entry(menu, title);
        if (!action || !action->menu())
            return {QStringLiteral("<no submenu>")};
        emit menu->hovered(action);
        return titles(action->menu());
    }

    TemporaryHome mHome;
    QTemporaryDir mTree;
    QStringList mPaths;
    FolderMenus::Settings mSettings;
    QStringList mRevealed, mEdited;
    std::unique_ptr<FolderMenus> mFolders;
};
