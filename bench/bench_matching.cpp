// Matches a three-word query against 1,000,000 prepared search texts, as the agent's search
// does on every keystroke.

#include "BenchUtils.h"
#include "ItemRecord.h"
#include "SearchText.h"
#include "SearchTextFields.h"
#include "TextMatching.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>
#include <ctime>
#include <vector>

namespace {

const char *const kWords[] = {
    "rapport",      "annuel",   "budget",     "Café",        "crème",
    "réunion",      "équipe",   "projet",     "facture",     "vacances",
    "photos",       "résumé",   "Ångström",   "Zürich",      "Straße",
    "München",      "señor",    "año",        "mañana",      "naïve",
    "Noël",         "Français", "Prévisions", "météo",       "déjeuner",
    "invoice",      "meeting",  "draft",      "notes",       "holiday",
    "garden",       "recipe",   "quarterly",  "review",      "contract",
    "design",       "Terminal", "Firefox",    "Thunderbird", "LibreOffice",
    "Writer",       "Calc",     "Impress",    "Inkscape",    "Blender",
    "Krita",        "Audacity", "Kdenlive",   "Éditeur",     "Calculatrice",
    "Paramètres",   "Système",  "fichiers",   "Lecteur",     "vidéos",
    "Gestionnaire", "tâches",   "Καλημέρα",   "Ελλάδα",      "σημειώσεις",
    "Москва",       "Ёлка",     "заметки",    "東京",        "日本語",
    "한국어",       "音楽",     "😀",          "Ærø",         "Øresund",
    "İstanbul",     "Kraków",   "Łódź",       "Dvořák",      "Škoda",
    "Ĳssel",        "ﬁnance",   "2023",       "2024",        "2025",
    "v2",           "final",    "copy",       "backup",      "scan",
    "todo",         "list",     "ideas",      "plan",        "travel"};

class Corpus
{
public:
    explicit Corpus(quint32 seed)
        : mGen(seed)
    {
    }

    QString word() { return QString::fromUtf8(kWords[mGen.bounded(int(std::size(kWords)))]); }
    QString words(int count)
    {
        QStringList list;
        for (int i = 0; i < count; ++i)
            list.append(word());
        return list.join(QLatin1Char(' '));
    }
    int bounded(int n) { return int(mGen.bounded(n)); }

    // Applications, files, bookmarks, notes and contacts in roughly the mix of a real home.
    QVariantMap record(int i)
    {
        using namespace ItemRecord;
        switch (i % 10) {
        case 0:
        case 1:
            return {{KeyKind, KindApplication},
                    {KeyTitle, words(1 + bounded(3))},
                    {KeyPath,
                     QStringLiteral("/usr/share/applications/org.example.%1.desktop")
                         .arg(word().toLower())}};
        case 2:
        case 3:
        case 4:
        case 5: {
            const QString name = words(1 + bounded(4)) + QStringLiteral(" %1.pdf").arg(i);
            return {{KeyKind, KindFile},
                    {KeyTitle, name},
                    {KeyKeywords, bounded(4) == 0 ? word() : QString()},
                    {KeyPath,
                     QStringLiteral("/home/user/Documents/%1/%2/%3").arg(word(), word(), name)}};
        }
        case 6:
        case 7:
            return {{KeyKind, KindBookmark},
                    {KeyTitle, words(2 + bounded(5))},
                    {KeyAddress,
                     QStringLiteral("https://www.example.org/%1/%2-%3.html")
                         .arg(word(), word())
                         .arg(i)}};
        case 8:
            return {{KeyKind, KindNote}, {KeyTitle, words(2)}, {KeyText, words(10 + bounded(50))}};
        default:
            return {{KeyKind, KindContact}, {KeyTitle, words(2)}, {KeyKeywords, word()}};
        }
    }

private:
    QRandomGenerator mGen;
};

// The machine is shared, so wall-clock times swing with the load; the thread's processor time
// is what one core spends and is printed beside them.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

std::vector<double> cpuRuns(int runs, const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const double start = threadCpuMs();
        work();
        ms.push_back(threadCpuMs() - start);
    }
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = 1000000;
    const int passes = 21;

    Corpus corpus(20261208);
    std::vector<QVariantMap> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i)
        records.push_back(corpus.record(i));

    // The folding tables are built on first use; keep that out of the per-record figure.
    const SearchText warmUp(QStringLiteral("Éé"));
    std::vector<SearchText> texts;
    texts.reserve(count);
    std::vector<QString> assembled;
    assembled.reserve(count);
    const std::vector<double> assemble = cpuRuns(1, [&] {
        for (const QVariantMap &record : records)
            assembled.push_back(SearchTextFields::forAgentSearch(record));
    });
    const std::vector<double> prepare = cpuRuns(1, [&] {
        for (const QString &text : assembled)
            texts.emplace_back(text);
    });
    std::size_t bytes = 0;
    for (const SearchText &text : texts)
        bytes += std::size_t(text.size());

    const QString query = QStringLiteral("Cafe rap 2024");
    const std::optional<QueryWords> words = QueryWords::fromQuery(query);
    std::size_t matched = 0;
    std::size_t beginsWith = 0;
    const auto pass = [&] {
        matched = 0;
        beginsWith = 0;
        for (const SearchText &text : texts) {
            const MatchResult result = TextMatching::match(words, text);
            matched += result.matched;
            beginsWith += result.matched && result.beginsWith;
        }
    };
    const Bench::Stats wall = Bench::stats(Bench::timeRuns(passes, pass));
    const Bench::Stats cpu = Bench::stats(cpuRuns(passes, pass));
    const double megabytes = double(bytes) / 1e6;

    Bench::print("records", double(count), "records");
    Bench::print("search_text_total", double(bytes) / 1e6, "MB");
    Bench::print("assemble_1M_agent_texts_cpu", assemble.front(), "ms");
    Bench::print("prepare_1M_search_texts_cpu", prepare.front(), "ms");
    Bench::print("prepare_per_record_cpu", prepare.front() * 1e6 / count, "ns");
    Bench::print("matched_records", double(matched), "records");
    Bench::print("matched_at_start", double(beginsWith), "records");
    Bench::print("match_3_words_1M_median", wall.median, "ms");
    Bench::print("match_3_words_1M_p95", wall.p95, "ms");
    Bench::print("match_throughput_median", megabytes / (wall.median / 1e3), "MB/s");
    Bench::print("match_throughput_p95", megabytes / (wall.p95 / 1e3), "MB/s");
    Bench::print("match_3_words_1M_cpu_median", cpu.median, "ms");
    Bench::print("match_3_words_1M_cpu_p95", cpu.p95, "ms");
    Bench::print("match_throughput_cpu_median", megabytes / (cpu.median / 1e3), "MB/s");
    return 0;
}
