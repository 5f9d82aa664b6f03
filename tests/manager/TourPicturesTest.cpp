#include "QOR_StringUtils.h"
#include "StartupSheets.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

// The tour's pictures show the windows in the language of the words under them.
TEST(TourPictures, EachLanguageShowsItsOwnPicturesAndAnotherFallsBackToEnglish)
{
    for (const char *language : {"en", "fr"}) {
        QOR_StringUtils::installTranslations(QLocale(language));
        for (const char *name : {"tour-open.png", "tour-type.png", "tour-menu.png"}) {
            const QString path = TourWindow::picturePath(name);
            EXPECT_EQ(path, QStringLiteral(":/tour/%1/%2").arg(language, name));
            EXPECT_FALSE(QImage(path).isNull()) << path.toStdString();
        }
    }
    // No table for German: the English words, so the English pictures.
    QOR_StringUtils::installTranslations(QLocale("de"));
    EXPECT_EQ(TourWindow::picturePath("tour-menu.png"), ":/tour/en/tour-menu.png");
    QOR_StringUtils::installTranslations(QLocale("en"));
}
