#include "SectionIcons.h"

#include "ManagerWindow.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

// Outside any namespace, as Q_INIT_RESOURCE requires: the pictures live in a static library,
// whose resources the linker would otherwise leave out.
static void initSectionIconResources()
{
    Q_INIT_RESOURCE(manager);
}

namespace {

struct SectionPictures {
    const char *own;
    QStringList theme;
};

const SectionPictures &pictures(int section)
{
    // Only names whose meaning fits: a theme's "dialog-password" may be a key or a warning sign,
    // so the protected notes ask for a lock and otherwise get ours.
    static const SectionPictures all[ManagerWindow::SectionCount] = {
        {"welcome", {QStringLiteral("user-home")}},
        {"quickhelp", {QStringLiteral("help-contents"), QStringLiteral("help-browser")}},
        {"shortcut",
         {QStringLiteral("preferences-desktop-keyboard"), QStringLiteral("input-keyboard")}},
        {"applications", {QStringLiteral("folder")}},
        {"applicationsfound", {QStringLiteral("applications-other")}},
        {"files", {QStringLiteral("folder-documents")}},
        {"todo", {QStringLiteral("view-task")}},
        {"reminder", {QStringLiteral("appointment-soon"), QStringLiteral("alarm-clock")}},
        {"otherdata", {QStringLiteral("x-office-address-book")}},
        {"notes", {QStringLiteral("accessories-text-editor")}},
        {"protectednotes", {QStringLiteral("object-locked")}},
        {"clipboard", {QStringLiteral("edit-paste")}},
    };
    return all[section];
}

bool validSection(int section)
{
    return section >= 0 && section < ManagerWindow::SectionCount;
}

// A theme may list a name whose file does not load (an SVG without Qt's SVG support, a broken
// link): such an icon draws nothing and counts as missing.
bool drawsSomething(const QIcon &icon)
{
    const QImage image = icon.pixmap(SectionIcons::Size, SectionIcons::Size).toImage();
    if (image.isNull())
        return false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

} // namespace

QStringList SectionIcons::themeNames(int section)
{
    return validSection(section) ? pictures(section).theme : QStringList();
}

QIcon SectionIcons::ownIcon(int section)
{
    if (!validSection(section))
        return {};
    [[maybe_unused]] static const bool registered = (initSectionIconResources(), true);
    return squared(
        QIcon(QStringLiteral(":/sections/%1.svg").arg(QString::fromLatin1(pictures(section).own))));
}

QIcon SectionIcons::icon(int section)
{
    if (!validSection(section))
        return {};
    for (const QString &name : pictures(section).theme) {
        if (!QIcon::hasThemeIcon(name))
            continue;
        const QIcon themed = QIcon::fromTheme(name);
        if (drawsSomething(themed))
            return squared(themed);
    }
    return ownIcon(section);
}

QIcon SectionIcons::squared(const QIcon &icon)
{
    QIcon result;
    for (const int side : {Size, 2 * Size}) {
        QPixmap square(side, side);
        square.fill(Qt::transparent);
        QPainter painter(&square);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        icon.paint(&painter, QRect(0, 0, side, side));
        painter.end();
        result.addPixmap(square);
    }
    return result;
}
