// The search pass over generated lists of 10,000, 100,000 and 1,000,000 records, and fzf --filter
// on the same titles.

#include "BenchUtils.h"
#include "SearchPass.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryFile>

#include <cstdio>

namespace {

const QStringList kWords = {
    "project", "report",  "budget",  "photo",   "invoice", "draft",  "meeting", "notes",
    "travel",  "archive", "backup",  "music",   "video",   "letter", "contract", "design",
    "résumé",  "café",    "Zürich",  "Ñandú",   "crème",   "élan",   "naïve",   "Ærø",
    "kernel",  "config",  "server",  "client",  "summer",  "winter", "school",  "garden",
};
const QStringList kApps = {"Terminal", "Text Editor", "Files", "Firefox", "Thunderbird",
                           "LibreOffice Writer", "GIMP", "Inkscape", "Calculator", "Settings"};

struct Corpus {
    SearchSources sources;
    QStringList titles;
};

QString words(QRandomGenerator &random, int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << kWords.at(random.bounded(int(kWords.size())));
    return parts.join(' ');
}

Corpus generate(int size)
{
    QRandomGenerator random(42);
    Corpus corpus;
    SearchSources &s = corpus.sources;
    for (int i = 0; i < size; ++i) {
        QVariantMap r;
        const int shape = random.bounded(20);
        if (shape < 2) {
            r = {{"x", 1},
                 {"T", kApps.at(random.bounded(int(kApps.size()))) + " " + QString::number(i)},
                 {"P", QString("/usr/share/applications/app%1.desktop").arg(i)}};
            s.applications.append(r);
        } else if (shape < 14) {
            QString path = "/home/user";
            const int depth = 3 + random.bounded(6);
            for (int d = 0; d < depth; ++d)
                path += "/" + words(random, 1) + (d % 2 ? QString::number(random.bounded(99)) : "");
            const QString name = words(random, 2).replace(' ', '_') + "_" + QString::number(i) +
                                 (random.bounded(3) ? ".pdf" : ".odt");
            r = {{"x", 2}, {"T", name}, {"P", path + "/" + name}, {"D", 0}};
            s.files.append(r);
        } else if (shape < 16) {
            r = {{"x", 3},
                 {"T", words(random, 3) + " - Example " + QString::number(i)},
                 {"U", QString("https://www.example.org/%1/page%2.html").arg(words(random, 1)).arg(i)}};
            s.bookmarks.append(r);
        } else if (shape < 19) {
            QString text;
            const int lines = 2 + random.bounded(8);
            for (int l = 0; l < lines; ++l)
                text += words(random, 4 + random.bounded(8)) + "\n";
            r = {{"x", 5}, {"T", words(random, 2) + " " + QString::number(i)}, {"t", text}};
            s.notes.append(r);
        } else {
            r = {{"x", 4},
                 {"T", "Émilie " + words(random, 1) + " Müller-Çelik " + QString::number(i)},
                 {"t", "Société Générale\nZürich"}};
            s.contacts.append(r);
        }
        corpus.titles << r.value("T").toString();
    }
    for (int i = 0; i < 60 && i < s.files.size(); ++i)
        s.recentItems.append(s.files.at(i * 7 % s.files.size()));
    s.priorityForApplications = 2;
    s.priorityForNotes = 1;
    return corpus;
}

void print(const QByteArray &name, double value, const char *unit)
{
    Bench::print(name.constData(), value, unit);
}

double fzfMedian(const QString &file, const QString &query, int runs, qsizetype *lines)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QProcess fzf;
        fzf.setStandardInputFile(file);
        QElapsedTimer timer;
        timer.start();
        fzf.start("fzf", {"--filter", query});
        if (!fzf.waitForFinished(120000))
            return -1;
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        *lines = fzf.readAllStandardOutput().count('\n');
    }
    return Bench::stats(ms).median;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool haveFzf = QProcess::execute("fzf", {"--version"}) == 0;
    const QList<QPair<const char *, QString>> queries = {
        {"1word", "proj"}, {"2words", "proj rep"}, {"3words", "proj rep café"}, {"empty", ""}};

    QList<int> sizes = {10000, 100000, 1000000};
    if (argc > 1) { // bench_search [SIZE...]
        sizes.clear();
        for (int i = 1; i < argc; ++i)
            sizes << QByteArray(argv[i]).toInt();
    }
    for (const int size : sizes) {
        const Corpus corpus = generate(size);
        PreparedListCache cache;
        const std::atomic<bool> stop{false};
        const SearchPass pass(cache, 2);

        QElapsedTimer prepare;
        prepare.start();
        pass.run(corpus.sources, 0, "x", {}, stop);
        const double prepareMs = double(prepare.nsecsElapsed()) / 1e6;
        const QByteArray prefix = QByteArray("search_") + QByteArray::number(size) + "_";
        print(prefix + "prepare", prepareMs, "ms");
        print(prefix + "prepared_memory", double(cache.memoryBytes()) / 1048576.0, "MiB");

        QTemporaryFile titles;
        titles.open();
        titles.write(corpus.titles.join('\n').toUtf8() + "\n");
        titles.flush();

        const int runs = size >= 1000000 ? 11 : (size >= 100000 ? 31 : 101);
        for (const auto &[name, query] : queries) {
            FoundItems shown;
            qsizetype found = 0;
            const Bench::Stats stats = Bench::stats(Bench::timeRuns(runs, [&] {
                SearchPass::Result result = pass.run(corpus.sources, 0, query, {}, stop);
                found = result.items.size();
                shown = std::move(result.items); // the hand-over
            }));
            const QByteArray label = prefix + name;
            print(label + "_found", double(found), "records");
            print(label + "_median", stats.median, "ms");
            print(label + "_p95", stats.p95, "ms");
            if (haveFzf && !query.isEmpty()) {
                qsizetype lines = 0;
                const double fzf = fzfMedian(titles.fileName(), query, size >= 1000000 ? 3 : 5,
                                             &lines);
                print(label + "_fzf_found", double(lines), "lines");
                print(label + "_fzf_median", fzf, "ms");
                print(label + "_fzf_ratio", fzf / stats.median, "x");
            }
        }
    }
    return 0;
}
