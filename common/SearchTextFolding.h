#pragma once

#include <QStringView>

#include <string>
#include <vector>

// The folding both sides of a match go through: full lower-casing without locale, canonical
// decomposition, nonspacing and enclosing marks removed, then canonical composition again so
// that canonically equivalent texts (precomposed or decomposed Hangul, split vowel signs) fold
// to the same bytes. The result is UTF-8, so a byte substring search only ever matches at
// character boundaries.
namespace SearchTextFolding {

// Appends the folded form of text to out.
void foldInto(QStringView text, std::string &out);

std::string fold(QStringView text);

// A run of folded bytes and the characters of the original text they came from: one base
// character with the marks that follow it.
struct Cluster {
    qsizetype foldedStart = 0;
    qsizetype originalStart = 0;
    qsizetype originalEnd = 0;
};

// Folds text and records, for every cluster that leaves bytes behind, where it came from.
struct MappedFold {
    std::string folded;
    std::vector<Cluster> clusters;

    // The original range (start, end) covering the folded bytes [start, end).
    std::pair<qsizetype, qsizetype> originalRange(qsizetype foldedStart, qsizetype foldedEnd) const;
};
MappedFold foldWithMap(QStringView text);

} // namespace SearchTextFolding
