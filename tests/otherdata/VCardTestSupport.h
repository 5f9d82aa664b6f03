#pragma once

#include "QOR_StringUtils.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <gtest/gtest.h>

// Cards are written with CRLF line ends, as every address book writes them.
inline QByteArray crlf(const char *text)
{
    return QByteArray(text).replace("\n", "\r\n");
}

// A small picture as an address book keeps it.
inline QByteArray pngPicture(QRgb colour)
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Labels are read in English whatever the machine's language.
class EnglishLabels : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(QOR_StringUtils::setLocalizationLanguage("en")); }
    void TearDown() override { QOR_StringUtils::setLocalizationLanguage(QString()); }
};
