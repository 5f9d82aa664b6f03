#include "SearchTextFolding.h"

#include <QChar>
#include <QString>

#include <algorithm>

namespace SearchTextFolding {
namespace {

// A positional form of the same letter, like a case difference: "ΟΔΟΣ" must be found by "οδος".
constexpr char32_t kFinalSigma = 0x03C2;
constexpr char32_t kSigma = 0x03C3;
constexpr char32_t kReplacement = 0xFFFD;

bool isRemovedMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing;
}

// Characters that belong to the character before them: marks, and the Hangul vowels and
// trailing consonants that canonical composition joins to a syllable.
bool continuesCluster(char32_t c)
{
    if (c < 0x300)
        return false;
    if ((c >= 0x1161 && c <= 0x1175) || (c >= 0x11A8 && c <= 0x11C2))
        return true;
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing;
}

bool foldsToItself(char32_t c)
{
    return c != 0x0130 && c != kFinalSigma && QChar::toLower(c) == c
        && QChar::decompositionTag(c) != QChar::Canonical && !isRemovedMark(c);
}

// Reads the code point at i; a lone surrogate reads as U+FFFD.
char32_t decodeAt(const char16_t *units, qsizetype size, qsizetype i, qsizetype *width)
{
    const char16_t unit = units[i];
    *width = 1;
    if (!QChar::isSurrogate(unit))
        return unit;
    if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1])) {
        *width = 2;
        return QChar::surrogateToUcs4(unit, units[i + 1]);
    }
    return kReplacement;
}

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

void appendUtf8(std::string &out, QStringView text)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        qsizetype width = 1;
        appendUtf8(out, decodeAt(text.utf16(), size, i, &width));
        i += width;
    }
}

// The general case: one base character with its marks, or anything that needs the full
// Unicode tables.
void foldClusterSlowly(const char16_t *units, qsizetype size, std::string &out)
{
    std::u32string codePoints;
    for (qsizetype i = 0; i < size;) {
        qsizetype width = 1;
        codePoints.push_back(decodeAt(units, size, i, &width));
        i += width;
    }
    const QString decomposed = QString::fromUcs4(codePoints.data(), qsizetype(codePoints.size()))
                                   .toLower()
                                   .normalized(QString::NormalizationForm_D);
    codePoints.clear();
    for (qsizetype i = 0; i < decomposed.size();) {
        qsizetype width = 1;
        const char32_t c = decodeAt(QStringView(decomposed).utf16(), decomposed.size(), i, &width);
        i += width;
        if (!isRemovedMark(c))
            codePoints.push_back(c == kFinalSigma ? kSigma : c);
    }
    if (codePoints.size() <= 1) {
        if (!codePoints.empty())
            appendUtf8(out, codePoints.front());
        return;
    }
    const QString composed = QString::fromUcs4(codePoints.data(), qsizetype(codePoints.size()))
                                 .normalized(QString::NormalizationForm_C);
    appendUtf8(out, composed);
}

// The folds of single characters of the Basic Multilingual Plane, worked out once: nearly every
// character of real search texts is one of them.
struct LoneFold {
    unsigned char length = 0;
    char bytes[7] = {};
};

std::vector<LoneFold> buildLoneFolds()
{
    std::vector<LoneFold> table(0x10000);
    std::string folded;
    for (char32_t c = 0; c < 0x10000; ++c) {
        folded.clear();
        const char16_t unit = char16_t(c);
        if (QChar::isSurrogate(c))
            appendUtf8(folded, kReplacement);
        else if (foldsToItself(c))
            appendUtf8(folded, c);
        else
            foldClusterSlowly(&unit, 1, folded);
        LoneFold &entry = table[c];
        entry.length = static_cast<unsigned char>(std::min(folded.size(), sizeof entry.bytes));
        std::copy_n(folded.data(), entry.length, entry.bytes);
    }
    return table;
}

const std::vector<LoneFold> &loneFolds()
{
    static const std::vector<LoneFold> table = buildLoneFolds();
    return table;
}

void foldImpl(QStringView text, std::string &out, std::vector<Cluster> *clusters)
{
    const std::vector<LoneFold> &table = loneFolds();
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        qsizetype width = 1;
        const char32_t first = decodeAt(units, size, i, &width);
        qsizetype end = i + width;
        bool lone = true;
        while (end < size && units[end] >= 0x300) {
            qsizetype nextWidth = 1;
            if (!continuesCluster(decodeAt(units, size, end, &nextWidth)))
                break;
            end += nextWidth;
            lone = false;
        }
        const std::size_t before = out.size();
        if (lone && first < 0x80) {
            out.push_back(char(first >= 'A' && first <= 'Z' ? first + ('a' - 'A') : first));
        } else if (lone && first < 0x10000) {
            const LoneFold &entry = table[first];
            out.append(entry.bytes, entry.length);
        } else if (lone && foldsToItself(first)) {
            appendUtf8(out, first);
        } else {
            foldClusterSlowly(units + i, end - i, out);
        }
        if (clusters && out.size() > before)
            clusters->push_back({qsizetype(before), i, end});
        i = end;
    }
}

} // namespace

void foldInto(QStringView text, std::string &out)
{
    foldImpl(text, out, nullptr);
}

std::string fold(QStringView text)
{
    std::string out;
    out.reserve(std::size_t(text.size()));
    foldImpl(text, out, nullptr);
    return out;
}

MappedFold foldWithMap(QStringView text)
{
    MappedFold result;
    result.folded.reserve(std::size_t(text.size()));
    result.clusters.reserve(std::size_t(text.size()));
    foldImpl(text, result.folded, &result.clusters);
    return result;
}

std::pair<qsizetype, qsizetype> MappedFold::originalRange(qsizetype foldedStart,
                                                          qsizetype foldedEnd) const
{
    if (clusters.empty())
        return {0, 0};
    const auto byStart = [](qsizetype offset, const Cluster &cluster) {
        return offset < cluster.foldedStart;
    };
    auto first = std::upper_bound(clusters.begin(), clusters.end(), foldedStart, byStart);
    if (first != clusters.begin())
        --first;
    // The cluster holding the last matched byte.
    auto last = std::upper_bound(clusters.begin(), clusters.end(),
                                 std::max(foldedStart, foldedEnd - 1), byStart);
    if (last != clusters.begin())
        --last;
    return {first->originalStart, last->originalEnd};
}

} // namespace SearchTextFolding
