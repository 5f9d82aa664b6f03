#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// What the PDF module (libkorvale-pdf.so, built on poppler-qt6) offers to PreviewPdf, which
// loads it on the first PDF: an agent that never shows one never maps poppler and the dozen
// libraries it brings. Built with the programs, from the same sources: C++ types cross.
struct PdfModuleFunctions {
    int (*pageCount)(const QByteArray &data);
    QImage (*renderPage)(const QByteArray &data, int page, const QSize &size);
    QImage (*renderFirstPage)(const QByteArray &data, const QSize &size);
};

// The one symbol the module exports.
#define KORVALE_PDF_MODULE_ENTRY "korvalePdfModule"
using PdfModuleEntry = const PdfModuleFunctions *(*)();
